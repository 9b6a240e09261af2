#include "script/formScriptTab.h"
#include "ui_formScriptTab.h"

#include "app/MainWindow.h"
#include "app/qlvMessageBox.h"
#include "manual/formCurrentState.h"
#include "script/cmbBoxItem.h"
#include "script/mdlCommandTable.h"
#include "script/mdlScriptTable.h"
#include "script/scriptListRules.h"
#include "script/scriptProgressRelay.h"
#include "script/scriptProgressText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTimer>

namespace {

enum scriptColumn { S_START = 0, S_STOP = 1, S_NAME = 2, S_ADD = 3, S_DELETE = 4, S_SAVE = 5 };
enum commandColumn { C_KEYWORD = 0, C_VALUE = 1, C_REPEAT = 2, C_ADD = 3, C_DELETE = 4, C_UP = 5, C_DOWN = 6 };

const char *const pszHeaderStyle =
    "QHeaderView::section {background: QLinearGradient( x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #4d4d4d, stop: 0 "
    "#646464, stop: 1 #5d5d5d);     background-color: QLinearGradient( x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 "
    "#4d4d4d, stop: 0 #646464, stop: 1 #5d5d5d);    padding: 0px;    border-style: solid;    border: 1px solid "
    "#1e1e1e;    border-radius: 0;}";

const QString strScriptSuffix = QStringLiteral(".kfxscript");

} // namespace

formScriptTab::formScriptTab(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::formScriptTab)
{
    ui->setupUi(this);
    pCurrentState = ui->widgetCurrentState;
    bConstructing = true;

    strScriptDir = lvScript::scriptDirectory();
    readScriptList();

    qTblViewScript *pScripts = ui->tblViewScripts;
    pScriptModel = new mdlScriptTable();
    pScripts->setModel(pScriptModel);
    pScriptDelegate = new cmbBoxItem();
    pScriptDelegate->bScriptTable = true;
    pScripts->setItemDelegate(pScriptDelegate);
    // An empty folder offers the add cell for the first script; a missing
    // one is reported instead (a script could not be written there).
    if (QDir(strScriptDir).exists())
        pScriptModel->strEmptyNote = tr("No scripts: hold +");
    pScriptModel->setScriptList(&scriptList);
    pScripts->horizontalHeader()->setStyleSheet(QString::fromLatin1(pszHeaderStyle));
    const int scriptWidths[] = {30, 30, 175, 30, 30, 30};
    for (int c = 0; c < 6; ++c)
        pScripts->setColumnWidth(c, scriptWidths[c]);
    // The name takes the room the command table leaves.
    pScripts->horizontalHeader()->setSectionResizeMode(S_NAME, QHeaderView::Stretch);
    pScripts->selectRow(0);
    pScripts->verticalHeader()->hide();
    pScripts->setSelectionBehavior(QAbstractItemView::SelectRows);
    pScripts->nColumnStart = S_START;
    pScripts->nColumnStop = S_STOP;
    pScripts->nColumnAdd = S_ADD;
    pScripts->nColumnDelete = S_DELETE;
    pScripts->nColumnSave = S_SAVE;
    connect(pScriptModel, &mdlScriptTable::editCompleted, this, &formScriptTab::onTblScriptEditCompleted);

    qTblViewScript *pCommands = ui->tblViewCommands;
    pCommandModel = new mdlCommandTable();
    pCommands->setModel(pCommandModel);
    pCommandDelegate = new cmbBoxItem();
    pCommands->setItemDelegate(pCommandDelegate);
    pScripts->selectRow(0);
    currentScript = scriptList.value(0);
    nCurrentScriptRow = 0;
    showCommandsOf(currentScript);
    pCommands->horizontalHeader()->setStyleSheet(QString::fromLatin1(pszHeaderStyle));
    const int commandWidths[] = {88, 60, 60, 25, 25, 25, 25};
    for (int c = 0; c < 7; ++c)
        pCommands->setColumnWidth(c, commandWidths[c]);
    pCommands->selectRow(0);
    pCommands->setSelectionBehavior(QAbstractItemView::SelectRows);
    pCommands->nColumnAdd = C_ADD;
    pCommands->nColumnDelete = C_DELETE;
    pCommands->nColumnUp = C_UP;
    pCommands->nColumnDown = C_DOWN;
    connect(pCommandModel, &mdlCommandTable::editCompleted, this, &formScriptTab::onTblCmdEditCompleted);

    bCmdListChanged = false;
    bScriptNameChanged = false;
    bConstructing = false;

    connect(pCurrentState, &formCurrentState::setNewTeachIn, this, &formScriptTab::onSetNewTeachIn);
    pProgressRelay = new scriptProgressRelay(this);
    connect(pProgressRelay, &scriptProgressRelay::commandStarted, this, &formScriptTab::setCommandSelected);
    connect(pProgressRelay, &scriptProgressRelay::commandProgress, this, &formScriptTab::updateCommandSelected);
    connect(pProgressRelay, &scriptProgressRelay::textsNotShown, this, &formScriptTab::onTextsNotShown);
    connect(pScripts, &qTblViewScript::longPressEvent, this, &formScriptTab::onScriptTableLongPress);
    connect(pCommands, &qTblViewScript::longPressEvent, this, &formScriptTab::onCommandTableLongPress);
}

