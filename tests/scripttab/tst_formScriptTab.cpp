// The Script tab in a temporary working directory: listing, creating,
// renaming, saving, discarding and deleting scripts, editing commands, the
// questions and refusals, running and stopping, an edit during a run, the
// first script of an empty folder, and the progress texts.
#include "script/formScriptTab.h"
#include "manual/formCurrentState.h"
#include "manual/qLvCustomPlot.h"
#include "script/mdlCommandTable.h"
#include "script/mdlScriptTable.h"
#include "script/qTblViewScript.h"
#include "script/scriptProgressText.h"

#include "fakeClock.h"
#include "fakeProcessRunner.h"
#include "scriptTabFixtures.h"
#include "testWorkDir.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QByteArray scriptA = "0;GOTOPOS;0;1;\n1;WAIT;1000;1;\n";
const QByteArray scriptB = "0;GOTOREL;-5000;1;\n";
const QByteArray scriptC = "0;MEAS;1;1;\n1;WAIT;200;1;\n2;SAVE;0;0;\n";

QString scriptFile(const QString &strName)
{
    return QStringLiteral("scripts/") + strName + QStringLiteral(".kfxscript");
}

QStringList rowNames(const formScriptTab &tab)
{
    QStringList names;
    for (const lvScript &script : tab.scriptModel()->scriptList)
        names << script.strName;
    return names;
}

QStringList listNames(const formScriptTab &tab)
{
    QStringList names;
    for (const lvScript &script : tab.scripts())
        names << script.strName;
    return names;
}

} // namespace

class tst_formScriptTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsScriptsInNameOrder();
    void missingFolderIsReported();
    void unreadableFilesAreReported();
    void newScriptTakesFirstFreeName();
    void saveRenumbersCommands();
    void renameIsWrittenAtSave();
    void renameRefusals_data();
    void renameRefusals();
    void renameOntoNameTakenMeanwhile();
    void failedSaveKeepsEverything();
    void tapWithPendingChanges_data();
    void tapWithPendingChanges();
    void tapOwnRowWithPendingChanges();
    void saveAskedWhileAsking();
    void saveWithoutSelectionUsesCurrentScript();
    void saveColumnAlwaysAsks();
    void deleteActsOnHeldRowOnly();
    void deleteCurrentScriptAndRefusals();
    void commandEditing();
    void runStopAndFinish();
    void editDuringRun_data();
    void editDuringRun();
    void firstScriptFromEmptyFolder();
    void progressTexts_data();
    void progressTexts();
    void commandTapChoosesStart();
    void gesturesThroughTheTables();
    void longPressTimeReachesTablesAndDiagram();

private:
    formScriptTab &makeTab();

    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<fakeProcessRunner> runner;
    std::unique_ptr<formScriptTab> tab;
};

void tst_formScriptTab::initTestCase()
{
    qRegisterMetaType<lvScript>("lvScript");
}

void tst_formScriptTab::init()
{
    work = std::make_unique<testWorkDir>();
    QVERIFY(work->isValid());
    runner = std::make_unique<fakeProcessRunner>();
    QVERIFY(work->writeFile(scriptFile("b"), scriptB));
    QVERIFY(work->writeFile(scriptFile("A"), scriptA));
    QVERIFY(work->writeFile(scriptFile("C"), scriptC));
}

void tst_formScriptTab::cleanup()
{
    tab.reset();
    runner.reset();
    work.reset();
}

formScriptTab &tst_formScriptTab::makeTab()
{
    tab = std::make_unique<formScriptTab>();
    tab->resize(760, 420);
    tab->show();
    return *tab;
}

void tst_formScriptTab::listsScriptsInNameOrder()
{
    QVERIFY(work->writeFile(QStringLiteral("scripts/notes.txt"), "x"));
    QVERIFY(work->writeFile(scriptFile("upper").toUpper().replace(QStringLiteral("SCRIPTS/"), QStringLiteral("scripts/")), scriptA));
    formScriptTab &t = makeTab();
    QCOMPARE(listNames(t), QStringList({"A", "b", "C"}));
    QCOMPARE(rowNames(t), listNames(t));
    QCOMPARE(t.current().strName, QStringLiteral("A"));
    QCOMPARE(t.currentRow(), 0);
    QCOMPARE(commandsText(t.commandModel()->cmdList), QStringLiteral("GOTOPOS 0 1, WAIT 1000 1"));
    QVERIFY(!t.isScriptChanged());
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    t.emitScriptSelected();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.at(0).at(0).value<lvScript>().strName, QStringLiteral("A"));
}

