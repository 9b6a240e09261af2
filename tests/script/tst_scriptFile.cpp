#include "testWorkDir.h"
#include "script/lvScript.h"
#include "script/lvScriptCommand.h"
#include "script/scriptCommandType.h"
#include "script/scriptFileCodec.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <limits>

namespace {

// A command list written as "nr type value repeat|..." for compact tables.
QString describe(const QList<lvScriptCommand> &commands)
{
    QStringList parts;
    for (const lvScriptCommand &c : commands)
        parts << QStringLiteral("%1 %2 %3 %4").arg(c.nCmdNr).arg(c.getCmdName()).arg(c.nValue).arg(c.nRepeat);
    return parts.join(QLatin1Char('|'));
}

lvScriptCommand command(int nNr, const char *pszKeyword, int nValue, int nRepeat)
{
    lvScriptCommand c;
    c.setCommand(nNr, QString::fromLatin1(pszKeyword), nValue, nRepeat);
    return c;
}

// Receives a script in its own thread, as the executor does.
class scriptSink : public QObject
{
    Q_OBJECT
public:
    lvScript received;
    Qt::HANDLE receivingThread = nullptr;
public slots:
    void take(lvScript script)
    {
        received = script;
        receivingThread = QThread::currentThreadId();
    }
};

class scriptSource : public QObject
{
    Q_OBJECT
signals:
    void scriptSelected(lvScript script);
};

} // namespace

class tst_scriptFile : public QObject
{
    Q_OBJECT

private slots:
    void keywordTable();
    void defaultCommandAndSetCommand();
    void fileLineOfCommand_data();
    void fileLineOfCommand();
    void numberField_data();
    void numberField();
    void decodeDamagedOrEditedText_data();
    void decodeDamagedOrEditedText();

    void roundTripKeepsEveryField();
    void negativeRelativeMoveIsWrittenBackByteForByte();
    void readMissingFileGivesEmptyListWithNameAndFolder();
    void emptyNameChangesNothing();
    void writeWithEmptyNameRewritesStoredName();
    void writeGivenListLeavesOwnListAlone();
    void writeFailsWithoutFolderAndCreatesNone();
    void unsafeNamesNeverLeaveTheFolder_data();
    void unsafeNamesNeverLeaveTheFolder();
    void rewriteReplacesLongerFileCompletely();
    void replaceCommandOnlyAtValidIndex();
    void scriptCrossesThreadsAsQueuedArgument();
};

void tst_scriptFile::keywordTable()
{
    const char *const keywords[] = {"GOTOPOS", "GOTOREL", "GOTOCMD", "GOTODATA", "WAIT",
                                    "MEAS",    "MEASCLOSE", "MEASOPEN", "SAVE"};
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(scriptKeyword(i), QString::fromLatin1(keywords[i]));
        QCOMPARE(scriptCommandTypeOf(QString::fromLatin1(keywords[i])), i);
    }
    QCOMPARE(int(CMD_MEASCLOSE), 6);
    QCOMPARE(int(CMD_MEASOPEN), 7);
    QCOMPARE(scriptKeyword(9), QStringLiteral("unknown"));
    QCOMPARE(scriptKeyword(-1), QStringLiteral("unknown"));
    QCOMPARE(scriptCommandTypeOf(QStringLiteral("wait")), -1);
    QCOMPARE(scriptCommandTypeOf(QStringLiteral(" WAIT")), -1);
    QCOMPARE(scriptCommandTypeOf(QStringLiteral("unknown")), -1);

    lvScriptCommand c;
    c.nCmdType = 9;
    QCOMPARE(c.getCmdName(), QStringLiteral("unknown"));
}

void tst_scriptFile::defaultCommandAndSetCommand()
{
    lvScriptCommand c;
    QCOMPARE(describe({c}), QStringLiteral("1 WAIT 1000 1"));

    c.setCommand(3, QStringLiteral("GOTOREL"), -5, 7);
    QCOMPARE(describe({c}), QStringLiteral("3 GOTOREL -5 7"));
    // An unknown keyword keeps the type and still takes the numbers.
    c.setCommand(4, QStringLiteral("gotopos"), 10, 2);
    QCOMPARE(describe({c}), QStringLiteral("4 GOTOREL 10 2"));
}

