#ifndef VALVERIG_H
#define VALVERIG_H

// A real motorDriver in a real motor thread on the controller simulator's
// pseudo-terminal (found through VALVE_DEV_DIR), with a recorder in the test's
// thread for everything the regulation and the remote side emit.

#include "controllerSim.h"
#include "valve/motorDriver.h"

#include <QByteArray>
#include <QDir>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

class valveRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList statusTexts;
    QList<double> measured;
    int nReached = 0;
    int nNotReached = 0;
    int nReachedInARow = 0;
    int nPositionReached = 0;
    QList<bool> measurement;
    QByteArray fromPc;
    QByteArray fromMotor;
    QStringList logLines;
    QList<QVector<int>> analogForModbus;

    QString lastStatus() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }
    bool anyStatusContains(const QString &strText) const
    {
        for (const QString &s : statusTexts)
            if (s.contains(strText))
                return true;
        return false;
    }

public slots:
    void onStatus(QString s) { statusTexts << s; }
    void onMeasured(double d) { measured << d; }
    void onReached()
    {
        ++nReached;
        ++nReachedInARow;
    }
    void onNotReached()
    {
        ++nNotReached;
        nReachedInARow = 0;
    }
    void onPositionReached() { ++nPositionReached; }
    void onMeasurement(bool b) { measurement << b; }
    void onFromPc(QByteArray a) { fromPc += a; }
    void onFromMotor(QByteArray a) { fromMotor += a; }
    void onLog(QString s) { logLines << s; }
    void onAnalog(int a, int b, int c) { analogForModbus << QVector<int>{a, b, c}; }
};

class valveRig
{
public:
    explicit valveRig(controllerSim::family eFamily)
        : sim(eFamily)
    {
        qputenv("VALVE_DEV_DIR", devDir.path().toLocal8Bit());
    }
    ~valveRig() { stopDriver(); }

    QString devPath(const QString &strName) const { return devDir.filePath(strName); }
    bool startSim() { return sim.start(devPath(QStringLiteral("ttyUSB0"))); }

    // Built as the main window builds it: construct, hand over the records,
    // open the port, move to the motor thread.
    void startDriver(int nType, analogData *pAnalog = nullptr, lvTeachIn *pTeach = nullptr)
    {
        drv = new motorDriver(nullptr, nType);
        QObject::connect(drv, SIGNAL(setMotorStatus(QString)), &rec, SLOT(onStatus(QString)));
        QObject::connect(drv, SIGNAL(setMeasuredData(double)), &rec, SLOT(onMeasured(double)));
        QObject::connect(drv, SIGNAL(reachedDataPoint()), &rec, SLOT(onReached()));
        QObject::connect(drv, SIGNAL(notReachedDataPoint()), &rec, SLOT(onNotReached()));
        QObject::connect(drv, SIGNAL(positionReached()), &rec, SLOT(onPositionReached()));
        QObject::connect(drv, SIGNAL(setMeasurement(bool)), &rec, SLOT(onMeasurement(bool)));
        QObject::connect(drv, SIGNAL(receivedFromPc(QByteArray)), &rec, SLOT(onFromPc(QByteArray)));
        QObject::connect(drv, SIGNAL(receivedFromMotor(QByteArray)), &rec, SLOT(onFromMotor(QByteArray)));
        QObject::connect(drv, SIGNAL(onWriteLog(QString)), &rec, SLOT(onLog(QString)));
        QObject::connect(drv, SIGNAL(updateAnalogData(int,int,int)), &rec, SLOT(onAnalog(int,int,int)));
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
    valveRecorder rec;
};

#endif // VALVERIG_H
