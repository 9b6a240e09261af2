// The Script tab's two table models and their editor delegate: model
// consistency under every change the tab makes, what each cell shows and
// stores, the icons (missing ones included) and the editors with their
// ranges.
#include "script/cmbBoxItem.h"
#include "script/mdlCommandTable.h"
#include "script/mdlScriptTable.h"
#include "script/scriptListRules.h"
#include "app/qLvLineEdit.h"

#include "fakeProcessRunner.h"
#include "scriptTabFixtures.h"
#include "testWorkDir.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QIntValidator>
#include <QPixmap>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

QList<lvScriptCommand> threeCommands()
{
    return {scriptCmd(0, "GOTOPOS", 250000, 1), scriptCmd(1, "WAIT", 500, 1), scriptCmd(2, "MEASCLOSE", 1, 1)};
}

lvScript namedScript(const QString &strName)
{
    lvScript script;
    script.strName = strName;
    return script;
}

int iconSize(const QVariant &decoration)
{
    return decoration.isValid() ? decoration.value<QPixmap>().width() : 0;
}

} // namespace

class tst_scriptTableModels : public QObject
{
    Q_OBJECT

private slots:
    void commandModelStaysConsistent();
    void scriptModelStaysConsistent();
    void commandCells();
    void commandHeaders();
    void scriptCellsAndHeaders();
    void commandEdits_data();
    void commandEdits();
    void scriptRename();
    void icons();
    void missingIcons();
    void keywordEditor();
    void numberEditors_data();
    void numberEditors();
    void nameEditorAndIconCells();
};

void tst_scriptTableModels::commandModelStaysConsistent()
{
    mdlCommandTable model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<lvScriptCommand> list = threeCommands();
    model.setScriptCommandList(&list);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 7);
    model.insertCommand(1, lvScriptCommand());
    model.insertCommand(99, lvScriptCommand()); // past the end: appended
    QCOMPARE(model.rowCount(), 5);
    model.removeCommand(0);
    model.removeCommand(-1);
    model.removeCommand(42);
    QCOMPARE(model.rowCount(), 4);
    QVERIFY(model.moveCommand(1, -1));
    QVERIFY(!model.moveCommand(0, -1));
    QVERIFY(!model.moveCommand(3, +1));
    model.setData(model.index(0, 0), QStringLiteral("SAVE"));
    model.updateTable();
    QList<lvScriptCommand> empty;
    model.setScriptCommandList(&empty);
    QCOMPARE(model.rowCount(), 0);
    model.insertCommand(-1, lvScriptCommand());
    QCOMPARE(model.rowCount(), 1);
}

void tst_scriptTableModels::scriptModelStaysConsistent()
{
    mdlScriptTable model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<lvScript> list{namedScript(QStringLiteral("A")), namedScript(QStringLiteral("b"))};
    model.setScriptList(&list);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 6);
    model.appendScript(namedScript(QStringLiteral("New Script0")));
    model.removeScript(0);
    model.removeScript(5);
    model.setData(model.index(0, 2), QStringLiteral("c"));
    model.updateTable();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.getScriptList().at(0).strName, QStringLiteral("c"));
    // The model's list is a copy: the tab's own list is untouched.
    QCOMPARE(list.at(1).strName, QStringLiteral("b"));
}

void tst_scriptTableModels::commandCells()
{
    mdlCommandTable model;
    QList<lvScriptCommand> list = threeCommands();
    list.append(scriptCmd(3, "GOTOREL", -25000, 0));
    model.setScriptCommandList(&list);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("GOTOPOS"));
    QCOMPARE(model.data(model.index(0, 1)).toInt(), 250000);
    QCOMPARE(model.data(model.index(3, 1)).toInt(), -25000);
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("MEASCLOSE"));
    QCOMPARE(model.data(model.index(1, 2)).toInt(), 1);
    QVERIFY(!model.data(model.index(1, 4)).isValid());
    // A row outside the list reads as "ERROR" rather than beyond the list.
    QCOMPARE(model.data(model.index(9, 0)).toString(), QStringLiteral("ERROR"));
    QVERIFY(!model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::FontRole).isValid());
    for (int c = 0; c < 7; ++c)
        QCOMPARE(model.flags(model.index(0, c)), Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
    // The selected row survives a new list.
    model.nSelectedRow = 2;
    QList<lvScriptCommand> empty;
    model.setScriptCommandList(&empty);
    QCOMPARE(model.nSelectedRow, 2);
    QCOMPARE(model.getScriptCommandList().size(), 0);
}