void tst_scriptFile::fileLineOfCommand_data()
{
    QTest::addColumn<int>("nr");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("line");

    QTest::newRow("goto closed") << 0 << 0 << 0 << 1 << "0;GOTOPOS;0;1;\n";
    QTest::newRow("negative relative") << 2 << 1 << -250000 << 1 << "2;GOTOREL;-250000;1;\n";
    QTest::newRow("extremes") << std::numeric_limits<int>::min() << 2 << std::numeric_limits<int>::max() << -1
                              << "-2147483648;GOTOCMD;2147483647;-1;\n";
    QTest::newRow("unknown type") << 5 << 12 << 1 << 1 << "5;unknown;1;1;\n";
}

void tst_scriptFile::fileLineOfCommand()
{
    QFETCH(int, nr);
    QFETCH(int, type);
    QFETCH(int, value);
    QFETCH(int, repeat);
    QFETCH(QString, line);
    lvScriptCommand c;
    c.nCmdNr = nr;
    c.nCmdType = type;
    c.nValue = value;
    c.nRepeat = repeat;
    QCOMPARE(c.fileLine(), line);
    QVERIFY(c.strLine.isEmpty());
    QCOMPARE(c.toString(), line);
    QCOMPARE(c.strLine, line);
}

void tst_scriptFile::numberField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "1000" << 1000;
    QTest::newRow("negative") << "-250000" << -250000;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("line end before") << "\n12" << 12;
    QTest::newRow("CR LF before") << "\r\n12" << 12;
    QTest::newRow("blanks around") << "  12 \t" << 12;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("digits then letters") << "12ab" << 0;
    QTest::newRow("decimal point") << "1.5" << 0;
    QTest::newRow("hex") << "0x10" << 0;
    QTest::newRow("inner blank") << "1 2" << 0;
    QTest::newRow("int maximum") << "2147483647" << std::numeric_limits<int>::max();
    QTest::newRow("int minimum") << "-2147483648" << std::numeric_limits<int>::min();
    QTest::newRow("above int") << "2147483648" << 0;
    QTest::newRow("below int") << "-2147483649" << 0;
    QTest::newRow("very long") << QString(40, QLatin1Char('9')) << 0;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("arabic digits") << QString::fromUtf8("\xd9\xa3") << 0;
}

void tst_scriptFile::numberField()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QCOMPARE(scriptNumberField(field), value);
}

