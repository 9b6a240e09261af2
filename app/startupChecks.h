#ifndef STARTUPCHECKS_H
#define STARTUPCHECKS_H

#include <QString>
#include <QVector>

// What the operator is told once the main window is on screen, and whether the
// valve then calibrates: one modal box after the other, calibration last.
enum class startupStep {
    UNEXPECTED_SHUTDOWN_BOX,  // the last run did not end with "Shutdown"
    SENSOR_MISMATCH_BOX,      // the active teach-in was recorded with another sensor
    UPDATE_BOX,               // a software update finished before this start
    CALIBRATE,                // "calibrate on start"
};

struct startupState
{
    bool bCleanShutdown = false;
    QString strTeachInSensor;  // sensor name stored in the active teach-in
    QString strActiveSensor;   // sensor name of the active external feedback
    bool bSoftwareUpdated = false;
    bool bCalibrateOnStart = false;
};

QVector<startupStep> startupSteps(const startupState &state);

#endif // STARTUPCHECKS_H