void tst_scriptTableModels::commandHeaders()
{
    mdlCommandTable model;
    const QStringList expected{"Command", "Value", "Repeat", "", "", "", ""};
    for (int c = 0; c < 7; ++c)
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), expected.at(c));
    // Rows are numbered from 0, like the saved command numbers.
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("0"));
    QCOMPARE(model.headerData(12, Qt::Vertical).toString(), QStringLiteral("12"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::SizeHintRole).toSize(), QSize(15, 20));
    QCOMPARE(model.headerData(1, Qt::Vertical, Qt::SizeHintRole).toSize(), QSize(15, 20));
}

void tst_scriptTableModels::scriptCellsAndHeaders()
{
    mdlScriptTable model;
    QList<lvScript> list{namedScript(QStringLiteral("Leak test"))};
    model.setScriptList(&list);
    QCOMPARE(model.data(model.index(0, 2)).toString(), QStringLiteral("Leak test"));
    QVERIFY(!model.data(model.index(0, 0)).isValid());
    QCOMPARE(model.data(model.index(3, 2)).toString(), QStringLiteral("ERROR"));
    for (int c = 0; c < 6; ++c)
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), c == 2 ? QStringLiteral("Script") : QString());
    QCOMPARE(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("4"));
    QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::SizeHintRole).toSize(), QSize(15, 20));
}

void tst_scriptTableModels::commandEdits_data()
{
    QTest::addColumn<int>("nColumn");
    QTest::addColumn<QString>("strText");
    QTest::addColumn<QString>("strCommand");
    // Row 2 starts as MEASCLOSE 1 1.
    QTest::newRow("keyword MEASOPEN") << 0 << "MEASOPEN" << "MEASOPEN 1 1";
    QTest::newRow("keyword MEASCLOSE again") << 0 << "MEASCLOSE" << "MEASCLOSE 1 1";
    QTest::newRow("unknown keyword") << 0 << "meas" << "MEASCLOSE 1 1";
    QTest::newRow("value") << 1 << "-1000000" << "MEASCLOSE -1000000 1";
    QTest::newRow("value max") << 1 << "1000000" << "MEASCLOSE 1000000 1";
    QTest::newRow("value letters") << 1 << "abc" << "MEASCLOSE 0 1";
    QTest::newRow("value empty") << 1 << "" << "MEASCLOSE 0 1";
    QTest::newRow("value beyond the editor") << 1 << "9999999" << "MEASCLOSE 1 1";
    QTest::newRow("value beyond int") << 1 << "99999999999" << "MEASCLOSE 1 1";
    QTest::newRow("repeat") << 2 << "999999" << "MEASCLOSE 1 999999";
    QTest::newRow("repeat negative") << 2 << "-3" << "MEASCLOSE 1 1";
    QTest::newRow("repeat letters") << 2 << "x" << "MEASCLOSE 1 0";
    QTest::newRow("icon cell") << 4 << "whatever" << "MEASCLOSE 1 1";
}

void tst_scriptTableModels::commandEdits()
{
    QFETCH(int, nColumn);
    QFETCH(QString, strText);
    QFETCH(QString, strCommand);
    mdlCommandTable model;
    QList<lvScriptCommand> list = threeCommands();
    model.setScriptCommandList(&list);
    QSignalSpy completed(&model, &mdlCommandTable::editCompleted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(model.index(2, nColumn), strText));
    QCOMPARE(commandsText({model.cmdList.at(2)}), strCommand);
    // Every commit is reported, even one that changes nothing.
    QCOMPARE(completed.size(), 1);
    QCOMPARE(completed.at(0).at(0).toString(), strText);
    QCOMPARE(model.cmdList.at(2).nCmdNr, 2);
    if (nColumn == 0 && strText == QLatin1String("MEASOPEN"))
        QCOMPARE(model.cmdList.at(2).nCmdType, 7);
    Q_UNUSED(changed)
}

