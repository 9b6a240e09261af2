#include "app/formStatusWidget.h"

#include "ui_formStatusWidget.h"

#include "app/embeddedResources.h"
#include "app/labelWidthReserve.h"
#include "app/mustCalibrateText.h"
#include "app/qlvMessageBox.h"
#include "app/statusStripTexts.h"
#include "platform/processRunner.h"
#include "platform/systemClock.h"
#include "valve/analogData.h"
#include "valve/lvExternalFeedback.h"
#include "valve/lvFormulaEvaluator.h"

#include <QAction>
#include <QCursor>
#include <QDebug>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWhatsThis>

namespace {

const char *const szMeasureLook = "QLabel { background-color: rgba(0, 80, 58, 128); }";
const char *const szIdleLook = "QLabel { background-color: #323232; }";
const char *const szBlinkLook = "QLabel { background-color: rgba(0, 80, 58, 128); border: 2px solid rgba(255, 234, 0, 200);}";

QStringList bothForms(const QString &strPlain, const QString &strTranslated)
{
    QStringList list{strPlain};
    if (strTranslated != strPlain)
        list << strTranslated;
    return list;
}

double inputByIndex(int nIndex, double dbl0, double dbl1, double dbl2)
{
    switch (nIndex) {
    case 0: return dbl0;
    case 1: return dbl1;
    case 2: return dbl2;
    default: return 0.0;
    }
}

} // namespace

formStatusWidget::formStatusWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_formStatusWidget)
{
    initEmbeddedResources();
    ui->setupUi(this);

    ui->lblPosName->strAction1 = QStringLiteral("Calibrate");
    connect(ui->lblPosName, &qLvLabel::startAction1, this, &formStatusWidget::on_pushBtnCalibrate_clicked);
    connect(ui->lblPosName, SIGNAL(startAction2()), this, SLOT(statForceMotorPositionToGUI()));

    ui->lblStatus->strAction1 = tr("Clear Error");
    ui->lblStatus->strAction2 = tr("Show Full Status");
    connect(ui->lblStatus, &qLvLabel::startAction1, this, &formStatusWidget::on_pushBtnClearError_clicked);
    connect(ui->lblStatus, SIGNAL(startAction2()), this, SLOT(onShowFullStatus()));

    ui->lblClock->strAction1 = tr("Play Simulate");
    connect(ui->lblClock, SIGNAL(startAction1()), this, SLOT(slotClockStartSimulate()));

    updateClock();
    timerClock = new QTimer(this);
    connect(timerClock, SIGNAL(timeout()), this, SLOT(updateClock()));
    timerClock->start(60000);

    ui->lblStatusCtrl->hide();

    // The form sizes these labels for its placeholders; a fully open valve
    // ("1,000,000" with its group separators) and a 10 V input need more.
    labelWidthReserve::reserve(ui->lblPos, positionText(1000000));
    for (QLabel *pInput : {ui->lblInput1Value, ui->lblInput2Value, ui->lblInput3Value})
        labelWidthReserve::reserve(pInput, inputVoltText(10.0));
    // The widest value a sensor presents: a sign and three exponent digits.
    labelWidthReserve::reserve(ui->lblSensorData, formatSensorResult(-8.88e307, true));
    // A running script's line above the drive's first two lines; the strip
    // grows to hold them.
    labelWidthReserve::reserveLines(ui->lblStatus, 3, this);
    // On a full strip the buttons give up their side padding before a value
    // is cut; their icons stay whole.
    for (QPushButton *pButton : {ui->pushButtonVarnix, ui->pushBtnStop, ui->pushBtnIO})
        pButton->setMinimumWidth(pButton->iconSize().width() + 4);
}

formStatusWidget::~formStatusWidget()
{
    if (procAssistant && procAssistant->isRunning()) {
        procAssistant->terminate();
        procAssistant->waitForFinished(3000);
    }
    delete procAssistant;
    delete procSimulate;
    delete ui;
}

QWidget *formStatusWidget::boxParent()
{
    QWidget *pParent = parentWidget();
    if (pParent && pParent->parentWidget())
        return pParent->parentWidget();
    return window();
}

void formStatusWidget::setExtFeedback(lvExternalFeedback *pFeedback)
{
    pExtFeedback = pFeedback;
    if (!pExtFeedback)
        return;
    ui->lblDataName->setText(pExtFeedback->sensor.strDataName);
    ui->lblDataUnit->setText(pExtFeedback->sensor.strUnit);
}

void formStatusWidget::setAnalogData(analogData *pData)
{
    pAnalogData = pData;
}

