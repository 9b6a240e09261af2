#include "app/startupChecks.h"

QVector<startupStep> startupSteps(const startupState &state)
{
    QVector<startupStep> steps;
    if (!state.bCleanShutdown)
        steps << startupStep::UNEXPECTED_SHUTDOWN_BOX;
    if (state.strTeachInSensor != state.strActiveSensor)
        steps << startupStep::SENSOR_MISMATCH_BOX;
    if (state.bSoftwareUpdated)
        steps << startupStep::UPDATE_BOX;
    if (state.bCalibrateOnStart)
        steps << startupStep::CALIBRATE;
    return steps;
}