void tst_scriptFile::decodeDamagedOrEditedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("commands");

    QTest::newRow("empty file") << "" << "";
    QTest::newRow("only a line end") << "\n" << "";
    QTest::newRow("one line without final ;") << "0;GOTOPOS;0;1" << "";
    QTest::newRow("one line with final ; no line end") << "0;GOTOPOS;0;1;" << "0 GOTOPOS 0 1";
    QTest::newRow("two lines") << "0;GOTOPOS;0;1;\n1;WAIT;1000;1;\n" << "0 GOTOPOS 0 1|1 WAIT 1000 1";
    QTest::newRow("CR LF line ends") << "0;GOTOPOS;0;1;\r\n1;WAIT;1000;1;\r\n" << "0 GOTOPOS 0 1|1 WAIT 1000 1";
    QTest::newRow("lower-case keyword") << "3;gotopos;500;2;\n" << "3 WAIT 500 2";
    QTest::newRow("keyword with blank") << "3;GOTOPOS ;500;2;\n" << "3 WAIT 500 2";
    QTest::newRow("letters in value") << "2;GOTOREL;abc;1;\n" << "2 GOTOREL 0 1";
    QTest::newRow("extra field shifts nothing")
        << "0;GOTOPOS;0;1;9;\n1;WAIT;1000;1;\n2;SAVE;0;0;\n" << "0 GOTOPOS 0 1|1 WAIT 1000 1|2 SAVE 0 0";
    QTest::newRow("missing field costs its own line only")
        << "0;GOTOPOS;1;\n1;WAIT;1000;1;\n" << "1 WAIT 1000 1";
    QTest::newRow("missing final ; in the middle")
        << "0;GOTOPOS;0;1\n1;WAIT;1000;1;\n" << "1 WAIT 1000 1";
    QTest::newRow("two commands on one line") << "0;GOTOPOS;0;1;1;WAIT;1000;1;" << "0 GOTOPOS 0 1|1 WAIT 1000 1";
    QTest::newRow("empty lines between") << "\n0;MEAS;1;1;\n\n\n1;SAVE;0;0;\n\n" << "0 MEAS 1 1|1 SAVE 0 0";
    QTest::newRow("value beyond int range") << "0;WAIT;99999999999;1;\n1;SAVE;0;0;\n" << "1 SAVE 0 0";
    QTest::newRow("number field beyond int range") << "99999999999;WAIT;5;1;\n" << "0 WAIT 5 1";
    QTest::newRow("negative relative") << "4;GOTOREL;-250000;1;\n" << "4 GOTOREL -250000 1";
    QTest::newRow("only semicolons") << ";;;;;;;;\n" << "0 WAIT 0 0|0 WAIT 0 0";
    QTest::newRow("non-ASCII keyword") << QString::fromUtf8("0;GOTOP\xc3\x96S;5;1;\n") << "0 WAIT 5 1";
    QTest::newRow("all nine keywords")
        << "0;GOTOPOS;1;1;\n1;GOTOREL;2;1;\n2;GOTOCMD;0;3;\n3;GOTODATA;2500;0;\n4;WAIT;10;1;\n"
           "5;MEAS;1;1;\n6;MEASCLOSE;2;1;\n7;MEASOPEN;2;0;\n8;SAVE;1000;1;\n"
        << "0 GOTOPOS 1 1|1 GOTOREL 2 1|2 GOTOCMD 0 3|3 GOTODATA 2500 0|4 WAIT 10 1|"
           "5 MEAS 1 1|6 MEASCLOSE 2 1|7 MEASOPEN 2 0|8 SAVE 1000 1";
}

void tst_scriptFile::decodeDamagedOrEditedText()
{
    QFETCH(QString, text);
    QFETCH(QString, commands);
    QCOMPARE(describe(decodeScriptFile(text)), commands);
}

void tst_scriptFile::roundTripKeepsEveryField()
{
    testWorkDir work;
    QVERIFY(work.isValid());
    lvScript script;
    script.cmdList = {command(0, "GOTOPOS", 0, 1), command(1, "GOTOREL", -1000000, 1),
                      command(2, "GOTOCMD", 0, 999999), command(3, "GOTODATA", 2500, 0),
                      command(4, "WAIT", -1, 1), command(5, "MEAS", 1, 1), command(6, "MEASCLOSE", 2, 1),
                      command(7, "MEASOPEN", 0, 0), command(8, "SAVE", 1000, 1)};
    QVERIFY(script.writeScriptToFile(QStringLiteral("all")));
    QCOMPARE(script.strName, QStringLiteral("all"));
    QCOMPARE(script.strDir, QDir::current().absolutePath() + QStringLiteral("/scripts/"));

    lvScript back;
    QVERIFY(back.readScriptFromFile(QStringLiteral("all")));
    QCOMPARE(describe(back.cmdList), describe(script.cmdList));
    QVERIFY(back.cmdList == script.cmdList);
    QCOMPARE(back.strName, QStringLiteral("all"));
    QCOMPARE(back.strDir, script.strDir);
}

