#ifndef CONTROLLERCOMMAND_H
#define CONTROLLERCOMMAND_H

#include <QByteArray>
#include <QVector>

// One command text to be queued for the controller, with its queue flags:
// bQueryAfter arms the status polls that follow a motion command, bRepeat
// keeps the command at the head of the queue (continuous moves).
struct controllerCommand
{
    QByteArray strCommand;
    bool bQueryAfter = false;
    bool bRepeat = false;

    controllerCommand() = default;
    controllerCommand(const QByteArray &strText, bool bQuery = false, bool bRep = false)
        : strCommand(strText), bQueryAfter(bQuery), bRepeat(bRep)
    {
    }
    bool operator==(const controllerCommand &o) const
    {
        return strCommand == o.strCommand && bQueryAfter == o.bQueryAfter && bRepeat == o.bRepeat;
    }
    bool operator!=(const controllerCommand &o) const { return !(*this == o); }
};

using controllerCommandList = QVector<controllerCommand>;

#endif // CONTROLLERCOMMAND_H