void tst_formScriptTab::missingFolderIsReported()
{
    QVERIFY(QDir(work->filePath(QStringLiteral("scripts"))).removeRecursively());
    modalAnswerer boxes(QStringList{}, true);
    formScriptTab &t = makeTab();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, 10000);
    QVERIFY2(boxes.texts.at(0).startsWith(QLatin1String("Scripts|The scripts folder")), qPrintable(boxes.texts.at(0)));
    QCOMPARE(t.scriptModel()->rowCount(), 0);
    QCOMPARE(t.commandModel()->rowCount(), 0);
    // Nothing to edit, nothing that crashes.
    t.on_pushBtnCommandNew_clicked();
    t.on_pushBtnCommandUp_clicked();
    QCOMPARE(t.commandModel()->rowCount(), 0);
    QVERIFY(!t.isScriptChanged());
    // A new script cannot be written without the folder: said so.
    t.on_pushBtnScriptNew_clicked();
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(boxes.texts.at(1).startsWith(QLatin1String("New Script|")));
    QCOMPARE(t.scriptModel()->rowCount(), 0);
    // Shown once only.
    t.hide();
    t.show();
    QTest::qWait(50);
    QCOMPARE(boxes.texts.size(), 2);
}

void tst_formScriptTab::unreadableFilesAreReported()
{
    // A name the script files refuse cannot be read.
    QVERIFY(work->writeFile(scriptFile("bad;name"), scriptA));
    modalAnswerer boxes(QStringList{}, true);
    formScriptTab &t = makeTab();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, 10000);
    QVERIFY2(boxes.texts.at(0).contains(QLatin1String("bad;name.kfxscript")), qPrintable(boxes.texts.at(0)));
    QCOMPARE(listNames(t), QStringList({"A", "b", "C"}));
    // The file is left alone.
    QCOMPARE(work->readFile(scriptFile("bad;name")), scriptA);
}

void tst_formScriptTab::newScriptTakesFirstFreeName()
{
    QVERIFY(work->writeFile(scriptFile("New Script0"), scriptB));
    QVERIFY(work->writeFile(scriptFile("New Script2"), scriptB));
    formScriptTab &t = makeTab();
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    t.on_pushBtnScriptNew_clicked();
    QCOMPARE(work->readFile(scriptFile("New Script1")), QByteArray("1;WAIT;1000;1;\n"));
    // Added as the last row until the list is next read; the current script
    // stays.
    QCOMPARE(rowNames(t).last(), QStringLiteral("New Script1"));
    QCOMPARE(listNames(t).last(), QStringLiteral("New Script1"));
    QCOMPARE(t.current().strName, QStringLiteral("A"));
    QCOMPARE(t.currentRow(), 0);
    QCOMPARE(t.scriptTable()->currentIndex().row(), 0);
    QCOMPARE(selected.size(), 0);
    t.on_pushBtnScriptNew_clicked();
    QVERIFY(QFile::exists(work->filePath(scriptFile("New Script3"))));
}

void tst_formScriptTab::saveRenumbersCommands()
{
    QVERIFY(work->writeFile(scriptFile("A"), "5;GOTOPOS;0;1;\n7;WAIT;1000;1;\n9;SAVE;0;0;\n"));
    formScriptTab &t = makeTab();
    t.commandTable()->selectRow(2);
    t.on_pushBtnCommandUp_clicked();
    QVERIFY(t.isScriptChanged());
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Save));
    QCOMPARE(t.saveScript(-1), 0);
    QCOMPARE(boxes.texts, QStringList{"Script changed|do you want to save it?"});
    QCOMPARE(work->readFile(scriptFile("A")), QByteArray("0;GOTOPOS;0;1;\n1;SAVE;0;0;\n2;WAIT;1000;1;\n"));
    QVERIFY(!t.isScriptChanged());
    QCOMPARE(commandsText(t.current().cmdList, true), QStringLiteral("0:GOTOPOS 0 1, 1:SAVE 0 0, 2:WAIT 1000 1"));
}

void tst_formScriptTab::renameIsWrittenAtSave()
{
    formScriptTab &t = makeTab();
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    t.scriptModel()->setData(t.scriptModel()->index(0, 2), QStringLiteral("z last"));
    QVERIFY(t.isScriptChanged());
    // Nothing on disk changes before the save.
    QVERIFY(QFile::exists(work->filePath(scriptFile("A"))));
    QVERIFY(!QFile::exists(work->filePath(scriptFile("z last"))));
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Save));
    QCOMPARE(t.saveScript(0), 0);
    QVERIFY(!QFile::exists(work->filePath(scriptFile("A"))));
    QCOMPARE(work->readFile(scriptFile("z last")), scriptA);
    // Listed anew in name order; the renamed script stays current in its
    // new row.
    QCOMPARE(listNames(t), QStringList({"b", "C", "z last"}));
    QCOMPARE(t.current().strName, QStringLiteral("z last"));
    QCOMPARE(t.currentRow(), 2);
    QCOMPARE(t.scriptTable()->currentIndex().row(), 2);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.at(0).at(0).value<lvScript>().strName, QStringLiteral("z last"));
}

