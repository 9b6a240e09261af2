#include "script/scriptProgressQueue.h"

#include <algorithm>

scriptProgressQueue::scriptProgressQueue(qint64 nNowMs)
{
    reset(nNowMs);
}

void scriptProgressQueue::reset(qint64 nNowMs)
{
    items.clear();
    dblAllowance = burstTexts;
    nRefillMs = nNowMs;
    bFlooding = false;
    bHeld = false;
    held = report();
    // The first text of a flood is shown at once.
    nLastFloodTextMs = nNowMs - floodTextIntervalMs;
    nLastNotShownMs = nNowMs;
    nLastPutMs = nNowMs;
    nNotShown = 0;
}

void scriptProgressQueue::refill(qint64 nNowMs)
{
    if (nNowMs > nRefillMs)
        dblAllowance = std::min<double>(burstTexts,
                                        dblAllowance + double(nNowMs - nRefillMs) * textsPerSecond / 1000.0);
    nRefillMs = nNowMs;
}

bool scriptProgressQueue::put(const report &r, qint64 nNowMs)
{
    const bool bWasEmpty = items.isEmpty();
    // A wait's periodic progress that finds the previous one of the same
    // command still waiting, with nothing made in between, takes its place:
    // only the newer says anything.
    if (r.eKind == report::PROGRESS && !bHeld && nNotShown == 0 && !items.isEmpty()
        && items.last().eKind == report::PROGRESS && items.last().nCmdNr == r.nCmdNr) {
        items.last() = r;
        return false;
    }

    nLastPutMs = nNowMs;
    refill(nNowMs);
    // The texts left out use up the allowance as well: a flood goes on as
    // long as the run is faster than the whole rate, and ends once it has
    // been slower for long enough to save up a second of it.
    if (bFlooding && dblAllowance >= textsPerSecond)
        bFlooding = false;
    if (!bFlooding && dblAllowance < 1.0)
        bFlooding = true;
    dblAllowance = std::max(0.0, dblAllowance - 1.0);

    if (bFlooding) {
        if (bHeld)
            ++nNotShown;
        held = r;
        bHeld = true;
        release(nNowMs);
    } else {
        // The flood is over: what it left out and its last text come first.
        if (nNotShown > 0)
            appendNotShown(nNowMs);
        if (bHeld) {
            bHeld = false;
            append(held);
        }
        append(r);
    }
    return bWasEmpty && !items.isEmpty();
}

bool scriptProgressQueue::release(qint64 nNowMs)
{
    const bool bWasEmpty = items.isEmpty();
    // Gone quiet (the chain stopped at a move or a wait): the count goes
    // at once, before the text held, which is then the one the run is in.
    const bool bQuiet = nNowMs - nLastPutMs >= floodTextIntervalMs;
    if (nNotShown > 0 && (bQuiet || nNowMs - nLastNotShownMs >= notShownIntervalMs))
        appendNotShown(nNowMs);
    if (bHeld && nNowMs - nLastFloodTextMs >= floodTextIntervalMs) {
        nLastFloodTextMs = nNowMs;
        bHeld = false;
        append(held);
    }
    return bWasEmpty && !items.isEmpty();
}

qint64 scriptProgressQueue::dueMs() const
{
    // While reports come, put() lets the text held through; only quiet
    // makes it due here.
    const qint64 nQuietMs = nLastPutMs + floodTextIntervalMs;
    qint64 nDue = -1;
    if (bHeld)
        nDue = std::max(nQuietMs, nLastFloodTextMs + floodTextIntervalMs);
    if (nNotShown > 0) {
        const qint64 nCountDue = std::min(nQuietMs, nLastNotShownMs + notShownIntervalMs);
        nDue = nDue < 0 ? nCountDue : std::min(nDue, nCountDue);
    }
    return nDue;
}

void scriptProgressQueue::append(const report &r)
{
    if (items.size() >= capacity) {
        ++nNotShown;
        return;
    }
    items.append(r);
}

scriptProgressQueue::report scriptProgressQueue::notShownEntry() const
{
    report count;
    count.eKind = report::NOT_SHOWN;
    count.nNotShown = nNotShown;
    return count;
}

void scriptProgressQueue::appendNotShown(qint64 nNowMs)
{
    if (items.size() >= capacity)
        return;
    items.append(notShownEntry());
    nNotShown = 0;
    nLastNotShownMs = nNowMs;
}

QVector<scriptProgressQueue::report> scriptProgressQueue::take()
{
    QVector<report> taken;
    taken.swap(items);
    return taken;
}

QVector<scriptProgressQueue::report> scriptProgressQueue::takeAll(qint64 nNowMs)
{
    QVector<report> all = take();
    if (nNotShown > 0)
        all.append(notShownEntry());
    if (bHeld)
        all.append(held);
    nNotShown = 0;
    nLastNotShownMs = nNowMs;
    bHeld = false;
    return all;
}
