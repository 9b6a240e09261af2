#ifndef SCRIPTPROGRESSQUEUE_H
#define SCRIPTPROGRESSQUEUE_H

#include <QString>
#include <QVector>
#include <QtGlobal>

// The reports of a script run on their way to the Script page, where each
// becomes a status text and a log line. A run with moves and waits makes a
// few texts a second, bursts of a few hundred at most, and every one of them
// waits here in the order it was made. A loop of immediate commands makes
// millions a second: passed on whole they would fill the GUI thread's memory
// and the panel's SD card. Once texts come faster than a run with moves and
// waits makes them, the queue thins them: it holds the latest text and lets
// it through a few times a second, and about once a second an entry counts
// the texts left out, so the log never skips silently. When the chain stops
// at a move or a wait, the count and the text held are due all the same
// (dueMs(), release()): the strip shows the command the run is in. The flood
// ends when the run has gone slower than the whole rate for a while.
//
// No lock, no clock: the caller passes the time and guards the queue.
class scriptProgressQueue
{
public:
    struct report
    {
        enum kind {
            STARTED,   // a command started (commandExecuted)
            PROGRESS,  // a wait or a go-to-value in progress (updateCommandExecute)
            NOT_SHOWN  // nNotShown texts were left out before this point
        };
        kind eKind = STARTED;
        int nCmdNr = 0;
        int nRepetition = 0;
        int nRepeat = 0;
        QString strSetData;
        QString strCmdType;
        qint64 nNotShown = 0;
    };

    // Texts that pass whole: a burst of this many, and this many a second
    // for as long as the run goes on.
    static constexpr int burstTexts = 500;
    static constexpr int textsPerSecond = 20;
    // During a flood: the latest text at most this often, and the count of
    // those left out about this often.
    static constexpr qint64 floodTextIntervalMs = 250;
    static constexpr qint64 notShownIntervalMs = 1000;
    // What may wait at the most, should the GUI thread not take it for a
    // while; beyond it texts are left out (and counted).
    static constexpr int capacity = 1000;

    explicit scriptProgressQueue(qint64 nNowMs = 0);

    // Adds a report made at nNowMs (a monotonic time in ms). True when the
    // queue was empty and holds something now: a delivery is due.
    bool put(const report &r, qint64 nNowMs);
    // Lets through what is due by nNowMs: the count of the texts left out
    // (about once a second, at once when the run has gone quiet), then the
    // text held. True when the queue was empty and holds something now.
    bool release(qint64 nNowMs);
    // When release() will have something to let through: -1 for never (no
    // text held, nothing left uncounted).
    qint64 dueMs() const;
    // Everything that waits, in order; the queue is empty afterwards.
    QVector<report> take();
    // The end of a run: everything that waits, then the count of the texts
    // left out and not yet said, then the text held; all of it is gone
    // afterwards, whatever the capacity.
    QVector<report> takeAll(qint64 nNowMs);
    // Empty, no flood, a full burst.
    void reset(qint64 nNowMs);

    bool isFlooding() const { return bFlooding; }
    int size() const { return items.size(); }

private:
    void refill(qint64 nNowMs);
    void append(const report &r);
    void appendNotShown(qint64 nNowMs);
    report notShownEntry() const;

    QVector<report> items;
    double dblAllowance = burstTexts; // texts that may still pass whole
    qint64 nRefillMs = 0;
    bool bFlooding = false;
    bool bHeld = false;
    report held;                      // the latest text of a flood
    qint64 nLastFloodTextMs = 0;
    qint64 nLastNotShownMs = 0;
    qint64 nLastPutMs = 0;
    qint64 nNotShown = 0;
};

#endif // SCRIPTPROGRESSQUEUE_H
