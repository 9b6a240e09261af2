#include "valve/motorStatus.h"

#include <QCoreApplication>
#include <QStringList>

QString renderMotorStatusText(const motorStatusValues &v)
{
    // The texts stay literal inside translate() so that lupdate finds them.
    QStringList lines;
    const int s = v.nMotStat;
    if (s & STAT_OK)
        lines << QCoreApplication::translate("motorDriver", "OK");
    if (!v.strStatusLine.isEmpty())
        lines << v.strStatusLine;
    if (!(s & STAT_POS_REACHED))
        lines << QCoreApplication::translate("motorDriver", "Positioning to %1").arg(v.nTargetPpm);
    if (s & STAT_PORT_NOT_OPEN)
        lines << QCoreApplication::translate("motorDriver", "Motor Port Not Open");
    if (s & STAT_RECONNECT)
        lines << QCoreApplication::translate("motorDriver", "Reconnect:%1").arg(v.nReconnectCount);
    if (s & STAT_INCORRECT_ANSWER)
        lines << QCoreApplication::translate("motorDriver", "Incorrect Answer");
    if (s & STAT_POS_ERROR)
        lines << QCoreApplication::translate("motorDriver", "Pos Error");
    if (s & STAT_WAITING_FOR_CMD)
        lines << QCoreApplication::translate("motorDriver", "Waiting for Command");
    if (s & STAT_BUSY)
        lines << QCoreApplication::translate("motorDriver", "Busy");
    if (s & STAT_LIMIT_SWITCH)
        lines << QCoreApplication::translate("motorDriver", "Limit Switch (LS) Reached");
    if (s & STAT_REMOTE_PORT_NOT_OPEN)
        lines << QCoreApplication::translate("motorDriver", "Remote Port Not Open");
    if (s & STAT_CONT_CMD_NOT_FOUND)
        lines << QCoreApplication::translate("motorDriver", "Continous Command not found");
    if (s & STAT_TEACHIN_NOT_FOUND)
        lines << QCoreApplication::translate("motorDriver", "TeachIn Data not found");
    if (s & STAT_MUST_CALIBRATE)
        lines << QCoreApplication::translate("motorDriver", "Must Calibrate Settings Pos: %1 <--> Motor Pos: %2")
                     .arg(v.nSettingsPosition)
                     .arg(v.nPositionPpm);
    if (s & STAT_OUT_OF_BOUNDARIES)
        lines << QCoreApplication::translate("motorDriver", "Position out of boundaries");

    const int e = v.nNanoTecError;
    if (e & NANOTEC_ERR_TEMPERATURE)
        lines << QCoreApplication::translate("motorDriver", "Temperature");
    if (e & NANOTEC_ERR_HIGH_CURRENT)
        lines << QCoreApplication::translate("motorDriver", "High Current TMC");
    if (e & NANOTEC_ERR_POSITION)
        lines << QCoreApplication::translate("motorDriver", "Error Position");
    if (e & NANOTEC_ERR_INTERNAL)
        lines << QCoreApplication::translate("motorDriver", "Internal Error");
    if (e & NANOTEC_ERR_DRIVER)
        lines << QCoreApplication::translate("motorDriver", "Driver Error");
    return lines.join(QLatin1Char('\n'));
}
