#include "valve/motorCommand.h"

motorCommand::motorCommand(const QByteArray &strCommand, bool bRepeat)
    : strSendData(strCommand), nCountCR(int(strCommand.count('\r'))), bRepeatCmd(bRepeat)
{
}

int motorCommand::linesOutstanding() const
{
    const int n = nCountCR - int(strRecieveData.count('\r'));
    return n > 0 ? n : 0;
}
