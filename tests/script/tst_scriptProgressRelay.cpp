// The relay between the script thread and the Script tab: a delivery holds
// the latest start and the latest progress after it, at most one delivery
// waits however fast another thread reports, and a closed relay passes
// nothing on.
#include "script/scriptExecutor.h"
#include "script/scriptProgressRelay.h"

#include "executorRig.h"

#include <QSemaphore>
#include <QThread>
#include <QtTest>

namespace {

// "s <nr> <repetition> <repeat> <text>" starts a command, "p <nr> <repetition>
// <repeat> <text> <type>" reports progress.
void push(scriptProgressRelay &relay, const QString &strReport)
{
    const QStringList f = strReport.split(QLatin1Char(' '));
    if (f.at(0) == QLatin1String("s"))
        relay.onCommandExecuted(f.at(1).toInt(), f.at(2).toInt(), f.at(3).toInt(), f.value(4));
    else
        relay.onUpdateCommandExecute(f.at(1).toInt(), f.at(2).toInt(), f.at(3).toInt(), f.value(4), f.value(5));
}

// What the relay delivers, in the same notation.
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
    }
};

} // namespace

class tst_scriptProgressRelay : public QObject
{
    Q_OBJECT
private slots:
    void deliveryHoldsTheLatest_data();
    void deliveryHoldsTheLatest();
    void oneDeliveryWaitsWhileTheScriptThreadReports();
    void closedRelayPassesNothingOn();
};

void tst_scriptProgressRelay::deliveryHoldsTheLatest_data()
{
    QTest::addColumn<QStringList>("pushed");
    QTest::addColumn<QStringList>("delivered");
    QTest::newRow("starts: the last")
        << QStringList{"s 0 0 0 ", "s 1 3 3 ", "s 1 2 3 "} << QStringList{"s 1 2 3 "};
    QTest::newRow("progress after a start: both")
        << QStringList{"s 2 0 0 ", "p 2 0 0 time:0.5/1 WAIT", "p 2 0 0 time:0.7/1 WAIT"}
        << QStringList{"s 2 0 0 ", "p 2 0 0 time:0.7/1 WAIT"};
    QTest::newRow("a start drops older progress")
        << QStringList{"s 0 0 0 ", "p 0 0 0 reached:1/3 GOTODATA", "s 1 0 0 1.00E-05"}
        << QStringList{"s 1 0 0 1.00E-05"};
    QTest::newRow("progress alone") << QStringList{"p 3 0 0 reached:0/3 GOTODATA", "p 3 0 0 reached:2/3 GOTODATA"}
                                    << QStringList{"p 3 0 0 reached:2/3 GOTODATA"};
}

void tst_scriptProgressRelay::deliveryHoldsTheLatest()
{
    QFETCH(QStringList, pushed);
    QFETCH(QStringList, delivered);
    scriptProgressRelay relay;
    deliveryLog log(relay);
    for (const QString &strReport : pushed)
        push(relay, strReport);
    QCOMPARE(log.reports, QStringList());
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, delivered);
    // Nothing more waits.
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, delivered);
}

void tst_scriptProgressRelay::oneDeliveryWaitsWhileTheScriptThreadReports()
{
    // The executor in its own thread runs a loop of immediate commands while
    // this thread, the GUI thread, handles no event.
    QThread thread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&thread);
    connect(&thread, &QThread::finished, exec, &QObject::deleteLater);
    thread.start();
    QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::BlockingQueuedConnection);
    scriptProgressRelay relay;
    relay.follow(exec, true);
    deliveryLog log(relay);
    QSemaphore finished;
    connect(exec, &scriptExecutor::finished, exec, [&finished] { finished.release(); }, Qt::DirectConnection);
    const lvScript script = executorRig::scriptOf({"MEAS 2 0", "GOTOCMD 0 20000"});
    QMetaObject::invokeMethod(exec, [exec, script] {
        exec->setScript(script);
        exec->processScript();
    }, Qt::QueuedConnection);
    QVERIFY(finished.tryAcquire(1, 60000));

    // 40,002 reports came; one delivery waits and it holds the last.
    QCOMPARE(log.reports, QStringList());
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, QStringList{"s 1 20000 0 "});
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports.size(), 1);

    relay.follow(exec, false);
    thread.quit();
    QVERIFY(thread.wait(20000));
}

void tst_scriptProgressRelay::closedRelayPassesNothingOn()
{
    scriptProgressRelay relay;
    deliveryLog log(relay);
    // Closed with a delivery posted: it finds nothing.
    push(relay, QStringLiteral("s 4 2 5 "));
    relay.setOpen(false);
    push(relay, QStringLiteral("p 4 0 0 time:1/2 WAIT"));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, QStringList());
    // Open again, it passes on what comes from then on.
    relay.setOpen(true);
    push(relay, QStringLiteral("s 5 0 0 "));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(log.reports, QStringList{"s 5 0 0 "});
}

QTEST_GUILESS_MAIN(tst_scriptProgressRelay)
#include "tst_scriptProgressRelay.moc"