void tst_formScriptTab::renameRefusals_data()
{
    QTest::addColumn<QString>("strName");
    QTest::addColumn<bool>("bBox");
    QTest::addColumn<int>("nColumn");
    QTest::newRow("empty") << "" << true << 2;
    QTest::newRow("another script's name") << "C" << true << 2;
    QTest::newRow("slash") << "a/b" << true << 2;
    QTest::newRow("backslash") << "a\\b" << true << 2;
    QTest::newRow("dot dot") << "a..b" << true << 2;
    QTest::newRow("leading dot") << ".hidden" << true << 2;
    QTest::newRow("control character") << "a\tb" << true << 2;
    QTest::newRow("field separator") << "a;b" << true << 2;
    // An icon cell's plain editor commits its text too: no name of it.
    QTest::newRow("text from the save cell") << "Z" << false << 5;
    QTest::newRow("nothing from the start cell") << "" << false << 0;
}

void tst_formScriptTab::renameRefusals()
{
    QFETCH(QString, strName);
    QFETCH(bool, bBox);
    QFETCH(int, nColumn);
    formScriptTab &t = makeTab();
    modalAnswerer boxes(QStringList{}, true);
    t.scriptModel()->setData(t.scriptModel()->index(0, nColumn), strName);
    QCOMPARE(boxes.texts.size(), bBox ? 1 : 0);
    if (bBox)
        QVERIFY2(boxes.texts.at(0).startsWith(QLatin1String("Rename|")), qPrintable(boxes.texts.at(0)));
    QVERIFY(!t.isScriptChanged());
    // The table shows the stored name again.
    QCOMPARE(rowNames(t).at(0), QStringLiteral("A"));
    QCOMPARE(QDir(work->filePath(QStringLiteral("scripts"))).entryList(QDir::Files).size(), 3);
}

void tst_formScriptTab::renameOntoNameTakenMeanwhile()
{
    formScriptTab &t = makeTab();
    t.scriptModel()->setData(t.scriptModel()->index(0, 2), QStringLiteral("later"));
    QVERIFY(t.isScriptChanged());
    // Another script of that name appears before the save.
    QVERIFY(work->writeFile(scriptFile("later"), scriptC));
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Save));
    QCOMPARE(t.saveScript(0), 1);
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(boxes.texts.at(1).startsWith(QLatin1String("Script Save|There is already a script named")));
    QCOMPARE(work->readFile(scriptFile("later")), scriptC);
    QCOMPARE(work->readFile(scriptFile("A")), scriptA);
    QVERIFY(t.isScriptChanged());
}

void tst_formScriptTab::failedSaveKeepsEverything()
{
    formScriptTab &t = makeTab();
    t.scriptModel()->setData(t.scriptModel()->index(0, 2), QStringLiteral("renamed"));
    t.commandModel()->setData(t.commandModel()->index(1, 1), QStringLiteral("2000"));
    // The folder vanishes (a card pulled, a share gone) before the save.
    QVERIFY(QDir(work->filePath(QStringLiteral("scripts"))).removeRecursively());
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Save));
    QCOMPARE(t.saveScript(0), 1);
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY2(boxes.texts.at(1).contains(QLatin1String("could not be written")), qPrintable(boxes.texts.at(1)));
    // The edits are still there to be saved once the folder is back.
    QVERIFY(t.isScriptChanged());
    QCOMPARE(t.commandModel()->cmdList.at(1).nValue, 2000);
    QVERIFY(QDir(work->path()).mkpath(QStringLiteral("scripts")));
    boxes.answerNext(buttonText(QMessageBox::Save));
    QCOMPARE(t.saveScript(0), 0);
    QCOMPARE(work->readFile(scriptFile("renamed")), QByteArray("0;GOTOPOS;0;1;\n1;WAIT;2000;1;\n"));
}

void tst_formScriptTab::tapWithPendingChanges_data()
{
    QTest::addColumn<int>("nAnswer");
    QTest::addColumn<QString>("strCurrent");
    QTest::addColumn<QString>("strCommands");
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<bool>("bChanged");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << "A" << "WAIT 1000 1, GOTOPOS 0 1, WAIT 1000 1"
                            << scriptA << true;
    QTest::newRow("discard") << int(QMessageBox::Discard) << "C" << "MEAS 1 1, WAIT 200 1, SAVE 0 0" << scriptA
                             << false;
    QTest::newRow("save") << int(QMessageBox::Save) << "C" << "MEAS 1 1, WAIT 200 1, SAVE 0 0"
                          << QByteArray("0;WAIT;1000;1;\n1;GOTOPOS;0;1;\n2;WAIT;1000;1;\n") << false;
}

