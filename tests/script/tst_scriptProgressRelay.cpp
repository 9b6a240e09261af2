// The relays between the script thread and the GUI thread. Progress: every
// report of a run at the pace of moves and waits arrives in order, a flood is
// thinned to a few texts a second with counts of what was left out (shown
// and left out always add up to what was made), the latest text of a flood
// arrives when the run goes quiet, and a closed relay passes nothing on.
// Measuring: the requests of a chain merge into one delivery that keeps
// their effect.
#include "script/scriptExecutor.h"
#include "script/scriptMeasuringRelay.h"
#include "script/scriptProgressQueue.h"
#include "script/scriptProgressRelay.h"

#include "executorRig.h"

#include <QSemaphore>
#include <QThread>
#include <QtTest>

namespace {

using report = scriptProgressQueue::report;

// "s <nr> <repetition> <repeat> <text>" starts a command, "p <nr> <repetition>
// <repeat> <text> <type>" reports progress.
report reportOf(const QString &strReport)
{
    const QStringList f = strReport.split(QLatin1Char(' '));
    report r;
    r.eKind = f.at(0) == QLatin1String("s") ? report::STARTED : report::PROGRESS;
    r.nCmdNr = f.at(1).toInt();
    r.nRepetition = f.at(2).toInt();
    r.nRepeat = f.at(3).toInt();
    r.strSetData = f.value(4);
    r.strCmdType = f.value(5);
    return r;
}

QString textOf(const report &r)
{
    switch (r.eKind) {
    case report::STARTED:
        return QStringLiteral("s %1 %2 %3 %4").arg(r.nCmdNr).arg(r.nRepetition).arg(r.nRepeat).arg(r.strSetData);
    case report::PROGRESS:
        return QStringLiteral("p %1 %2 %3 %4 %5")
            .arg(r.nCmdNr)
            .arg(r.nRepetition)
            .arg(r.nRepeat)
            .arg(r.strSetData, r.strCmdType);
    case report::NOT_SHOWN:
        break;
    }
    return QStringLiteral("not shown %1").arg(r.nNotShown);
}

void push(scriptProgressRelay &relay, const QString &strReport)
{
    const report r = reportOf(strReport);
    if (r.eKind == report::STARTED)
        relay.onCommandExecuted(r.nCmdNr, r.nRepetition, r.nRepeat, r.strSetData);
    else
        relay.onUpdateCommandExecute(r.nCmdNr, r.nRepetition, r.nRepeat, r.strSetData, r.strCmdType);
}

// What the relay hands on, in the notation above.
struct deliveryLog : QObject
{
    QStringList reports;
    explicit deliveryLog(scriptProgressRelay &relay)
    {
        connect(&relay, &scriptProgressRelay::commandStarted, this, [this](int n, int c, int r, const QString &s) {
            reports << QStringLiteral("s %1 %2 %3 %4").arg(n).arg(c).arg(r).arg(s);
        });
        connect(&relay, &scriptProgressRelay::commandProgress, this,
                [this](int n, int c, int r, const QString &s, const QString &t) {
                    reports << QStringLiteral("p %1 %2 %3 %4 %5").arg(n).arg(c).arg(r).arg(s, t);
                });
        connect(&relay, &scriptProgressRelay::textsNotShown, this,
                [this](qint64 n) { reports << QStringLiteral("not shown %1").arg(n); });
    }
};

// What came out of a queue fed with numbered starts.
struct fed
{
    QList<int> shown;       // command numbers, in the order handed on
    qint64 nNotShown = 0;   // the counts, added up
    int nCounts = 0;        // count entries
    int nLargestQueue = 0;
};

void takeInto(scriptProgressQueue &queue, fed &out)
{
    out.nLargestQueue = qMax(out.nLargestQueue, queue.size());
    for (const report &r : queue.take()) {
        if (r.eKind == report::NOT_SHOWN) {
            out.nNotShown += r.nNotShown;
            ++out.nCounts;
        } else {
            out.shown << r.nCmdNr;
        }
    }
}

// The executor in a thread of its own, stopped and ended with the object,
// also when a check fails half way.
struct executorThread
{
    QThread thread;
    scriptExecutor *exec = new scriptExecutor;

