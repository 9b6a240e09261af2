#include "app/logArchiveName.h"
#include "app/logArchiver.h"
#include "app/logFileScan.h"
#include "app/logLineFormat.h"
#include "app/qlvLogFile.h"

#include "fakeClock.h"
#include "testWorkDir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <thread>
#include <vector>

namespace {

const QString strLogRel = QStringLiteral("log/qVarnixLeakvalve.log");

QByteArray lineDated(const QDate &d, const char *szText)
{
    return d.toString(QStringLiteral("dd.MM.yyyy")).toLatin1() + " 08:00:00.000 ### " + szText + "\n";
}

QStringList archivesIn(const testWorkDir &work)
{
    return QDir(work.filePath(QStringLiteral("log"))).entryList(QStringList{QStringLiteral("wk*")}, QDir::Files, QDir::Name);
}

} // namespace

class tst_shellLog : public QObject
{
    Q_OBJECT

private slots:
    void lineFormat_data();
    void lineFormat();
    void archiveName_data();
    void archiveName();
    void archiveDue_data();
    void archiveDue();
    void freeName();
    void scan_data();
    void scan();

    void startWithoutLogFile();
    void cleanShutdown_data();
    void cleanShutdown();
    void weeklyArchive_data();
    void weeklyArchive();
    void archiveNameTakenGetsVariant();
    void failedCopyKeepsLogOpenAndWhole();
    void missingLogDirectoryLosesLinesQuietly();
    void linesAreAppendedAndFlushed();
    void concurrentWritersNeverInterleave();
    void uptime();
};

void tst_shellLog::lineFormat_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QDateTime dt(QDate(2017, 3, 21), QTime(14, 5, 9, 42));
    QTest::newRow("plain") << dt << "Application Started" << "21.03.2017 14:05:09.042 ### Application Started";
    QTest::newRow("line feeds become tabs") << dt << "Motor\nError\n" << "21.03.2017 14:05:09.042 ### Motor\tError\t";
    QTest::newRow("empty") << dt << "" << "21.03.2017 14:05:09.042 ### ";
    QTest::newRow("midnight") << QDateTime(QDate(2017, 12, 31), QTime(23, 59, 59, 999)) << "x"
                              << "31.12.2017 23:59:59.999 ### x";
}

void tst_shellLog::lineFormat()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(formatLogLine(when, text), expected);
}

void tst_shellLog::archiveName_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");
    QTest::newRow("3 Jan 2017") << QDate(2017, 1, 3) << "wk1-2017";
    // ISO week of the previous year, calendar year of the date
    QTest::newRow("1 Jan 2017") << QDate(2017, 1, 1) << "wk52-2017";
    QTest::newRow("25 Dec 2017") << QDate(2017, 12, 25) << "wk52-2017";
    QTest::newRow("31 Dec 2018") << QDate(2018, 12, 31) << "wk1-2018";
    QTest::newRow("2 Jan 2018") << QDate(2018, 1, 2) << "wk1-2018";
    QTest::newRow("invalid") << QDate() << "wk0-0";
}

void tst_shellLog::archiveName()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QCOMPARE(logArchiveName(date), name);
}

void tst_shellLog::archiveDue_data()
{
    QTest::addColumn<QDate>("logDate");
    QTest::addColumn<bool>("due");
    const QDate today(2026, 1, 15);
    QTest::newRow("today") << today << false;
    QTest::newRow("7 days") << today.addDays(-7) << false;
    QTest::newRow("8 days") << today.addDays(-8) << true;
    QTest::newRow("a year") << today.addYears(-1) << true;
    QTest::newRow("future") << today.addDays(3) << false;
    QTest::newRow("invalid") << QDate() << true;
}

void tst_shellLog::archiveDue()
{
    QFETCH(QDate, logDate);
    QFETCH(bool, due);
    QCOMPARE(logArchiveDue(logDate, QDate(2026, 1, 15)), due);
}

