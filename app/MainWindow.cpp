#include "app/MainWindow.h"
#include "ui_MainWindow.h"

#include "app/formStatusWidget.h"
#include "app/qlvLogFile.h"
#include "app/qlvMessageBox.h"
#include "app/settingsKeyTable.h"
#include "app/startupChecks.h"
#include "app/updateCleanup.h"
#include "manual/formManualTab.h"
#include "remote/formRemoteTab.h"
#include "platform/processRunner.h"
#include "script/lvScript.h"
#include "remote/trafficRelay.h"
#include "script/scriptExecutor.h"
#include "valve/analogData.h"
#include "valve/motorDriver.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QKeyEvent>
#include <QPushButton>
#include <QSettings>
#include <QShowEvent>
#include <QThread>
#include <QTimer>

namespace {

// Tab indexes of the form.
enum { TAB_REMOTE = 0, TAB_MANUAL = 1, TAB_SCRIPT = 2, TAB_SETTINGS = 3 };

QString key(const char *psz)
{
    return QString::fromLatin1(psz);
}

// Every access to the store builds its own short-lived object.
class settingsStore : public QSettings
{
public:
    settingsStore()
        : QSettings(QString::fromLatin1(g_pszSettingsOrganisation), QString::fromLatin1(g_pszSettingsApplication))
    {
    }
};

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
    , pLogFile(nullptr)
    , bMeasuring(false)
    , bNewDataSaved(false)
    , bSoftwareUpdated(false)
    , nRtcType(0)
    , bStartupChecksScheduled(false)
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
    // The Settings page joins here once it is part of the window.
    connectManualTab();
    bMeasuring = false;

    createScriptExecutor();

    loadTeachIn(settings);
    loadExternalFeedback(settings);
    connectScriptExecutor();
    loadInputsAndOutputs(settings);
    loadController(settings);

    pAnalogData->init();
    pAnalogData->setSampling(pAnalogData->nSampling);
    pScriptExecutor->onSetExtFeedback(extFeedback);

    installTabRules();
    tabRules.bIgnoreNextTabChange = false;
    ui->tabWidget->setCurrentIndex(TAB_MANUAL);
    bNewDataSaved = false;

    if (nRtcType == 1)
        testRealTimeClock();
    qDebug() << "GUI-Thread: " << QThread::currentThreadId();
}