formScriptTab::~formScriptTab()
{
    delete ui;
    delete pScriptModel;
    delete pCommandModel;
    delete pScriptDelegate;
    delete pCommandDelegate;
}

qTblViewScript *formScriptTab::scriptTable() const
{
    return ui->tblViewScripts;
}

qTblViewScript *formScriptTab::commandTable() const
{
    return ui->tblViewCommands;
}

// ---------------------------------------------------------------------------
// Reading the folder

void formScriptTab::readScriptList()
{
    scriptList.clear();
    const QDir dir(strScriptDir);
    if (!dir.exists()) {
        strLoadProblem = tr("The scripts folder %1 does not exist, so there are no scripts to show.")
                             .arg(QDir::toNativeSeparators(strScriptDir));
        return;
    }
    QStringList unreadable;
    const QStringList files = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &strName : scriptNamesFromFiles(files)) {
        lvScript script;
        // An unreadable script stays off the list, so no save can replace
        // the file with an empty one.
        if (script.readScriptFromFile(strName))
            scriptList.append(script);
        else
            unreadable << strName + strScriptSuffix;
    }
    if (!unreadable.isEmpty())
        strLoadProblem = tr("These script files could not be read and are not listed:\n%1")
                             .arg(unreadable.join(QLatin1Char('\n')));
}

void formScriptTab::reportLoadProblem()
{
    if (strLoadProblem.isEmpty())
        return;
    const QString strProblem = strLoadProblem;
    strLoadProblem.clear();
    showBox(tr("Scripts"), strProblem);
}

void formScriptTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Told when the operator first looks at the scripts, not during start-up.
    if (!strLoadProblem.isEmpty())
        QTimer::singleShot(0, this, &formScriptTab::reportLoadProblem);
}

