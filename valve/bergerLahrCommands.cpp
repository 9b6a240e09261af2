#include "valve/bergerLahrCommands.h"

controllerCommandList bergerLahrCommands::plus()
{
    return {controllerCommand("p\rs\r")};
}

controllerCommandList bergerLahrCommands::minus()
{
    return {controllerCommand("m\rs\r")};
}

controllerCommandList bergerLahrCommands::continuousPress(bool bOpening, int nSpeed)
{
    // Only the opening forms arm the status polls; the closing forms never did.
    if (bOpening)
        return {controllerCommand(nSpeed <= 1 ? "p\rs\r" : "p\rp\rp\rp\rs\r", true, true)};
    return {controllerCommand(nSpeed <= 1 ? "m\rs\r" : "m\rm\rm\rm\rs\r", false, true)};
}

QList<QByteArray> bergerLahrCommands::continuousTexts(bool bOpening)
{
    if (bOpening)
        return {QByteArray("p\rs\r"), QByteArray("p\rp\rp\rp\rs\r")};
    return {QByteArray("m\rs\r"), QByteArray("m\rm\rm\rm\rs\r")};
}

controllerCommandList bergerLahrCommands::gotoSteps(int nTargetSteps)
{
    return {controllerCommand("g" + QByteArray::number(nTargetSteps) + "\rs\r", true)};
}

controllerCommandList bergerLahrCommands::open()
{
    return {controllerCommand("g40000\rs\r")};
}

controllerCommandList bergerLahrCommands::close()
{
    return {controllerCommand("g1\rs\r", true)};
}

controllerCommandList bergerLahrCommands::halt()
{
    return {controllerCommand("h\rs\r", true)};
}

controllerCommandList bergerLahrCommands::calibrate()
{
    return {controllerCommand("n\rs\r", true)};
}

controllerCommandList bergerLahrCommands::readPosition()
{
    return {controllerCommand("s\r")};
}

controllerCommand bergerLahrCommands::statusQuery(bool bQueryAfter)
{
    return controllerCommand("s\r", bQueryAfter);
}

controllerCommandList bergerLahrCommands::idlePolls()
{
    return {controllerCommand("s\r")};
}

controllerCommand bergerLahrCommands::output1Mode(int nMode)
{
    return controllerCommand("#1:port_out_a" + QByteArray::number(nMode) + "\r");
}