void tst_formScriptTab::tapWithPendingChanges()
{
    QFETCH(int, nAnswer);
    QFETCH(QString, strCurrent);
    QFETCH(QString, strCommands);
    QFETCH(QByteArray, fileA);
    QFETCH(bool, bChanged);
    formScriptTab &t = makeTab();
    t.commandTable()->selectRow(0);
    t.on_pushBtnCommandNew_clicked();
    t.scriptModel()->setData(t.scriptModel()->index(0, 2), QStringLiteral("A2"));
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::StandardButton(nAnswer)));
    t.scriptTable()->selectRow(2);
    t.on_tblViewScripts_clicked(t.scriptModel()->index(2, 2));
    QCOMPARE(boxes.texts, QStringList{"Script changed|do you want to save it?"});
    QCOMPARE(t.current().strName, strCurrent);
    QCOMPARE(commandsText(t.commandModel()->cmdList), strCommands);
    QCOMPARE(t.isScriptChanged(), bChanged);
    QCOMPARE(t.scriptTable()->currentIndex().row(), t.currentRow());
    if (nAnswer == QMessageBox::Save) {
        // Saved under its new name first, then the tapped script.
        QCOMPARE(work->readFile(scriptFile("A2")), fileA);
        QVERIFY(!QFile::exists(work->filePath(scriptFile("A"))));
        QCOMPARE(listNames(t), QStringList({"A2", "b", "C"}));
        QCOMPARE(selected.size(), 2);
    } else {
        QCOMPARE(work->readFile(scriptFile("A")), fileA);
        // Discard drops the edited name from the table too.
        QCOMPARE(rowNames(t).at(0), nAnswer == QMessageBox::Cancel ? QStringLiteral("A2") : QStringLiteral("A"));
        QCOMPARE(selected.size(), nAnswer == QMessageBox::Discard ? 1 : 0);
    }
}

void tst_formScriptTab::tapOwnRowWithPendingChanges()
{
    formScriptTab &t = makeTab();
    t.commandModel()->setData(t.commandModel()->index(0, 1), QStringLiteral("300000"));
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Discard));
    t.on_tblViewScripts_clicked(t.scriptModel()->index(0, 2));
    QCOMPARE(boxes.texts.size(), 1);
    QCOMPARE(t.current().strName, QStringLiteral("A"));
    QCOMPARE(t.commandModel()->cmdList.at(0).nValue, 0);
    QVERIFY(!t.isScriptChanged());

    t.commandModel()->setData(t.commandModel()->index(0, 1), QStringLiteral("300000"));
    boxes.answerNext(buttonText(QMessageBox::Save));
    t.on_tblViewScripts_clicked(t.scriptModel()->index(0, 2));
    QCOMPARE(t.current().strName, QStringLiteral("A"));
    QCOMPARE(work->readFile(scriptFile("A")), QByteArray("0;GOTOPOS;300000;1;\n1;WAIT;1000;1;\n"));
}

void tst_formScriptTab::saveAskedWhileAsking()
{
    formScriptTab &t = makeTab();
    t.commandModel()->setData(t.commandModel()->index(0, 1), QStringLiteral("1"));
    modalAnswerer boxes(QStringList{}, true);
    int nInner = -1;
    // While the first question is open, a second save is asked for.
    boxes.onOpen = [&](const QString &strText) {
        if (strText == QLatin1String("Script changed") && nInner < 0)
            nInner = t.saveScript(-1);
    };
    boxes.answerNext(buttonText(QMessageBox::Cancel));
    boxes.answerNext(buttonText(QMessageBox::Ok));
    const int nOuter = t.saveScript(-1);
    QCOMPARE(nInner, 0);
    QCOMPARE(nOuter, 1);
    QCOMPARE(boxes.texts,
             QStringList({"Script changed|do you want to save it?", "Script Save|Click ok to go on."}));
    QCOMPARE(work->readFile(scriptFile("A")), scriptA);
    QVERIFY(t.isScriptChanged());
}

void tst_formScriptTab::saveWithoutSelectionUsesCurrentScript()
{
    formScriptTab &t = makeTab();
    t.scriptTable()->selectRow(1);
    t.on_tblViewScripts_clicked(t.scriptModel()->index(1, 2));
    QCOMPARE(t.current().strName, QStringLiteral("b"));
    t.commandModel()->setData(t.commandModel()->index(0, 0), QStringLiteral("GOTOPOS"));
    t.scriptTable()->clearSelection();
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Discard));
    QCOMPARE(t.saveScript(-1), 2);
    QCOMPARE(t.current().strName, QStringLiteral("b"));
    QCOMPARE(t.currentRow(), 1);
    QCOMPARE(commandsText(t.commandModel()->cmdList), QStringLiteral("GOTOREL -5000 1"));
}

void tst_formScriptTab::saveColumnAlwaysAsks()
{
    formScriptTab &t = makeTab();
    QVERIFY(work->writeFile(scriptFile("A"), "0;GOTOPOS;0;1;\n1;WAIT;1000;1;")); // no final line end
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Save));
    t.onScriptTableLongPress(t.scriptModel()->index(0, 5));
    QCOMPARE(boxes.texts, QStringList{"Script changed|do you want to save it?"});
    // Written again, whole.
    QCOMPARE(work->readFile(scriptFile("A")), scriptA);
}

