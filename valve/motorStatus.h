#ifndef MOTORSTATUS_H
#define MOTORSTATUS_H

#include <QString>

// Bits of the drive's status word. The status strip shows the rendered text
// and reads the two positions back out of the "Must Calibrate" line, so the
// wording and the "\n" separator are an interface, not decoration.
enum motorStatusBit : int {
    STAT_OK = 0x0001,
    STAT_PORT_NOT_OPEN = 0x0002,
    STAT_RECONNECT = 0x0004,
    STAT_INCORRECT_ANSWER = 0x0008,
    STAT_POS_ERROR = 0x0010,
    STAT_WAITING_FOR_CMD = 0x0020,
    STAT_BUSY = 0x0040,
    STAT_LIMIT_SWITCH = 0x0080,
    STAT_REMOTE_PORT_NOT_OPEN = 0x0100,
    STAT_CONT_CMD_NOT_FOUND = 0x0200,
    STAT_TEACHIN_NOT_FOUND = 0x0400,
    STAT_MUST_CALIBRATE = 0x0800,
    STAT_OUT_OF_BOUNDARIES = 0x1000,
    STAT_POS_REACHED = 0x2000
};

// Bits of the error number read from a NanoTec controller's error memory.
enum nanoTecErrorBit : int {
    NANOTEC_ERR_TEMPERATURE = 0x02,
    NANOTEC_ERR_HIGH_CURRENT = 0x04,
    NANOTEC_ERR_POSITION = 0x10,
    NANOTEC_ERR_INTERNAL = 0x20,
    NANOTEC_ERR_DRIVER = 0x40
};

// Everything the status text is made of, captured at the moment of rendering.
struct motorStatusValues
{
    int nMotStat = 0;
    int nNanoTecError = 0;
    QString strStatusLine;
    int nTargetPpm = 0;
    int nReconnectCount = 0;
    int nSettingsPosition = 0;
    int nPositionPpm = 0;
};

// Renders the translated status lines (context "motorDriver"), joined by "\n".
QString renderMotorStatusText(const motorStatusValues &values);

#endif // MOTORSTATUS_H