void formScriptTab::showBox(const QString &strText, const QString &strInformative)
{
    qlvMessageBox box(pMainWindow);
    box.setText(strText);
    box.setInformativeText(strInformative);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

// ---------------------------------------------------------------------------
// The current script

bool formScriptTab::isScriptChanged() const
{
    return (bCmdListChanged || bScriptNameChanged) && !bConstructing;
}

void formScriptTab::emitScriptSelected()
{
    emit scriptSelected(currentScript);
}

void formScriptTab::announceCurrentScript()
{
    // The executor drops the run of the script it had. Ended here as the
    // status strip's Stop ends it, the tab never shows a run that has ended,
    // and no regulation or move the run started goes on unattended.
    if (bScriptRunning) {
        emit stopValve();
        onScriptStop();
    }
    emit scriptSelected(currentScript);
}

void formScriptTab::showCommandsOf(const lvScript &script)
{
    QList<lvScriptCommand> commands = script.cmdList;
    pCommandModel->setScriptCommandList(&commands);
}

void formScriptTab::selectScriptRow(int nRow)
{
    if (nRow >= 0 && nRow < scriptList.size())
        ui->tblViewScripts->selectRow(nRow);
}

void formScriptTab::makeCurrent(int nRow)
{
    currentScript = scriptList.value(nRow);
    nCurrentScriptRow = nRow;
    announceCurrentScript();
    showCommandsOf(currentScript);
}

void formScriptTab::onSetScriptSelectedinList(int nScript)
{
    Q_UNUSED(nScript)
    ui->tblViewScripts->setFocus();
    selectScriptRow(nCurrentScriptRow);
}

void formScriptTab::on_tblViewScripts_clicked(const QModelIndex &index)
{
    int nRow = index.row();
    if (nRow < 0)
        return;
    pScriptModel->nSelectedRow = nRow;
    pScriptModel->updateTable();
    if (bScriptRunning) {
        selectScriptRow(nCurrentScriptRow);
        return;
    }
    const QString strTapped = scriptList.value(nRow).strName;
    if (isScriptChanged()) {
        const int nResult = saveScript(nRow);
        if (nResult == 1 || nResult == 2)
            return;
        // A save lists the scripts anew in name order: find the tapped one.
        nRow = -1;
        for (int i = 0; i < scriptList.size(); ++i) {
            if (scriptList.at(i).strName == strTapped)
                nRow = i;
        }
        if (nRow < 0)
            return;
    }
    if (nRow != nCurrentScriptRow && nRow < scriptList.size()) {
        makeCurrent(nRow);
        selectScriptRow(nRow);
    }
}

int formScriptTab::saveScript(int nRow)
{
    if (bSaveActive) {
        qlvMessageBox box(pMainWindow);
        box.setText(tr("Script Save"));
        box.setInformativeText(tr("Click ok to go on."));
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        bSaveActive = false;
        return 0;
    }
    bSaveActive = true;
    if (nRow == -1) {
        const QModelIndexList selected = ui->tblViewScripts->selectionModel()->selectedIndexes();
        nRow = selected.isEmpty() ? nCurrentScriptRow : selected.first().row();
    }

    qlvMessageBox box(pMainWindow);
    box.setText(tr("Script changed"));
    box.setInformativeText(tr("do you want to save it?"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    const int nAnswer = box.exec();

    if (nAnswer == QMessageBox::Save) {
        if (!saveCurrentScript()) {
            bSaveActive = false;
            return 1;
        }
        bCmdListChanged = false;
        bScriptNameChanged = false;
        bSaveActive = false;
        return 0;
    }
    if (nAnswer == QMessageBox::Discard) {
        if (nRow < 0 || nRow >= scriptList.size())
            nRow = nCurrentScriptRow;
        makeCurrent(nRow);
        pScriptModel->setScriptList(&scriptList);
        selectScriptRow(nCurrentScriptRow);
        bCmdListChanged = false;
        bScriptNameChanged = false;
        bSaveActive = false;
        return 2;
    }
    onSetScriptSelectedinList(nCurrentScriptRow);
    bSaveActive = false;
    return 1;
}

QString formScriptTab::renameProblem(const QString &strName) const
{
    QStringList otherNames;
    for (int i = 0; i < scriptList.size(); ++i) {
        if (i != nCurrentScriptRow)
            otherNames << scriptList.at(i).strName;
    }
    // A file of that name that is not listed (unreadable) is taken too.
    if (strName != currentScript.strName && QFileInfo::exists(strScriptDir + strName + strScriptSuffix))
        otherNames << strName;
    switch (checkScriptRename(strName, otherNames)) {
    case RENAME_OK:
    case RENAME_EMPTY:
        return QString();
    case RENAME_INVALID:
        return tr("\"%1\" cannot be a script name: it must not contain \"/\", \"\\\", \";\", \"..\" or control "
                  "characters, nor begin with \".\".")
            .arg(strName);
    case RENAME_TAKEN:
        break;
    }
    return tr("There is already a script named \"%1\".").arg(strName);
}

bool formScriptTab::saveCurrentScript()
{
    // Nothing to save while the folder holds no script.
    if (scriptList.isEmpty() || currentScript.strName.isEmpty())
        return true;
    const QString strOld = currentScript.strName;
    const QString strNew = bScriptNameChanged ? strNewScriptName : strOld;
    if (strNew != strOld) {
        const QString strProblem = renameProblem(strNew);
        if (!strProblem.isEmpty()) {
            showBox(tr("Script Save"), strProblem);
            return false;
        }
    }

    const QList<lvScriptCommand> commands =
        bCmdListChanged ? renumberedCommands(pCommandModel->getScriptCommandList()) : currentScript.cmdList;
    lvScript written = currentScript;
    // The new file replaces the old one only once it is complete; the old
    // name goes only after the new file is there.
    if (!written.writeCmdListScriptToFile(strNew, commands)) {
        showBox(tr("Script Save"),
                tr("The script \"%1\" could not be written to %2. Your changes are kept; the file on disk is "
                   "unchanged.")
                    .arg(strNew, QDir::toNativeSeparators(strScriptDir)));
        return false;
    }
    if (strNew != strOld)
        QFile::remove(strScriptDir + strOld + strScriptSuffix);

    currentScript.readScriptFromFile(strNew);
    const int nCommandRow = commandRow();
    readScriptList();
    pScriptModel->setScriptList(&scriptList);
    nCurrentScriptRow = 0;
    for (int i = 0; i < scriptList.size(); ++i) {
        if (scriptList.at(i).strName == strNew)
            nCurrentScriptRow = i;
    }
    pScriptModel->nSelectedRow = nCurrentScriptRow;
    selectScriptRow(nCurrentScriptRow);
    showCommandsOf(currentScript);
    if (nCommandRow >= 0 && nCommandRow < currentScript.cmdList.size())
        ui->tblViewCommands->selectRow(nCommandRow);
    announceCurrentScript();
    // A script that vanished or broke meanwhile is told at once.
    reportLoadProblem();
    return true;
}

// ---------------------------------------------------------------------------
// Script list operations

void formScriptTab::onTblScriptEditCompleted(QString strText)
{
    const int nRow = pScriptModel->nEditedRow;
    auto restoreName = [this, nRow] {
        if (nRow < 0 || nRow >= pScriptModel->scriptList.size() || nRow >= scriptList.size())
            return;
        const QString strShown = nRow == nCurrentScriptRow && bScriptNameChanged ? strNewScriptName
                                                                                  : scriptList.at(nRow).strName;
        pScriptModel->scriptList[nRow].strName = strShown;
        pScriptModel->updateTable();
    };
    // Only the current script's name cell renames; another row's name cell
    // or an icon cell's plain editor leaves everything as it was.
    if (pScriptModel->nEditedColumn != S_NAME || nRow != nCurrentScriptRow || scriptList.isEmpty()) {
        restoreName();
        return;
    }
    if (strText.isEmpty()) {
        restoreName();
        showBox(tr("Rename"), tr("A script needs a name: the name was not changed."));
        return;
    }
    const QString strProblem = renameProblem(strText);
    if (!strProblem.isEmpty()) {
        restoreName();
        showBox(tr("Rename"), strProblem);
        return;
    }
    strNewScriptName = strText;
    bScriptNameChanged = true;
}

void formScriptTab::on_pushBtnScriptNew_clicked()
{
    if (isScriptChanged()) {
        const QModelIndex current = ui->tblViewScripts->currentIndex();
        if (saveScript(current.isValid() ? current.row() : nCurrentScriptRow) == 1)
            return;
    }
    strScriptDir = lvScript::scriptDirectory();
    const QString strName = nextNewScriptName(
        [this](const QString &strCandidate) { return QFileInfo(strScriptDir + strCandidate + strScriptSuffix).isFile(); });
    if (strName.isEmpty()) {
        showBox(tr("New Script"), tr("All names from New Script0 to New Script998 are taken. Rename or delete "
                                     "one of these scripts first."));
        return;
    }
    lvScript script;
    script.cmdList.append(lvScriptCommand());
    if (!script.writeScriptToFile(strName)) {
        showBox(tr("New Script"), tr("The script \"%1\" could not be written to %2.")
                                      .arg(strName, QDir::toNativeSeparators(strScriptDir)));
        return;
    }
    const bool bFirst = scriptList.isEmpty();
    scriptList.append(script);
    pScriptModel->appendScript(script);
    pScriptModel->updateTable();
    // A new script is added as the last row and does not become current,
    // unless there was none.
    if (bFirst) {
        makeCurrent(0);
        selectScriptRow(0);
    } else {
        selectScriptRow(nCurrentScriptRow);
    }
}

void formScriptTab::on_pushBtnScriptDelete_clicked()
{
    const QModelIndex current = ui->tblViewScripts->currentIndex();
    deleteScriptAt(current.isValid() ? current.row() : nCurrentScriptRow);
}

void formScriptTab::deleteScriptAt(int nRow)
{
    {
        qlvMessageBox box(pMainWindow);
        box.setText(QStringLiteral("Delete"));
        box.setInformativeText(QStringLiteral("Do you ant to delete the current script?"));
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    if (scriptList.size() <= 1) {
        qlvMessageBox box(pMainWindow);
        box.setText(QStringLiteral("Delete"));
        box.setInformativeText(QStringLiteral("You cannot delete the last script"));
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return;
    }
    if (nRow < 0 || nRow >= scriptList.size())
        return;
    // The held row's own file and row, whichever script is current.
    const QString strFile = strScriptDir + scriptList.at(nRow).strName + strScriptSuffix;
    if (QFileInfo::exists(strFile) && !QFile::remove(strFile)) {
        showBox(QStringLiteral("Delete"), tr("The script file %1 could not be deleted.")
                                              .arg(QDir::toNativeSeparators(strFile)));
        return;
    }
    scriptList.removeAt(nRow);
    pScriptModel->removeScript(nRow);
    pScriptModel->updateTable();
    if (nRow == nCurrentScriptRow) {
        selectScriptRow(0);
        makeCurrent(0);
        bCmdListChanged = false;
        bScriptNameChanged = false;
    } else {
        // Another script goes; the current one keeps its pending edits.
        if (nRow < nCurrentScriptRow)
            --nCurrentScriptRow;
        selectScriptRow(nCurrentScriptRow);
    }
}

// ---------------------------------------------------------------------------
// Command list operations

int formScriptTab::commandRow() const
{
    const QModelIndex current = ui->tblViewCommands->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void formScriptTab::markCommandsChanged()
{
    bCmdListChanged = true;
}

void formScriptTab::onTblCmdEditCompleted(QString strText)
{
    Q_UNUSED(strText)
    markCommandsChanged();
}

void formScriptTab::on_pushBtnCommandNew_clicked()
{
    // Commands belong to a script: nothing to insert into without one.
    if (scriptList.isEmpty())
        return;
    const int nRow = qMax(0, commandRow());
    lvScriptCommand cmd;
    cmd.nCmdNr = nRow;
    pCommandModel->insertCommand(nRow, cmd);
    pCommandModel->updateTable();
    ui->tblViewCommands->selectRow(nRow);
    markCommandsChanged();
}

void formScriptTab::on_pushBtnCommandDelete_clicked()
{
    if (pCommandModel->rowCount() > 1) {
        const int nRow = commandRow();
        if (nRow < 0)
            return;
        pCommandModel->removeCommand(nRow);
        pCommandModel->updateTable();
        markCommandsChanged();
        return;
    }
    qlvMessageBox box(pMainWindow);
    box.setText(tr("Delete"));
    box.setInformativeText(tr("You cannot delete the last command"));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void formScriptTab::on_pushBtnCommandUp_clicked()
{
    const int nRow = commandRow();
    if (!pCommandModel->moveCommand(nRow, -1))
        return;
    pCommandModel->updateTable();
    ui->tblViewCommands->selectRow(nRow - 1);
    markCommandsChanged();
}

void formScriptTab::on_pushBtnCommandDown_clicked()
{
    const int nRow = commandRow();
    if (!pCommandModel->moveCommand(nRow, +1))
        return;
    pCommandModel->updateTable();
    ui->tblViewCommands->selectRow(nRow + 1);
    markCommandsChanged();
}

// ---------------------------------------------------------------------------
// Gestures

void formScriptTab::onScriptTableLongPress(QModelIndex index)
{
    if (!index.isValid())
        return;
    // Without scripts only the add cell of the note's row acts.
    if (scriptList.isEmpty() && index.column() != S_ADD)
        return;
    switch (index.column()) {
    case S_START:
        on_pushBtnScriptRun_clicked();
        break;
    case S_STOP:
        onScriptStop();
        break;
    case S_NAME:
        if (index.row() == nCurrentScriptRow)
            ui->tblViewScripts->edit(index);
        break;
    case S_ADD:
        on_pushBtnScriptNew_clicked();
        break;
    case S_DELETE:
        deleteScriptAt(index.row());
        break;
    case S_SAVE:
        saveScript(index.row());
        break;
    default:
        break;
    }
}

void formScriptTab::on_tblViewScripts_doubleClicked(const QModelIndex &index)
{
    // A double tap acts like a hold on the icon cells; renaming and saving
    // take the hold.
    const int nColumn = index.column();
    if (nColumn == S_START || nColumn == S_STOP || nColumn == S_ADD || nColumn == S_DELETE)
        onScriptTableLongPress(index);
}

void formScriptTab::onCommandTableLongPress(QModelIndex index)
{
    if (!index.isValid())
        return;
    switch (index.column()) {
    case C_KEYWORD:
    case C_VALUE:
    case C_REPEAT:
        ui->tblViewCommands->edit(index);
        break;
    case C_ADD:
        on_pushBtnCommandNew_clicked();
        break;
    case C_DELETE:
        on_pushBtnCommandDelete_clicked();
        break;
    case C_UP:
        on_pushBtnCommandUp_clicked();
        break;
    case C_DOWN:
        on_pushBtnCommandDown_clicked();
        break;
    default:
        break;
    }
}

void formScriptTab::on_tblViewCommands_doubleClicked(const QModelIndex &index)
{
    // A double tap acts like a hold on the icon cells; the editors take the
    // hold.
    const int nColumn = index.column();
    if (nColumn == C_ADD || nColumn == C_DELETE || nColumn == C_UP || nColumn == C_DOWN)
        onCommandTableLongPress(index);
}

// ---------------------------------------------------------------------------
// Running a script

void formScriptTab::on_pushBtnScriptRun_clicked()
{
    if (bCmdListChanged) {
        qlvMessageBox box(pMainWindow);
        box.setText(tr("Script Changed"));
        box.setInformativeText(tr("The script was changed.\nIt will not run until it is saved or the changes are "
                                  "cancelled."));
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return;
    }
    ui->tblViewCommands->setEnabled(false);
    // A start while the run goes on changes nothing: a flood keeps its pace.
    if (!bScriptRunning)
        pProgressRelay->newRun();
    bScriptRunning = true;
    emit runScript();
}

void formScriptTab::onScriptStop()
{
    emit stopScript();
    // What the run reported before comes first; nothing of the stopped run
    // comes after "Script Stopped".
    pProgressRelay->setOpen(false);
    ui->tblViewCommands->setEnabled(true);
    bScriptRunning = false;
    emit setStatusMsg(QStringLiteral("Script Stopped"));
}

void formScriptTab::onScriptFinished()
{
    // Every report came before finished(); what a flood left out at its end
    // is counted before "Script Finished".
    pProgressRelay->flush();
    ui->tblViewCommands->setEnabled(true);
    bScriptRunning = false;
    emit setStatusMsg(tr("Script Finished"));
}

void formScriptTab::setCommandSelected(int nCmdNr, int ncurrentRepetition, int nRepeat, QString strSetData)
{
    if (nCmdNr >= 0 && nCmdNr < pCommandModel->rowCount())
        ui->tblViewCommands->selectRow(nCmdNr);
    emit setStatusMsg(scriptCommandStartedText(nCmdNr, ncurrentRepetition, nRepeat, strSetData));
}

void formScriptTab::updateCommandSelected(int nCmdNr, int ncurrentRepetition, int nRepeat, QString strSetData,
                                          QString strCmdType)
{
    emit setStatusMsg(scriptCommandProgressText(nCmdNr, ncurrentRepetition, nRepeat, strSetData, strCmdType));
}

void formScriptTab::onTextsNotShown(qint64 nCount)
{
    emit onWriteLog(tr("Script: %1 command texts not shown").arg(nCount));
}

void formScriptTab::on_tblViewCommands_clicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    pCommandModel->nSelectedRow = index.row();
    pCommandModel->updateTable();
    emit cmdSet(index.row());
}

// ---------------------------------------------------------------------------
// Diagram and hold time

void formScriptTab::setTeachIn(lvTeachIn *pTeachIn)
{
    pCurrentState->setTeachIn(pTeachIn);
}

void formScriptTab::onUpdateDiagramm(lvTeachIn *pTeachIn, bool pbMarkPt)
{
    pCurrentState->onUpdateDiagram(pTeachIn, pbMarkPt);
}

void formScriptTab::onClearDiagramm()
{
    pCurrentState->onDiagramMenuClearData();
}

void formScriptTab::onSetNewTeachIn(QString strTeachInFile)
{
    emit setNewTeachIn(strTeachInFile);
}

void formScriptTab::setLongPressTime(int pnLongPressTimeMs)
{
    ui->tblViewCommands->nLongPressTime = pnLongPressTimeMs;
    ui->tblViewScripts->nLongPressTime = pnLongPressTimeMs;
    pCurrentState->setLongPressTime(pnLongPressTimeMs);
}