    executorThread()
    {
        exec->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, exec, &QObject::deleteLater);
        thread.start();
        QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::BlockingQueuedConnection);
    }
    ~executorThread()
    {
        exec->stopScript();
        thread.quit();
        thread.wait();
    }
    void run(const QStringList &lines)
    {
        const lvScript script = executorRig::scriptOf(lines);
        scriptExecutor *pExec = exec;
        QMetaObject::invokeMethod(pExec, [pExec, script] {
            pExec->setScript(script);
            pExec->processScript();
        }, Qt::QueuedConnection);
    }
};

// Runs lines to their end while this thread (the GUI thread) handles no
// event; fnJoin joins the relays before the run. False when the run did not
// finish in time.
template <typename J>
bool runInScriptThread(const QStringList &lines, J &&fnJoin)
{
    executorThread worker;
    fnJoin(worker.exec);
    QSemaphore finished;
    QObject::connect(worker.exec, &scriptExecutor::finished, worker.exec, [&finished] { finished.release(); },
                     Qt::DirectConnection);
    worker.run(lines);
    return finished.tryAcquire(1, 60000);
}

} // namespace

class tst_scriptProgressRelay : public QObject
{
    Q_OBJECT
private slots:
    void paceDecidesWhatIsShown_data();
    void paceDecidesWhatIsShown();
    void waitProgressReplacesItsWaitingProgress_data();
    void waitProgressReplacesItsWaitingProgress();
    void floodHoldsItsLatestTextUntilDue();
    void chainStoppingAtAWaitShowsTheWait();
    void progressDuringAFloodKeepsItsPlace();
    void loopInTheScriptThreadLeavesOneDeliveryInBounds();
    void closingHandsOnWhatWaitsThenNothing();
    void measuringRequestsMerge_data();
    void measuringRequestsMerge();
    void togglingLoopLeavesOneMeasuringDelivery();
};

void tst_scriptProgressRelay::paceDecidesWhatIsShown_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("spacingUs");
    QTest::addColumn<bool>("guiTakes");   // the GUI thread takes after every report
    QTest::addColumn<int>("wholeFirst");  // this many are shown first, in order, then thinned
    QTest::addColumn<int>("counts");      // count entries during the run, at least
    QTest::newRow("a run with moves and waits") << 300 << 300000 << true << 300 << 0;
    QTest::newRow("a burst of a few hundred") << 500 << 0 << true << 500 << 0;
    QTest::newRow("15 a second for two minutes") << 1800 << 66666 << true << 1800 << 0;
    QTest::newRow("a loop of immediate commands, 10 s") << 1000000 << 10 << true << 500 << 8;
    QTest::newRow("a loop of immediate commands, the GUI stalled") << 1000000 << 10 << false << 500 << 8;
    // The queue fills up: what does not fit is counted at the end.
    QTest::newRow("a run of moves while the GUI takes nothing") << 2000 << 60000 << false << 1000 << 0;
}

