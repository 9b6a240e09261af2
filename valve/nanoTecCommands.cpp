#include "valve/nanoTecCommands.h"

#include "valve/positionUnits.h"

namespace {

QByteArray record(int nRecord)
{
    return "#1y" + QByteArray::number(nRecord) + "\r";
}

QByteArray distance(qint64 nValue)
{
    return "#1s" + QByteArray::number(positionUnits::saturateToInt(nValue)) + "\r";
}

} // namespace

controllerCommandList nanoTecCommands::plus()
{
    return {record(RECORD_OPEN_STEP), QByteArray("#1A\r"), QByteArray("#1I\r"), QByteArray("#1C\r")};
}

controllerCommandList nanoTecCommands::minus()
{
    return {record(RECORD_CLOSE_STEP), QByteArray("#1A\r"), QByteArray("#1I\r"), QByteArray("#1C\r")};
}

controllerCommandList nanoTecCommands::continuousPress(bool bOpening, int nSpeed, int nContSpeed)
{
    return {record(bOpening ? RECORD_OPEN_STEP : RECORD_CLOSE_STEP),
            distance(qint64(nSpeed) * 4 * nContSpeed),
            controllerCommand(continuousText(), false, true)};
}

QByteArray nanoTecCommands::continuousText()
{
    return QByteArrayLiteral("#1A\r#1I\r#1C\r");
}

controllerCommandList nanoTecCommands::gotoSteps(int nTargetSteps, bool bUpwards)
{
    return {record(bUpwards ? RECORD_UPWARDS : RECORD_DOWNWARDS), distance(-qint64(nTargetSteps)),
            QByteArray("#1A\r")};
}

controllerCommandList nanoTecCommands::open()
{
    return {record(RECORD_UPWARDS), QByteArray("#1A\r")};
}

controllerCommandList nanoTecCommands::close()
{
    return {record(RECORD_DOWNWARDS), QByteArray("#1A\r")};
}

controllerCommandList nanoTecCommands::halt()
{
    return {controllerCommand("#1S\r", true), controllerCommand("#1I\r", true),
            controllerCommand("#1C\r", true)};
}

controllerCommandList nanoTecCommands::calibrate()
{
    return {record(RECORD_REFERENCE), QByteArray("#1A\r")};
}

controllerCommandList nanoTecCommands::readPosition()
{
    return {QByteArray("#1E\r"), QByteArray("#1I\r"), QByteArray("#1C\r"), QByteArray("#1$\r")};
}

controllerCommandList nanoTecCommands::forcePosition(int nMotorPosition)
{
    return {controllerCommand("#1D" + QByteArray::number(positionUnits::saturateToInt(-qint64(nMotorPosition))) + "\r")};
}

controllerCommandList nanoTecCommands::clearError()
{
    return {controllerCommand("#1D\r")};
}

controllerCommandList nanoTecCommands::idlePolls()
{
    return {QByteArray("#1$\r"), QByteArray("#1I\r"), QByteArray("#1C\r"), QByteArray("#1ZY\r")};
}

controllerCommand nanoTecCommands::output1Mode(int nMode)
{
    return controllerCommand("#1:port_out_a" + QByteArray::number(nMode) + "\r");
}

controllerCommand nanoTecCommands::encoderQuery()
{
    return controllerCommand("#1I\r");
}

controllerCommand nanoTecCommands::stepCounterQuery()
{
    return controllerCommand("#1C\r");
}

controllerCommand nanoTecCommands::statusQuery()
{
    return controllerCommand("#1$\r");
}

controllerCommand nanoTecCommands::errorIndexQuery()
{
    return controllerCommand("#1E\r");
}

controllerCommand nanoTecCommands::errorNumberQuery(int nIndex)
{
    return controllerCommand("#1Z" + QByteArray::number(nIndex) + "E\r");
}

controllerCommandList nanoTecCommands::stopAndClearPositionError()
{
    return {QByteArray("#1S\r"), QByteArray("#1D\r")};
}
