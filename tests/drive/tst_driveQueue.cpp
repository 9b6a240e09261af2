// The command queue and its send tick as a pure state machine: what is written
// on which tick, the idle and after-command polls of each family, the
// no-answer countdown and the handling of reply lines.
#include "valve/motorCommandQueue.h"
#include "valve/motorFamily.h"

#include <QtTest>

namespace {

struct writeRecord
{
    int nTick;
    QByteArray strData;
};

// Runs ticks against a controller that answers every command at once with
// one line per "\r" (the head's reply completes before the next tick).
QVector<writeRecord> runPrompt(motorCommandQueue &q, int nTicks, bool bIdlePolls)
{
    QVector<writeRecord> writes;
    for (int t = 1; t <= nTicks; ++t) {
        const motorCommandQueue::tickResult r = q.tick(bIdlePolls);
        if (r.strWrite.isEmpty())
            continue;
        writes.append({t, r.strWrite});
        for (int i = 0; i < r.strWrite.count('\r'); ++i)
            q.takeReplyLine("x\r");
    }
    return writes;
}

QList<int> ticksOf(const QVector<writeRecord> &writes, const QByteArray &strData)
{
    QList<int> out;
    for (const writeRecord &w : writes)
        if (w.strData == strData)
            out << w.nTick;
    return out;
}

} // namespace