void tst_scriptProgressRelay::paceDecidesWhatIsShown()
{
    QFETCH(int, count);
    QFETCH(int, spacingUs);
    QFETCH(bool, guiTakes);
    QFETCH(int, wholeFirst);
    QFETCH(int, counts);
    scriptProgressQueue queue(0);
    fed out;
    qint64 nUs = 0;
    for (int i = 0; i < count; ++i, nUs += spacingUs) {
        report r;
        r.nCmdNr = i;
        queue.put(r, nUs / 1000);
        if (guiTakes)
            takeInto(queue, out);
        else
            out.nLargestQueue = qMax(out.nLargestQueue, queue.size());
    }
    takeInto(queue, out);
    for (const report &r : queue.takeAll(nUs / 1000)) {
        if (r.eKind == report::NOT_SHOWN)
            out.nNotShown += r.nNotShown;
        else
            out.shown << r.nCmdNr;
    }

    // Nothing is lost silently: shown and counted add up to what was made.
    QCOMPARE(out.shown.size() + out.nNotShown, qint64(count));
    QVERIFY(out.nLargestQueue <= scriptProgressQueue::capacity);
    // The first ones whole and in order, then a few a second at most, each
    // the latest when it went through, with a count about once a second.
    QVERIFY2(out.shown.size() >= wholeFirst, qPrintable(QString::number(out.shown.size())));
    for (int i = 0; i < wholeFirst; ++i)
        QCOMPARE(out.shown.at(i), i);
    const qint64 nFloodMs = qMax<qint64>(0, nUs / 1000);
    QVERIFY(out.shown.size() - wholeFirst <= nFloodMs / scriptProgressQueue::floodTextIntervalMs + 1);
    QVERIFY(out.nCounts <= nFloodMs / scriptProgressQueue::notShownIntervalMs + 1);
    QVERIFY(out.nCounts >= counts);
    for (int i = 1; i < out.shown.size(); ++i)
        QVERIFY(out.shown.at(i) > out.shown.at(i - 1));
}

void tst_scriptProgressRelay::waitProgressReplacesItsWaitingProgress_data()
{
    QTest::addColumn<QStringList>("pushed");
    QTest::addColumn<QStringList>("taken");
    QTest::newRow("starts: every one")
        << QStringList{"s 0 0 0 ", "s 1 3 3 ", "s 1 2 3 "} << QStringList{"s 0 0 0 ", "s 1 3 3 ", "s 1 2 3 "};
    QTest::newRow("a wait's progress: the latest")
        << QStringList{"s 2 0 0 ", "p 2 0 0 time:0.5/1 WAIT", "p 2 0 0 time:0.7/1 WAIT"}
        << QStringList{"s 2 0 0 ", "p 2 0 0 time:0.7/1 WAIT"};
    QTest::newRow("progress of another command stays")
        << QStringList{"p 0 0 0 reached:1/3 GOTODATA", "s 1 0 0 1.00E-05", "p 1 0 0 reached:0/3 GOTODATA",
                       "p 1 0 0 reached:1/3 GOTODATA"}
        << QStringList{"p 0 0 0 reached:1/3 GOTODATA", "s 1 0 0 1.00E-05", "p 1 0 0 reached:1/3 GOTODATA"};
}

void tst_scriptProgressRelay::waitProgressReplacesItsWaitingProgress()
{
    QFETCH(QStringList, pushed);
    QFETCH(QStringList, taken);
    scriptProgressRelay relay;
    deliveryLog log(relay);
    for (const QString &strReport : pushed)
        push(relay, strReport);
    QCOMPARE(log.reports, QStringList());
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, taken);
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, taken);
}

void tst_scriptProgressRelay::floodHoldsItsLatestTextUntilDue()
{
    scriptProgressQueue queue(0);
    fed out;
    // Two seconds of a flood; the chain then stops at a move.
    report r;
    for (r.nCmdNr = 0; r.nCmdNr < 20000; ++r.nCmdNr) {
        queue.put(r, r.nCmdNr / 10);
        takeInto(queue, out);
    }
    QVERIFY(queue.isFlooding());
    QVERIFY(out.shown.last() < 19999);
    // Quiet: the count and the latest text are due within a count's
    // interval, and then nothing more is.
    const qint64 nDue = queue.dueMs();
    QVERIFY(nDue >= 1999 && nDue <= 1999 + scriptProgressQueue::notShownIntervalMs);
    const int nCountsBefore = out.nCounts;
    queue.release(nDue + scriptProgressQueue::notShownIntervalMs);
    takeInto(queue, out);
    QCOMPARE(out.shown.last(), 19999);
    QCOMPARE(out.nCounts, nCountsBefore + 1);
    QCOMPARE(queue.dueMs(), qint64(-1));
    QCOMPARE(out.shown.size() + out.nNotShown, qint64(20000));

    // A run with moves after it goes whole again.
    QStringList after;
    qint64 nMs = 5000;
    for (int i = 0; i < 5; ++i, nMs += 1500) {
        r.nCmdNr = 100 + i;
        queue.put(r, nMs);
        for (const report &t : queue.take())
            after << textOf(t);
    }
    QVERIFY(!queue.isFlooding());
    QCOMPARE(after, QStringList({"s 100 0 0 ", "s 101 0 0 ", "s 102 0 0 ", "s 103 0 0 ", "s 104 0 0 "}));
}