void MainWindow::createMotorDriver(QSettings &settings)
{
    settings.beginGroup(key("motor driver"));
    const QString strType = settings.value(key("type")).toString();
    qDebug() << "Settings, motor driver: " << strType;
    // A text that names no family (an empty one too) gives -1, which the
    // drive takes as a type without controller.
    const int nType = motorTypeEnum.keyToValue(strType.toLatin1().constData());
    pMotorDriver = new motorDriver(nullptr, nType);
    bCalibrateOnStart = settings.value(key("calibrate on start")).toBool();
    pMotorDriver->onSetContSpeed(settings.value(key("continious speed")).toInt());

    const portChoice port = motorPortAtStart(pMotorDriver->getMotorType(), settings.value(key("motor port")).toString());
    if (port.bWriteBack)
        settings.setValue(key("motor port"), port.strPort);
    pMotorDriver->connectMotorSerial(port.strPort);
    settings.endGroup();

    pMotorDriver->moveToThread(motorThread);
    motorThread->start();
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
    // The status strip's Stop also stops a running script once the Script
    // page is part of the window.
    connect(sw, &formStatusWidget::onWriteLog, pLogFile, &qlvLogFile::writeToLog);
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

void MainWindow::loadTeachIn(QSettings &settings)
{
    settings.beginGroup(key("teachIn"));
    strTeachInFile = settings.value(key("teachInFile")).toString();
    qDebug() << "Settings, teachIn file: " << strTeachInFile;
    settings.endGroup();
    activeTeachIn.readTeachInFromFile(strTeachInFile);

    ui->widgetManual->setTeachIn(&activeTeachIn);
    ui->widgetRemote->setTeachIn(&activeTeachIn);
    pMotorDriver->setTeachIn(&activeTeachIn);

    ui->widgetRemote->setAnalogData(pAnalogData);
    ui->widgetStatus->setAnalogData(pAnalogData);
    pMotorDriver->setAnalogData(pAnalogData);
}

void MainWindow::loadExternalFeedback(QSettings &settings)
{
    settings.beginGroup(key("external feedback"));
    lvSensor &sensor = extFeedback.sensor;
    sensor.strName = settings.value(key("sensor name")).toString();
    sensor.strDataName = settings.value(key("sensor data name")).toString();
    sensor.strFormula = settings.value(key("sensor formula")).toString();
    sensor.strUnit = settings.value(key("sensor unit")).toString();
    sensor.strInputMask = settings.value(key("sensor inputmask")).toString();
    extFeedback.dblPropValue = settings.value(key("Prop-Value")).toDouble();
    extFeedback.dblRelativeDifference = settings.value(key("Relative Difference")).toDouble();
    extFeedback.dblDiffValue = settings.value(key("Differential Value")).toDouble();
    extFeedback.dblIntValue = settings.value(key("Integral Value")).toDouble();
    extFeedback.nNumOfIntVal = settings.value(key("Integral Quantity")).toInt();
    extFeedback.dblCorrectSensitivity = settings.value(key("Correct Sensitivity Value")).toDouble();
    pMotorDriver->dblRelativeRecalc = settings.value(key("relative difference new calc")).toDouble();
    pMotorDriver->nRecalcTimes = settings.value(key("number of retries new calc")).toInt();
    const int nCurveUse = settings.value(key("curve use")).toInt();
    activeTeachIn.withLock([nCurveUse](lvTeachIn &teachIn) { teachIn.nCurveUse = nCurveUse; });
    settings.endGroup();

    ui->widgetManual->setExtFeedback(extFeedback);
    ui->widgetStatus->setExtFeedback(&extFeedback);
    pMotorDriver->extFeedback = extFeedback;
}

void MainWindow::loadInputsAndOutputs(QSettings &settings)
{
    settings.beginGroup(key("inputs"));
    pAnalogData->nSampling = settings.value(key("sampling")).toInt();
    for (int nInput = 0; nInput < 3; ++nInput) {
        const int nType = settings.value(inputKey(nInput, "type")).toInt();
        pAnalogData->setUpperBoundary(nInput, settings.value(inputKey(nInput, "upper boundary")).toDouble(),
                                      settings.value(inputKey(nInput, "upper boundary steps")).toInt(),
                                      settings.value(inputKey(nInput, "upper boundary action")).toInt());
        pAnalogData->setLowerBoundary(nInput, settings.value(inputKey(nInput, "lower boundary")).toDouble(),
                                      settings.value(inputKey(nInput, "lower boundary steps")).toInt(),
                                      settings.value(inputKey(nInput, "lower boundary action")).toInt());
        pAnalogData->setInputType(nInput, nType);
    }
    settings.endGroup();

    settings.beginGroup(key("outputs"));
    pAnalogData->nOutput1Config = settings.value(key("output1 config")).toInt();
    settings.endGroup();
}

void MainWindow::loadController(QSettings &settings)
{
    settings.beginGroup(key("controller"));
    pLogFile->setUptime(settings.value(key("uptime in sec")).toLongLong());
    pMotorDriver->setTotalSteps(settings.value(key("total steps")).toLongLong());

    const updateCleanupResult cleanup =
        runUpdateCleanup(settings.value(key("update cleanup")).toString(), QCoreApplication::applicationFilePath());
    bSoftwareUpdated = cleanup.bSoftwareUpdated;
    // Cleared at once, so the update is reported by exactly one start.
    settings.setValue(key("update cleanup"), QString());
    settings.sync();

    pAnalogData->nAnalogCardType = settings.value(key("Analog Card Type")).toInt();
    nRtcType = settings.value(key("RTC Type")).toInt();
    emit setLongPressTime(longPressTimeFromSetting(settings.value(key("long press time"))));

    const portChoice port = remotePortAtStart(pMotorDriver->getMotorType(), settings.value(key("remote port")).toString());
    pMotorDriver->setRemotePort(port.strPort);
    if (port.bWriteBack)
        settings.setValue(key("remote port"), port.strPort);
    settings.endGroup();
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
        bNewDataSaved = false;
    });
    tabRules.setLeaveRule(TAB_SCRIPT, [this] {
        connectScriptRun(false);
        return true;
    });
    // The Settings page adds its rules with its page.
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
        connect(se, &scriptExecutor::setMeasurement, this, &MainWindow::onSetMeasurement, Qt::UniqueConnection);
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
        disconnect(se, &scriptExecutor::setMeasurement, this, &MainWindow::onSetMeasurement);
        disconnect(se, &scriptExecutor::newDataSeved, this, &MainWindow::onNewDataSaved);
        disconnect(se, &scriptExecutor::connectPositionReached, this, &MainWindow::connectPositionReachedToScriptExec);
        disconnect(se, &scriptExecutor::connectDataReached, this, &MainWindow::connectDataReachedToScriptExec);
    }
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
    settingsStore settings;
    settings.beginGroup(key("motor driver"));
    const int nPosition = settings.value(key("position")).toInt();
    qDebug() << "read settings file, pos: " << nPosition;
    emit onForceMotorPosition(nPosition, false);
    settings.endGroup();
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
    // The Script page receives it here once it is part of the window.
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

    {
        settingsStore settings;
        settings.beginGroup(key("teachIn"));
        settings.setValue(key("teachInFile"), strName);
        settings.endGroup();
    }

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
    settingsStore settings;
    settings.beginGroup(key("motor driver"));
    const int nPosition = settings.value(key("position")).toInt();
    settings.endGroup();
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

