#ifndef DRIVERIG_H
#define DRIVERIG_H

// A real motorDriver in a real motor thread on the controller simulator's
// pseudo-terminal ("ttyUSB0" below a temporary device folder, found through
// VALVE_DEV_DIR), with a driveRecorder in the test's thread. The PC serial
// port is "ttyUSB1" in the same folder: link a ptyEndpoint there to play the
// PC (devPath). Link the test with lvcore and lvcontrollersim.

#include "driveRecorder.h"

#include "controllerSim.h"
#include "remote/remoteLink.h"
#include "valve/motorDriver.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <utility>

class analogData;
class lvTeachIn;

class driveRig
{
public:
    explicit driveRig(controllerSim::family eFamily)
        : sim(eFamily)
    {
        qputenv("VALVE_DEV_DIR", devDir.path().toLocal8Bit());
    }
    ~driveRig() { stopDriver(); }

    QString devPath(const QString &strName) const { return devDir.filePath(strName); }
    bool startSim() { return sim.start(devPath(QStringLiteral("ttyUSB0"))); }

    // Built as the main window builds it: construct, hand over the records,
    // open the port, move to the motor thread, start it. join makes the
    // test's own connections before the thread starts, so they see the
    // first reports too.
    void startDriver(int nType, analogData *pAnalog = nullptr, lvTeachIn *pTeach = nullptr,
                     const std::function<void(motorDriver *)> &join = {})
    {
        drv = new motorDriver(nullptr, nType);
        drv->setRemoteSide(new remoteLink(drv));
        rec.watch(drv);
        if (join)
            join(drv);
        if (pAnalog)
            drv->setAnalogData(pAnalog);
        if (pTeach)
            drv->setTeachIn(pTeach);
        drv->setRemotePort(QStringLiteral("ttyUSB1"));
        drv->connectMotorSerial(QStringLiteral("ttyUSB0"));
        drv->moveToThread(&thread);
        thread.start();
    }

    void stopDriver()
    {
        if (!drv)
            return;
        QMetaObject::invokeMethod(drv, "stopCommunication", Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        delete drv;
        drv = nullptr;
    }

    // Runs f in the motor thread and waits for it (for reads of the driver's
    // state and for direct calls that must not race the tick).
    template <typename F>
    void inDriverThread(F &&f)
    {
        QMetaObject::invokeMethod(drv, std::forward<F>(f), Qt::BlockingQueuedConnection);
    }

    // Queued slot calls, as the forms make them.
    void gotoPpm(int nPpm)
    {
        QMetaObject::invokeMethod(drv, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, nPpm));
    }
    void call(const char *pszSlot) { QMetaObject::invokeMethod(drv, pszSlot, Qt::QueuedConnection); }
    void continuous(const char *pszSlot, bool bRepeat, int nSpeed)
    {
        QMetaObject::invokeMethod(drv, pszSlot, Qt::QueuedConnection, Q_ARG(bool, bRepeat), Q_ARG(int, nSpeed));
    }

    // True once every command queued so far went out to the controller (a
    // marker the simulator records; the queue is first in, first out).
    bool drainQueue(int nTimeoutMs = 20000)
    {
        const int nBefore = queueMarkers();
        postQueueMarker();
        return QTest::qWaitFor([this, nBefore]() { return queueMarkers() > nBefore; }, nTimeoutMs);
    }
    // The marker: a command queued behind everything the driver was asked
    // before it, and how many of them reached the controller.
    void postQueueMarker() { QMetaObject::invokeMethod(drv, "onSetOutput1Mode", Qt::QueuedConnection, Q_ARG(int, 3)); }
    int queueMarkers() const { return sim.countOf("#1:port_out_a3"); }

    // BergerLahr go-to commands the controller received so far.
    int gotoCount() const
    {
        int n = 0;
        for (const QByteArray &c : sim.receivedCommands())
            if (c.startsWith('g'))
                ++n;
        return n;
    }

    // The valve position of the simulator in ppm of full travel.
    int simPpm() const { return int(qint64(sim.position()) * 1000000 / sim.fullTravel()); }

    QTemporaryDir devDir;
    controllerSim sim;
    QThread thread;
    motorDriver *drv = nullptr;
    driveRecorder rec;
};

#endif // DRIVERIG_H