void tst_formScriptTab::deleteActsOnHeldRowOnly()
{
    formScriptTab &t = makeTab();
    // The current script A has unsaved edits; the operator holds C's delete.
    t.commandModel()->setData(t.commandModel()->index(1, 1), QStringLiteral("42"));
    t.scriptTable()->selectRow(2);
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::Yes));
    t.onScriptTableLongPress(t.scriptModel()->index(2, 4));
    QCOMPARE(boxes.texts, QStringList{"Delete|Do you ant to delete the current script?"});
    QVERIFY(!QFile::exists(work->filePath(scriptFile("C"))));
    QCOMPARE(work->readFile(scriptFile("A")), scriptA);
    QCOMPARE(listNames(t), QStringList({"A", "b"}));
    QCOMPARE(rowNames(t), QStringList({"A", "b"}));
    QCOMPARE(t.current().strName, QStringLiteral("A"));
    QVERIFY(t.isScriptChanged());
    QCOMPARE(t.commandModel()->cmdList.at(1).nValue, 42);
    QCOMPARE(selected.size(), 0);

    // A script above the current one: the current row follows.
    t.scriptTable()->selectRow(1);
    t.on_tblViewScripts_clicked(t.scriptModel()->index(1, 2)); // discards A's edits
    QCOMPARE(t.current().strName, QStringLiteral("b"));
    boxes.answerNext(buttonText(QMessageBox::Yes));
    t.onScriptTableLongPress(t.scriptModel()->index(0, 4));
    QVERIFY(!QFile::exists(work->filePath(scriptFile("A"))));
    QCOMPARE(t.current().strName, QStringLiteral("b"));
    QCOMPARE(t.currentRow(), 0);
}

void tst_formScriptTab::deleteCurrentScriptAndRefusals()
{
    formScriptTab &t = makeTab();
    modalAnswerer boxes(QStringList{}, true);
    boxes.answerNext(buttonText(QMessageBox::No));
    t.onScriptTableLongPress(t.scriptModel()->index(0, 4));
    QCOMPARE(listNames(t).size(), 3);

    t.commandModel()->setData(t.commandModel()->index(0, 1), QStringLiteral("7"));
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    boxes.answerNext(buttonText(QMessageBox::Yes));
    t.scriptTable()->selectRow(0);
    t.on_pushBtnScriptDelete_clicked();
    QVERIFY(!QFile::exists(work->filePath(scriptFile("A"))));
    QCOMPARE(t.current().strName, QStringLiteral("b"));
    QCOMPARE(t.currentRow(), 0);
    QVERIFY(!t.isScriptChanged());
    QCOMPARE(selected.size(), 1);

    boxes.answerNext(buttonText(QMessageBox::Yes));
    t.onScriptTableLongPress(t.scriptModel()->index(1, 4));
    QCOMPARE(listNames(t), QStringList{"b"});
    // The last script stays.
    boxes.answerNext(buttonText(QMessageBox::Yes));
    t.onScriptTableLongPress(t.scriptModel()->index(0, 4));
    QCOMPARE(boxes.texts.last(), QStringLiteral("Delete|You cannot delete the last script"));
    QVERIFY(QFile::exists(work->filePath(scriptFile("b"))));
    QCOMPARE(listNames(t), QStringList{"b"});
}

void tst_formScriptTab::commandEditing()
{
    formScriptTab &t = makeTab();
    mdlCommandTable *m = t.commandModel();
    // Up from the first row and down from the last change nothing.
    t.commandTable()->selectRow(0);
    t.on_pushBtnCommandUp_clicked();
    t.commandTable()->selectRow(1);
    t.on_pushBtnCommandDown_clicked();
    QVERIFY(!t.isScriptChanged());
    QCOMPARE(commandsText(m->cmdList), QStringLiteral("GOTOPOS 0 1, WAIT 1000 1"));

    // A new command goes in front of the selected one, which the selection
    // then holds.
    t.commandTable()->selectRow(1);
    t.on_pushBtnCommandNew_clicked();
    QCOMPARE(commandsText(m->cmdList, true), QStringLiteral("0:GOTOPOS 0 1, 1:WAIT 1000 1, 1:WAIT 1000 1"));
    QCOMPARE(t.commandTable()->currentIndex().row(), 1);
    QVERIFY(t.isScriptChanged());

    m->setData(m->index(1, 0), QStringLiteral("GOTOREL"));
    m->setData(m->index(1, 1), QStringLiteral("-250"));
    t.on_pushBtnCommandUp_clicked();
    QCOMPARE(commandsText(m->cmdList), QStringLiteral("GOTOREL -250 1, GOTOPOS 0 1, WAIT 1000 1"));
    QCOMPARE(t.commandTable()->currentIndex().row(), 0);
    t.on_pushBtnCommandDown_clicked();
    t.on_pushBtnCommandDown_clicked();
    QCOMPARE(commandsText(m->cmdList), QStringLiteral("GOTOPOS 0 1, WAIT 1000 1, GOTOREL -250 1"));
    QCOMPARE(t.commandTable()->currentIndex().row(), 2);

    t.on_pushBtnCommandDelete_clicked();
    t.commandTable()->selectRow(0);
    t.on_pushBtnCommandDelete_clicked();
    QCOMPARE(commandsText(m->cmdList), QStringLiteral("WAIT 1000 1"));
    modalAnswerer boxes(QStringList{}, true);
    t.on_pushBtnCommandDelete_clicked();
    QCOMPARE(boxes.texts, QStringList{"Delete|You cannot delete the last command"});
    QCOMPARE(m->rowCount(), 1);

    // Nothing reaches the file or the current script before a save.
    QCOMPARE(work->readFile(scriptFile("A")), scriptA);
    QCOMPARE(commandsText(t.current().cmdList), QStringLiteral("GOTOPOS 0 1, WAIT 1000 1"));
}

