#ifndef DRIVERPROBE_H
#define DRIVERPROBE_H

// motorDriver without a controller, in the test's own thread: the debug mode
// feeds reply lines in (strDebugData + readFromMotor) and shows every queued
// command (debugSendToMotor, recorded in queued), so the reply handling, the
// motion slots and the status text can be checked step by step. The tick
// timer is stopped; tick() runs one tick. Link the test with lvcore.

#include "driveRecorder.h"

#include "valve/motorDriver.h"

class driverProbe : public driveRecorder
{
public:
    explicit driverProbe(int nType)
        : drv(nullptr, nType)
    {
        drv.stopCommunication();
        drv.bDebug = true;
        watch(&drv);
        // No such device: the port stays closed, nothing is ever written.
        drv.connectMotorSerial(QStringLiteral("/nonexistent/ttyUSB0"));
    }

    // The controller "answers" with text (lines ended by "\r").
    void reply(const QByteArray &text)
    {
        drv.strDebugData = QString::fromLatin1(text);
        drv.readFromMotor();
    }
    // Runs one tick and returns the status text it emitted (null if none).
    QString tick()
    {
        const int n = statusTexts.size();
        drv.communicateWithMotor();
        return statusTexts.size() > n ? statusTexts.last() : QString();
    }
    QStringList takeQueued()
    {
        QStringList out = queued;
        queued.clear();
        return out;
    }
    // The status text as it stands now (rendered by a tick when it changed).
    QString status()
    {
        tick();
        return statusTexts.isEmpty() ? QString() : statusTexts.last();
    }

    motorDriver drv;
};

#endif // DRIVERPROBE_H
