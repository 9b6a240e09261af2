#include "valve/motorCommandQueue.h"

#include "valve/bergerLahrCommands.h"
#include "valve/motorFamily.h"
#include "valve/nanoTecCommands.h"

motorCommandQueue::motorCommandQueue(int nFamilyType)
    : nFamily(nFamilyType)
{
}

motorCommandQueue::~motorCommandQueue()
{
    qDeleteAll(motorCmdList);
}

void motorCommandQueue::append(const QByteArray &strCommand, bool bQueryAfter, bool bRepeat)
{
    motorCmdList.append(new motorCommand(strCommand, bRepeat));
    if (bQueryAfter && (nFamily == motorFamily::BERGER_LAHR || nFamily == motorFamily::NANOTEC)) {
        nStatusQueryCounter = STATUS_QUERY_TICKS;
        AfterComdQeryCounter = AFTER_COMMAND_ROUNDS;
    }
}

void motorCommandQueue::append(const controllerCommand &command)
{
    append(command.strCommand, command.bQueryAfter, command.bRepeat);
}

void motorCommandQueue::append(const controllerCommandList &commands)
{
    for (const controllerCommand &c : commands)
        append(c);
}

QList<QByteArray> motorCommandQueue::texts() const
{
    QList<QByteArray> out;
    for (const motorCommand *c : motorCmdList)
        out << c->strSendData;
    return out;
}

int motorCommandQueue::clear()
{
    int nOwed = 0;
    if (nMaySend == MAY_SEND_WAITING && !motorCmdList.isEmpty())
        nOwed = motorCmdList.first()->linesOutstanding();
    qDeleteAll(motorCmdList);
    motorCmdList.clear();
    return nOwed;
}

void motorCommandQueue::dropHead()
{
    if (!motorCmdList.isEmpty())
        delete motorCmdList.takeFirst();
}

motorCommandQueue::tickResult motorCommandQueue::tick(bool bIdlePolls)
{
    tickResult r;
    auto queue = [this, &r](const controllerCommand &c) {
        append(c);
        r.queued.append(c);
    };
    if (nMaySend == MAY_SEND_READY) {
        if (AfterComdQeryCounter > 0) {
            if (nFamily == motorFamily::BERGER_LAHR) {
                if (nStatusQueryCounter-- == 0) {
                    queue(bergerLahrCommands::statusQuery(false));
                    --AfterComdQeryCounter;
                    nStatusQueryCounter = STATUS_QUERY_TICKS;
                }
            } else if (nFamily == motorFamily::NANOTEC) {
                // The NanoTec rounds run until a halt or an error stops them,
                // so long moves are followed in every remote mode too.
                if (nStatusQueryCounter-- == 0) {
                    queue(nanoTecCommands::encoderQuery());
                    queue(nanoTecCommands::stepCounterQuery());
                    nStatusQueryCounter = STATUS_QUERY_TICKS;
                }
                if (nStatusQueryCounter == 2)
                    queue(nanoTecCommands::statusQuery());
            }
        }
        if (!motorCmdList.isEmpty()) {
            r.strWrite = motorCmdList.first()->strSendData;
            nMaySend = MAY_SEND_WAITING;
            nNoAnswerCounter = NO_ANSWER_TICKS;
        } else if (bIdlePolls) {
            controllerCommandList polls;
            if (nFamily == motorFamily::BERGER_LAHR)
                polls = bergerLahrCommands::idlePolls();
            else if (nFamily == motorFamily::NANOTEC)
                polls = nanoTecCommands::idlePolls();
            for (const controllerCommand &c : polls)
                queue(c);
        }
    }
    if (nMaySend == MAY_SEND_WAITING) {
        if (nNoAnswerCounter-- == 0)
            r.bNoAnswer = true;
        // After a failed reopen the countdown stays below zero for good; keep
        // it from running down to the end of the int range.
        if (nNoAnswerCounter < -1)
            nNoAnswerCounter = -1;
    }
    return r;
}

motorCommandQueue::lineResult motorCommandQueue::takeReplyLine(const QByteArray &strLine)
{
    if (motorCmdList.isEmpty())
        return LINE_NO_HEAD;
    motorCommand *pHead = motorCmdList.first();
    pHead->strRecieveData.append(strLine);
    if (pHead->isAnswered()) {
        if (pHead->bRepeatCmd) {
            pHead->strRecieveData.clear();
        } else {
            motorCmdList.removeFirst();
            delete pHead;
        }
        nMaySend = MAY_SEND_READY;
        return LINE_COMPLETED;
    }
    if (nMaySend == MAY_SEND_WAITING)
        nNoAnswerCounter = NO_ANSWER_TICKS;
    return LINE_PARTIAL;
}

bool motorCommandQueue::releaseRepeat(const QList<QByteArray> &strTexts)
{
    // Every match loses its flag: a second repeating record of the same
    // direction would otherwise start once the first one ends and keep the
    // valve moving.
    bool bFound = false;
    for (motorCommand *c : motorCmdList) {
        if (strTexts.contains(c->strSendData)) {
            c->bRepeatCmd = false;
            bFound = true;
        }
    }
    return bFound;
}

void motorCommandQueue::stopStatusQueries()
{
    nStatusQueryCounter = 0;
    AfterComdQeryCounter = 0;
}

QByteArray motorCommandQueue::takeLine(QByteArray &buffer)
{
    const int nEnd = buffer.indexOf('\r');
    if (nEnd < 0)
        return QByteArray();
    const QByteArray strLine = buffer.left(nEnd + 1);
    buffer.remove(0, nEnd + 1);
    return strLine;
}
