#ifndef MOTORCOMMAND_H
#define MOTORCOMMAND_H

#include <QByteArray>

// One queued controller command and the reply collected for it so far. The
// command is answered completely when the reply holds as many "\r" as the
// command text.
class motorCommand
{
public:
    motorCommand(const QByteArray &strCommand, bool bRepeat);

    QByteArray strSendData;
    QByteArray strRecieveData;
    int nCountCR = 0;
    bool bRepeatCmd = false;

    bool isAnswered() const { return strRecieveData.count('\r') >= nCountCR; }
    // Reply lines still owed by the controller for this command.
    int linesOutstanding() const;
};

#endif // MOTORCOMMAND_H
