#ifndef DRIVEHARNESS_H
#define DRIVEHARNESS_H

// A real motorDriver in a real motor thread, on a real serial port: the slave
// of the controller simulator's pseudo-terminal, found through VALVE_DEV_DIR.
// What the driver emits is recorded in the test's thread (queued).

#include "controllerSim.h"
#include "valve/motorDriver.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

class driveRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList statusTexts;
    QList<int> positions;
    QList<int> stepPositions;
    int nReached = 0;
    int nPosAndSteps = 0;
    QList<bool> limitSwitch;

    bool anyStatusContains(const QString &strText) const
    {
        for (const QString &s : statusTexts)
            if (s.contains(strText))
                return true;
        return false;
    }
    QString lastStatus() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }

public slots:
    void onStatus(QString s) { statusTexts << s; }
    void onPosition(int n) { positions << n; }
    void onStepPosition(int n) { stepPositions << n; }
    void onReached() { ++nReached; }
    void onPosAndSteps() { ++nPosAndSteps; }
    void onLimit(bool b) { limitSwitch << b; }
};

class driveHarness
{
public:
    explicit driveHarness(controllerSim::family eFamily)
        : sim(eFamily)
    {
        qputenv("VALVE_DEV_DIR", devDir.path().toLocal8Bit());
    }
    ~driveHarness() { stopDriver(); }

    QString linkPath() const { return devDir.filePath(QStringLiteral("ttyUSB0")); }
    bool startSim() { return sim.start(linkPath()); }

    // Builds the driver as the main window does: construct, open the port,
    // move to the motor thread, start it.
    void startDriver(int nType)
    {
        drv = new motorDriver(nullptr, nType);
        QObject::connect(drv, SIGNAL(setMotorStatus(QString)), &rec, SLOT(onStatus(QString)));
        QObject::connect(drv, SIGNAL(setMotorPosition(int)), &rec, SLOT(onPosition(int)));
        QObject::connect(drv, SIGNAL(setMotorPositionSteps(int)), &rec, SLOT(onStepPosition(int)));
        QObject::connect(drv, SIGNAL(positionReached()), &rec, SLOT(onReached()));
        QObject::connect(drv, SIGNAL(posAndStepsRead()), &rec, SLOT(onPosAndSteps()));
        QObject::connect(drv, SIGNAL(onUpdateLimitSwitch(bool)), &rec, SLOT(onLimit(bool)));
        drv->connectMotorSerial(QStringLiteral("ttyUSB0"));
        drv->moveToThread(&thread);
        thread.start();
    }

    void stopDriver()
    {
        if (!drv)
            return;
        QMetaObject::invokeMethod(drv, "stopCommunication", Qt::QueuedConnection);
        thread.quit();
        thread.wait();
        delete drv;
        drv = nullptr;
    }

    // Queued slot calls, as the forms make them.
    void gotoPpm(int nPpm) { QMetaObject::invokeMethod(drv, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, nPpm)); }
    void call(const char *pszSlot) { QMetaObject::invokeMethod(drv, pszSlot, Qt::QueuedConnection); }
    void continuous(const char *pszSlot, bool bRepeat, int nSpeed)
    {
        QMetaObject::invokeMethod(drv, pszSlot, Qt::QueuedConnection, Q_ARG(bool, bRepeat), Q_ARG(int, nSpeed));
    }

    QTemporaryDir devDir;
    controllerSim sim;
    QThread thread;
    motorDriver *drv = nullptr;
    driveRecorder rec;
};

#endif // DRIVEHARNESS_H