void formStatusWidget::setPosition(int nPos)
{
    ui->lblPos->setText(positionText(nPos));
    nPosition = nPos;
}

void formStatusWidget::setPositionSteps(int nPosSteps)
{
    ui->lblSteps->setText(QString::number(nPosSteps));
}

statusMarkers formStatusWidget::markers() const
{
    statusMarkers m;
    m.listScript = bothForms(QStringLiteral("Script"), tr("Script"));
    m.listTabChanged = bothForms(QStringLiteral("Script Tab changed"), tr("Script Tab changed"));
    m.listRtc = bothForms(QStringLiteral("Real Time Clock not working"), tr("Real Time Clock not working"));
    m.strRtc = tr("Real Time Clock not working");
    m.strScriptRtcSuffix = tr("\nReal Time Clock not working");
    return m;
}

QStringList formStatusWidget::mustCalibrateMarkers() const
{
    return bothForms(QStringLiteral("Must Calibrate"), tr("Must Calibrate"));
}

void formStatusWidget::setStatus(QString strStatus)
{
    const bool bMustCalibrate = containsAnyOf(strStatus, mustCalibrateMarkers());
    if (!bMustCalibrate)
        ui->lblPosName->strAction2.clear();

    // Shown and logged before the question, so that a status arriving while
    // the question is open is not overwritten afterwards by this older one.
    texts = applyStatusText(texts, strStatus, markers());
    ui->lblStatus->setText(statusLabelText(texts));
    emit onWriteLog(strStatus);

    if (bMustCalibrate && !bCalibrateQuestionOpen)
        askMustCalibrate(strStatus);
}

void formStatusWidget::askMustCalibrate(const QString &strStatus)
{
    const mustCalibrateValues values = parseMustCalibrate(strStatus);

    qlvMessageBox box(boxParent());
    box.setText(tr("Motor Position differs"));
    box.setInformativeText(tr("Do you want to force the stored position to the valve or calibrate "
                              "(=valve moves to close position)?\nMotor Position = %1\nSettings Position = %2")
                               .arg(values.strMotor, values.strSettings));
    QPushButton *pForce = box.addButton(tr("Force"), QMessageBox::YesRole);
    box.addButton(tr("Calibrate"), QMessageBox::NoRole);

    QPointer<formStatusWidget> pSelf(this);
    bCalibrateQuestionOpen = true;
    box.exec();
    if (!pSelf)
        return;
    bCalibrateQuestionOpen = false;

    if (box.clickedButton() == pForce)
        emit onForceMotorPositionToGUI();
    else
        emit onCalibrate();
}

void formStatusWidget::setStatusCtrl(int nStatusCtrl)
{
    ui->lblStatusCtrl->setText(statusCtrlText(nStatusCtrl));
}

void formStatusWidget::statForceMotorPositionToGUI()
{
    emit onForceMotorPositionToGUI();
}

void formStatusWidget::setMeasureGUI(bool bMeasure)
{
    bMeasuring = bMeasure;
    const QString strLook = QString::fromLatin1(bMeasure ? szMeasureLook : szIdleLook);
    ui->lblDataName->setStyleSheet(strLook);
    ui->lblDataUnit->setStyleSheet(strLook);
    ui->lblSensorData->setStyleSheet(strLook);
    ui->widgetPosAndSteps->setStyleSheet(strLook);
}

void formStatusWidget::on_pushBtnStop_clicked()
{
    qDebug() << "on stop";
    emit onStop();
}

void formStatusWidget::on_pushBtnCalibrate_clicked()
{
    qDebug() << "calibrate";
    emit onCalibrate();
}

void formStatusWidget::on_pushBtnClearError_clicked()
{
    emit onClearError();
}

void formStatusWidget::onCloseKeyboard()
{
}

void formStatusWidget::onUpdateInputs(double dblInput1, double dblInput2, double dblInput3)
{
    ui->lblInput1Value->setText(inputVoltText(dblInput1));
    ui->lblInput2Value->setText(inputVoltText(dblInput2));
    ui->lblInput3Value->setText(inputVoltText(dblInput3));

    // Samples may arrive before the main window has handed over both objects.
    if (!pAnalogData || !pExtFeedback)
        return;

    const double val1 = inputByIndex(pAnalogData->getFeedbackInput1(), dblInput1, dblInput2, dblInput3);
    const double val2 = inputByIndex(pAnalogData->getFeedbackInput2(), dblInput1, dblInput2, dblInput3);
    pExtFeedback->sensor.calcData(val1, val2);
    ui->lblSensorData->setText(pExtFeedback->sensor.strResult);

    if (bMeasuring) {
        QTimer::singleShot(100, this, SLOT(onBlinkData()));
        ui->lblSensorData->setStyleSheet(QString::fromLatin1(szBlinkLook));
    }
}

