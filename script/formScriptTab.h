#ifndef FORMSCRIPTTAB_H
#define FORMSCRIPTTAB_H

#include "script/lvScript.h"

#include <QModelIndex>
#include <QString>
#include <QWidget>

class MainWindow;
class cmbBoxItem;
class formCurrentState;
class lvTeachIn;
class mdlCommandTable;
class mdlScriptTable;
class qTblViewScript;
class scriptProgressRelay;

namespace Ui {
class formScriptTab;
}

// The Script tab: the list of scripts in the scripts folder, the commands of
// the current script and a diagram of the active teach-in and of the points a
// running script records. Every operation is a tap, a double tap or a long
// press on one of the two tables: scripts are created, renamed, saved and
// deleted, commands inserted, deleted, moved and edited, and a script is
// started and stopped. The tab keeps a copy of the current script, announces
// it to the script executor with scriptSelected(), and decides when the
// operator's changes reach the script files; the main window asks it before
// the operator leaves the tab (isScriptChanged(), saveScript()).
//
// Files: a save writes the whole script to a new file that replaces the old
// one only once complete; a renamed script's old file is removed only after
// the new one is written. A folder or file that cannot be read or written is
// reported with a box.
class formScriptTab : public QWidget
{
    Q_OBJECT

public:
    explicit formScriptTab(QWidget *parent = nullptr);
    ~formScriptTab() override;

    // Parent of the tab's message boxes; written by the main window once it
    // is shown, null before.
    MainWindow *pMainWindow = nullptr;
    // The embedded diagram.
    formCurrentState *pCurrentState = nullptr;

    // Unsaved command edits or an unsaved new name (never while the tab is
    // being built).
    bool isScriptChanged() const;
    // Asks the operator to save, discard or keep the changes: 0 saved (or
    // asked again while the question was open), 1 kept (cancelled, or the
    // save failed), 2 discarded. nRow: the script a discard shows; -1 for
    // the selected row of the script table, or the current script's when
    // none is selected.
    int saveScript(int nRow);
    // Announces the current script once more.
    void emitScriptSelected();
    // Draws the active teach-in in the diagram.
    void setTeachIn(lvTeachIn *pTeachIn);
    // Where the executor's progress reports go (scriptProgressRelay::follow);
    // they reach setCommandSelected() and updateCommandSelected() from there
    // in order, a flood thinned with a log line that counts what was left
    // out.
    scriptProgressRelay *progressRelay() const { return pProgressRelay; }

    // The operations behind the gestures (the form has no buttons).
    void on_pushBtnScriptNew_clicked();
    void on_pushBtnScriptDelete_clicked();
    void on_pushBtnCommandNew_clicked();
    void on_pushBtnCommandDelete_clicked();
    void on_pushBtnCommandUp_clicked();
    void on_pushBtnCommandDown_clicked();
    void on_pushBtnScriptRun_clicked();

    // Read-only views for the main window's tests and the tab's own.
    const lvScript &current() const { return currentScript; }
    int currentRow() const { return nCurrentScriptRow; }
    const QList<lvScript> &scripts() const { return scriptList; }
    bool isScriptRunning() const { return bScriptRunning; }
    qTblViewScript *scriptTable() const;
    qTblViewScript *commandTable() const;
    mdlScriptTable *scriptModel() const { return pScriptModel; }
    mdlCommandTable *commandModel() const { return pCommandModel; }

signals:
    void scriptSelected(lvScript script);
    void runScript();
    void stopScript();
    void cmdSet(int nCmdNr);
    void setStatusMsg(QString strMessage);
    // A line for the log file alone.
    void onWriteLog(QString strMessage);
    void setNewTeachIn(QString strTeachInFile);
    // A run ended by an edit stops the valve as the status strip's Stop
    // does: the regulation or move the run started does not go on.
    void stopValve();

public slots:
    void onTblScriptEditCompleted(QString strText);
    void onTblCmdEditCompleted(QString strText);
    void onScriptTableLongPress(QModelIndex index);
    void onCommandTableLongPress(QModelIndex index);
    void on_tblViewScripts_clicked(const QModelIndex &index);
    void on_tblViewScripts_doubleClicked(const QModelIndex &index);
    void on_tblViewCommands_clicked(const QModelIndex &index);
    void on_tblViewCommands_doubleClicked(const QModelIndex &index);
    void onSetScriptSelectedinList(int nScript);

    void onScriptStop();
    void onScriptFinished();
    void setCommandSelected(int nCmdNr, int ncurrentRepetition = 0, int nRepeat = 0,
                            QString strSetData = QString());
    void updateCommandSelected(int nCmdNr, int ncurrentRepetition = 0, int nRepeat = 0,
                               QString strSetData = QString(), QString strCmdType = QStringLiteral("NOCMD"));
    void onUpdateDiagramm(lvTeachIn *pTeachIn, bool pbMarkPt);
    void onClearDiagramm();
    void onSetNewTeachIn(QString strTeachInFile);
    void setLongPressTime(int pnLongPressTimeMs);
    // A flood of command texts was thinned: nCount were left out.
    void onTextsNotShown(qint64 nCount);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Reads every script of the scripts folder into scriptList, in name
    // order; what could not be read is kept for reportLoadProblem().
    void readScriptList();
    void reportLoadProblem();
    void makeCurrent(int nRow);
    // Announces currentScript to the executor, ending a run first.
    void announceCurrentScript();
    void showCommandsOf(const lvScript &script);
    void selectScriptRow(int nRow);
    void deleteScriptAt(int nRow);
    // Writes the current script with its pending name and commands; false
    // (after telling the operator) when nothing could be written.
    bool saveCurrentScript();
    // Why a script may not be called so; empty when it may.
    QString renameProblem(const QString &strName) const;
    int commandRow() const;
    void markCommandsChanged();
    void showBox(const QString &strText, const QString &strInformative);

    Ui::formScriptTab *ui;
    mdlScriptTable *pScriptModel = nullptr;
    mdlCommandTable *pCommandModel = nullptr;
    cmbBoxItem *pScriptDelegate = nullptr;
    cmbBoxItem *pCommandDelegate = nullptr;
    scriptProgressRelay *pProgressRelay = nullptr;

    QList<lvScript> scriptList;
    lvScript currentScript;
    int nCurrentScriptRow = 0;
    bool bCmdListChanged = false;
    bool bScriptNameChanged = false;
    QString strNewScriptName;
    bool bSaveActive = false;
    bool bConstructing = true;
    bool bScriptRunning = false;
    QString strScriptDir;
    // What the last reading of the scripts folder could not read; reported
    // when the tab is next shown.
    QString strLoadProblem;
};

#endif // FORMSCRIPTTAB_H