void tst_scriptFile::negativeRelativeMoveIsWrittenBackByteForByte()
{
    testWorkDir work;
    const QByteArray bytes("0;GOTOPOS;500000;1;\n1;GOTOREL;-250000;1;\n2;WAIT;1000;1;\n");
    QVERIFY(work.writeFile(QStringLiteral("scripts/rel.kfxscript"), bytes));
    lvScript script;
    QVERIFY(script.readScriptFromFile(QStringLiteral("rel")));
    QCOMPARE(script.cmdList.size(), 3);
    QCOMPARE(script.cmdList.at(1).nCmdType, int(CMD_GOTOREL));
    QCOMPARE(script.cmdList.at(1).nValue, -250000);
    QVERIFY(script.writeScriptToFile(QString()));
    QCOMPARE(work.readFile(QStringLiteral("scripts/rel.kfxscript")), bytes);
}

void tst_scriptFile::readMissingFileGivesEmptyListWithNameAndFolder()
{
    testWorkDir work;
    lvScript script;
    script.cmdList = {command(0, "SAVE", 0, 0)};
    QVERIFY(!script.readScriptFromFile(QStringLiteral("nothere")));
    QVERIFY(script.cmdList.isEmpty());
    QCOMPARE(script.strName, QStringLiteral("nothere"));
    QCOMPARE(script.strDir, work.path() + QStringLiteral("/scripts/"));
}

void tst_scriptFile::emptyNameChangesNothing()
{
    testWorkDir work;
    lvScript script;
    script.cmdList = {command(0, "SAVE", 0, 0)};
    script.strName = QStringLiteral("kept");
    script.strDir = QStringLiteral("/somewhere/");
    QVERIFY(!script.readScriptFromFile(QString()));
    QCOMPARE(describe(script.cmdList), QStringLiteral("0 SAVE 0 0"));
    QCOMPARE(script.strName, QStringLiteral("kept"));
    QCOMPARE(script.strDir, QStringLiteral("/somewhere/"));
}

void tst_scriptFile::writeWithEmptyNameRewritesStoredName()
{
    testWorkDir work;
    lvScript script;
    QVERIFY(work.writeFile(QStringLiteral("scripts/stored.kfxscript"), "0;WAIT;5;1;\n"));
    QVERIFY(script.readScriptFromFile(QStringLiteral("stored")));
    script.cmdList.append(command(1, "SAVE", 0, 0));
    QVERIFY(script.writeScriptToFile(QString()));
    QCOMPARE(work.readFile(QStringLiteral("scripts/stored.kfxscript")), QByteArray("0;WAIT;5;1;\n1;SAVE;0;0;\n"));
    QCOMPARE(QDir(work.filePath(QStringLiteral("scripts"))).entryList(QDir::Files),
             QStringList{QStringLiteral("stored.kfxscript")});
}

void tst_scriptFile::writeGivenListLeavesOwnListAlone()
{
    testWorkDir work;
    lvScript script;
    script.cmdList = {command(0, "WAIT", 1, 1)};
    const QList<lvScriptCommand> other = {command(0, "GOTOPOS", 7, 1), command(1, "SAVE", 0, 0)};
    QVERIFY(script.writeCmdListScriptToFile(QStringLiteral("given"), other));
    QCOMPARE(describe(script.cmdList), QStringLiteral("0 WAIT 1 1"));
    QCOMPARE(script.strName, QStringLiteral("given"));
    lvScript back;
    back.readScriptFromFile(QStringLiteral("given"));
    QCOMPARE(describe(back.cmdList), describe(other));
}

void tst_scriptFile::writeFailsWithoutFolderAndCreatesNone()
{
    testWorkDir work;
    QVERIFY(QDir(work.path()).rmdir(QStringLiteral("scripts")));
    lvScript script;
    script.cmdList = {command(0, "WAIT", 1, 1)};
    QVERIFY(!script.writeScriptToFile(QStringLiteral("x")));
    // The object takes the name and folder all the same.
    QCOMPARE(script.strName, QStringLiteral("x"));
    QCOMPARE(script.strDir, work.path() + QStringLiteral("/scripts/"));
    QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("scripts"))));
}