void tst_scriptTableModels::scriptRename()
{
    mdlScriptTable model;
    QList<lvScript> list{namedScript(QStringLiteral("A")), namedScript(QStringLiteral("B"))};
    model.setScriptList(&list);
    QSignalSpy completed(&model, &mdlScriptTable::editCompleted);
    QVERIFY(model.setData(model.index(1, 2), QStringLiteral("Renamed")));
    QCOMPARE(model.scriptList.at(1).strName, QStringLiteral("Renamed"));
    // An empty name is stored by the model; the tab decides to ignore it.
    QVERIFY(model.setData(model.index(0, 2), QString()));
    QCOMPARE(model.scriptList.at(0).strName, QString());
    // Icon cells keep the script and still report.
    QVERIFY(model.setData(model.index(1, 0), QStringLiteral("x")));
    QCOMPARE(model.scriptList.at(1).strName, QStringLiteral("Renamed"));
    QCOMPARE(completed.size(), 3);
    QCOMPARE(completed.at(1).at(0).toString(), QString());
}

void tst_scriptTableModels::icons()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    // Plain icons 8 pixels, highlighted ones 12, save 10.
    for (const char *pszName : {"Play", "Stop", "Plus", "Minus", "Pfeil-oben", "Pfeil-unten"}) {
        QVERIFY(writeIcon(wd.filePath(QStringLiteral("icon/%1.png").arg(QLatin1String(pszName))), 8));
        QVERIFY(writeIcon(wd.filePath(QStringLiteral("icon/%1-black.png").arg(QLatin1String(pszName))), 12));
    }
    QVERIFY(writeIcon(wd.filePath(QStringLiteral("icon/save.png")), 10));

    mdlCommandTable commands;
    QList<lvScriptCommand> list = threeCommands() + threeCommands();
    commands.setScriptCommandList(&list);
    commands.nSelectedRow = 2;
    for (int r = 0; r < 4; ++r) {
        const int nExpected = r == 2 ? 12 : 8;
        for (int c = 3; c <= 6; ++c)
            QCOMPARE(iconSize(commands.data(commands.index(r, c), Qt::DecorationRole)), nExpected);
        for (int c = 0; c <= 2; ++c)
            QCOMPARE(iconSize(commands.data(commands.index(r, c), Qt::DecorationRole)), 0);
    }

    mdlScriptTable scripts;
    QList<lvScript> names{namedScript(QStringLiteral("A")), namedScript(QStringLiteral("B")),
                          namedScript(QStringLiteral("C"))};
    scripts.setScriptList(&names);
    scripts.nSelectedRow = 1;
    for (int r = 0; r < 3; ++r) {
        const int nExpected = r == 1 ? 12 : 8;
        for (const int c : {0, 1, 3, 4})
            QCOMPARE(iconSize(scripts.data(scripts.index(r, c), Qt::DecorationRole)), nExpected);
        // The save icon has no highlighted variant.
        QCOMPARE(iconSize(scripts.data(scripts.index(r, 5), Qt::DecorationRole)), 10);
        QCOMPARE(iconSize(scripts.data(scripts.index(r, 2), Qt::DecorationRole)), 0);
    }
}

void tst_scriptTableModels::missingIcons()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    // Only the plain add icon is there; the rest are missing or broken.
    QVERIFY(writeIcon(wd.filePath(QStringLiteral("icon/Plus.png")), 8));
    QVERIFY(wd.writeFile(QStringLiteral("icon/Minus.png"), "not a picture"));
    mdlCommandTable commands;
    QList<lvScriptCommand> list = threeCommands();
    commands.setScriptCommandList(&list);
    commands.nSelectedRow = 0;
    QCOMPARE(iconSize(commands.data(commands.index(1, 3), Qt::DecorationRole)), 8);
    QCOMPARE(iconSize(commands.data(commands.index(0, 3), Qt::DecorationRole)), 0);
    QCOMPARE(iconSize(commands.data(commands.index(1, 4), Qt::DecorationRole)), 0);
    QCOMPARE(iconSize(commands.data(commands.index(1, 6), Qt::DecorationRole)), 0);

    // A view paints the tables without them.
    QTableView view;
    view.setModel(&commands);
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.grab();
}

void tst_scriptTableModels::keywordEditor()
{
    mdlCommandTable model;
    QList<lvScriptCommand> list = threeCommands();
    model.setScriptCommandList(&list);
    cmbBoxItem delegate;
    QWidget parent;
    const QModelIndex index = model.index(2, 0); // MEASCLOSE
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, QStyleOptionViewItem(), index));
    auto *pCombo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(pCombo);
    QStringList items;
    for (int i = 0; i < pCombo->count(); ++i)
        items << pCombo->itemText(i);
    QCOMPARE(items, QStringList({"GOTOPOS", "GOTOREL", "GOTOCMD", "GOTODATA", "WAIT", "MEAS", "MEASOPEN",
                                 "MEASCLOSE", "SAVE"}));
    delegate.setEditorData(pCombo, index);
    QCOMPARE(pCombo->currentText(), QStringLiteral("MEASCLOSE"));

    // Closed without a choice: MEASCLOSE is committed again.
    QSignalSpy completed(&model, &mdlCommandTable::editCompleted);
    delegate.setModelData(pCombo, &model, index);
    QCOMPARE(model.cmdList.at(2).nCmdType, int(CMD_MEASCLOSE));
    QCOMPARE(completed.at(0).at(0).toString(), QStringLiteral("MEASCLOSE"));
    pCombo->setCurrentText(QStringLiteral("MEASOPEN"));
    delegate.setModelData(pCombo, &model, index);
    QCOMPARE(model.cmdList.at(2).nCmdType, 7);
}

