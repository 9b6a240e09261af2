#ifndef MOTORCOMMANDQUEUE_H
#define MOTORCOMMANDQUEUE_H

#include "valve/controllerCommand.h"
#include "valve/motorCommand.h"

#include <QByteArray>
#include <QList>

// The controller command queue and the state of its 100 ms send tick: at most
// one command is outstanding, the head is written only once the previous one
// was answered, the controller is polled when idle and for a while after a
// motion command, and a command left unanswered is given up after ten ticks.
// Pure state: the caller writes the bytes and reopens the port.
class motorCommandQueue
{
public:
    enum sendState { MAY_SEND_NEVER = -1, MAY_SEND_WAITING = 0, MAY_SEND_READY = 1 };
    static constexpr int NO_ANSWER_TICKS = 10;
    static constexpr int STATUS_QUERY_TICKS = 5;
    static constexpr int AFTER_COMMAND_ROUNDS = 10;

    explicit motorCommandQueue(int nFamilyType = -1);
    ~motorCommandQueue();
    motorCommandQueue(const motorCommandQueue &) = delete;
    motorCommandQueue &operator=(const motorCommandQueue &) = delete;

    void setFamily(int nFamilyType) { nFamily = nFamilyType; }
    int family() const { return nFamily; }

    // Appends a record at the tail; a command with bQueryAfter (for a known
    // family) arms the after-command status polls.
    void append(const QByteArray &strCommand, bool bQueryAfter = true, bool bRepeat = false);
    void append(const controllerCommand &command);
    void append(const controllerCommandList &commands);

    bool isEmpty() const { return motorCmdList.isEmpty(); }
    int count() const { return int(motorCmdList.size()); }
    motorCommand *head() const { return motorCmdList.isEmpty() ? nullptr : motorCmdList.first(); }
    const QList<motorCommand *> &records() const { return motorCmdList; }
    QList<QByteArray> texts() const;

    // Releases every record. Returns how many reply lines the controller still
    // owes for a head that was written and not yet fully answered, so that
    // the caller can drop them instead of taking them for the next command.
    int clear();
    // Releases the head record alone (a queue that can never be written is
    // kept from growing without bound).
    void dropHead();

    struct tickResult
    {
        QByteArray strWrite;    // bytes to write now (empty: nothing)
        bool bNoAnswer = false; // the outstanding command is given up
        // Polls the tick queued itself, in queue order, so that the caller
        // can show them like every other queued command (debug mode) before
        // any of them is written.
        controllerCommandList queued;
    };
    // One tick. bIdlePolls: an empty queue may be filled with the family's
    // idle polls (not in the pass-through and parser remote modes).
    tickResult tick(bool bIdlePolls);

    enum lineResult { LINE_NO_HEAD, LINE_PARTIAL, LINE_COMPLETED };
    // Adds one reply line (with its "\r") to the head. A completed head is
    // removed, or emptied and kept when it repeats; the link is then ready.
    // A line that leaves the reply incomplete keeps the link waiting (and
    // restarts the no-answer countdown): writing the head again would run
    // its motion twice.
    lineResult takeReplyLine(const QByteArray &strLine);

    // Clears the repeat flag of every queued record whose text is one of
    // strTexts; returns whether any record matched.
    bool releaseRepeat(const QList<QByteArray> &strTexts);

    void setReady() { nMaySend = MAY_SEND_READY; }
    int maySend() const { return nMaySend; }
    int noAnswerCounter() const { return nNoAnswerCounter; }
    int statusQueryCounter() const { return nStatusQueryCounter; }
    int afterCommandRounds() const { return AfterComdQeryCounter; }
    // No further after-command polls (halt, NanoTec position error, new error).
    void stopStatusQueries();
    // Only the after-command rounds (BergerLahr port open: the single status
    // query is enough).
    void stopAfterCommandRounds() { AfterComdQeryCounter = 0; }

    // Takes the first "\r"-ended line (with its "\r") off the front of buffer;
    // empty when the buffer holds no complete line.
    static QByteArray takeLine(QByteArray &buffer);

private:
    int nFamily;
    QList<motorCommand *> motorCmdList;
    int nMaySend = MAY_SEND_NEVER;
    int nNoAnswerCounter = 0;
    int nStatusQueryCounter = 0;
    int AfterComdQeryCounter = 0;
};

#endif // MOTORCOMMANDQUEUE_H