void formStatusWidget::onUpdateOutput1(bool pbIsOn)
{
    ui->lblOutputValue->setText(output1Text(pbIsOn));
}

void formStatusWidget::onUpdateLimitSwitch(bool pbIsOn)
{
    ui->lblLimitSwitchValue->setText(limitSwitchText(pbIsOn));
}

void formStatusWidget::on_pushBtnIO_clicked()
{
    qlvMessageBox box(boxParent());
    box.setText(tr("Shutdown"));
    box.setInformativeText(tr("Do you want to shutdown the valve?"));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);

    QPointer<formStatusWidget> pSelf(this);
    const int nAnswer = box.exec();
    if (!pSelf || nAnswer != QMessageBox::Yes)
        return;

    // Handled at once (same thread), so everything is stored before the log
    // line and the shutdown; a position of -1 keeps the stored one.
    emit storeShutdownState(nPosition);
    emit onWriteLog(QStringLiteral("Shutdown"));
    processRunner::instance().executeCommandLine(QStringLiteral("sudo shutdown -h now"));
}

void formStatusWidget::on_pushButtonVarnix_clicked()
{
    QPointer<QMenu> pMenu = new QMenu(this);
    menuHelp = pMenu;
    actionWhatsThis = new QAction(tr("What's This"), pMenu);
    actionHelp = new QAction(tr("Help"), pMenu);
    pMenu->addAction(actionWhatsThis);
    pMenu->addAction(actionHelp);
    connect(actionWhatsThis, SIGNAL(triggered()), this, SLOT(slotWhatsThis()));
    connect(actionHelp, SIGNAL(triggered()), this, SLOT(slotHelp()));

    pMenu->exec(QCursor::pos());
    // Each press builds its own menu; the closed one goes.
    if (pMenu) {
        menuHelp = nullptr;
        actionHelp = actionWhatsThis = nullptr;
        pMenu->deleteLater();
    }
}

void formStatusWidget::on_lblPosName_linkActivated(QString link)
{
    Q_UNUSED(link)
    qDebug() << "on_lblPosName_linkActivated";
}

void formStatusWidget::on_widget_customContextMenuRequested(QPoint pos)
{
    Q_UNUSED(pos)
    qDebug() << "on_widget_customContextMenuRequested";
}

void formStatusWidget::slotWhatsThis()
{
    QWhatsThis::enterWhatsThisMode();
}

void formStatusWidget::slotHelp()
{
    if (procAssistant && procAssistant->isRunning())
        return;
    delete procAssistant;
    procAssistant = nullptr;

    const QString strWorkDir = QDir::currentPath();
    const QString strProgram = strWorkDir + QDir::separator() + QStringLiteral("assistant");
    const QStringList args{QStringLiteral("-collectionFile"), strWorkDir + QStringLiteral("/help/kfxZENTU.qhc")};

    procAssistant = processRunner::instance().start(strProgram, args);
    if (!procAssistant->isRunning()) {
        delete procAssistant;
        procAssistant = nullptr;
        QMessageBox::critical(this, tr("kfxZENTU"), tr("Could not start Qt Assistant from %1.").arg(strProgram),
                              QMessageBox::Ok);
    }
}

void formStatusWidget::slotShowKeyboard()
{
    procKeyboard.startBeside(KEYBOARD_FULL, this);
}

void formStatusWidget::onShowFullStatus()
{
    qlvMessageBox box(boxParent());
    box.setText(QStringLiteral("Full Status"));
    box.setInformativeText(ui->lblStatus->text());
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void formStatusWidget::updateClock()
{
    ui->lblClock->setText(systemClock::instance().now().toString(QStringLiteral("hh:mm")));
}

void formStatusWidget::onBlinkData()
{
    ui->lblSensorData->setStyleSheet(QString::fromLatin1(szMeasureLook));
}

void formStatusWidget::slotClockStartSimulate()
{
    // Runs beside the GUI: waiting for the script would freeze the panel,
    // Stop button included, for as long as the script runs.
    if (procSimulate && procSimulate->isRunning())
        return;
    delete procSimulate;
    procSimulate = processRunner::instance().startCommandLine(
        QStringLiteral("python /home/pi/python_games/simulate.py"));
}