void tst_shellLog::freeName()
{
    QSet<QString> taken;
    auto exists = [&taken](const QString &s) { return taken.contains(s); };
    QCOMPARE(freeArchiveName(QStringLiteral("wk1-2018"), exists), QStringLiteral("wk1-2018"));
    taken << QStringLiteral("wk1-2018");
    QCOMPARE(freeArchiveName(QStringLiteral("wk1-2018"), exists), QStringLiteral("wk1-2018_2"));
    taken << QStringLiteral("wk1-2018_2");
    QCOMPARE(freeArchiveName(QStringLiteral("wk1-2018"), exists), QStringLiteral("wk1-2018_3"));
    QVERIFY(freeArchiveName(QStringLiteral("x"), [](const QString &) { return true; }).isEmpty());
}

void tst_shellLog::scan_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("clean");
    QTest::addColumn<QDate>("date");

    QTest::newRow("empty") << QByteArray() << "" << "" << false << QDate();
    QTest::newRow("one line, trailing lf") << QByteArray("01.02.2026 10:00:00.000 ### Shutdown\n")
                                           << "01.02.2026 10:00:00.000 ### Shutdown"
                                           << "01.02.2026 10:00:00.000 ### Shutdown" << true << QDate(2026, 2, 1);
    QTest::newRow("no trailing lf") << QByteArray("01.02.2026 10:00:00.000 ### A\n02.02.2026 10:00:00.000 ### Shutdown")
                                    << "01.02.2026 10:00:00.000 ### A"
                                    << "02.02.2026 10:00:00.000 ### Shutdown" << true << QDate(2026, 2, 1);
    QTest::newRow("quit is not clean") << QByteArray("01.02.2026 10:00:00.000 ### Shutdown\n01.02.2026 10:00:01.000 ### Application Quit\n")
                                       << "01.02.2026 10:00:00.000 ### Shutdown"
                                       << "01.02.2026 10:00:01.000 ### Application Quit" << false << QDate(2026, 2, 1);
    QTest::newRow("short last line") << QByteArray("hutdown\n") << "hutdown" << "hutdown" << false << QDate();
    QTest::newRow("bare Shutdown") << QByteArray("Shutdown") << "Shutdown" << "Shutdown" << true << QDate();
    QTest::newRow("crlf") << QByteArray("01.02.2026 10:00:00.000 ### Shutdown\r\n") << "01.02.2026 10:00:00.000 ### Shutdown"
                          << "01.02.2026 10:00:00.000 ### Shutdown" << true << QDate(2026, 2, 1);
    QTest::newRow("garbage first line") << QByteArray("xx.02.2026 junk\n") << "xx.02.2026 junk" << "xx.02.2026 junk"
                                        << false << QDate();
}

void tst_shellLog::scan()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(bool, clean);
    QFETCH(QDate, date);

    const logFileScan s = scanLog(content);
    QCOMPARE(s.strFirstLine, first);
    QCOMPARE(s.strLastLine, last);
    QCOMPARE(s.cleanShutdown(), clean);
    QCOMPARE(s.logDate(), date);
    QCOMPARE(s.bEmpty, content.isEmpty());
}

void tst_shellLog::startWithoutLogFile()
{
    testWorkDir work;
    fakeClock clock(QDateTime(QDate(2026, 1, 15), QTime(9, 0)));
    {
        qlvLogFile log;
        QVERIFY(!log.bCleanShutdown);
        log.writeToLog(QStringLiteral("Application Started"));
    }
    // no first date: archived as wk0-0 (an empty copy), the log itself kept
    QCOMPARE(archivesIn(work), QStringList{QStringLiteral("wk0-0")});
    QCOMPARE(work.readFile(QStringLiteral("log/wk0-0")), QByteArray());
    QCOMPARE(work.readFile(strLogRel), QByteArray("15.01.2026 09:00:00.000 ### Application Started\n"));

    // An empty log found again does not pile up empty archives.
    QVERIFY(work.writeFile(strLogRel, QByteArray()));
    { qlvLogFile log; }
    QCOMPARE(archivesIn(work), QStringList{QStringLiteral("wk0-0")});
}