void tst_scriptTableModels::numberEditors_data()
{
    QTest::addColumn<int>("nColumn");
    QTest::addColumn<QString>("strTyped");
    QTest::addColumn<bool>("bAccepted");
    QTest::newRow("value min") << 1 << "-1000000" << true;
    QTest::newRow("value max") << 1 << "1000000" << true;
    QTest::newRow("value eight digits") << 1 << "10000000" << false;
    QTest::newRow("value negative eight digits") << 1 << "-10000000" << false;
    QTest::newRow("value letters") << 1 << "12a" << false;
    QTest::newRow("repeat max") << 2 << "999999" << true;
    QTest::newRow("repeat zero") << 2 << "0" << true;
    QTest::newRow("repeat minus sign") << 2 << "-" << false;
    QTest::newRow("repeat negative") << 2 << "-1" << false;
    QTest::newRow("repeat seven digits") << 2 << "1000000" << false;
}

void tst_scriptTableModels::numberEditors()
{
    QFETCH(int, nColumn);
    QFETCH(QString, strTyped);
    QFETCH(bool, bAccepted);
    fakeProcessRunner runner;
    mdlCommandTable model;
    QList<lvScriptCommand> list = threeCommands();
    model.setScriptCommandList(&list);
    cmbBoxItem delegate;
    QWidget parent;
    const QModelIndex index = model.index(0, nColumn);
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, QStyleOptionViewItem(), index));
    auto *pField = qobject_cast<qLvLineEdit *>(editor.get());
    QVERIFY(pField);
    QCOMPARE(pField->keyboardMode(), 1);
    QCOMPARE(pField->strSavedText, model.data(index).toString());
    // Typed key by key, as the on-screen keypad does: the validator refuses
    // what does not fit.
    pField->clear();
    QTest::keyClicks(pField, strTyped);
    QCOMPARE(pField->text() == strTyped && pField->hasAcceptableInput(), bAccepted);
}

void tst_scriptTableModels::nameEditorAndIconCells()
{
    fakeProcessRunner runner;
    mdlScriptTable model;
    QList<lvScript> list{namedScript(QStringLiteral("Leak test"))};
    model.setScriptList(&list);
    cmbBoxItem delegate;
    delegate.bScriptTable = true;
    QWidget parent;
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, QStyleOptionViewItem(), model.index(0, 2)));
    auto *pField = qobject_cast<qLvLineEdit *>(editor.get());
    QVERIFY(pField);
    QCOMPARE(pField->keyboardMode(), 0);
    QVERIFY(!pField->validator());
    QCOMPARE(pField->strSavedText, QStringLiteral("Leak test"));
    // The name editor opens with the current name.
    delegate.setEditorData(pField, model.index(0, 2));
    QCOMPARE(pField->text(), QStringLiteral("Leak test"));

    // Icon cells of both tables get Qt's default editor, not a touch field.
    std::unique_ptr<QWidget> iconEditor(delegate.createEditor(&parent, QStyleOptionViewItem(), model.index(0, 0)));
    QVERIFY(!qobject_cast<qLvLineEdit *>(iconEditor.get()));
    mdlCommandTable commands;
    QList<lvScriptCommand> cmds = threeCommands();
    commands.setScriptCommandList(&cmds);
    cmbBoxItem commandDelegate;
    std::unique_ptr<QWidget> commandIcon(
        commandDelegate.createEditor(&parent, QStyleOptionViewItem(), commands.index(0, 5)));
    QVERIFY(!qobject_cast<qLvLineEdit *>(commandIcon.get()));
    QVERIFY(!qobject_cast<QComboBox *>(commandIcon.get()));
}

QTEST_MAIN(tst_scriptTableModels)
#include "tst_scriptTableModels.moc"