void MainWindow::onDebugSendToMotor(QString strBuffer)
{
    pMotorDriver->strDebugData = strBuffer;
    // Runs in the motor thread: the drive hands a call from another thread over.
    pMotorDriver->readFromMotor();
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

void MainWindow::storePositionNow(QSettings &settings)
{
    const int nPosition = pMotorDriver->getMotorPosition();
    if (nPosition < 0)
        return;
    settings.beginGroup(key("motor driver"));
    settings.setValue(key("position"), nPosition);
    settings.endGroup();
    settings.sync();
}

void MainWindow::writeSettings()
{
    settingsStore settings;
    settings.beginGroup(key("motor driver"));
    const char *pszType = motorTypeEnum.valueToKey(pMotorDriver->getMotorType());
    settings.setValue(key("type"), pszType ? QString::fromLatin1(pszType) : QString());
    // An unknown position (no controller answered) never replaces a stored one.
    const int nPosition = pMotorDriver->getMotorPosition();
    if (nPosition >= 0)
        settings.setValue(key("position"), nPosition);
    settings.setValue(key("calibrate on start"), bCalibrateOnStart);
    settings.setValue(key("continious speed"), pMotorDriver->getContSpeed());
    settings.endGroup();

    settings.beginGroup(key("external feedback"));
    const lvSensor &sensor = extFeedback.sensor;
    settings.setValue(key("sensor name"), sensor.strName);
    settings.setValue(key("sensor data name"), sensor.strDataName);
    settings.setValue(key("sensor formula"), sensor.strFormula);
    settings.setValue(key("sensor unit"), sensor.strUnit);
    settings.setValue(key("sensor inputmask"), sensor.strInputMask);
    settings.setValue(key("Prop-Value"), extFeedback.dblPropValue);
    settings.setValue(key("Relative Difference"), extFeedback.dblRelativeDifference);
    settings.setValue(key("Differential Value"), extFeedback.dblDiffValue);
    settings.setValue(key("Integral Value"), extFeedback.dblIntValue);
    settings.setValue(key("Integral Quantity"), extFeedback.nNumOfIntVal);
    settings.setValue(key("Correct Sensitivity Value"), extFeedback.dblCorrectSensitivity);
    settings.setValue(key("relative difference new calc"), pMotorDriver->dblRelativeRecalc.load());
    settings.setValue(key("number of retries new calc"), pMotorDriver->nRecalcTimes.load());
    settings.endGroup();

    settings.beginGroup(key("teachIn"));
    settings.setValue(key("teachInFile"), strTeachInFile);
    settings.endGroup();

    settings.beginGroup(key("inputs"));
    settings.setValue(key("sampling"), pAnalogData->nSampling);
    for (int nInput = 0; nInput < 3; ++nInput) {
        settings.setValue(inputKey(nInput, "type"), pAnalogData->getInputType(nInput));
        settings.setValue(inputKey(nInput, "upper boundary"), pAnalogData->getUpperBoundaryValue(nInput));
        settings.setValue(inputKey(nInput, "upper boundary steps"), pAnalogData->getUpperBoundarySteps(nInput));
        settings.setValue(inputKey(nInput, "upper boundary action"), pAnalogData->getUpperBoundaryAction(nInput));
        settings.setValue(inputKey(nInput, "lower boundary"), pAnalogData->getLowerBoundaryValue(nInput));
        settings.setValue(inputKey(nInput, "lower boundary steps"), pAnalogData->getLowerBoundarySteps(nInput));
        settings.setValue(inputKey(nInput, "lower boundary action"), pAnalogData->getLowerBoundaryAction(nInput));
    }
    settings.endGroup();

    settings.beginGroup(key("outputs"));
    settings.setValue(key("output1 config"), pAnalogData->nOutput1Config);
    settings.endGroup();

    settings.beginGroup(key("remote"));
    settings.setValue(key("usb mode"), ui->widgetRemote->nUsbMode);
    settings.setValue(key("eth mode"), ui->widgetRemote->nEthMode);
    settings.setValue(key("eth address"), ui->widgetRemote->strEthAddress);
    settings.setValue(key("eth port"), ui->widgetRemote->nEthPort);
    settings.endGroup();

    settings.beginGroup(key("controller"));
    settings.setValue(key("uptime in sec"), pLogFile->updateUptime());
    settings.setValue(key("total steps"), pMotorDriver->getTotalSteps());
    settings.setValue(key("Analog Card Type"), pAnalogData->nAnalogCardType);
    settings.setValue(key("RTC Type"), nRtcType);
    settings.setValue(key("remote port"), pMotorDriver->getRemotePort());
    settings.endGroup();
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
    // The Settings and Script pages receive the window here once they are
    // part of it.
    ui->widgetRemote->pMainWindow = this;
    ui->widgetManual->pMainWindow = this;
    ui->widgetRemote->bWindowLoaded = true;

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

void MainWindow::onRequestShutdown(bool bReboot)
{
    {
        settingsStore settings;
        storePositionNow(settings);
        // A panel without keyboard goes down this way only, so the counters
        // and the calibration choice that closing the window stores are kept
        // here too.
        settings.beginGroup(key("controller"));
        settings.setValue(key("uptime in sec"), pLogFile->updateUptime());
        settings.setValue(key("total steps"), pMotorDriver->getTotalSteps());
        settings.endGroup();
        settings.beginGroup(key("motor driver"));
        settings.setValue(key("calibrate on start"), bCalibrateOnStart);
        settings.endGroup();
        settings.sync();
    }
    pLogFile->writeToLog(QStringLiteral("Shutdown"));
    processRunner::instance().executeCommandLine(bReboot ? QStringLiteral("sudo reboot")
                                                         : QStringLiteral("sudo shutdown -h now"));
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
}
