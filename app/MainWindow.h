#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "app/tabChangeRules.h"
#include "valve/lvExternalFeedback.h"
#include "valve/lvTeachIn.h"

#include <QMainWindow>
#include <QMetaEnum>
#include <QPointer>
#include <QThread>

class settingsStore;
class analogData;
class motorDriver;
class qlvLogFile;
class scriptExecutor;
class scriptMeasuringRelay;

namespace Ui {
class MainWindow;
}

// The program's only top-level window and the place where the system is put
// together: the status strip and the tab pages, the log file, the valve drive
// in its own thread, the analog inputs, the active teach-in and sensor, the
// wiring between them, the settings, the tab-change rules, the start-up checks
// and the way down.
//
// The valve drive lives in the motor thread; the accessors and public members
// the window uses directly are safe to use from the GUI thread.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Calibrate the valve once the window is shown; the settings page writes it.
    bool bCalibrateOnStart;

    // Compares the stored valve position with the controller's.
    void readSettings();
    // Stores what the window holds when it is closed.
    void writeSettings();
    // Ends the program like a shutdown and starts it again once this
    // instance has released its serial ports.
    void restartProgram();

signals:
    void onForceMotorPosition(int nPos, bool bForce);
    void setMeaureData(bool pbMeasureData);
    void setDataToMotor(double dblData, int nSteps);
    void closeKeyboard();
    void setOutput1Mode2Mot(int pnOutputMode);
    void startModBus();
    void stopMotorDriver();
    void initScript();
    void initAnalog();
    void setExtFeedback(lvExternalFeedback plvExtFeedback);
    void stopSetDataManual();
    void setLongPressTime(int pnLongPresstime);

public slots:
    void onPosAndStepsRead();
    void onSetMeasurement(bool pbMeasure);
    void setData(int nValue, int nRepeat, double dblActualData);
    void onSetNewTeachIn(QString pstrTeachInFile);
    void onNewDataSaved(QString strDataFileName);
    void onSetOutput1Mode(int pnOutputMode);
    void forceMotorPositionToGUI();
    void onRequestShutdown(bool bReboot);
    // Position (if known, >= 0), running time, travel counter and "calibrate
    // on start", written through at once: every way of powering off needs them.
    void storeShutdownState(int nPosition);
    void updateSensor();
    void onDebug(bool bDebug);
    // A simulated controller reply of the test page; parsed by the drive, in
    // its own thread, only while debug mode is on.
    void onDebugSendToMotor(QString strBuffer);
    // Join (and release) every analog sample to the drive while the analog
    // or the Modbus remote is connected.
    void connectRemoteAnalog(int pnInput);
    void disconnectRemoteAnalog();
    void connectRemoteModbus();
    void disconnectRemoteModbus();
    // Join (true) or cut (false) the drive's reports to the script executor,
    // on the executor's request while a script runs.
    void connectPositionReachedToScriptExec(bool bConnect);
    void connectDataReachedToScriptExec(bool bConnect);

private slots:
    void on_tabWidget_currentChanged(int index);
    void windowLoaded();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    friend class tst_MainWindow;
    friend class tst_settingsAdminWindow;

    // Construction steps, in the order the constructor runs them.
    void createMotorDriver(settingsStore &settings);
    void connectWorkers();
    void connectStatusStrip();
    void connectRemoteTab();
    void connectManualTab();
    void createScriptExecutor();
    void connectScriptExecutor();
    void connectSettingsTab();
    void loadTeachIn(settingsStore &settings);
    void loadExternalFeedback(settingsStore &settings);
    void loadInputsAndOutputs(settingsStore &settings);
    void loadController(settingsStore &settings);
    void installTabRules();
    void testRealTimeClock();

    // Tab-change rules of each page.
    bool leaveManualTab();
    bool leaveRemoteTab();
    bool leaveSettingsTab();
    // The executor's connections that exist while the Script page is shown:
    // its requests to the drive and the window, the drive's reports to it.
    void connectScriptRun(bool bConnect);
    // The Script page's own part of them: its requests to the executor, the
    // executor's progress, diagram and end reports to it, its status texts.
    void connectScriptPage(bool bConnect);
    bool leaveScriptTab();
    // The Script page's permanent connections, made once at start.
    void connectScriptTab();

    // Stores the valve position with a forced write-back, unless it is still
    // unknown: an unknown position never replaces a stored one.
    void storePositionNow(settingsStore &settings);
    void storePosition(settingsStore &settings, int nPosition);
    // Position, running time, travel counter and "calibrate on start" synced,
    // "Shutdown" in the log, for every way down that does not close the window.
    void storeGoingDown();
    // Named like a slot of a "pushButton_4" the form does not have; kept out
    // of the slots so the form's connection by name does not warn at start.
    void on_pushButton_4_clicked();
    void handTeachInToUsers();

    Ui::MainWindow *ui;
    motorDriver *pMotorDriver;
    analogData *pAnalogData;
    lvTeachIn activeTeachIn;
    QString strTeachInFile;
    lvExternalFeedback extFeedback;
    QPointer<QThread> motorThread;
    scriptExecutor *pScriptExecutor;
    QPointer<QThread> scriptThread;
    // The executor's measuring requests, merged on their way to
    // onSetMeasurement() while the Script page is shown.
    scriptMeasuringRelay *pMeasuringRelay;
    QMetaEnum motorTypeEnum;
    qlvLogFile *pLogFile;
    // Holds nLastTab and bIgnoreNextTabChange of the tab-change rules.
    tabChangeRules tabRules;
    bool bMeasuring;
    bool bNewDataSaved;
    bool bSoftwareUpdated;
    int nRtcType;
    QString strNewDataFileName;
    // The start-up checks run for the first show only: a window restored by
    // the window system must not calibrate the valve again.
    bool bStartupChecksScheduled;
    bool bRestartRequested;
};

#endif // MAINWINDOW_H