void tst_formScriptTab::runStopAndFinish()
{
    formScriptTab &t = makeTab();
    QSignalSpy run(&t, &formScriptTab::runScript);
    QSignalSpy stop(&t, &formScriptTab::stopScript);
    QSignalSpy status(&t, &formScriptTab::setStatusMsg);

    // Unsaved commands do not run.
    t.commandModel()->setData(t.commandModel()->index(0, 1), QStringLiteral("5"));
    modalAnswerer boxes(QStringList{}, true);
    t.onScriptTableLongPress(t.scriptModel()->index(0, 0));
    QCOMPARE(boxes.texts, QStringList{"Script Changed|The script was changed.\nIt will not run until it is saved or "
                                      "the changes are cancelled."});
    QCOMPARE(run.size(), 0);
    QVERIFY(!t.isScriptRunning());

    // A pending name alone does not hold the script back.
    boxes.answerNext(buttonText(QMessageBox::Discard));
    t.saveScript(0);
    t.scriptModel()->setData(t.scriptModel()->index(0, 2), QStringLiteral("A new name"));
    t.on_tblViewScripts_doubleClicked(t.scriptModel()->index(0, 0));
    QCOMPARE(run.size(), 1);
    QVERIFY(t.isScriptRunning());
    QVERIFY(!t.commandTable()->isEnabled());

    // While it runs a tap only shows the current row again.
    t.scriptTable()->selectRow(2);
    t.on_tblViewScripts_clicked(t.scriptModel()->index(2, 2));
    QCOMPARE(t.current().strName, QStringLiteral("A"));
    QCOMPARE(t.scriptTable()->currentIndex().row(), 0);

    t.onScriptFinished();
    QVERIFY(!t.isScriptRunning());
    QVERIFY(t.commandTable()->isEnabled());
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("Script Finished"));

    // Stop is sent even when nothing runs.
    t.onScriptTableLongPress(t.scriptModel()->index(0, 1));
    QCOMPARE(stop.size(), 1);
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("Script Stopped"));
    t.on_pushBtnScriptRun_clicked();
    t.onScriptStop();
    QCOMPARE(stop.size(), 2);
    QVERIFY(t.commandTable()->isEnabled());
    QVERIFY(!t.isScriptRunning());
}

void tst_formScriptTab::editDuringRun_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("renameFirst");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<QString>("current");
    const QString save = buttonText(QMessageBox::Save);
    const QString yes = buttonText(QMessageBox::Yes);
    // Whatever gives the executor another script ends the run as the Stop
    // button would; everything else leaves it running.
    QTest::newRow("save") << 0 << 5 << false << QStringList{save} << true << "A";
    QTest::newRow("save, cancelled") << 0 << 5 << false << QStringList{buttonText(QMessageBox::Cancel)} << false
                                     << "A";
    QTest::newRow("save, discarded") << 0 << 5 << false << QStringList{buttonText(QMessageBox::Discard)} << true
                                     << "A";
    QTest::newRow("delete the running script") << 0 << 4 << false << QStringList{yes} << true << "b";
    QTest::newRow("delete, declined") << 0 << 4 << false << QStringList{buttonText(QMessageBox::No)} << false
                                      << "A";
    QTest::newRow("delete another script") << 2 << 4 << false << QStringList{yes} << false << "A";
    QTest::newRow("new") << 0 << 3 << false << QStringList{} << false << "A";
    QTest::newRow("new, saving a new name first") << 0 << 3 << true << QStringList{save} << true << "Renamed";
    QTest::newRow("rename") << 0 << -1 << true << QStringList{} << false << "A";
}

void tst_formScriptTab::editDuringRun()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, renameFirst);
    QFETCH(QStringList, answers);
    QFETCH(bool, ended);
    QFETCH(QString, current);
    formScriptTab &t = makeTab();
    t.on_pushBtnScriptRun_clicked();
    QVERIFY(t.isScriptRunning());
    if (renameFirst)
        t.scriptModel()->setData(t.scriptModel()->index(0, 2), QStringLiteral("Renamed"));

    QStringList order;
    connect(&t, &formScriptTab::stopValve, this, [&order] { order << QStringLiteral("stop valve"); });
    connect(&t, &formScriptTab::stopScript, this, [&order] { order << QStringLiteral("stop script"); });
    connect(&t, &formScriptTab::scriptSelected, this,
            [&order](const lvScript &script) { order << QStringLiteral("selected ") + script.strName; });
    QSignalSpy status(&t, &formScriptTab::setStatusMsg);
    modalAnswerer boxes(QStringList{}, true);
    for (const QString &strAnswer : answers)
        boxes.answerNext(strAnswer);
    if (column >= 0)
        t.onScriptTableLongPress(t.scriptModel()->index(row, column));
    QCOMPARE(boxes.texts.size(), answers.size());

    // The tab shows a run exactly while the executor has one.
    QCOMPARE(t.isScriptRunning(), !ended);
    QCOMPARE(t.commandTable()->isEnabled(), ended);
    QCOMPARE(t.current().strName, current);
    if (ended) {
        QCOMPARE(order, QStringList({"stop valve", "stop script", "selected " + current}));
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("Script Stopped"));
    } else {
        QCOMPARE(order, QStringList());
        QCOMPARE(status.size(), 0);
    }
}

