#ifndef MOTIONCOMMANDS_H
#define MOTIONCOMMANDS_H

#include "valve/controllerCommand.h"
#include "valve/motorFamily.h"

#include <QList>

// A go-to request turned into what the drive does: refuse it, report it as
// already reached, or queue the family's commands and follow the target.
struct gotoPlan
{
    enum outcome { NO_TRAVEL, OUT_OF_BOUNDARIES, ALREADY_REACHED, MOVE };
    outcome result = NO_TRAVEL;
    controllerCommandList commands;
    int nCompareValue = 0;          // target in steps, followed by the arrival test
    int nTargetPpm = 0;             // the target shown while positioning
    bool bClearPosReached = false;  // NanoTec shows "Positioning to" until arrival
};

// The command texts of every motion request, for the configured family. A
// family without travel (Remote, a missing key) gets no commands at all.
class motionCommands
{
public:
    // nStepPpm is the target in ppm; nMotorPosition the controller position
    // in steps (-1 when none was read). bPositioning: an earlier go-to is
    // still under way, so the position last read is stale and a target equal
    // to it is not "already there" (the valve is heading elsewhere).
    static gotoPlan planGoto(const motorFamily &family, int nStepPpm, int nMotorPosition,
                             bool bPositioning = false);
    static gotoPlan planOpen(const motorFamily &family);
    static gotoPlan planClose(const motorFamily &family);

    static controllerCommandList plus(const motorFamily &family);
    static controllerCommandList minus(const motorFamily &family);
    static controllerCommandList continuousPress(const motorFamily &family, bool bOpening, int nSpeed,
                                                 int nContSpeed);
    static QList<QByteArray> continuousTexts(const motorFamily &family, bool bOpening);
    static controllerCommandList halt(const motorFamily &family);
    static controllerCommandList calibrate(const motorFamily &family);
    static controllerCommandList readPosition(const motorFamily &family);
    static controllerCommandList forcePosition(const motorFamily &family, int nMotorPosition);
    static controllerCommandList clearError(const motorFamily &family);
    // The family's position query after an arrival ("s" or "#1I").
    static controllerCommandList positionQuery(const motorFamily &family);
    // Queued for every family: the command is the NanoTec one in both.
    static controllerCommand output1Mode(int nMode);
};

#endif // MOTIONCOMMANDS_H