void tst_scriptProgressRelay::loopInTheScriptThreadLeavesOneDeliveryInBounds()
{
    scriptProgressRelay relay;
    deliveryLog log(relay);
    QVERIFY(runInScriptThread({"MEAS 2 0", "GOTOCMD 0 20000"},
                              [&relay](scriptExecutor *exec) { relay.follow(exec, true); }));

    // 40,002 reports came; one delivery waits with what passed the rate.
    QCOMPARE(log.reports, QStringList());
    QCoreApplication::sendPostedEvents(&relay);
    const int nDelivered = log.reports.size();
    QVERIFY(nDelivered >= scriptProgressQueue::burstTexts && nDelivered <= scriptProgressQueue::capacity);
    QCOMPARE(log.reports.at(0), QStringLiteral("s 0 0 0 "));
    QCOMPARE(log.reports.at(1), QStringLiteral("s 1 20000 20000 "));
    QCOMPARE(log.reports.at(2), QStringLiteral("s 0 19999 0 "));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports.size(), nDelivered);

    // The end of the run counts the rest.
    relay.flush();
    qint64 nShown = 0;
    qint64 nNotShown = 0;
    for (const QString &strReport : log.reports) {
        if (strReport.startsWith(QLatin1String("not shown ")))
            nNotShown += strReport.mid(10).toLongLong();
        else
            ++nShown;
    }
    QCOMPARE(nShown + nNotShown, qint64(40002));
}

void tst_scriptProgressRelay::chainStoppingAtAWaitShowsTheWait()
{
    // Loops of immediate commands that end at a WAIT, twice: while the run
    // waits, the page learns of the WAIT and of the count of what the loop
    // left out, so shown and counted add up to every report made.
    scriptProgressRelay relay;
    deliveryLog log(relay);
    executorThread worker;
    relay.follow(worker.exec, true);
    worker.run({"MEAS 2 0", "GOTOCMD 0 20000", "WAIT 300 0", "MEAS 2 0", "GOTOCMD 3 20000", "WAIT 600000 0"});
    const auto madeSoFar = [&log] {
        qint64 nMade = 0;
        for (const QString &strReport : log.reports)
            nMade += strReport.startsWith(QLatin1String("not shown ")) ? strReport.mid(10).toLongLong() : 1;
        return nMade;
    };
    QTRY_COMPARE_WITH_TIMEOUT(madeSoFar(), qint64(2 * 40002 + 2), 60000);
    QVERIFY(log.reports.contains(QStringLiteral("s 2 0 0 ")));
    QStringList texts;
    for (const QString &strReport : log.reports) {
        if (!strReport.startsWith(QLatin1String("not shown ")))
            texts << strReport;
    }
    QCOMPARE(texts.last(), QStringLiteral("s 5 0 0 "));
}