void tst_scriptFile::unsafeNamesNeverLeaveTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << "../escaped";
    QTest::newRow("sub folder") << "sub/name";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("hidden") << ".hidden";
    QTest::newRow("semicolon") << "a;b";
    QTest::newRow("line end") << "a\nb";
}

void tst_scriptFile::unsafeNamesNeverLeaveTheFolder()
{
    QFETCH(QString, name);
    testWorkDir work;
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("scripts/sub")));
    QVERIFY(work.writeFile(QStringLiteral("escaped.kfxscript"), "0;SAVE;0;0;\n"));
    const QStringList before = QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    lvScript script;
    script.cmdList = {command(0, "WAIT", 1, 1)};
    QVERIFY(!script.writeScriptToFile(name));
    QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QVERIFY(QDir(work.filePath(QStringLiteral("scripts"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(QDir(work.filePath(QStringLiteral("scripts/sub"))).entryList(QDir::Files | QDir::Hidden).isEmpty());

    QVERIFY(!script.readScriptFromFile(name));
    QVERIFY(script.cmdList.isEmpty());
}

void tst_scriptFile::rewriteReplacesLongerFileCompletely()
{
    testWorkDir work;
    lvScript script;
    script.cmdList = {command(0, "WAIT", 1, 1), command(1, "WAIT", 2, 1), command(2, "WAIT", 3, 1)};
    QVERIFY(script.writeScriptToFile(QStringLiteral("shrink")));
    script.cmdList = {command(0, "SAVE", 0, 0)};
    QVERIFY(script.writeScriptToFile(QString()));
    QCOMPARE(work.readFile(QStringLiteral("scripts/shrink.kfxscript")), QByteArray("0;SAVE;0;0;\n"));
    script.cmdList.clear();
    QVERIFY(script.writeScriptToFile(QString()));
    QCOMPARE(work.readFile(QStringLiteral("scripts/shrink.kfxscript")), QByteArray());
    // No temporary file is left behind.
    QCOMPARE(QDir(work.filePath(QStringLiteral("scripts"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("shrink.kfxscript")});
}

void tst_scriptFile::replaceCommandOnlyAtValidIndex()
{
    lvScript script;
    script.cmdList = {command(0, "WAIT", 1, 1), command(1, "WAIT", 2, 1)};
    script.replaceCommand(1, command(1, "SAVE", 0, 0));
    script.replaceCommand(2, command(2, "GOTOPOS", 0, 0));
    script.replaceCommand(-1, command(2, "GOTOPOS", 0, 0));
    QCOMPARE(describe(script.cmdList), QStringLiteral("0 WAIT 1 1|1 SAVE 0 0"));
}

void tst_scriptFile::scriptCrossesThreadsAsQueuedArgument()
{
    qRegisterMetaType<lvScript>("lvScript");
    QThread thread;
    scriptSink sink;
    sink.moveToThread(&thread);
    thread.start();
    scriptSource source;
    connect(&source, &scriptSource::scriptSelected, &sink, &scriptSink::take);

    lvScript script;
    script.strName = QStringLiteral("queued");
    script.cmdList = {command(0, "GOTOREL", -3, 1), command(1, "SAVE", 0, 0)};
    emit source.scriptSelected(script);
    // Changing the sender's copy afterwards must not reach the receiver.
    script.cmdList.clear();
    // Queued calls run in order: once this one has run, the script has arrived.
    QMetaObject::invokeMethod(&sink, [] {}, Qt::BlockingQueuedConnection);
    thread.quit();
    QVERIFY(thread.wait(10000));
    QVERIFY(sink.receivingThread != QThread::currentThreadId());
    QCOMPARE(sink.received.strName, QStringLiteral("queued"));
    QCOMPARE(describe(sink.received.cmdList), QStringLiteral("0 GOTOREL -3 1|1 SAVE 0 0"));
}

QTEST_GUILESS_MAIN(tst_scriptFile)
#include "tst_scriptFile.moc"