void tst_formScriptTab::firstScriptFromEmptyFolder()
{
    for (const char *pszName : {"A", "b", "C"})
        QVERIFY(QFile::remove(work->filePath(scriptFile(QString::fromLatin1(pszName)))));
    QVERIFY(writeIcon(work->filePath(QStringLiteral("icon/Plus-black.png")), 16));
    QVERIFY(writeIcon(work->filePath(QStringLiteral("icon/Play-black.png")), 16));
    fakeClock clock;
    modalAnswerer boxes(QStringList{}, true);
    formScriptTab &t = makeTab();
    QVERIFY(QTest::qWaitForWindowExposed(&t));
    mdlScriptTable *m = t.scriptModel();

    // One row: a note that fits its cell, and the add icon.
    QCOMPARE(m->rowCount(), 1);
    const QString strNote = m->index(0, 2).data().toString();
    QVERIFY(strNote.contains(QLatin1Char('+')));
    const QFontMetrics metrics(t.scriptTable()->font());
    QVERIFY2(metrics.horizontalAdvance(strNote) + 8 <= t.scriptTable()->columnWidth(2), qPrintable(strNote));
    for (int c = 0; c < m->columnCount(); ++c)
        QCOMPARE(m->index(0, c).data(Qt::DecorationRole).isValid(), c == 3);
    QCOMPARE(t.commandModel()->rowCount(), 0);

    // No other cell does anything.
    QSignalSpy run(&t, &formScriptTab::runScript);
    QSignalSpy selected(&t, &formScriptTab::scriptSelected);
    for (const int c : {0, 1, 2, 4, 5}) {
        QVERIFY(!(m->flags(m->index(0, c)) & Qt::ItemIsEditable));
        t.onScriptTableLongPress(m->index(0, c));
        t.on_tblViewScripts_doubleClicked(m->index(0, c));
    }
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(run.size(), 0);
    QVERIFY(!t.isScriptRunning());
    QCOMPARE(QDir(work->filePath(QStringLiteral("scripts"))).entryList(QDir::Files), QStringList());

    // A hold on the add cell makes the first script, which becomes current.
    qTblViewScript *pScripts = t.scriptTable();
    const QPoint pt = pScripts->visualRect(m->index(0, 3)).center();
    QTest::mousePress(pScripts->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
    clock.advance(2500);
    QTest::mouseRelease(pScripts->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
    QCOMPARE(work->readFile(scriptFile("New Script0")), QByteArray("1;WAIT;1000;1;\n"));
    QCOMPARE(rowNames(t), QStringList{"New Script0"});
    QCOMPARE(listNames(t), QStringList{"New Script0"});
    QCOMPARE(t.current().strName, QStringLiteral("New Script0"));
    QCOMPARE(selected.size(), 1);
    QCOMPARE(commandsText(t.commandModel()->cmdList), QStringLiteral("WAIT 1000 1"));
    QCOMPARE(m->index(0, 2).data().toString(), QStringLiteral("New Script0"));
    QVERIFY(m->index(0, 0).data(Qt::DecorationRole).isValid());
    QVERIFY(m->flags(m->index(0, 2)) & Qt::ItemIsEditable);
    QCOMPARE(boxes.texts, QStringList());
}

void tst_formScriptTab::progressTexts_data()
{
    QTest::addColumn<bool>("bStarted");
    QTest::addColumn<int>("nCmdNr");
    QTest::addColumn<int>("nRepetition");
    QTest::addColumn<int>("nRepeat");
    QTest::addColumn<QString>("strSetData");
    QTest::addColumn<QString>("strCmdType");
    QTest::addColumn<QString>("strText");
    QTest::newRow("started in a loop") << true << 4 << 2 << 5 << "" << "" << "Do Script: Cmd 4 2/5 ";
    QTest::newRow("started, set value") << true << 3 << 0 << 0 << "1.00E-05" << "" << "Do Script: Cmd 3 set to 1.00E-05";
    QTest::newRow("started, plain") << true << 1 << 0 << 0 << "" << "" << "Do Script: Cmd 1";
    QTest::newRow("wait progress") << false << 2 << 0 << 0 << "time: 1.5/10" << "WAIT" << "Do Script: Cmd 2 time: 1.5/10";
    QTest::newRow("data progress") << false << 3 << 0 << 0 << "reached: 1/3" << "GOTODATA" << "Do Script: Cmd 3 reached: 1/3";
    QTest::newRow("progress in a loop") << false << 0 << 1 << 3 << "time: 0.2/1" << "WAIT" << "Do Script: Cmd 0 1/3 ";
    QTest::newRow("progress, other command") << false << 5 << 0 << 0 << "x" << "NOCMD" << "Do Script: Cmd 5 set to x";
    QTest::newRow("progress, nothing") << false << 6 << 0 << 0 << "" << "NOCMD" << "Do Script: Cmd 6";
}

void tst_formScriptTab::progressTexts()
{
    QFETCH(bool, bStarted);
    QFETCH(int, nCmdNr);
    QFETCH(int, nRepetition);
    QFETCH(int, nRepeat);
    QFETCH(QString, strSetData);
    QFETCH(QString, strCmdType);
    QFETCH(QString, strText);
    QVERIFY(work->writeFile(scriptFile("A"), QByteArray("0;WAIT;1;1;\n").repeated(8)));
    formScriptTab &t = makeTab();
    QSignalSpy status(&t, &formScriptTab::setStatusMsg);
    const int nRowBefore = t.commandTable()->currentIndex().row();
    if (bStarted)
        t.setCommandSelected(nCmdNr, nRepetition, nRepeat, strSetData);
    else
        t.updateCommandSelected(nCmdNr, nRepetition, nRepeat, strSetData, strCmdType);
    QCOMPARE(status.size(), 1);
    QCOMPARE(status.at(0).at(0).toString(), strText);
    QVERIFY(strText.contains(QLatin1String("Script")));
    // A started command is selected; progress moves no selection.
    QCOMPARE(t.commandTable()->currentIndex().row(), bStarted ? nCmdNr : nRowBefore);
}

void tst_formScriptTab::commandTapChoosesStart()
{
    formScriptTab &t = makeTab();
    QSignalSpy cmdSet(&t, &formScriptTab::cmdSet);
    t.on_tblViewCommands_clicked(t.commandModel()->index(1, 0));
    QCOMPARE(cmdSet.size(), 1);
    QCOMPARE(cmdSet.at(0).at(0).toInt(), 1);
    QCOMPARE(t.commandModel()->nSelectedRow, 1);
    // A command that does not exist selects nothing.
    QSignalSpy status(&t, &formScriptTab::setStatusMsg);
    t.setCommandSelected(9);
    QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("Do Script: Cmd 9"));
}

void tst_formScriptTab::gesturesThroughTheTables()
{
    fakeClock clock;
    formScriptTab &t = makeTab();
    QVERIFY(QTest::qWaitForWindowExposed(&t));
    QSignalSpy run(&t, &formScriptTab::runScript);
    qTblViewScript *pScripts = t.scriptTable();
    auto hold = [&clock](qTblViewScript *pView, const QModelIndex &index, int nMs) {
        const QPoint pt = pView->visualRect(index).center();
        QTest::mousePress(pView->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
        clock.advance(nMs);
        QTest::mouseRelease(pView->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
    };
    // A short tap on the start cell selects; a hold starts the script.
    hold(pScripts, t.scriptModel()->index(0, 0), 200);
    QCOMPARE(run.size(), 0);
    hold(pScripts, t.scriptModel()->index(0, 0), 2500);
    QCOMPARE(run.size(), 1);
    t.onScriptStop();

    // A tap on another script makes it current; a hold on C's add cell
    // creates a script but leaves b current.
    hold(pScripts, t.scriptModel()->index(1, 2), 100);
    QCOMPARE(t.current().strName, QStringLiteral("b"));
    hold(pScripts, t.scriptModel()->index(2, 3), 2500);
    QVERIFY(QFile::exists(work->filePath(scriptFile("New Script0"))));
    QCOMPARE(t.current().strName, QStringLiteral("b"));

    // A hold on a command's value cell opens its keypad field.
    hold(t.commandTable(), t.commandModel()->index(0, 1), 2500);
    QTRY_VERIFY(t.commandTable()->findChild<QLineEdit *>());
    // A hold on the current script's name cell opens the name editor with
    // the name in it.
    hold(pScripts, t.scriptModel()->index(1, 2), 2500);
    QLineEdit *pName = nullptr;
    QTRY_VERIFY((pName = pScripts->findChild<QLineEdit *>()) != nullptr);
    QCOMPARE(pName->text(), QStringLiteral("b"));
}

void tst_formScriptTab::longPressTimeReachesTablesAndDiagram()
{
    formScriptTab &t = makeTab();
    t.setLongPressTime(750);
    QCOMPARE(t.scriptTable()->nLongPressTime, 750);
    QCOMPARE(t.commandTable()->nLongPressTime, 750);
    QCOMPARE(t.pCurrentState->plot()->nLongPressTime, 750);
}

QTEST_MAIN(tst_formScriptTab)
#include "tst_formScriptTab.moc"