void tst_shellLog::cleanShutdown_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("clean");
    const QByteArray started = lineDated(QDate(2026, 1, 14), "Application Started");
    QTest::newRow("shutdown, lf") << started + lineDated(QDate(2026, 1, 14), "Shutdown") << true;
    QTest::newRow("shutdown, no lf") << started + lineDated(QDate(2026, 1, 14), "Shutdown").trimmed() << true;
    QTest::newRow("quit") << started + lineDated(QDate(2026, 1, 14), "Application Quit") << false;
    QTest::newRow("line after shutdown") << started + lineDated(QDate(2026, 1, 14), "Shutdown")
                                                 + lineDated(QDate(2026, 1, 14), "OK")
                                         << false;
    QTest::newRow("power loss") << started << false;
}

void tst_shellLog::cleanShutdown()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, clean);
    testWorkDir work;
    fakeClock clock(QDateTime(QDate(2026, 1, 15), QTime(9, 0)));
    QVERIFY(work.writeFile(strLogRel, content));

    qlvLogFile log;
    QCOMPARE(log.bCleanShutdown, clean);
    // not due: nothing archived, nothing changed
    QVERIFY(archivesIn(work).isEmpty());
    QCOMPARE(work.readFile(strLogRel), content);
}

void tst_shellLog::weeklyArchive_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<QString>("archive");
    // today is Thursday 15 January 2026
    QTest::newRow("7 days kept") << 7 << QString();
    QTest::newRow("8 days archived") << 8 << "wk2-2026";
    QTest::newRow("last year") << 20 << "wk52-2025";
}

void tst_shellLog::weeklyArchive()
{
    QFETCH(int, daysAgo);
    QFETCH(QString, archive);
    testWorkDir work;
    fakeClock clock(QDateTime(QDate(2026, 1, 15), QTime(9, 0)));
    const QDate first = QDate(2026, 1, 15).addDays(-daysAgo);
    const QByteArray content = lineDated(first, "Application Started") + lineDated(first, "Shutdown");
    QVERIFY(work.writeFile(strLogRel, content));

    qlvLogFile log;
    QVERIFY(log.bCleanShutdown);
    log.writeToLog(QStringLiteral("Application Started"));
    const QByteArray newLine("15.01.2026 09:00:00.000 ### Application Started\n");

    if (archive.isEmpty()) {
        QVERIFY(archivesIn(work).isEmpty());
        QCOMPARE(work.readFile(strLogRel), content + newLine);
    } else {
        QCOMPARE(archivesIn(work), QStringList{archive});
        QCOMPARE(work.readFile(QStringLiteral("log/") + archive), content);
        QCOMPARE(work.readFile(strLogRel), newLine);
    }
}

void tst_shellLog::archiveNameTakenGetsVariant()
{
    testWorkDir work;
    fakeClock clock(QDateTime(QDate(2026, 1, 15), QTime(9, 0)));
    const QByteArray older("older archive\n");
    QVERIFY(work.writeFile(QStringLiteral("log/wk0-0"), older));
    const QByteArray content("not a date ### Application Started\n");
    QVERIFY(work.writeFile(strLogRel, content));

    {
        qlvLogFile log;
        log.writeToLog(QStringLiteral("A"));
    }
    QCOMPARE(archivesIn(work), (QStringList{QStringLiteral("wk0-0"), QStringLiteral("wk0-0_2")}));
    QCOMPARE(work.readFile(QStringLiteral("log/wk0-0")), older);
    QCOMPARE(work.readFile(QStringLiteral("log/wk0-0_2")), content);
    QCOMPARE(work.readFile(strLogRel), QByteArray("15.01.2026 09:00:00.000 ### A\n"));

    // the next start finds a dated log and leaves everything alone
    { qlvLogFile log; }
    QCOMPARE(archivesIn(work).size(), 2);
}

