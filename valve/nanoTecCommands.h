#ifndef NANOTECCOMMANDS_H
#define NANOTECCOMMANDS_H

#include "valve/controllerCommand.h"

// Command texts of the NanoTec family, addressed to controller 1. Motion runs
// numbered records stored in the controller ("#1y%1" loads, "#1s%1" replaces
// the distance, "#1A" starts); the controller counts positions with the
// opposite sign, hence the negated targets.
class nanoTecCommands
{
public:
    enum motionRecord {
        RECORD_OPEN_STEP = 3,
        RECORD_REFERENCE = 4,
        RECORD_CLOSE_STEP = 5,
        RECORD_UPWARDS = 6,
        RECORD_DOWNWARDS = 7
    };

    static controllerCommandList plus();
    static controllerCommandList minus();
    // Each repetition moves nSpeed * 4 * nContSpeed steps.
    static controllerCommandList continuousPress(bool bOpening, int nSpeed, int nContSpeed);
    static QByteArray continuousText();
    static controllerCommandList gotoSteps(int nTargetSteps, bool bUpwards);
    static controllerCommandList open();
    static controllerCommandList close();
    static controllerCommandList halt();
    static controllerCommandList calibrate();
    static controllerCommandList readPosition();
    static controllerCommandList forcePosition(int nMotorPosition);
    static controllerCommandList clearError();
    static controllerCommandList idlePolls();
    static controllerCommand output1Mode(int nMode);

    // Queries used by the tick and the reply handling.
    static controllerCommand encoderQuery();
    static controllerCommand stepCounterQuery();
    static controllerCommand statusQuery();
    static controllerCommand errorIndexQuery();
    static controllerCommand errorNumberQuery(int nIndex);
    static controllerCommandList stopAndClearPositionError();
};

#endif // NANOTECCOMMANDS_H