void tst_scriptProgressRelay::progressDuringAFloodKeepsItsPlace()
{
    // A flood whose released progress still waits when a start is held and
    // the same command reports progress again: nothing overtakes.
    scriptProgressQueue queue(0);
    report r;
    for (r.nCmdNr = 1000; r.nCmdNr < 2000; ++r.nCmdNr)
        queue.put(r, 0);
    QVERIFY(queue.isFlooding());
    queue.take();
    report progress = reportOf(QStringLiteral("p 1 0 0 time:0.1/1 WAIT"));
    queue.put(progress, 300);
    r.nCmdNr = 2;
    queue.put(r, 301);
    progress.strSetData = QStringLiteral("time:0.2/1");
    queue.put(progress, 302);
    queue.release(1000);
    QStringList taken;
    for (const report &t : queue.take())
        taken << textOf(t);
    // The start between them is counted as not shown, in its place.
    QCOMPARE(taken.size(), 3);
    QCOMPARE(taken.at(0), QStringLiteral("p 1 0 0 time:0.1/1 WAIT"));
    QVERIFY(taken.at(1).startsWith(QLatin1String("not shown ")));
    QCOMPARE(taken.at(2), QStringLiteral("p 1 0 0 time:0.2/1 WAIT"));
}

void tst_scriptProgressRelay::closingHandsOnWhatWaitsThenNothing()
{
    scriptProgressRelay relay;
    deliveryLog log(relay);
    // Closed with a delivery posted: what waits comes at once, in order.
    push(relay, QStringLiteral("s 4 2 5 "));
    push(relay, QStringLiteral("p 4 0 0 time:1/2 WAIT"));
    relay.setOpen(false);
    QCOMPARE(log.reports, QStringList({"s 4 2 5 ", "p 4 0 0 time:1/2 WAIT"}));
    push(relay, QStringLiteral("s 5 0 0 "));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports.size(), 2);
    // Open again, it passes on what comes from then on.
    relay.setOpen(true);
    push(relay, QStringLiteral("s 6 0 0 "));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports.mid(2), QStringList{"s 6 0 0 "});
}

void tst_scriptProgressRelay::measuringRequestsMerge_data()
{
    QTest::addColumn<QList<bool>>("asked");
    QTest::addColumn<QVector<bool>>("applied");
    QTest::newRow("on") << QList<bool>{true} << QVector<bool>{true};
    QTest::newRow("off") << QList<bool>{false} << QVector<bool>{false};
    QTest::newRow("on, on") << QList<bool>{true, true} << QVector<bool>{true};
    QTest::newRow("on, off") << QList<bool>{true, false} << QVector<bool>{false};
    // The off ends a regulation even though measuring goes on.
    QTest::newRow("off, on") << QList<bool>{false, true} << QVector<bool>{false, true};
    QTest::newRow("on, off, on, off, on") << QList<bool>{true, false, true, false, true}
                                          << QVector<bool>{false, true};
}

void tst_scriptProgressRelay::measuringRequestsMerge()
{
    QFETCH(QList<bool>, asked);
    QFETCH(QVector<bool>, applied);
    scriptMeasuringRelay relay;
    QVector<bool> got;
    connect(&relay, &scriptMeasuringRelay::setMeasurement, this, [&got](bool b) { got << b; });
    for (const bool b : asked)
        relay.onSetMeasurement(b);
    QVERIFY(got.isEmpty());
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(got, applied);
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(got, applied);
}

void tst_scriptProgressRelay::togglingLoopLeavesOneMeasuringDelivery()
{
    scriptMeasuringRelay relay;
    QVector<bool> got;
    connect(&relay, &scriptMeasuringRelay::setMeasurement, this, [&got](bool b) { got << b; });
    // 20,001 passes, each asking off and on.
    QVERIFY(runInScriptThread({"MEAS 0 0", "MEAS 2 0", "GOTOCMD 0 20000"},
                              [&relay](scriptExecutor *exec) { relay.follow(exec, true); }));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(got, QVector<bool>({false, true}));
}

QTEST_GUILESS_MAIN(tst_scriptProgressRelay)
#include "tst_scriptProgressRelay.moc"
