// The Script tab's list rules without files or widgets: which files are
// scripts, the next "New Script" name, the rename check, renumbering and
// moving commands.
#include "script/scriptListRules.h"

#include "scriptTabFixtures.h"

#include <QSet>
#include <QtTest>

class tst_scriptListRules : public QObject
{
    Q_OBJECT

private slots:
    void scriptNames();
    void newScriptName_data();
    void newScriptName();
    void renameCheck_data();
    void renameCheck();
    void renumbering();
    void moving_data();
    void moving();
};

void tst_scriptListRules::scriptNames()
{
    // The suffix is case-sensitive and must end the name.
    QCOMPARE(scriptNamesFromFiles({"A.kfxscript", "b.kfxscript", "c.KFXSCRIPT", "d.kfxscript.bak", "notes.txt",
                                   ".kfxscript", "New Script0.kfxscript"}),
             QStringList({"A", "b", "", "New Script0"}));
}

void tst_scriptListRules::newScriptName_data()
{
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("strName");
    QTest::newRow("none taken") << QStringList() << "New Script0";
    QTest::newRow("gap") << QStringList({"New Script0", "New Script2"}) << "New Script1";
    QTest::newRow("other names only") << QStringList({"New Script", "new script0"}) << "New Script0";
    QStringList upTo997;
    for (int i = 0; i <= 997; ++i)
        upTo997 << QStringLiteral("New Script%1").arg(i);
    QTest::newRow("last one left") << upTo997 << "New Script998";
    QTest::newRow("all taken") << (upTo997 << QStringLiteral("New Script998")) << "";
}

void tst_scriptListRules::newScriptName()
{
    QFETCH(QStringList, taken);
    QFETCH(QString, strName);
    const QSet<QString> set(taken.cbegin(), taken.cend());
    QCOMPARE(nextNewScriptName([&set](const QString &strCandidate) { return set.contains(strCandidate); }), strName);
}

void tst_scriptListRules::renameCheck_data()
{
    QTest::addColumn<QString>("strName");
    QTest::addColumn<int>("nCheck");
    QTest::newRow("plain") << "Leak test 2" << int(RENAME_OK);
    QTest::newRow("umlaut") << QString::fromUtf8("Prüfung") << int(RENAME_OK);
    QTest::newRow("single dot inside") << "v1.2" << int(RENAME_OK);
    QTest::newRow("empty") << "" << int(RENAME_EMPTY);
    QTest::newRow("taken") << "Other" << int(RENAME_TAKEN);
    QTest::newRow("case differs") << "other" << int(RENAME_OK);
    QTest::newRow("slash") << "a/b" << int(RENAME_INVALID);
    QTest::newRow("backslash") << "a\\b" << int(RENAME_INVALID);
    QTest::newRow("parent") << ".." << int(RENAME_INVALID);
    QTest::newRow("dots inside") << "a..b" << int(RENAME_INVALID);
    QTest::newRow("byte-order mark") << QStringLiteral("\ufeffn") << int(RENAME_INVALID);
    QTest::newRow("leading dot") << ".x" << int(RENAME_INVALID);
    QTest::newRow("newline") << "a\nb" << int(RENAME_INVALID);
    QTest::newRow("delete character") << QStringLiteral("a") + QChar(0x7f) << int(RENAME_INVALID);
}

void tst_scriptListRules::renameCheck()
{
    QFETCH(QString, strName);
    QFETCH(int, nCheck);
    QCOMPARE(int(checkScriptRename(strName, {"Other", "Third"})), nCheck);
}

void tst_scriptListRules::renumbering()
{
    QList<lvScriptCommand> list{scriptCmd(5, "GOTOPOS", 0, 1), scriptCmd(5, "GOTOREL", -7, 0), scriptCmd(99, "SAVE", 0, 0)};
    list[1].nCurrentRepetition = 3;
    list[1].toString(); // leaves a line behind
    const QList<lvScriptCommand> renumbered = renumberedCommands(list);
    QCOMPARE(commandsText(renumbered, true), QStringLiteral("0:GOTOPOS 0 1, 1:GOTOREL -7 0, 2:SAVE 0 0"));
    QCOMPARE(renumbered.at(1).nCurrentRepetition, 3);
    QVERIFY(renumbered.at(1).strLine.isEmpty());
    QVERIFY(renumberedCommands({}).isEmpty());
}

void tst_scriptListRules::moving_data()
{
    QTest::addColumn<int>("nRow");
    QTest::addColumn<int>("nStep");
    QTest::addColumn<bool>("bMoved");
    QTest::addColumn<QString>("strAfter");
    QTest::newRow("up") << 1 << -1 << true << "0:WAIT 2 1, 1:WAIT 1 1, 2:WAIT 3 1";
    QTest::newRow("down") << 1 << 1 << true << "0:WAIT 1 1, 1:WAIT 3 1, 2:WAIT 2 1";
    QTest::newRow("first up") << 0 << -1 << false << "0:WAIT 1 1, 1:WAIT 2 1, 2:WAIT 3 1";
    QTest::newRow("last down") << 2 << 1 << false << "0:WAIT 1 1, 1:WAIT 2 1, 2:WAIT 3 1";
    QTest::newRow("no row") << -1 << 1 << false << "0:WAIT 1 1, 1:WAIT 2 1, 2:WAIT 3 1";
    QTest::newRow("beyond") << 3 << -1 << false << "0:WAIT 1 1, 1:WAIT 2 1, 2:WAIT 3 1";
    QTest::newRow("two steps") << 0 << 2 << false << "0:WAIT 1 1, 1:WAIT 2 1, 2:WAIT 3 1";
}

void tst_scriptListRules::moving()
{
    QFETCH(int, nRow);
    QFETCH(int, nStep);
    QFETCH(bool, bMoved);
    QFETCH(QString, strAfter);
    QList<lvScriptCommand> list{scriptCmd(0, "WAIT", 1, 1), scriptCmd(1, "WAIT", 2, 1), scriptCmd(2, "WAIT", 3, 1)};
    QCOMPARE(moveCommand(list, nRow, nStep), bMoved);
    // Each number follows its command's move, so they stay 0, 1, 2.
    QCOMPARE(commandsText(list, true), strAfter);
}

QTEST_GUILESS_MAIN(tst_scriptListRules)
#include "tst_scriptListRules.moc"