void tst_shellLog::failedCopyKeepsLogOpenAndWhole()
{
    testWorkDir work;
    const QByteArray content = lineDated(QDate(2026, 1, 1), "Application Started");
    QVERIFY(work.writeFile(strLogRel, content));

    QFile log(work.filePath(strLogRel));
    QVERIFY(log.open(QIODevice::ReadWrite | QIODevice::Append));
    const logFileScan scan = scanLog(content);
    QString strCopiedTo;
    QTest::ignoreMessage(QtDebugMsg, "log file saving did not work");
    const logArchiveResult res = archiveLogIfDue(log, work.filePath(QStringLiteral("log/")), scan, QDate(2026, 1, 15),
                                                 [&](const QString &, const QString &strTo) {
                                                     strCopiedTo = strTo;
                                                     return false;
                                                 });
    QCOMPARE(res, logArchiveResult::Failed);
    QCOMPARE(strCopiedTo, work.filePath(QStringLiteral("log/wk1-2026")));
    QVERIFY(log.isOpen());
    QVERIFY(log.write("more\n") > 0);
    log.flush();
    QCOMPARE(work.readFile(strLogRel), content + "more\n");
}

void tst_shellLog::missingLogDirectoryLosesLinesQuietly()
{
    testWorkDir work;
    QVERIFY(QDir(work.path()).rmdir(QStringLiteral("log")));
    {
        qlvLogFile log;
        QVERIFY(!log.bCleanShutdown);
        log.writeToLog(QStringLiteral("lost"));
    }
    QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("log"))));
    QCOMPARE(QDir(work.path()).entryList(QStringList{QStringLiteral("wk*"), QStringLiteral("*.log")}, QDir::Files),
             QStringList());
}

void tst_shellLog::linesAreAppendedAndFlushed()
{
    testWorkDir work;
    fakeClock clock(QDateTime(QDate(2026, 1, 15), QTime(23, 59, 59, 998)));
    const QByteArray content = lineDated(QDate(2026, 1, 14), "Application Started");
    QVERIFY(work.writeFile(strLogRel, content));

    qlvLogFile log;
    log.writeToLog(QStringLiteral("Motor Error\nReconnect:1"));
    clock.advance(5);
    log.writeToLog(QStringLiteral("after midnight"));
    // flushed while the object is alive
    QCOMPARE(work.readFile(strLogRel), content
                                           + "15.01.2026 23:59:59.998 ### Motor Error\tReconnect:1\n"
                                             "16.01.2026 00:00:00.003 ### after midnight\n");
}

void tst_shellLog::concurrentWritersNeverInterleave()
{
    testWorkDir work;
    const int nThreads = 4;
    const int nLines = 1000;
    {
        qlvLogFile log;
        std::vector<std::thread> threads;
        for (int t = 0; t < nThreads; ++t)
            threads.emplace_back([&log, t] {
                for (int i = 0; i < nLines; ++i)
                    log.writeToLog(QStringLiteral("thread %1 line %2\nsecond part").arg(t).arg(i));
            });
        for (auto &th : threads)
            th.join();
    }

    const QByteArray all = work.readFile(strLogRel);
    QVERIFY(all.endsWith('\n'));
    const QList<QByteArray> lines = all.left(all.size() - 1).split('\n');
    QCOMPARE(lines.size(), nThreads * nLines);

    const QRegularExpression re(QStringLiteral(
        "^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\.\\d{3} ### thread (\\d) line (\\d+)\tsecond part$"));
    QVector<int> nextPerThread(nThreads, 0);
    for (const QByteArray &line : lines) {
        const QRegularExpressionMatch m = re.match(QString::fromLocal8Bit(line));
        QVERIFY2(m.hasMatch(), line.constData());
        const int t = m.captured(1).toInt();
        // each thread's lines arrive whole and in its own order
        QCOMPARE(m.captured(2).toInt(), nextPerThread[t]);
        ++nextPerThread[t];
    }
}

void tst_shellLog::uptime()
{
    testWorkDir work;
    fakeClock clock;
    qlvLogFile log;
    log.setUptime(100);
    clock.advance(2500);
    QCOMPARE(log.updateUptime(), qint64(102));
    clock.advance(600);  // 3.1 s since start: the third whole second is counted now
    QCOMPARE(log.updateUptime(), qint64(103));
    QCOMPARE(log.updateUptime(), qint64(103));
}

QTEST_GUILESS_MAIN(tst_shellLog)
#include "tst_shellLog.moc"
