#include "app/MainWindow.h"
#include "ui_MainWindow.h"

#include "app/comboWidthFit.h"
#include "app/formStatusWidget.h"
#include "app/qlvLogFile.h"
#include "app/qlvMessageBox.h"
#include "valve/settingsStore.h"
#include "app/startupChecks.h"
#include "app/updateCleanup.h"
#include "manual/formCurrentState.h"
#include "manual/formManualTab.h"
#include "remote/formRemoteTab.h"
#include "remote/remoteLink.h"
#include "settings/formSettingsTab.h"
#include "platform/processRunner.h"
#include "script/formScriptTab.h"
#include "script/lvScript.h"
#include "remote/trafficRelay.h"
#include "script/scriptExecutor.h"
#include "script/scriptMeasuringRelay.h"
#include "script/scriptProgressRelay.h"
#include "valve/analogData.h"
#include "valve/motorDriver.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QThread>
#include <QTimer>

namespace {

// Tab indexes of the form.
enum { TAB_REMOTE = 0, TAB_MANUAL = 1, TAB_SCRIPT = 2, TAB_SETTINGS = 3 };

// The part after the last "/", then the part before the last "." of that.
QString teachInNameFromPath(const QString &strPath)
{
    QString strName = strPath.mid(strPath.lastIndexOf(QLatin1Char('/')) + 1);
    const int nDot = strName.lastIndexOf(QLatin1Char('.'));
    if (nDot >= 0)
        strName.truncate(nDot);
    return strName;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , bCalibrateOnStart(true)
    , ui(new Ui::MainWindow)
    , pMotorDriver(nullptr)
    , pAnalogData(nullptr)
    , pScriptExecutor(nullptr)
    , pMeasuringRelay(nullptr)
    , pLogFile(nullptr)
    , bMeasuring(false)
    , bNewDataSaved(false)
    , bSoftwareUpdated(false)
    , nRtcType(0)
    , bStartupChecksScheduled(false)
    , bRestartRequested(false)
{
    // The form leaves the Settings page current and connects the slots named
    // after its objects; its tab-change notifications come before that.
    ui->setupUi(this);

    pLogFile = new qlvLogFile(this);
    pLogFile->writeToLog(QStringLiteral("Application Started"));

    motorThread = new QThread(this);
    connect(motorThread, &QThread::finished, motorThread, &QObject::deleteLater);

    const QMetaObject &driverMeta = motorDriver::staticMetaObject;
    motorTypeEnum = driverMeta.enumerator(driverMeta.indexOfEnumerator("motorDriverType"));

    // One store object serves the whole construction.
    settingsStore settings;
    createMotorDriver(settings);

    pAnalogData = new analogData(this);

    connectWorkers();
    connectStatusStrip();
    connectRemoteTab();
    connectManualTab();
    connectSettingsTab();
    bMeasuring = false;

    createScriptExecutor();
    connectScriptTab();

    loadTeachIn(settings);
    loadExternalFeedback(settings);
    connectScriptExecutor();
    loadInputsAndOutputs(settings);
    loadController(settings);

    pAnalogData->init();
    pAnalogData->setSampling(pAnalogData->nSampling);
    pScriptExecutor->onSetExtFeedback(extFeedback);
    motorThread->start();

    // Every item of every combo is shown whole on the panel.
    for (QComboBox *pCombo : findChildren<QComboBox *>())
        comboWidthFit::fit(pCombo);

    installTabRules();
    tabRules.bIgnoreNextTabChange = false;
    ui->tabWidget->setCurrentIndex(TAB_MANUAL);
    bNewDataSaved = false;

    if (nRtcType == 1)
        testRealTimeClock();
    qDebug() << "GUI-Thread: " << QThread::currentThreadId();
}

void MainWindow::createMotorDriver(settingsStore &settings)
{
    const QString strType = settings.text(settingKey::MotorType);
    qDebug() << "Settings, motor driver: " << strType;
    // A text that names no family (an empty one too) gives -1, which the
    // drive takes as a type without controller.
    const int nType = motorTypeEnum.keyToValue(strType.toLatin1().constData());
    pMotorDriver = new motorDriver(nullptr, nType);
    pMotorDriver->setRemoteSide(new remoteLink(pMotorDriver));
    bCalibrateOnStart = settings.flag(settingKey::CalibrateOnStart);
    pMotorDriver->onSetContSpeed(settings.number(settingKey::ContinuousSpeed));

    const portChoice port = motorPortAtStart(pMotorDriver->getMotorType(), settings.text(settingKey::MotorPort));
    if (port.bWriteBack)
        settings.setValue(settingKey::MotorPort, port.strPort);
    pMotorDriver->connectMotorSerial(port.strPort);

    // Its thread starts once the window is joined to it and has handed it
    // its teach-in, sensor and limits (end of the constructor): a first
    // position report must not go out before anyone listens.
    pMotorDriver->moveToThread(motorThread);
}

void MainWindow::connectWorkers()
{
    motorDriver *md = pMotorDriver;
    connect(this, &MainWindow::initAnalog, pAnalogData, &analogData::init);
    connect(this, &MainWindow::stopMotorDriver, md, &motorDriver::stopCommunication);
    connect(this, &MainWindow::onForceMotorPosition, md, &motorDriver::forceMotorPosition);
    connect(md, &motorDriver::posAndStepsRead, this, &MainWindow::onPosAndStepsRead);
    connect(md, &motorDriver::setMeasurement, this, &MainWindow::onSetMeasurement);
    connect(this, &MainWindow::setOutput1Mode2Mot, md, &motorDriver::onSetOutput1Mode);
    connect(this, &MainWindow::setDataToMotor, md, &motorDriver::onMotorGotoLeak);
    connect(md, &motorDriver::shutdownRequest, this, &MainWindow::onRequestShutdown);
}

void MainWindow::connectStatusStrip()
{
    formStatusWidget *sw = ui->widgetStatus;
    motorDriver *md = pMotorDriver;
    connect(sw, &formStatusWidget::onStop, md, &motorDriver::onMotorHalt);
    // The status strip's Stop also stops a running script (connectScriptTab).
    connect(sw, &formStatusWidget::onWriteLog, pLogFile, &qlvLogFile::writeToLog);
    connect(sw, &formStatusWidget::storeShutdownState, this, &MainWindow::storeShutdownState);
    connect(md, &motorDriver::onWriteLog, pLogFile, &qlvLogFile::writeToLog);
    connect(sw, &formStatusWidget::onForceMotorPositionToGUI, this, &MainWindow::forceMotorPositionToGUI);
    connect(md, &motorDriver::setMotorPosition, sw, &formStatusWidget::setPosition);
    connect(md, &motorDriver::setMotorPositionSteps, sw, &formStatusWidget::setPositionSteps);
    connect(md, &motorDriver::setMotorPositionSteps, ui->widgetManual, &formManualTab::setPositionSteps);
    connect(md, &motorDriver::setMeasuredData, ui->widgetManual, &formManualTab::setDataFromMeasurement);
    connect(md, &motorDriver::setMotorStatus, sw, &formStatusWidget::setStatus);
    connect(md, &motorDriver::setMotorStatusCtrl, sw, &formStatusWidget::setStatusCtrl);
    connect(sw, &formStatusWidget::onCalibrate, md, &motorDriver::onMotorCalibrate);
    connect(sw, &formStatusWidget::onClearError, md, &motorDriver::clearMotorError);
    connect(this, &MainWindow::setMeaureData, md, &motorDriver::onSetMeasureData);
    connect(this, &MainWindow::closeKeyboard, sw, &formStatusWidget::onCloseKeyboard);
    connect(md, &motorDriver::onUpdateOutput1, sw, &formStatusWidget::onUpdateOutput1);
    connect(md, &motorDriver::onUpdateLimitSwitch, sw, &formStatusWidget::onUpdateLimitSwitch);
    connect(pAnalogData, &analogData::sampleInputs, sw, &formStatusWidget::onUpdateInputs);
}

void MainWindow::connectRemoteTab()
{
    formRemoteTab *rt = ui->widgetRemote;
    motorDriver *md = pMotorDriver;
    connect(rt, &formRemoteTab::connectRemoteUSB, md, &motorDriver::connectRemoteUSB);
    connect(rt, &formRemoteTab::disconnectRemoteUSB, md, &motorDriver::disconnectRemoteUSB);
    connect(rt, &formRemoteTab::disconnectRemoteEthernet, md, &motorDriver::disconnectRemoteEhternet);
    connect(rt, &formRemoteTab::connectRemoteEthernet, md, &motorDriver::connectRemoteEthernet);
    connect(rt, &formRemoteTab::sigClearDataReadMotor, md, &motorDriver::clearDataReadMotor);
    connect(rt, &formRemoteTab::sigClearDataReadPc, md, &motorDriver::clearDataReadPc);
    connect(rt, &formRemoteTab::sendDataUSB, md, &motorDriver::sendToMotor);
    // The traffic reaches the panes in batches, at most one waiting in the
    // GUI thread per pane side, however fast the master asks.
    auto *pPcTraffic = new trafficRelay(this);
    auto *pMotorTraffic = new trafficRelay(this);
    connect(md, &motorDriver::receivedFromPc, pPcTraffic, &trafficRelay::push, Qt::DirectConnection);
    connect(md, &motorDriver::receivedFromMotor, pMotorTraffic, &trafficRelay::push, Qt::DirectConnection);
    connect(pPcTraffic, &trafficRelay::delivered, rt, &formRemoteTab::receivedFromPc);
    connect(pMotorTraffic, &trafficRelay::delivered, rt, &formRemoteTab::receivedFromMotor);
    connect(rt, &formRemoteTab::getAnalogValue, pAnalogData, &analogData::onGetAnalogValue);
    // The analog and Modbus requests reach the drive queued and the window at
    // once, so the samples are joined before the drive enters its mode.
    connect(rt, &formRemoteTab::connectRemoteAnalog, md, &motorDriver::connectRemoteAnalog);
    connect(rt, &formRemoteTab::connectRemoteAnalog, this, &MainWindow::connectRemoteAnalog);
    connect(rt, &formRemoteTab::disconnectRemoteAnalog, md, &motorDriver::disconnectRemoteAnalog);
    connect(rt, &formRemoteTab::disconnectRemoteAnalog, this, &MainWindow::disconnectRemoteAnalog);
    connect(rt, &formRemoteTab::setNewTeachIn, this, &MainWindow::onSetNewTeachIn);
    connect(rt, &formRemoteTab::disconnectRemoteModbus, this, &MainWindow::disconnectRemoteModbus);
    connect(rt, &formRemoteTab::connectRemoteModbus, this, &MainWindow::connectRemoteModbus);
}

void MainWindow::connectManualTab()
{
    formManualTab *mt = ui->widgetManual;
    motorDriver *md = pMotorDriver;
    connect(mt, &formManualTab::onPlusPressed, md, &motorDriver::onMotorPlus);
    connect(mt, &formManualTab::onMinusPressed, md, &motorDriver::onMotorMinus);
    connect(mt, &formManualTab::onPlusContPressed, md, &motorDriver::onMotorPlusCont);
    connect(mt, &formManualTab::onMinusContPressed, md, &motorDriver::onMotorMinusCont);
    connect(mt, &formManualTab::onCloseClicked, md, &motorDriver::onMotorClose);
    connect(mt, &formManualTab::onOpenClicked, md, &motorDriver::onMotorOpen);
    connect(mt, &formManualTab::onGotoStepClicked, md, &motorDriver::onMotorGotoStep);
    connect(mt, &formManualTab::onGotoLeakClicked, md, &motorDriver::onMotorGotoLeak);
    connect(mt, &formManualTab::onHaltClicked, md, &motorDriver::onMotorHalt);
    connect(mt, &formManualTab::readPosition, md, &motorDriver::readPosition);
    connect(mt, &formManualTab::clearMotorError, md, &motorDriver::clearMotorError);
    connect(mt, &formManualTab::setMeasurement, this, &MainWindow::onSetMeasurement);
    connect(mt, &formManualTab::setNewTeachIn, this, &MainWindow::onSetNewTeachIn);
    connect(this, &MainWindow::stopSetDataManual, mt, &formManualTab::stopSetData);
}

void MainWindow::createScriptExecutor()
{
    scriptThread = new QThread(this);
    pScriptExecutor = new scriptExecutor(nullptr);
    pScriptExecutor->moveToThread(scriptThread);
    scriptThread->start();
    connect(this, &MainWindow::initScript, pScriptExecutor, &scriptExecutor::init);
    connect(pScriptExecutor, &scriptExecutor::stopFeedbackData, pMotorDriver, &motorDriver::onStopFeedback);
    pMeasuringRelay = new scriptMeasuringRelay(this);
    connect(pMeasuringRelay, &scriptMeasuringRelay::setMeasurement, this, &MainWindow::onSetMeasurement);
    // A script crosses into the script thread as the argument of a queued
    // signal; the Script page's selection is joined to setScript here.
    qRegisterMetaType<lvScript>("lvScript");
    emit initScript();
}

void MainWindow::connectScriptExecutor()
{
    scriptExecutor *se = pScriptExecutor;
    connect(se, &scriptExecutor::getAnalogValue, pAnalogData, &analogData::onGetAnalogValue);
    connect(pAnalogData, &analogData::setAnalogValue, se, &scriptExecutor::onGetAnalogValue);
    connect(pMotorDriver, &motorDriver::setMotorPosition, se, &scriptExecutor::onMotorPositionUpdated);
}

void MainWindow::connectSettingsTab()
{
    formSettingsTab *st = ui->widgetSettings;
    motorDriver *md = pMotorDriver;
    // The long-press time reaches the Script, Remote and Manual pages, in
    // that order.
    connect(st, &formSettingsTab::setLongPressTime, ui->widgetScript, &formScriptTab::setLongPressTime);
    connect(st, &formSettingsTab::setLongPressTime, ui->widgetRemote, &formRemoteTab::setLongPressTime);
    connect(st, &formSettingsTab::setLongPressTime, ui->widgetManual, &formManualTab::setLongPressTime);
    connect(st, &formSettingsTab::setOutput1Mode, this, &MainWindow::onSetOutput1Mode);
    connect(st, &formSettingsTab::setNewTeachIn, this, &MainWindow::onSetNewTeachIn);
    connect(st, &formSettingsTab::btnCalibrateClicked, md, &motorDriver::onMotorCalibrate);
    connect(st, &formSettingsTab::shutdownRequest, this, &MainWindow::onRequestShutdown);
    connect(st, &formSettingsTab::updateSensorData, this, &MainWindow::updateSensor);
    connect(st, &formSettingsTab::btnClearErrorClicked, md, &motorDriver::clearMotorError);
    connect(st, &formSettingsTab::setContSpeed, md, &motorDriver::onSetContSpeed);
    connect(st, &formSettingsTab::setDebug, this, &MainWindow::onDebug);
    // The page edits the window's analog inputs and feedback in place.
    st->setAnalogData(pAnalogData);
    st->setExtFeedback(&extFeedback);
}

void MainWindow::loadTeachIn(settingsStore &settings)
{
    strTeachInFile = settings.text(settingKey::TeachInFile);
    qDebug() << "Settings, teachIn file: " << strTeachInFile;
    activeTeachIn.readTeachInFromFile(strTeachInFile);

    ui->widgetManual->setTeachIn(&activeTeachIn);
    ui->widgetScript->setTeachIn(&activeTeachIn);
    ui->widgetRemote->setTeachIn(&activeTeachIn);
    pMotorDriver->setTeachIn(&activeTeachIn);

    ui->widgetRemote->setAnalogData(pAnalogData);
    ui->widgetStatus->setAnalogData(pAnalogData);
    pMotorDriver->setAnalogData(pAnalogData);
}

void MainWindow::loadExternalFeedback(settingsStore &settings)
{
    lvSensor &sensor = extFeedback.sensor;
    sensor.strName = settings.text(settingKey::SensorName);
    sensor.strDataName = settings.text(settingKey::SensorDataName);
    sensor.strFormula = settings.text(settingKey::SensorFormula);
    sensor.strUnit = settings.text(settingKey::SensorUnit);
    sensor.strInputMask = settings.text(settingKey::SensorInputMask);
    extFeedback.dblPropValue = settings.real(settingKey::PropValue);
    extFeedback.dblRelativeDifference = settings.real(settingKey::RelativeDifference);
    extFeedback.dblDiffValue = settings.real(settingKey::DifferentialValue);
    extFeedback.dblIntValue = settings.real(settingKey::IntegralValue);
    extFeedback.nNumOfIntVal = settings.number(settingKey::IntegralQuantity);
    extFeedback.dblCorrectSensitivity = settings.real(settingKey::CorrectSensitivity);
    pMotorDriver->dblRelativeRecalc = settings.real(settingKey::RelativeRecalc);
    pMotorDriver->nRecalcTimes = settings.number(settingKey::RecalcTimes);
    const int nCurveUse = settings.number(settingKey::CurveUse);
    activeTeachIn.withLock([nCurveUse](lvTeachIn &teachIn) { teachIn.nCurveUse = nCurveUse; });

    ui->widgetManual->setExtFeedback(extFeedback);
    ui->widgetStatus->setExtFeedback(&extFeedback);
    pMotorDriver->extFeedback = extFeedback;
}

void MainWindow::loadInputsAndOutputs(settingsStore &settings)
{
    pAnalogData->nSampling = settings.number(settingKey::Sampling);
    for (int nInput = 0; nInput < 3; ++nInput) {
        const int nType = settings.number(settingKey::InputType, nInput);
        pAnalogData->setUpperBoundary(nInput, settings.real(settingKey::UpperBoundary, nInput),
                                      settings.number(settingKey::UpperBoundarySteps, nInput),
                                      settings.number(settingKey::UpperBoundaryAction, nInput));
        pAnalogData->setLowerBoundary(nInput, settings.real(settingKey::LowerBoundary, nInput),
                                      settings.number(settingKey::LowerBoundarySteps, nInput),
                                      settings.number(settingKey::LowerBoundaryAction, nInput));
        pAnalogData->setInputType(nInput, nType);
    }
    pAnalogData->nOutput1Config = settings.number(settingKey::Output1Config);
}

void MainWindow::loadController(settingsStore &settings)
{
    pLogFile->setUptime(settings.bigNumber(settingKey::UptimeInSec));
    pMotorDriver->setTotalSteps(settings.bigNumber(settingKey::TotalSteps));

    const updateCleanupResult cleanup =
        runUpdateCleanup(settings.text(settingKey::UpdateCleanup), QCoreApplication::applicationFilePath());
    bSoftwareUpdated = cleanup.bSoftwareUpdated;
    // Cleared at once, so the update is reported by exactly one start.
    settings.setValue(settingKey::UpdateCleanup, QString());
    settings.sync();

    pAnalogData->nAnalogCardType = settings.number(settingKey::AnalogCardType);
    nRtcType = settings.number(settingKey::RtcType);
    emit setLongPressTime(longPressTimeFromSetting(settings.value(settingKey::LongPressTime)));

    const portChoice port = remotePortAtStart(pMotorDriver->getMotorType(), settings.text(settingKey::RemotePort));
    pMotorDriver->setRemotePort(port.strPort);
    if (port.bWriteBack)
        settings.setValue(settingKey::RemotePort, port.strPort);
}

void MainWindow::testRealTimeClock()
{
    processRunner &runner = processRunner::instance();
    runner.executeCommandLine(QStringLiteral("sudo /etc/init.d/pifacertc start"), 3000);
    const processRunner::result clock = runner.executeCommandLine(QStringLiteral("sudo hwclock"), 3000);
    if (clock.stdErr.contains("Cannot access"))
        ui->widgetStatus->setStatus(tr("Real Time Clock not working"));
}

// ---------------------------------------------------------------------------
// Tab changes

void MainWindow::installTabRules()
{
    tabRules.setLeaveRule(TAB_MANUAL, [this] { return leaveManualTab(); });
    tabRules.setLeaveRule(TAB_REMOTE, [this] { return leaveRemoteTab(); });
    tabRules.setEnterRule(TAB_REMOTE, [this] { ui->widgetRemote->readSettingsToGUI(); });
    tabRules.setEnterRule(TAB_SCRIPT, [this] {
        connectScriptRun(true);
        connectScriptPage(true);
        bNewDataSaved = false;
    });
    tabRules.setLeaveRule(TAB_SCRIPT, [this] { return leaveScriptTab(); });
    tabRules.setLeaveRule(TAB_SETTINGS, [this] { return leaveSettingsTab(); });
    tabRules.setEnterRule(TAB_SETTINGS, [this] { ui->widgetSettings->readSettingsToGUI(); });
}

void MainWindow::connectScriptRun(bool bConnect)
{
    scriptExecutor *se = pScriptExecutor;
    motorDriver *md = pMotorDriver;
    if (bConnect) {
        // Unique: entering the page again never doubles a connection, so no
        // report executes a command twice.
        connectPositionReachedToScriptExec(true);
        connectDataReachedToScriptExec(true);
        connect(se, &scriptExecutor::gotoPosAbs, md, &motorDriver::onMotorGotoStep, Qt::UniqueConnection);
        connect(se, &scriptExecutor::gotoPosRel, md, &motorDriver::onMotorGotoRelative, Qt::UniqueConnection);
        connect(se, &scriptExecutor::gotoData, this, &MainWindow::setData, Qt::UniqueConnection);
        // A loop switching measuring on and off asks millions of times: the
        // requests are merged on their way, what they do kept.
        pMeasuringRelay->follow(se, true);
        connect(se, &scriptExecutor::newDataSeved, this, &MainWindow::onNewDataSaved, Qt::UniqueConnection);
        connect(se, &scriptExecutor::connectPositionReached, this, &MainWindow::connectPositionReachedToScriptExec,
                Qt::UniqueConnection);
        connect(se, &scriptExecutor::connectDataReached, this, &MainWindow::connectDataReachedToScriptExec,
                Qt::UniqueConnection);
    } else {
        connectPositionReachedToScriptExec(false);
        connectDataReachedToScriptExec(false);
        disconnect(se, &scriptExecutor::gotoPosAbs, md, &motorDriver::onMotorGotoStep);
        disconnect(se, &scriptExecutor::gotoPosRel, md, &motorDriver::onMotorGotoRelative);
        disconnect(se, &scriptExecutor::gotoData, this, &MainWindow::setData);
        pMeasuringRelay->follow(se, false);
        disconnect(se, &scriptExecutor::newDataSeved, this, &MainWindow::onNewDataSaved);
        disconnect(se, &scriptExecutor::connectPositionReached, this, &MainWindow::connectPositionReachedToScriptExec);
        disconnect(se, &scriptExecutor::connectDataReached, this, &MainWindow::connectDataReachedToScriptExec);
    }
}

void MainWindow::connectScriptPage(bool bConnect)
{
    formScriptTab *st = ui->widgetScript;
    scriptExecutor *se = pScriptExecutor;
    formStatusWidget *sw = ui->widgetStatus;
    formCurrentState *cs = st->pCurrentState;
    if (bConnect) {
        connect(st, &formScriptTab::runScript, se, &scriptExecutor::processScript, Qt::UniqueConnection);
        // Direct: a chain of commands that never returns to the script
        // thread's event loop (a loop of immediate commands) would never see
        // a queued stop; stopScript() is safe from any thread.
        connect(st, &formScriptTab::stopScript, se, &scriptExecutor::stopScript,
                Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
        connect(st, &formScriptTab::cmdSet, se, &scriptExecutor::onSetCmd, Qt::UniqueConnection);
        connect(st, &formScriptTab::setStatusMsg, sw, &formStatusWidget::setStatus, Qt::UniqueConnection);
        // The progress reaches the page with at most one delivery waiting,
        // however fast a loop of immediate commands reports.
        st->progressRelay()->follow(se, true);
        connect(se, &scriptExecutor::finished, st, &formScriptTab::onScriptFinished, Qt::UniqueConnection);
        connect(se, &scriptExecutor::updateDiagramMeasure, st, &formScriptTab::onUpdateDiagramm,
                Qt::UniqueConnection);
        connect(se, &scriptExecutor::clearDiagram, st, &formScriptTab::onClearDiagramm, Qt::UniqueConnection);
        connect(se, &scriptExecutor::setDiagramName, cs, &formCurrentState::setDiagramName, Qt::UniqueConnection);
    } else {
        // What the relay holds still reaches the status strip and the log.
        st->progressRelay()->follow(se, false);
        disconnect(st, &formScriptTab::runScript, se, &scriptExecutor::processScript);
        disconnect(st, &formScriptTab::stopScript, se, &scriptExecutor::stopScript);
        disconnect(st, &formScriptTab::cmdSet, se, &scriptExecutor::onSetCmd);
        disconnect(st, &formScriptTab::setStatusMsg, sw, &formStatusWidget::setStatus);
        disconnect(se, &scriptExecutor::finished, st, &formScriptTab::onScriptFinished);
        disconnect(se, &scriptExecutor::updateDiagramMeasure, st, &formScriptTab::onUpdateDiagramm);
        disconnect(se, &scriptExecutor::clearDiagram, st, &formScriptTab::onClearDiagramm);
        disconnect(se, &scriptExecutor::setDiagramName, cs, &formCurrentState::setDiagramName);
    }
}

bool MainWindow::leaveScriptTab()
{
    formScriptTab *st = ui->widgetScript;
    // Unsaved edits: Save and Discard let the operator go, Cancel keeps
    // the page.
    if (st->isScriptChanged() && st->saveScript(-1) == 1)
        return false;
    connectScriptRun(false);
    connectScriptPage(false);
    ui->widgetStatus->setStatus(QStringLiteral("Script Tab changed"));
    if (!bNewDataSaved)
        return true;

    qlvMessageBox msgBox(this);
    msgBox.setText(tr("TeachIn Data changed"));
    msgBox.setInformativeText(tr("Do you want to set the new data file active?"));
    msgBox.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    msgBox.setDefaultButton(QMessageBox::Cancel);
    switch (msgBox.exec()) {
    case QMessageBox::Yes: {
        strTeachInFile = strNewDataFileName;
        activeTeachIn.readTeachInFromFile(strTeachInFile);
        handTeachInToUsers();
        bNewDataSaved = false;
        settingsStore settings;
        settings.setValue(settingKey::TeachInFile, strTeachInFile);
        return true;
    }
    case QMessageBox::No:
        // The page's diagram shows the active teach-in again instead of the
        // measurement.
        st->setTeachIn(&activeTeachIn);
        pMotorDriver->setTeachIn(&activeTeachIn);
        bNewDataSaved = false;
        return true;
    default:
        // Back to the page as it was, its connections made again.
        connectScriptRun(true);
        connectScriptPage(true);
        return false;
    }
}

void MainWindow::connectScriptTab()
{
    formScriptTab *st = ui->widgetScript;
    connect(ui->widgetStatus, &formStatusWidget::onStop, st, &formScriptTab::onScriptStop);
    connect(st, &formScriptTab::stopValve, pMotorDriver, &motorDriver::onMotorHalt);
    connect(st, &formScriptTab::scriptSelected, pScriptExecutor, &scriptExecutor::setScript);
    st->emitScriptSelected();
    connect(st, &formScriptTab::setNewTeachIn, this, &MainWindow::onSetNewTeachIn);
    connect(st, &formScriptTab::onWriteLog, pLogFile, &qlvLogFile::writeToLog);
    connect(this, &MainWindow::setLongPressTime, st, &formScriptTab::setLongPressTime);
}

bool MainWindow::leaveManualTab()
{
    if (ui->widgetManual->bSetDataRunning) {
        qlvMessageBox msgBox(this);
        msgBox.setText(tr("Set Data is running..."));
        msgBox.setInformativeText(tr("Do you want to stop it or return to the manual tab?"));
        QPushButton *pStop = msgBox.addButton(tr("Stop"), QMessageBox::YesRole);
        msgBox.addButton(tr("Return"), QMessageBox::NoRole);
        msgBox.exec();
        if (msgBox.clickedButton() != pStop)
            return false;
        emit stopSetDataManual();
        return true;
    }
    ui->widgetRemote->saveRemoteAnalogInput();
    return true;
}

bool MainWindow::leaveRemoteTab()
{
    // A serial or analog remote must be disconnected before the operator
    // leaves; an Ethernet link may stay while other tabs are used.
    if (ui->widgetRemote->isRemoteConnected()) {
        ui->widgetRemote->showRemoteConnectedWarning();
        return false;
    }
    ui->widgetRemote->saveRemoteAnalogInput();
    return true;
}

bool MainWindow::leaveSettingsTab()
{
    // A page holding a value that cannot be used is not saved; the operator
    // stays to correct it.
    if (!ui->widgetSettings->saveSettingsFromGUI())
        return false;
    const settingsStore settings;
    pMotorDriver->dblRelativeRecalc = settings.real(settingKey::RelativeRecalc);
    pMotorDriver->nRecalcTimes = settings.number(settingKey::RecalcTimes);
    pMotorDriver->setRemotePort(settings.text(settingKey::RemotePort));
    return true;
}

void MainWindow::on_tabWidget_currentChanged(int index)
{
    qDebug() << "Tab changed. Last Tab: " << tabRules.nLastTab << " new Tab: " << index;
    const tabChangeRules::outcome result =
        tabRules.onCurrentChanged(index, [this](int nBack) { ui->tabWidget->setCurrentIndex(nBack); });
    // Every page but the Script page pauses a running script.
    if (result == tabChangeRules::CHANGED && index != TAB_SCRIPT && pScriptExecutor)
        pScriptExecutor->stopScript();
}

// ---------------------------------------------------------------------------
// Slots

void MainWindow::onPosAndStepsRead()
{
    readSettings();
}

void MainWindow::readSettings()
{
    const int nPosition = settingsStore().number(settingKey::Position);
    qDebug() << "read settings file, pos: " << nPosition;
    emit onForceMotorPosition(nPosition, false);
}

void MainWindow::onSetMeasurement(bool pbMeasure)
{
    if (pbMeasure == bMeasuring)
        return;
    bMeasuring = pbMeasure;
    qDebug() << "onSetMeasurement(), bMeas: " << bMeasuring;
    emit setMeaureData(bMeasuring);
    if (bMeasuring)
        connect(pAnalogData, &analogData::setAnalogValue, pMotorDriver, &motorDriver::onGetAnalogValue,
                Qt::UniqueConnection);
    else
        disconnect(pAnalogData, &analogData::setAnalogValue, pMotorDriver, &motorDriver::onGetAnalogValue);
}

void MainWindow::setData(int nValue, int nRepeat, double dblActualData)
{
    // The script's two integers are thousandths.
    extFeedback.sensor.calcData(nValue / 1000.0, nRepeat / 1000.0);
    const double dblData = extFeedback.sensor.dblResult;
    qDebug() << "motorDriver setData, data=" << dblData << " act data: " << dblActualData;
    const int nSteps = activeTeachIn.calcStepsFromData(dblData, dblActualData, extFeedback.dblCorrectSensitivity);
    emit setDataToMotor(dblData, nSteps);
}

void MainWindow::handTeachInToUsers()
{
    ui->widgetManual->setTeachIn(&activeTeachIn);
    ui->widgetScript->setTeachIn(&activeTeachIn);
    ui->widgetRemote->setTeachIn(&activeTeachIn);
    pMotorDriver->setTeachIn(&activeTeachIn);
}

void MainWindow::onSetNewTeachIn(QString pstrTeachInFile)
{
    // Whatever folder the dialog chose, the file is read from the teach-in
    // folder below the working directory.
    const QString strName = teachInNameFromPath(pstrTeachInFile);
    strTeachInFile = strName;
    activeTeachIn.readTeachInFromFile(strName);
    handTeachInToUsers();

    settingsStore().setValue(settingKey::TeachInFile, strName);

    if (activeTeachIn.withLock([](const lvTeachIn &t) { return t.sensor.strName; }) != extFeedback.sensor.strName) {
        qlvMessageBox msgBox(this);
        msgBox.setText(tr("TeachIn - Inormation"));
        msgBox.setInformativeText(tr("Selected TeachIn file has different Sensor.\nTo select another one goto to "
                                     "Settings Tab or long press on the diagram."));
        msgBox.setStandardButtons(QMessageBox::Ok);
        msgBox.setDefaultButton(QMessageBox::Ok);
        msgBox.exec();
    }
}

void MainWindow::onNewDataSaved(QString strDataFileName)
{
    bNewDataSaved = true;
    strNewDataFileName = strDataFileName;
}

void MainWindow::onSetOutput1Mode(int pnOutputMode)
{
    emit setOutput1Mode2Mot(pnOutputMode);
}

void MainWindow::forceMotorPositionToGUI()
{
    const int nPosition = settingsStore().number(settingKey::Position);
    qDebug() << "onForceMotorPositionToGUI, pos: " << nPosition;
    emit onForceMotorPosition(nPosition, true);
}

void MainWindow::updateSensor()
{
    ui->widgetManual->setExtFeedback(extFeedback);
    ui->widgetStatus->setExtFeedback(&extFeedback);
    // Taken over under the executor's own lock, from the GUI thread.
    pScriptExecutor->onSetExtFeedback(extFeedback);
    pMotorDriver->extFeedback = extFeedback;
}

void MainWindow::onDebug(bool bDebug)
{
    formSettingsTab *st = ui->widgetSettings;
    motorDriver *md = pMotorDriver;
    md->bDebug = bDebug;
    if (bDebug) {
        connect(st, &formSettingsTab::setDebugAnalogValue, md, &motorDriver::onGetAnalogValue, Qt::UniqueConnection);
        connect(st, &formSettingsTab::setDebugData, this, &MainWindow::setData, Qt::UniqueConnection);
        connect(md, &motorDriver::debugSendToMotor, st, &formSettingsTab::setDebugMotorBuffer, Qt::UniqueConnection);
    } else {
        disconnect(st, &formSettingsTab::setDebugAnalogValue, md, &motorDriver::onGetAnalogValue);
        disconnect(st, &formSettingsTab::setDebugData, this, &MainWindow::setData);
        disconnect(md, &motorDriver::debugSendToMotor, st, &formSettingsTab::setDebugMotorBuffer);
    }
    emit setMeaureData(bDebug);
}

void MainWindow::onDebugSendToMotor(QString strBuffer)
{
    // A simulated reply is parsed only in debug mode, and in the drive's own
    // thread beside its other replies; it is taken once, so a later read of
    // the port does not parse it again.
    if (!pMotorDriver->bDebug)
        return;
    motorDriver *pDriver = pMotorDriver;
    QMetaObject::invokeMethod(
        pDriver,
        [pDriver, strBuffer] {
            if (!pDriver->bDebug)
                return;
            pDriver->strDebugData = strBuffer;
            pDriver->readFromMotor();
            pDriver->strDebugData = QString();
        },
        Qt::QueuedConnection);
}

void MainWindow::connectRemoteAnalog(int pnInput)
{
    Q_UNUSED(pnInput);
    // Unique: a second connect never makes every sample reach the drive twice.
    connect(pAnalogData, &analogData::sampleInputs, pMotorDriver, &motorDriver::onUpdateInputs, Qt::UniqueConnection);
}

void MainWindow::disconnectRemoteAnalog()
{
    disconnect(pAnalogData, &analogData::sampleInputs, pMotorDriver, &motorDriver::onUpdateInputs);
}

void MainWindow::connectRemoteModbus()
{
    connect(pAnalogData, &analogData::sampleInputs, pMotorDriver, &motorDriver::onUpdateInputs, Qt::UniqueConnection);
}

void MainWindow::disconnectRemoteModbus()
{
    disconnect(pAnalogData, &analogData::sampleInputs, pMotorDriver, &motorDriver::onUpdateInputs);
}

void MainWindow::connectPositionReachedToScriptExec(bool bConnect)
{
    if (bConnect)
        connect(pMotorDriver, &motorDriver::positionReached, pScriptExecutor, &scriptExecutor::processNextCommand,
                Qt::UniqueConnection);
    else
        disconnect(pMotorDriver, &motorDriver::positionReached, pScriptExecutor, &scriptExecutor::processNextCommand);
}

void MainWindow::connectDataReachedToScriptExec(bool bConnect)
{
    if (bConnect)
        connect(pMotorDriver, &motorDriver::reachedDataPoint, pScriptExecutor, &scriptExecutor::processNextCommand,
                Qt::UniqueConnection);
    else
        disconnect(pMotorDriver, &motorDriver::reachedDataPoint, pScriptExecutor,
                   &scriptExecutor::processNextCommand);
}

void MainWindow::on_pushButton_4_clicked()
{
    qDebug() << "Btn 4 clicked";
}

// ---------------------------------------------------------------------------
// Settings written on close

void MainWindow::storePositionNow(settingsStore &settings)
{
    storePosition(settings, pMotorDriver->getMotorPosition());
}

void MainWindow::storePosition(settingsStore &settings, int nPosition)
{
    if (nPosition < 0)
        return;
    settings.setValue(settingKey::Position, nPosition);
    settings.sync();
}

void MainWindow::writeSettings()
{
    settingsStore settings;
    const char *pszType = motorTypeEnum.valueToKey(pMotorDriver->getMotorType());
    settings.setValue(settingKey::MotorType, pszType ? QString::fromLatin1(pszType) : QString());
    // An unknown position (no controller answered) never replaces a stored one.
    const int nPosition = pMotorDriver->getMotorPosition();
    if (nPosition >= 0)
        settings.setValue(settingKey::Position, nPosition);
    settings.setValue(settingKey::CalibrateOnStart, bCalibrateOnStart);
    settings.setValue(settingKey::ContinuousSpeed, pMotorDriver->getContSpeed());

    const lvSensor &sensor = extFeedback.sensor;
    settings.setValue(settingKey::SensorName, sensor.strName);
    settings.setValue(settingKey::SensorDataName, sensor.strDataName);
    settings.setValue(settingKey::SensorFormula, sensor.strFormula);
    settings.setValue(settingKey::SensorUnit, sensor.strUnit);
    settings.setValue(settingKey::SensorInputMask, sensor.strInputMask);
    settings.setValue(settingKey::PropValue, extFeedback.dblPropValue);
    settings.setValue(settingKey::RelativeDifference, extFeedback.dblRelativeDifference);
    settings.setValue(settingKey::DifferentialValue, extFeedback.dblDiffValue);
    settings.setValue(settingKey::IntegralValue, extFeedback.dblIntValue);
    settings.setValue(settingKey::IntegralQuantity, extFeedback.nNumOfIntVal);
    settings.setValue(settingKey::CorrectSensitivity, extFeedback.dblCorrectSensitivity);
    settings.setValue(settingKey::RelativeRecalc, pMotorDriver->dblRelativeRecalc.load());
    settings.setValue(settingKey::RecalcTimes, pMotorDriver->nRecalcTimes.load());

    settings.setValue(settingKey::TeachInFile, strTeachInFile);

    settings.setValue(settingKey::Sampling, pAnalogData->nSampling);
    for (int nInput = 0; nInput < 3; ++nInput) {
        settings.setValue(settingKey::InputType, pAnalogData->getInputType(nInput), nInput);
        settings.setValue(settingKey::UpperBoundary, pAnalogData->getUpperBoundaryValue(nInput), nInput);
        settings.setValue(settingKey::UpperBoundarySteps, pAnalogData->getUpperBoundarySteps(nInput), nInput);
        settings.setValue(settingKey::UpperBoundaryAction, pAnalogData->getUpperBoundaryAction(nInput), nInput);
        settings.setValue(settingKey::LowerBoundary, pAnalogData->getLowerBoundaryValue(nInput), nInput);
        settings.setValue(settingKey::LowerBoundarySteps, pAnalogData->getLowerBoundarySteps(nInput), nInput);
        settings.setValue(settingKey::LowerBoundaryAction, pAnalogData->getLowerBoundaryAction(nInput), nInput);
    }
    settings.setValue(settingKey::Output1Config, pAnalogData->nOutput1Config);

    settings.setValue(settingKey::UsbMode, ui->widgetRemote->nUsbMode);
    settings.setValue(settingKey::EthMode, ui->widgetRemote->nEthMode);
    settings.setValue(settingKey::EthAddress, ui->widgetRemote->strEthAddress);
    settings.setValue(settingKey::EthPort, ui->widgetRemote->nEthPort);

    settings.setValue(settingKey::UptimeInSec, pLogFile->updateUptime());
    settings.setValue(settingKey::TotalSteps, pMotorDriver->getTotalSteps());
    settings.setValue(settingKey::AnalogCardType, pAnalogData->nAnalogCardType);
    settings.setValue(settingKey::RtcType, nRtcType);
    settings.setValue(settingKey::RemotePort, pMotorDriver->getRemotePort());
    qDebug() << "settings file: " << settings.fileName();
}

// ---------------------------------------------------------------------------
// Start-up checks, quitting and shutdown

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (bStartupChecksScheduled)
        return;
    bStartupChecksScheduled = true;
    QTimer::singleShot(50, this, &MainWindow::windowLoaded);
}

void MainWindow::windowLoaded()
{
    ui->widgetRemote->pMainWindow = this;
    ui->widgetManual->pMainWindow = this;
    ui->widgetScript->pMainWindow = this;
    ui->widgetRemote->bWindowLoaded = true;
    ui->widgetSettings->pMainWindow = this;
    ui->widgetSettings->bWindowLoaded = true;

    startupState state;
    state.bCleanShutdown = pLogFile->bCleanShutdown;
    state.strTeachInSensor = activeTeachIn.withLock([](const lvTeachIn &t) { return t.sensor.strName; });
    state.strActiveSensor = extFeedback.sensor.strName;
    state.bSoftwareUpdated = bSoftwareUpdated;
    state.bCalibrateOnStart = bCalibrateOnStart;
    bSoftwareUpdated = false;

    for (const startupStep step : startupSteps(state)) {
        QString strText;
        QString strInformation;
        switch (step) {
        case startupStep::UNEXPECTED_SHUTDOWN_BOX:
            strText = tr("Unexpected Shutdown");
            strInformation = tr("Valve was not shut down correctly. Probably due to Power loss. Make sure you always "
                                "shut down the valve by pressing the yellow Power-Off button on the uppern right "
                                "corner bfore turning power off by the physical Power-OFF button right to the touch "
                                "screen.");
            break;
        case startupStep::SENSOR_MISMATCH_BOX:
            strText = tr("TeachIn - Inormation");
            strInformation = tr("Selected TeachIn file has different Sensor.\nTo select another one goto to "
                                "Settings Tab or long press on the diagram.");
            break;
        case startupStep::UPDATE_BOX:
            strText = tr("Update");
            strInformation = tr("The software was updated successfully.");
            break;
        case startupStep::CALIBRATE:
            // The drive hands the call over to its own thread.
            pMotorDriver->onMotorCalibrate();
            continue;
        }
        qlvMessageBox msgBox(this);
        msgBox.setText(strText);
        msgBox.setInformativeText(strInformation);
        msgBox.setStandardButtons(QMessageBox::Ok);
        msgBox.setDefaultButton(QMessageBox::Ok);
        msgBox.exec();
    }
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    qDebug() << "key pressed";
    QMainWindow::keyPressEvent(event);
    if (event->key() == Qt::Key_Q && event->modifiers() == Qt::ControlModifier) {
        {
            settingsStore settings;
            storePositionNow(settings);
        }
        pLogFile->writeToLog(QStringLiteral("Application Quit"));
        close();
        qDebug() << "deleting Thread";
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    writeSettings();
    event->accept();
}

void MainWindow::storeGoingDown()
{
    storeShutdownState(pMotorDriver->getMotorPosition());
    pLogFile->writeToLog(QStringLiteral("Shutdown"));
}

void MainWindow::onRequestShutdown(bool bReboot)
{
    storeGoingDown();
    // The system ends the program; a command that never returns (sudo asking
    // for a password nobody types) must not hold the GUI for ever.
    processRunner::instance().executeCommandLine(bReboot ? QStringLiteral("sudo reboot")
                                                         : QStringLiteral("sudo shutdown -h now"),
                                                 60000);
}

void MainWindow::restartProgram()
{
    // Goes down like a shutdown, without writing the window's settings: what
    // the store holds now (an import included) is what the new instance reads.
    storeGoingDown();
    bRestartRequested = true;
    QCoreApplication::quit();
}

// A panel without keyboard goes down by power-off only (the status strip's
// button or the settings page), so the counters and the calibration choice
// that closing the window stores are kept on that way too.
void MainWindow::storeShutdownState(int nPosition)
{
    settingsStore settings;
    storePosition(settings, nPosition);
    settings.setValue(settingKey::UptimeInSec, pLogFile->updateUptime());
    settings.setValue(settingKey::TotalSteps, pMotorDriver->getTotalSteps());
    settings.setValue(settingKey::CalibrateOnStart, bCalibrateOnStart);
    settings.sync();
}

MainWindow::~MainWindow()
{
    qDebug() << "deleting mainwindow";
    // The drive reads the analog inputs and the teach-in from its own thread,
    // so its tick is stopped and its thread ended before anything it reads
    // goes away; the analog inputs go last.
    if (pMotorDriver) {
        emit stopMotorDriver();
        if (motorThread && motorThread->isRunning()) {
            // Queued behind the stop: the drive is deleted in its own thread
            // (at the latest when the thread ends), with its ports and timer.
            motorDriver *pDriver = pMotorDriver;
            QMetaObject::invokeMethod(
                pDriver,
                [pDriver] {
                    pDriver->deleteLater();
                    QThread::currentThread()->quit();
                },
                Qt::QueuedConnection);
            motorThread->wait();
        } else {
            delete pMotorDriver;
        }
        pMotorDriver = nullptr;
    }
    delete motorThread;

    if (pScriptExecutor) {
        // A chain of commands running in the script thread ends at once.
        pScriptExecutor->stopScript();
        if (scriptThread && scriptThread->isRunning()) {
            // Deleted in its own thread, where its wait timer lives.
            scriptExecutor *pExec = pScriptExecutor;
            QMetaObject::invokeMethod(
                pExec,
                [pExec] {
                    pExec->deleteLater();
                    QThread::currentThread()->quit();
                },
                Qt::QueuedConnection);
            scriptThread->wait();
        } else {
            delete pScriptExecutor;
        }
        pScriptExecutor = nullptr;
    }
    delete scriptThread;

    delete pAnalogData;
    pAnalogData = nullptr;
    delete ui;

    // The drive and its ports are gone: the new instance can open them.
    if (bRestartRequested)
        processRunner::instance().startDetached(QCoreApplication::applicationFilePath(), {});
}
