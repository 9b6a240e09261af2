#ifndef BERGERLAHRCOMMANDS_H
#define BERGERLAHRCOMMANDS_H

#include "valve/controllerCommand.h"

#include <QList>

// Command texts of the BergerLahr family: one letter per command, each ended
// by "\r"; most motion commands carry a trailing status query "s".
class bergerLahrCommands
{
public:
    static controllerCommandList plus();
    static controllerCommandList minus();
    // nSpeed 1 or less moves one step per repetition, 2 or more four steps.
    static controllerCommandList continuousPress(bool bOpening, int nSpeed);
    // Every text a continuous move of that direction may be queued with.
    static QList<QByteArray> continuousTexts(bool bOpening);
    static controllerCommandList gotoSteps(int nTargetSteps);
    static controllerCommandList open();
    static controllerCommandList close();
    static controllerCommandList halt();
    static controllerCommandList calibrate();
    static controllerCommandList readPosition();
    static controllerCommand statusQuery(bool bQueryAfter);
    static controllerCommandList idlePolls();
    static controllerCommand output1Mode(int nMode);
};

#endif // BERGERLAHRCOMMANDS_H