class tst_driveQueue : public QObject
{
    Q_OBJECT

private slots:
    void nothingIsWrittenBeforeThePortOpened()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.append("s\r", true);
        for (int i = 0; i < 50; ++i) {
            const motorCommandQueue::tickResult r = q.tick(true);
            QVERIFY(r.strWrite.isEmpty());
            QVERIFY(!r.bNoAnswer);
        }
        QCOMPARE(q.maySend(), int(motorCommandQueue::MAY_SEND_NEVER));
        QCOMPARE(q.count(), 1);
    }

    void oneCommandPerReadyTick()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.setReady();
        q.append("a\r", false);
        q.append("b\r", false);
        QCOMPARE(q.tick(true).strWrite, QByteArray("a\r"));
        QCOMPARE(q.maySend(), int(motorCommandQueue::MAY_SEND_WAITING));
        // Still waiting: the second command must not follow in the next tick.
        QVERIFY(q.tick(true).strWrite.isEmpty());
        QCOMPARE(q.takeReplyLine("A\r"), motorCommandQueue::LINE_COMPLETED);
        QCOMPARE(q.tick(true).strWrite, QByteArray("b\r"));
        QCOMPARE(q.takeReplyLine("B\r"), motorCommandQueue::LINE_COMPLETED);
        QVERIFY(q.isEmpty());
    }

    void severalCommandsInOneRecordWaitForEveryLine()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.setReady();
        q.append("p\rs\r", false);
        QCOMPARE(q.tick(true).strWrite, QByteArray("p\rs\r"));
        q.tick(true);
        q.tick(true);
        QCOMPARE(q.noAnswerCounter(), 7);
        QCOMPARE(q.takeReplyLine("p\r"), motorCommandQueue::LINE_PARTIAL);
        // A partial answer keeps the link waiting (writing "p" again would
        // move the valve twice) and gives the rest a fresh countdown.
        QCOMPARE(q.maySend(), int(motorCommandQueue::MAY_SEND_WAITING));
        QCOMPARE(q.noAnswerCounter(), motorCommandQueue::NO_ANSWER_TICKS);
        QVERIFY(q.tick(true).strWrite.isEmpty());
        QCOMPARE(q.takeReplyLine("RP20001\r"), motorCommandQueue::LINE_COMPLETED);
        QVERIFY(q.isEmpty());
        QCOMPARE(q.maySend(), int(motorCommandQueue::MAY_SEND_READY));
    }

    void repeatingHeadIsWrittenUntilReleased()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.setReady();
        q.append("p\rs\r", false, true);
        q.append("s\r", false);
        for (int round = 0; round < 3; ++round) {
            QCOMPARE(q.tick(false).strWrite, QByteArray("p\rs\r"));
            QCOMPARE(q.takeReplyLine("p\r"), motorCommandQueue::LINE_PARTIAL);
            QCOMPARE(q.takeReplyLine("RP1\r"), motorCommandQueue::LINE_COMPLETED);
            QCOMPARE(q.count(), 2);
            QVERIFY(q.head()->strRecieveData.isEmpty());
        }
        QVERIFY(q.releaseRepeat({"p\rs\r", "p\rp\rp\rp\rs\r"}));
        // The current repetition completes, then the record leaves.
        QCOMPARE(q.tick(false).strWrite, QByteArray("p\rs\r"));
        q.takeReplyLine("p\r");
        QCOMPARE(q.takeReplyLine("RP2\r"), motorCommandQueue::LINE_COMPLETED);
        QCOMPARE(q.texts(), QList<QByteArray>{"s\r"});
        QCOMPARE(q.tick(false).strWrite, QByteArray("s\r"));
    }

    void releaseClearsEveryMatchingRecord()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.append("p\rs\r", false, false);
        q.append("p\rp\rp\rp\rs\r", true, true);
        q.append("p\rs\r", true, true);
        q.append("m\rs\r", false, true);
        QVERIFY(q.releaseRepeat({"p\rs\r", "p\rp\rp\rp\rs\r"}));
        QVERIFY(!q.records().at(1)->bRepeatCmd);
        QVERIFY(!q.records().at(2)->bRepeatCmd);
        QVERIFY(q.records().at(3)->bRepeatCmd);
        QVERIFY(!q.releaseRepeat({"#1A\r#1I\r#1C\r"}));
    }

    void idlePolls_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("idle");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::newRow("BL polls every second tick")
            << int(motorFamily::BERGER_LAHR) << true << QList<QByteArray>{"s\r", "s\r", "s\r", "s\r", "s\r"};
        QTest::newRow("NT four polls on the next four ticks")
            << int(motorFamily::NANOTEC) << true
            << QList<QByteArray>{"#1$\r", "#1I\r", "#1C\r", "#1ZY\r", "#1$\r", "#1I\r", "#1C\r", "#1ZY\r"};
        QTest::newRow("parser mode: nothing") << int(motorFamily::BERGER_LAHR) << false << QList<QByteArray>{};
        QTest::newRow("NT parser mode: nothing") << int(motorFamily::NANOTEC) << false << QList<QByteArray>{};
        QTest::newRow("no family: nothing") << 2 << true << QList<QByteArray>{};
    }
    void idlePolls()
    {
        QFETCH(int, family);
        QFETCH(bool, idle);
        motorCommandQueue q(family);
        q.setReady();
        const QVector<writeRecord> writes = runPrompt(q, 10, idle);
        QList<QByteArray> texts;
        for (const writeRecord &w : writes)
            texts << w.strData;
        QTEST(texts, "expected");
        if (family == motorFamily::BERGER_LAHR && idle)
            QCOMPARE(ticksOf(writes, "s\r"), (QList<int>{2, 4, 6, 8, 10}));
    }

    void bergerLahrAfterCommandQueries()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.setReady();
        q.append("g1\rs\r", true);
        const QVector<writeRecord> writes = runPrompt(q, 200, false);
        QCOMPARE(ticksOf(writes, "g1\rs\r"), QList<int>{1});
        QCOMPARE(ticksOf(writes, "s\r"), (QList<int>{6, 12, 18, 24, 30, 36, 42, 48, 54, 60}));
        QCOMPARE(writes.size(), 11);
    }

    void bergerLahrPortOpenQueriesOnce()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.setReady();
        q.append("s\r", true);
        q.stopAfterCommandRounds();
        const QVector<writeRecord> writes = runPrompt(q, 100, false);
        QCOMPARE(ticksOf(writes, "s\r"), QList<int>{1});
    }

    void nanoTecAfterCommandQueries()
    {
        motorCommandQueue q(motorFamily::NANOTEC);
        q.setReady();
        q.append("#1A\r", true);
        const QVector<writeRecord> writes = runPrompt(q, 60, false);
        QCOMPARE(ticksOf(writes, "#1$\r"), (QList<int>{3, 9, 15, 21, 27, 33, 39, 45, 51, 57}));
        QCOMPARE(ticksOf(writes, "#1I\r"), (QList<int>{6, 12, 18, 24, 30, 36, 42, 48, 54, 60}));
        QCOMPARE(ticksOf(writes, "#1C\r"), (QList<int>{7, 13, 19, 25, 31, 37, 43, 49, 55}));
        // They run on until something stops them.
        q.stopStatusQueries();
        while (!q.isEmpty())
            runPrompt(q, 1, false);
        QVERIFY(runPrompt(q, 60, false).isEmpty());
    }

    // The polls the tick queues itself are reported, so that the driver can
    // show them in debug mode like every other queued command; each one is
    // then written exactly once, in that order.
    void tickReportsThePollsItQueues_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("idle");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("BL idle") << int(motorFamily::BERGER_LAHR) << true << QByteArray() << 4
                                 << QStringList{"1:s", "3:s"};
        QTest::newRow("NT idle") << int(motorFamily::NANOTEC) << true << QByteArray() << 6
                                 << QStringList{"1:#1$", "1:#1I", "1:#1C", "1:#1ZY",
                                                "6:#1$", "6:#1I", "6:#1C", "6:#1ZY"};
        QTest::newRow("BL after a command") << int(motorFamily::BERGER_LAHR) << false << QByteArray("g1\rs\r") << 12
                                            << QStringList{"6:s", "12:s"};
        QTest::newRow("NT after a command") << int(motorFamily::NANOTEC) << false << QByteArray("#1A\r") << 9
                                            << QStringList{"3:#1$", "6:#1I", "6:#1C", "9:#1$"};
        QTest::newRow("no family") << 2 << true << QByteArray() << 6 << QStringList{};
    }
    void tickReportsThePollsItQueues()
    {
        QFETCH(int, family);
        QFETCH(bool, idle);
        QFETCH(QByteArray, command);
        QFETCH(int, ticks);
        motorCommandQueue q(family);
        q.setReady();
        if (!command.isEmpty())
            q.append(command, true);
        QStringList queued;
        QList<QByteArray> queuedTexts;
        QList<QByteArray> written;
        for (int t = 1; t <= ticks; ++t) {
            const motorCommandQueue::tickResult r = q.tick(idle);
            for (const controllerCommand &c : r.queued) {
                QVERIFY(!c.bQueryAfter);
                QVERIFY(!c.bRepeat);
                queued << QString::number(t) + QLatin1Char(':') + QString::fromLatin1(c.strCommand).remove(QLatin1Char('\r'));
                queuedTexts << c.strCommand;
            }
            if (r.strWrite.isEmpty())
                continue;
            if (r.strWrite != command)
                written << r.strWrite;
            for (int i = 0; i < r.strWrite.count('\r'); ++i)
                q.takeReplyLine("x\r");
        }
        QTEST(queued, "expected");
        // Everything written besides the caller's command was reported first.
        QCOMPARE(written, queuedTexts.mid(0, written.size()));
        QCOMPARE(queuedTexts.mid(written.size()), q.texts());
    }

    void noAnswerOnTheTenthTickAfterTheWrite()
    {
        motorCommandQueue q(motorFamily::NANOTEC);
        q.setReady();
        q.append("#1$\r", false);
        QCOMPARE(q.tick(false).strWrite, QByteArray("#1$\r"));
        for (int t = 1; t <= 9; ++t)
            QVERIFY2(!q.tick(false).bNoAnswer, qPrintable(QString::number(t)));
        QVERIFY(q.tick(false).bNoAnswer);
        // A reopen that failed leaves the link waiting: it never gives up
        // again and never counts past its floor.
        q.clear();
        for (int t = 0; t < 1000; ++t)
            QVERIFY(!q.tick(true).bNoAnswer);
        QCOMPARE(q.noAnswerCounter(), -1);
        QVERIFY(q.isEmpty());
    }

    void clearReportsTheLinesStillOwed()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.append("p\rs\r", false);
        QCOMPARE(q.clear(), 0); // never written
        q.setReady();
        q.append("p\rs\r", false);
        q.append("s\r", false);
        QCOMPARE(q.tick(false).strWrite, QByteArray("p\rs\r"));
        QCOMPARE(q.clear(), 2);
        QVERIFY(q.isEmpty());
        q.setReady();
        q.append("g1\rs\r", false);
        q.tick(false);
        q.takeReplyLine("g1\r");
        QCOMPARE(q.clear(), 1);
        q.setReady();
        q.append("s\r", false);
        q.tick(false);
        q.takeReplyLine("RP1\r");
        QCOMPARE(q.clear(), 0);
    }

    void armingNeedsAFamily()
    {
        motorCommandQueue q(2);
        q.append("#1:port_out_a1\r", true);
        QCOMPARE(q.afterCommandRounds(), 0);
        QCOMPARE(q.statusQueryCounter(), 0);
        motorCommandQueue b(motorFamily::BERGER_LAHR);
        b.append("g1\rs\r", true);
        QCOMPARE(b.afterCommandRounds(), motorCommandQueue::AFTER_COMMAND_ROUNDS);
        QCOMPARE(b.statusQueryCounter(), motorCommandQueue::STATUS_QUERY_TICKS);
    }

    void linesAreTakenOnlyWhenComplete()
    {
        QByteArray buffer("IP12");
        QVERIFY(motorCommandQueue::takeLine(buffer).isEmpty());
        buffer.append("345\rRP");
        QCOMPARE(motorCommandQueue::takeLine(buffer), QByteArray("IP12345\r"));
        QCOMPARE(buffer, QByteArray("RP"));
        buffer.append("1\r\r");
        QCOMPARE(motorCommandQueue::takeLine(buffer), QByteArray("RP1\r"));
        QCOMPARE(motorCommandQueue::takeLine(buffer), QByteArray("\r"));
        QVERIFY(buffer.isEmpty());
    }

    void commandWithoutLineEndIsAnsweredByOneLine()
    {
        motorCommandQueue q(motorFamily::BERGER_LAHR);
        q.setReady();
        q.append("x", false);
        QCOMPARE(q.tick(false).strWrite, QByteArray("x"));
        QCOMPARE(q.takeReplyLine("?\r"), motorCommandQueue::LINE_COMPLETED);
        QVERIFY(q.isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_driveQueue)
#include "tst_driveQueue.moc"
