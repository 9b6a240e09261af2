#include "manual/formManualTab.h"
#include "ui_formManualTab.h"

#include "app/embeddedResources.h"
#include "app/onScreenKeyboard.h"
#include "app/qlvMessageBox.h"
#include "manual/formCurrentState.h"
#include "manual/plotClickText.h"
#include "manual/setValueConversion.h"
#include "valve/lvTeachIn.h"

#include <QIntValidator>

formManualTab::formManualTab(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::formManualTab)
{
    initEmbeddedResources();
    ui->setupUi(this);

    ui->lineEditSetDataValue->setKeyboardMode(KEYBOARD_KEYPAD);
    ui->lineEditSetSteps->setKeyboardMode(KEYBOARD_KEYPAD);
    ui->lineEditSetSteps->setValidator(new QIntValidator(50, 1024000, this));

    connect(ui->widgetCurrentState, SIGNAL(setDataFromClick(double)), this, SLOT(getDataFromPlotClick(double)));
    connect(ui->widgetCurrentState, SIGNAL(setStepsFromClick(int)), this, SLOT(getStepFromPlotClick(int)));
    connect(ui->widgetCurrentState, SIGNAL(setNewTeachIn(QString)), this, SLOT(onSetNewTeachIn(QString)));
    connect(&measureTimer, SIGNAL(timeout()), this, SLOT(measureTimerElapsed()));

    setRunning(false);
}

formManualTab::~formManualTab()
{
    delete ui;
}

formCurrentState *formManualTab::currentState() const
{
    return ui->widgetCurrentState;
}

void formManualTab::setRunning(bool bRunning)
{
    bSetDataRunning = bRunning;
    ui->pushBtnSetLeakrateGo->setEnabled(!bRunning);
    ui->pushBtnSetLeakrateStop->setEnabled(bRunning);
    for (QPushButton *pButton :
         {ui->pushBtnClose, ui->pushBtnFastClose, ui->pushBtnFasterClose, ui->pushBtnFasterOpen,
          ui->pushBtnFastOpen, ui->pushBtnOneStepClose, ui->pushBtnOneStepOpen, ui->pushBtnOpen,
          ui->pushBtnSetStepsGo, ui->pushBtnSetStepsStop})
        pButton->setEnabled(!bRunning);
}

void formManualTab::setTeachIn(lvTeachIn *pTeachInActive)
{
    pTeachIn = pTeachInActive;
    ui->widgetCurrentState->onDiagramMenuClearData();
    ui->widgetCurrentState->setTeachIn(pTeachIn);
    emit readPosition();
    emit clearMotorError();
}

void formManualTab::setExtFeedback(lvExternalFeedback feedback)
{
    extFeedback = feedback;
    ui->lblSetData->setText(tr("Set %1").arg(extFeedback.sensor.strDataName));
    ui->lblSetDataUnit->setText(extFeedback.sensor.strUnit);
    ui->lineEditSetDataValue->setInputMask(extFeedback.sensor.strInputMask);
}

void formManualTab::printDiagram()
{
    ui->widgetCurrentState->printDiagramm();
}

void formManualTab::getDataFromPlotClick(double dblData)
{
    ui->lineEditSetDataValue->setText(plotClickValueText(dblData, extFeedback.sensor.bExponential));
    emit setDataFromPlotClick(dblData);
}

void formManualTab::getStepFromPlotClick(int nStep)
{
    ui->lineEditSetSteps->setText(QString::number(nStep));
}

void formManualTab::setPositionSteps(int nPosSteps)
{
    Q_UNUSED(nPosSteps)
}

void formManualTab::setDataFromMeasurement(double plvTeachInData)
{
    dblActualData = plvTeachInData;
}

void formManualTab::onSetNewTeachIn(QString strTeachInFile)
{
    emit setNewTeachIn(strTeachInFile);
}

void formManualTab::stopSetData()
{
    on_pushBtnSetLeakrateStop_clicked();
}

void formManualTab::setLongPressTime(int pnLongPressTimeMs)
{
    ui->widgetCurrentState->setLongPressTime(pnLongPressTimeMs);
}

void formManualTab::on_pushBtnOneStepClose_clicked()
{
    emit onMinusPressed();
}

void formManualTab::on_pushBtnOneStepOpen_clicked()
{
    emit onPlusPressed();
}

void formManualTab::on_pushBtnFastOpen_pressed()
{
    emit onPlusContPressed(true, 5);
}

void formManualTab::on_pushBtnFastOpen_released()
{
    emit onPlusContPressed(false, 1);
}

void formManualTab::on_pushBtnFastClose_pressed()
{
    emit onMinusContPressed(true, 5);
}

void formManualTab::on_pushBtnFastClose_released()
{
    emit onMinusContPressed(false, 1);
}

void formManualTab::on_pushBtnOpen_clicked()
{
    emit onOpenClicked();
}

void formManualTab::on_pushBtnClose_clicked()
{
    emit onCloseClicked();
}

void formManualTab::on_pushBtnSetStepsGo_clicked()
{
    emit onGotoStepClicked(parseSetSteps(ui->lineEditSetSteps->text()));
}

void formManualTab::on_pushBtnSetStepsStop_clicked()
{
    emit onHaltClicked();
}

void formManualTab::on_pushBtnSetLeakrateStop_clicked()
{
    setRunning(false);
    emit setMeasurement(false);
    emit onHaltClicked();
}

void formManualTab::on_pushBtnSetLeakrateGo_clicked()
{
    setRunning(true);

    const std::optional<double> value = parseSetValue(ui->lineEditSetDataValue->text());
    if (value) {
        const int nSteps = pTeachIn ? pTeachIn->calcStepsFromData(*value, dblActualData, 0.0) : -1;
        emit onGotoLeakClicked(*value, nSteps);
        emit setMeasurement(true);
        return;
    }

    setRunning(false);
    // The tab is a page of the main window once pMainWindow is set, so its
    // top-level window is that main window.
    qlvMessageBox box(pMainWindow ? window() : nullptr);
    box.setText(tr("Number Conversion Error"));
    box.setInformativeText(tr("The data you set, could not be converted into a number. Probably you need to "
                              "adjust the input mask of the sensor. Hint: Ust decimal point not decimal comma."));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void formManualTab::onUpdateDiagram(lvTeachIn *pTeachInUpdated)
{
    emit updateDiagram(pTeachInUpdated);
}

void formManualTab::on_pushBtnFasterOpen_pressed()
{
    emit onPlusContPressed(true, 10);
}

void formManualTab::on_pushBtnFasterOpen_released()
{
    emit onPlusContPressed(false, 1);
}

void formManualTab::on_pushBtnFasterClose_pressed()
{
    emit onMinusContPressed(true, 10);
}

void formManualTab::on_pushBtnFasterClose_released()
{
    emit onMinusContPressed(false, 1);
}

void formManualTab::on_pushBtnMeasure_clicked()
{
}

void formManualTab::measureTimerElapsed()
{
    emit getAnalogValue();
}
