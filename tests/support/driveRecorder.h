#ifndef DRIVERECORDER_H
#define DRIVERECORDER_H

// Everything a motorDriver emits, recorded in the thread the recorder lives
// in (the test's): a driver in another thread reaches it queued, one in the
// same thread directly. Header-only, so a test needs no extra library.

#include "valve/motorDriver.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class driveRecorder : public QObject
{
public:
    // Status texts, positions and motion.
    QStringList statusTexts;
    QList<int> positions;       // setMotorPosition (ppm)
    QList<int> stepPositions;   // setMotorPositionSteps (ppm)
    int nPositionReached = 0;   // positionReached
    int nPosAndSteps = 0;
    QList<int> statusCtrl;
    QList<bool> limitSwitch;
    QList<bool> output1;
    QStringList queued;         // debugSendToMotor (debug mode only)
    // Regulation.
    QList<double> measured;
    int nReached = 0;           // reachedDataPoint
    int nNotReached = 0;        // notReachedDataPoint
    int nReachedInARow = 0;
    QList<bool> measurement;    // setMeasurement
    // Remote side and log.
    QByteArray fromPc;
    QByteArray fromMotor;
    QStringList logLines;
    QList<QVector<int>> analogForModbus;

    void watch(motorDriver *pDrv)
    {
        connect(pDrv, &motorDriver::setMotorStatus, this, [this](const QString &s) { statusTexts << s; });
        connect(pDrv, &motorDriver::setMotorPosition, this, [this](int n) { positions << n; });
        connect(pDrv, &motorDriver::setMotorPositionSteps, this, [this](int n) { stepPositions << n; });
        connect(pDrv, &motorDriver::positionReached, this, [this] { ++nPositionReached; });
        connect(pDrv, &motorDriver::posAndStepsRead, this, [this] { ++nPosAndSteps; });
        connect(pDrv, &motorDriver::setMotorStatusCtrl, this, [this](int n) { statusCtrl << n; });
        connect(pDrv, &motorDriver::onUpdateLimitSwitch, this, [this](bool b) { limitSwitch << b; });
        connect(pDrv, &motorDriver::onUpdateOutput1, this, [this](bool b) { output1 << b; });
        connect(pDrv, &motorDriver::debugSendToMotor, this, [this](const QString &s) { queued << s; });
        connect(pDrv, &motorDriver::setMeasuredData, this, [this](double d) { measured << d; });
        connect(pDrv, &motorDriver::reachedDataPoint, this, [this] {
            ++nReached;
            ++nReachedInARow;
        });
        connect(pDrv, &motorDriver::notReachedDataPoint, this, [this] {
            ++nNotReached;
            nReachedInARow = 0;
        });
        connect(pDrv, &motorDriver::setMeasurement, this, [this](bool b) { measurement << b; });
        connect(pDrv, &motorDriver::receivedFromPc, this, [this](const QByteArray &a) { fromPc += a; });
        connect(pDrv, &motorDriver::receivedFromMotor, this, [this](const QByteArray &a) { fromMotor += a; });
        connect(pDrv, &motorDriver::onWriteLog, this, [this](const QString &s) { logLines << s; });
        connect(pDrv, &motorDriver::updateAnalogData, this,
                [this](int a, int b, int c) { analogForModbus << QVector<int>{a, b, c}; });
    }

    QString lastStatus() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }
    bool anyStatusContains(const QString &strText) const
    {
        for (const QString &s : statusTexts)
            if (s.contains(strText))
                return true;
        return false;
    }
};

#endif // DRIVERECORDER_H
