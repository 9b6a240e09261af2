#include "settings/formSettingsTab.h"
#include "ui_formSettingsTab.h"

#include "app/MainWindow.h"
#include "app/fixedPlaceFit.h"
#include "app/labelWidthReserve.h"
#include "app/qlvMessageBox.h"
#include "settings/debugPageValues.h"
#include "settings/lvSensorDlg.h"
#include "settings/panelAdministration.h"
#include "valve/analogData.h"
#include "valve/lvExternalFeedback.h"
#include "valve/sensorFolder.h"
#include "valve/serialPortNames.h"
#include "valve/settingsFieldRules.h"
#include "valve/settingsStore.h"

#include <QColorDialog>
#include <QDebug>
#include <QDir>
#include <QDoubleValidator>
#include <QFileInfo>
#include <QIntValidator>
#include <QSignalBlocker>

namespace {

constexpr double g_dblProgramVersion = 1.03;

} // namespace

formSettingsTab::formSettingsTab(QWidget *parent)
    : QWidget(parent)
    , pMainWindow(nullptr)
    , bWindowLoaded(false)
    , ui(new Ui::formSettingsTab)
    , pAnalogData(nullptr)
    , pExtFeedback(nullptr)
    , bFilling(false)
    , bPortsListed(false)
    , bDebugOn(false)
{
    ui->setupUi(this);

    ui->lineEditSampling->setValidator(new QIntValidator(0, 60000, this));
    ui->lineEditDiffValue->setValidator(new QDoubleValidator(-10000, 10000, 2, this));
    ui->lineEditIntValue->setValidator(new QDoubleValidator(-10000, 10000, 2, this));
    ui->lineEditPropValue->setValidator(new QDoubleValidator(-10000, 10000, 2, this));
    ui->lineEditRelativeDifference->setValidator(new QDoubleValidator(-1, 1, 2, this));
    ui->lineEditRelativeRecalc->setValidator(new QDoubleValidator(-1, 1, 2, this));
    ui->lineEditContSpeed->setValidator(new QIntValidator(1, 100, this));
    ui->lineEditNumOfIntVal->setValidator(new QIntValidator(1, 50, this));
    for (qLvLineEdit *pField : {ui->lineEditSampling, ui->lineEditDiffValue, ui->lineEditIntValue,
                                ui->lineEditPropValue, ui->lineEditRelativeDifference, ui->lineEditRelativeRecalc,
                                ui->lineEditContSpeed, ui->lineEditNumOfIntVal})
        pField->setKeyboardMode(KEYBOARD_KEYPAD);

    // The test page is opened by no control of the program.
    ui->comboBox->removeItem(3);
    // The two computed fields of the test page show the sensor's value as it
    // is and are read back as the actual value: their mask would cut "1.75"
    // to "1.75E" (read back as 0) and cannot hold "3e-09" at all.
    ui->lineEditDebugData->setInputMask(QString());
    ui->lineEditDebugSetpoint->setInputMask(QString());
    astrDebugInputSent[0] = ui->lineEditDebugInput1->text();
    astrDebugInputSent[1] = ui->lineEditDebugInput2->text();
    astrDebugInputSent[2] = ui->lineEditDebugInput3->text();

    // Switching between two entries of the same name changes no text.
    connect(ui->cmbFeedbackType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this] { showCurrentSensor(); });
    readSensorData();
    readSettingsToGUI();
    ui->stackedWidget->setCurrentIndex(0);

    for (const QString &strPort : availableSerialPortNames()) {
        ui->cmbBoxMotorPort->addItem(strPort);
        // The panel's own UART is the controller's line, never the PC's.
        if (strPort != QLatin1String("ttyAMA0"))
            ui->cmbBoxRemotePort->addItem(strPort);
    }
    bPortsListed = true;
    {
        const settingsStore settings;
        showStoredMotorPort(settings);
        showStoredRemotePort(settings);
    }

    // Filled quietly, then set to the stored language: filling the list is
    // not the operator's choice and must not replace it.
    const QDir languages(QDir::currentPath() + QStringLiteral("/languages"));
    {
        const QSignalBlocker quiet(ui->cmbBoxLanguage);
        for (const QString &strFile :
             languages.entryList(QStringList{QStringLiteral("*.ts")}, QDir::Files, QDir::Unsorted))
            ui->cmbBoxLanguage->addItem(strFile);
        const int nLanguage = ui->cmbBoxLanguage->findText(settingsStore().text(settingKey::LanguageFile));
        if (nLanguage >= 0)
            ui->cmbBoxLanguage->setCurrentIndex(nLanguage);
    }

    ui->pushBtnChooseColorOpenGraph->hide();
    ui->widgetColorOpenGraph->hide();
    fitFixedPlaces();
}

void formSettingsTab::fitFixedPlaces()
{
    // The fixed rows of the valve page hold captions and combos at the
    // panel's font that need more than the rows' drawn width (the port row,
    // the language row with its file names): the rows widen into the free
    // room right of them.
    for (QWidget *pRow : {ui->layoutWidget, ui->layoutWidget1, ui->layoutWidget2, ui->layoutWidget3})
        fixedPlaceFit::growToLayout(pRow);
    // The test page's captions grow to their texts; one with its field right
    // behind it grows to the left. The page on the panel is narrower than the
    // form's: the input fields at its right edge end there.
    for (QLabel *pCaption : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7,
                             ui->label_8})
        labelWidthReserve::reserve(pCaption, pCaption->text());
    labelWidthReserve::reserve(ui->label_9, ui->label_9->text(), ui->lineEditDebugmotDriveCMD);
    for (QWidget *pField : {ui->lineEditDebugInput1, ui->lineEditDebugInput2, ui->lineEditDebugInput3})
        fixedPlaceFit::keepInsideParent(pField);
}

formSettingsTab::~formSettingsTab()
{
    delete ui;
}

// ---------------------------------------------------------------------------
// Filling and saving the page

void formSettingsTab::readSettingsToGUI()
{
    // The combos set below run their slots; the feedback-input ones must not
    // save a half-filled page over the store.
    bFilling = true;
    const settingsStore settings;

    ui->lineEditDataFile->setText(settings.text(settingKey::TeachInFile));
    ui->lineEditDataFile->setKeyboardMode(KEYBOARD_NONE);

    const QString strSensorName = settings.text(settingKey::SensorName);
    int nSensor = ui->cmbFeedbackType->findText(strSensorName);
    if (nSensor < 0 && !strSensorName.isEmpty()) {
        // The active sensor is defined in the store; without a file of its
        // own it is still listed, or the next save would give its formula
        // the name of whichever sensor the list showed.
        lvSensor active;
        active.strName = strSensorName;
        active.strDataName = settings.text(settingKey::SensorDataName);
        active.strFormula = settings.text(settingKey::SensorFormula);
        active.strUnit = settings.text(settingKey::SensorUnit);
        active.strInputMask = settings.text(settingKey::SensorInputMask);
        sensorList.append(active);
        ui->cmbFeedbackType->addItem(strSensorName);
        nSensor = ui->cmbFeedbackType->count() - 1;
    }
    if (nSensor >= 0)
        ui->cmbFeedbackType->setCurrentIndex(nSensor);
    ui->lblSensorDataName->setText(settings.text(settingKey::SensorDataName));
    ui->lblSensorFormula->setText(settings.text(settingKey::SensorFormula));
    ui->lblSensorUnit->setText(settings.text(settingKey::SensorUnit));
    ui->lblSensorInputMask->setText(settings.text(settingKey::SensorInputMask));
    ui->lineEditPropValue->setText(settings.text(settingKey::PropValue));
    ui->lineEditRelativeDifference->setText(settings.text(settingKey::RelativeDifference));
    ui->lineEditDiffValue->setText(settings.text(settingKey::DifferentialValue));
    ui->lineEditIntValue->setText(settings.text(settingKey::IntegralValue));
    ui->lineEditNumOfIntVal->setText(settings.text(settingKey::IntegralQuantity));
    ui->lineEditRecalcTimes->setText(settings.text(settingKey::RecalcTimes));
    ui->lineEditRelativeRecalc->setText(settings.text(settingKey::RelativeRecalc));
    ui->cmbBoxCurveUse->setCurrentIndex(settings.number(settingKey::CurveUse));

    ui->lineEditSampling->setText(settings.text(settingKey::Sampling));
    int anTypes[3];
    for (int nInput = 0; nInput < 3; ++nInput)
        anTypes[nInput] = settings.number(settingKey::InputType, nInput);
    // A role no input carries keeps what its widgets showed before.
    const feedbackRoles roles = feedbackRolesFromTypes(anTypes);
    for (const int nRole : {1, 2}) {
        const int nInput = nRole == 1 ? roles.nFeedback1 : roles.nFeedback2;
        if (nInput < 0)
            continue;
        const bool bFirst = nRole == 1;
        (bFirst ? ui->cmbFeedbackInput1 : ui->cmbFeedbackInput2)->setCurrentIndex(nInput);
        (bFirst ? ui->lineEditFeedbackInput1Upper : ui->lineEditFeedbackInput2Upper)
            ->setText(settings.text(settingKey::UpperBoundary, nInput));
        (bFirst ? ui->cmbInput1IfUpperThen : ui->cmbInput2IfUpperThen)
            ->setCurrentIndex(settings.number(settingKey::UpperBoundaryAction, nInput));
        (bFirst ? ui->lineEditFeedbackInput1Lower : ui->lineEditFeedbackInput2Lower)
            ->setText(settings.text(settingKey::LowerBoundary, nInput));
        (bFirst ? ui->cmbInput1IfLowerThen : ui->cmbInput2IfLowerThen)
            ->setCurrentIndex(settings.number(settingKey::LowerBoundaryAction, nInput));
    }

    ui->checkBoxCalibrateOnStart->setChecked(settings.flag(settingKey::CalibrateOnStart));
    ui->lineEditContSpeed->setText(settings.text(settingKey::ContinuousSpeed));
    showStoredMotorPort(settings);

    ui->cmbOutput1Config->setCurrentIndex(settings.number(settingKey::Output1Config));
    ui->lblVersion->setText(tr("Version %1").arg(g_dblProgramVersion, 0, 'f', 2));

    ui->lineEditPenWidth->setText(settings.text(settingKey::PenWidth));
    ui->checkBoxShowSens->setChecked(settings.flag(settingKey::ShowSensitivity));

    ui->lineEditLongPressTime->setText(settings.text(settingKey::LongPressTime));
    showStoredRemotePort(settings);
    const int nLanguage = ui->cmbBoxLanguage->findText(settings.text(settingKey::LanguageFile));
    if (nLanguage >= 0)
        ui->cmbBoxLanguage->setCurrentIndex(nLanguage);
    bFilling = false;
}

void formSettingsTab::selectPort(QComboBox *pCombo, const QString &strPort)
{
    int nPort = pCombo->findText(strPort);
    // A stored port that is not plugged in right now stays the choice: the
    // next save would otherwise put another port (or none) in its place.
    if (nPort < 0 && bPortsListed && !strPort.isEmpty()) {
        pCombo->addItem(strPort);
        nPort = pCombo->count() - 1;
    }
    if (nPort >= 0)
        pCombo->setCurrentIndex(nPort);
}

void formSettingsTab::showStoredMotorPort(const settingsStore &settings)
{
    if (settings.text(settingKey::MotorType) == QLatin1String("NanoTec")) {
        // The NanoTec controller sits on the panel's own UART.
        selectPort(ui->cmbBoxMotorPort, QStringLiteral("ttyAMA0"));
        ui->cmbBoxMotorPort->setEnabled(false);
    } else {
        selectPort(ui->cmbBoxMotorPort, settings.text(settingKey::MotorPort));
    }
}

void formSettingsTab::showStoredRemotePort(const settingsStore &settings)
{
    const QString strPort = settings.text(settingKey::RemotePort);
    // The panel's own UART is never offered for the PC's line.
    if (strPort != QLatin1String("ttyAMA0"))
        selectPort(ui->cmbBoxRemotePort, strPort);
}

qLvLineEdit *formSettingsTab::firstUnusableField(QString &strCaption) const
{
    const struct {
        qLvLineEdit *pField;
        QString strCaption;
    } numberFields[] = {
        {ui->lineEditPropValue, ui->lblPropValue->text()},
        {ui->lineEditRelativeDifference, ui->lblRelativeDifference->text()},
        {ui->lineEditDiffValue, ui->lblDiffValue->text()},
        {ui->lineEditIntValue, ui->lblIntValue->text()},
        {ui->lineEditRelativeRecalc, ui->lblRelativeRecalc->text()},
        {ui->lineEditFeedbackInput1Upper, ui->lblFeedbackInput1->text() + QLatin1Char(' ') + ui->lblInput1Upper->text()},
        {ui->lineEditFeedbackInput1Lower, ui->lblFeedbackInput1->text() + QLatin1Char(' ') + ui->lblInput1Lower->text()},
        {ui->lineEditFeedbackInput2Upper, ui->lblFeedbackInput2->text() + QLatin1Char(' ') + ui->lblInput2Upper->text()},
        {ui->lineEditFeedbackInput2Lower, ui->lblFeedbackInput2->text() + QLatin1Char(' ') + ui->lblInput2Lower->text()},
    };
    for (const auto &field : numberFields) {
        if (!finiteFieldNumber(field.pField->text()).bAccepted) {
            strCaption = field.strCaption;
            return field.pField;
        }
    }
    return nullptr;
}

bool formSettingsTab::saveSettingsFromGUI()
{
    // Checked before anything is written: a page is saved whole or not at all.
    QString strCaption;
    if (qLvLineEdit *pField = firstUnusableField(strCaption)) {
        showBox(tr("Invalid value"), tr("%1: \"%2\" is not a usable number. The settings were not saved.")
                                         .arg(strCaption, pField->text()));
        return false;
    }
    auto number = [](const qLvLineEdit *pField) { return finiteFieldNumber(pField->text()).dblValue; };

    settingsStore settings;
    lvSensor *pSensor = pExtFeedback ? &pExtFeedback->sensor : nullptr;
    const QString strSensorName = ui->cmbFeedbackType->currentText();
    settings.setValue(settingKey::SensorName, strSensorName);
    settings.setValue(settingKey::SensorDataName, ui->lblSensorDataName->text());
    settings.setValue(settingKey::SensorFormula, ui->lblSensorFormula->text());
    settings.setValue(settingKey::SensorUnit, ui->lblSensorUnit->text());
    settings.setValue(settingKey::SensorInputMask, ui->lblSensorInputMask->text());
    if (pSensor) {
        pSensor->strName = strSensorName;
        pSensor->strDataName = ui->lblSensorDataName->text();
        pSensor->strFormula = ui->lblSensorFormula->text();
        pSensor->strUnit = ui->lblSensorUnit->text();
        pSensor->strInputMask = ui->lblSensorInputMask->text();
    }

    const double dblProp = number(ui->lineEditPropValue);
    const double dblRelDiff = number(ui->lineEditRelativeDifference);
    const double dblIntQuantity = number(ui->lineEditNumOfIntVal);
    const double dblDiff = number(ui->lineEditDiffValue);
    const double dblInt = number(ui->lineEditIntValue);
    settings.setValue(settingKey::PropValue, dblProp);
    settings.setValue(settingKey::RelativeDifference, dblRelDiff);
    settings.setValue(settingKey::IntegralQuantity, dblIntQuantity);
    settings.setValue(settingKey::DifferentialValue, dblDiff);
    settings.setValue(settingKey::IntegralValue, dblInt);
    if (pExtFeedback) {
        pExtFeedback->dblPropValue = dblProp;
        pExtFeedback->dblRelativeDifference = dblRelDiff;
        pExtFeedback->nNumOfIntVal = ui->lineEditNumOfIntVal->text().toInt();
        pExtFeedback->dblDiffValue = dblDiff;
        pExtFeedback->dblIntValue = dblInt;
    }
    settings.setValue(settingKey::RecalcTimes, ui->lineEditRecalcTimes->text().toInt());
    settings.setValue(settingKey::RelativeRecalc, number(ui->lineEditRelativeRecalc));
    settings.setValue(settingKey::CurveUse, ui->cmbBoxCurveUse->currentIndex());

    settings.setValue(settingKey::TeachInFile, ui->lineEditDataFile->text());

    const QString strSampling = ui->lineEditSampling->text();
    settings.setValue(settingKey::Sampling, strSampling);
    if (pAnalogData)
        pAnalogData->nSampling = strSampling.toInt();

    const struct {
        int nType;
        QComboBox *pInput;
        qLvLineEdit *pUpper;
        qLvLineEdit *pLower;
        QComboBox *pUpperAction;
        QComboBox *pLowerAction;
    } roles[] = {
        {1, ui->cmbFeedbackInput1, ui->lineEditFeedbackInput1Upper, ui->lineEditFeedbackInput1Lower,
         ui->cmbInput1IfUpperThen, ui->cmbInput1IfLowerThen},
        {2, ui->cmbFeedbackInput2, ui->lineEditFeedbackInput2Upper, ui->lineEditFeedbackInput2Lower,
         ui->cmbInput2IfUpperThen, ui->cmbInput2IfLowerThen},
    };
    // A role moved to another input leaves the one that held it: otherwise
    // the old input keeps its type, the next fill shows the role there and
    // the regulation reads it at the next start.
    int anStoredTypes[3];
    for (int nInput = 0; nInput < 3; ++nInput)
        anStoredTypes[nInput] = settings.number(settingKey::InputType, nInput);
    const inputTypes types = typesAfterRoleChoice(anStoredTypes, ui->cmbFeedbackInput1->currentIndex(),
                                                  ui->cmbFeedbackInput2->currentIndex());
    for (int nInput = 0; nInput < 3; ++nInput) {
        if (types.anType[nInput] != 0 || anStoredTypes[nInput] == 0)
            continue;
        settings.setValue(settingKey::InputType, 0, nInput);
        if (pAnalogData)
            pAnalogData->setInputType(nInput, 0);
    }
    for (const auto &role : roles) {
        const int nInput = role.pInput->currentIndex();
        if (nInput < 0 || nInput > 2)
            continue;
        settings.setValue(settingKey::InputType, role.nType, nInput);
        settings.setValue(settingKey::UpperBoundary, role.pUpper->text(), nInput);
        settings.setValue(settingKey::LowerBoundary, role.pLower->text(), nInput);
        settings.setValue(settingKey::LowerBoundaryAction, role.pLowerAction->currentIndex(), nInput);
        settings.setValue(settingKey::UpperBoundaryAction, role.pUpperAction->currentIndex(), nInput);
        if (pAnalogData) {
            pAnalogData->setInputType(nInput, role.nType);
            pAnalogData->setUpperBoundary(nInput, number(role.pUpper),
                                          settings.number(settingKey::UpperBoundarySteps, nInput),
                                          role.pUpperAction->currentIndex());
            pAnalogData->setLowerBoundary(nInput, number(role.pLower),
                                          settings.number(settingKey::LowerBoundarySteps, nInput),
                                          role.pLowerAction->currentIndex());
        }
    }

    settings.setValue(settingKey::Output1Config, ui->cmbOutput1Config->currentIndex());
    if (pAnalogData)
        pAnalogData->nOutput1Config = ui->cmbOutput1Config->currentIndex();
    settings.setValue(settingKey::MotorPort, ui->cmbBoxMotorPort->currentText());
    settings.setValue(settingKey::RemotePort, ui->cmbBoxRemotePort->currentText());
    settings.sync();

    emit updateSensorData();
    return true;
}

void formSettingsTab::on_buttonBox_accepted()
{
    saveSettingsFromGUI();
}

void formSettingsTab::setDebugMotorBuffer(QString strBuffer)
{
    ui->lineEditDebugmotDriveCMD->setText(strBuffer);
}

void formSettingsTab::showBox(const QString &strText, const QString &strInformation)
{
    qlvMessageBox msgBox(pMainWindow);
    msgBox.setText(strText);
    msgBox.setInformativeText(strInformation);
    msgBox.setStandardButtons(QMessageBox::Ok);
    msgBox.setDefaultButton(QMessageBox::Ok);
    msgBox.exec();
}

// ---------------------------------------------------------------------------
// Page choice and the valve page

void formSettingsTab::on_comboBox_currentIndexChanged(int index)
{
    ui->stackedWidget->setCurrentIndex(index);
}

void formSettingsTab::on_lineEditSampling_editingFinished()
{
    const QString strSampling = ui->lineEditSampling->text();
    settingsStore().setValue(settingKey::Sampling, strSampling);
    // The running sampling timer keeps its period until the next start.
    if (pAnalogData)
        pAnalogData->nSampling = strSampling.toInt();
}

void formSettingsTab::on_lineEditContSpeed_editingFinished()
{
    const fieldWholeNumber speed = wholeFieldNumber(ui->lineEditContSpeed->text());
    if (speed.bOk)
        settingsStore().setValue(settingKey::ContinuousSpeed, speed.nValue);
    emit setContSpeed(speed.nValue);
}

void formSettingsTab::on_cmbOutput1Config_currentIndexChanged(int index)
{
    settingsStore().setValue(settingKey::Output1Config, index);
    emit setOutput1Mode(index);
}

void formSettingsTab::on_checkBoxCalibrateOnStart_clicked(bool checked)
{
    if (pMainWindow)
        pMainWindow->bCalibrateOnStart = checked;
}

void formSettingsTab::on_checkBoxCalibrateOnStart_stateChanged(int arg1)
{
    // Only a click is the operator's choice; a fill changes the state too.
    Q_UNUSED(arg1);
}

void formSettingsTab::on_pushBtnCalibrate_clicked()
{
    emit btnCalibrateClicked();
}

void formSettingsTab::on_pushBtnClearError_clicked()
{
    emit btnClearErrorClicked();
}

// ---------------------------------------------------------------------------
// The feedback page

bool formSettingsTab::usableNumber(QLineEdit *pField, const QString &strCaption, const QString &strStored,
                                   double &dblValue)
{
    const fieldNumber value = finiteFieldNumber(pField->text());
    if (value.bAccepted) {
        dblValue = value.dblValue;
        return true;
    }
    const QString strRefused = pField->text();
    // Put back first: the box takes the focus, which finishes the edit again.
    pField->setText(strStored);
    showBox(tr("Invalid value"), tr("%1: \"%2\" is not a usable number. The value was not changed.")
                                     .arg(strCaption, strRefused));
    return false;
}

void formSettingsTab::on_lineEditPropValue_editingFinished()
{
    double dblValue = 0.0;
    if (!usableNumber(ui->lineEditPropValue, ui->lblPropValue->text(), settingsStore().text(settingKey::PropValue),
                      dblValue))
        return;
    settingsStore().setValue(settingKey::PropValue, ui->lineEditPropValue->text());
    if (pExtFeedback)
        pExtFeedback->dblPropValue = dblValue;
}

void formSettingsTab::on_lineEditDiffValue_editingFinished()
{
    double dblValue = 0.0;
    if (!usableNumber(ui->lineEditDiffValue, ui->lblDiffValue->text(),
                      settingsStore().text(settingKey::DifferentialValue), dblValue))
        return;
    settingsStore().setValue(settingKey::DifferentialValue, ui->lineEditDiffValue->text());
    if (pExtFeedback)
        pExtFeedback->dblDiffValue = dblValue;
}

void formSettingsTab::on_lineEditRelativeDifference_editingFinished()
{
    double dblValue = 0.0;
    if (!usableNumber(ui->lineEditRelativeDifference, ui->lblRelativeDifference->text(),
                      settingsStore().text(settingKey::RelativeDifference), dblValue))
        return;
    settingsStore settings;
    ui->lineEditPropValue->setText(settings.text(settingKey::PropValue));
    settings.setValue(settingKey::RelativeDifference, ui->lineEditRelativeDifference->text());
    if (pExtFeedback)
        pExtFeedback->dblRelativeDifference = dblValue;
}

void formSettingsTab::on_lineEditNumOfIntVal_editingFinished()
{
    const QString strText = ui->lineEditNumOfIntVal->text();
    settingsStore().setValue(settingKey::IntegralQuantity, strText);
    if (pExtFeedback)
        pExtFeedback->nNumOfIntVal = strText.toInt();
}

void formSettingsTab::on_cmbFeedbackInput1_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    if (!bWindowLoaded || bFilling)
        return;
    if (saveSettingsFromGUI())
        showBox(tr("Possible Input Type Conflicts"),
                tr("Please check the analog input in the remote tab for possible conflicts."));
}

void formSettingsTab::on_cmbFeedbackInput2_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    if (!bWindowLoaded || bFilling)
        return;
    if (saveSettingsFromGUI())
        showBox(tr("Possible Input Type Conflicts"),
                tr("Please check the analog input in the remote tab for possible conflicts."));
}

void formSettingsTab::boundaryEdited(int nRole, boundarySide eSide)
{
    const bool bFirst = nRole == 1;
    const bool bUpper = eSide == UPPER;
    qLvLineEdit *pField = bFirst ? (bUpper ? ui->lineEditFeedbackInput1Upper : ui->lineEditFeedbackInput1Lower)
                                 : (bUpper ? ui->lineEditFeedbackInput2Upper : ui->lineEditFeedbackInput2Lower);
    const int nInput = (bFirst ? ui->cmbFeedbackInput1 : ui->cmbFeedbackInput2)->currentIndex();
    const settingKey eKey = bUpper ? settingKey::UpperBoundary : settingKey::LowerBoundary;
    const QString strCaption = (bFirst ? ui->lblFeedbackInput1 : ui->lblFeedbackInput2)->text() + QLatin1Char(' ')
        + (bFirst ? (bUpper ? ui->lblInput1Upper : ui->lblInput1Lower)
                  : (bUpper ? ui->lblInput2Upper : ui->lblInput2Lower))
              ->text();
    double dblValue = 0.0;
    if (!usableNumber(pField, strCaption, settingsStore().text(eKey, nInput), dblValue))
        return;
    settingsStore().setValue(eKey, pField->text(), nInput);
    if (!pAnalogData)
        return;
    if (bUpper)
        pAnalogData->setUpperBoundaryValue(nInput, dblValue);
    else
        pAnalogData->setLowerBoundaryValue(nInput, dblValue);
}

void formSettingsTab::boundaryActionEdited(int nRole, boundarySide eSide, int nAction)
{
    const int nInput = (nRole == 1 ? ui->cmbFeedbackInput1 : ui->cmbFeedbackInput2)->currentIndex();
    const bool bUpper = eSide == UPPER;
    settingsStore().setValue(bUpper ? settingKey::UpperBoundaryAction : settingKey::LowerBoundaryAction, nAction,
                             nInput);
    if (!pAnalogData)
        return;
    if (bUpper)
        pAnalogData->setUpperBoundaryAction(nInput, nAction);
    else
        pAnalogData->setLowerBoundaryAction(nInput, nAction);
}

void formSettingsTab::on_lineEditFeedbackInput1Upper_editingFinished()
{
    boundaryEdited(1, UPPER);
}

void formSettingsTab::on_lineEditFeedbackInput1Lower_editingFinished()
{
    boundaryEdited(1, LOWER);
}

void formSettingsTab::on_cmbInput1IfUpperThen_currentIndexChanged(int index)
{
    boundaryActionEdited(1, UPPER, index);
}

void formSettingsTab::on_cmbInput1IfLowerThen_currentIndexChanged(int index)
{
    boundaryActionEdited(1, LOWER, index);
}

void formSettingsTab::on_lineEditFeedbackInput2Upper_editingFinished()
{
    boundaryEdited(2, UPPER);
}

void formSettingsTab::on_lineEditFeedbackInput2Lower_editingFinished()
{
    boundaryEdited(2, LOWER);
}

void formSettingsTab::on_cmbInput2IfUpperThen_currentIndexChanged(int index)
{
    boundaryActionEdited(2, UPPER, index);
}

void formSettingsTab::on_cmbInput2IfLowerThen_currentIndexChanged(int index)
{
    boundaryActionEdited(2, LOWER, index);
}

// ---------------------------------------------------------------------------
// The diagram page

void formSettingsTab::on_lineEditPenWidth_editingFinished()
{
    const fieldWholeNumber width = wholeFieldNumber(ui->lineEditPenWidth->text());
    if (width.bOk)
        settingsStore().setValue(settingKey::PenWidth, width.nValue);
}

void formSettingsTab::on_checkBoxShowSens_clicked(bool checked)
{
    settingsStore().setValue(settingKey::ShowSensitivity, checked);
}

void formSettingsTab::on_lineEditLongPressTime_editingFinished()
{
    // A text that is no number, 0 or less changes nothing: with 0 ms every
    // tap on a diagram or a script table would count as a long press.
    const fieldWholeNumber time = longPressTimeField(ui->lineEditLongPressTime->text());
    if (!time.bOk)
        return;
    settingsStore().setValue(settingKey::LongPressTime, time.nValue);
    emit setLongPressTime(time.nValue);
}

void formSettingsTab::on_pushBtnChooseColorOpenGraph_clicked()
{
    auto *pDialog = new QColorDialog(pMainWindow);
    pDialog->setWindowFlags(pDialog->windowFlags() | Qt::FramelessWindowHint);
    pDialog->setGeometry(20, 20, 340, 260);
    pDialog->setOption(QColorDialog::DontUseNativeDialog);
    pDialog->exec();
    const QColor color = pDialog->currentColor();
    ui->widgetColorOpenGraph->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3);").arg(color.red()).arg(color.green()).arg(color.blue()));
    delete pDialog;
}

// ---------------------------------------------------------------------------
// Sensor definitions

void formSettingsTab::readSensorData()
{
    sensorList = readSensorFolder();
    ui->cmbFeedbackType->clear();
    for (const lvSensor &sensor : qAsConst(sensorList))
        ui->cmbFeedbackType->addItem(sensor.strName);
}

void formSettingsTab::relistSensors(int nRow, const QString &strFile, const QString &strName)
{
    // The active sensor from the store has no file; it stays listed until a
    // file of its name is.
    QList<lvSensor> withoutFile;
    for (const lvSensor &sensor : qAsConst(sensorList))
        if (sensor.strFileName.isEmpty())
            withoutFile << sensor;
    {
        const QSignalBlocker blocker(ui->cmbFeedbackType);
        readSensorData();
        for (const lvSensor &sensor : qAsConst(withoutFile)) {
            if (sensorIndex(sensor.strName) >= 0)
                continue;
            sensorList.append(sensor);
            ui->cmbFeedbackType->addItem(sensor.strName);
        }
        int nSelect = -1;
        for (int i = 0; i < sensorList.size() && nSelect < 0; ++i) {
            const lvSensor &sensor = sensorList.at(i);
            if (strFile.isEmpty() ? !strName.isEmpty() && sensor.strFileName.isEmpty() && sensor.strName == strName
                                  : sensor.strFileName == strFile)
                nSelect = i;
        }
        if (nSelect < 0 && !sensorList.isEmpty())
            nSelect = qBound(0, nRow, sensorList.size() - 1);
        ui->cmbFeedbackType->setCurrentIndex(nSelect);
    }
    showCurrentSensor();
}

int formSettingsTab::sensorIndex(const QString &strName) const
{
    for (int i = 0; i < sensorList.size(); ++i)
        if (sensorList.at(i).strName == strName)
            return i;
    return -1;
}

QStringList formSettingsTab::sensorNames() const
{
    QStringList names;
    for (const lvSensor &sensor : sensorList)
        names << sensor.strName;
    return names;
}

void formSettingsTab::showSensor(const lvSensor &sensor)
{
    ui->lblSensorFormula->setText(sensor.strFormula);
    ui->lblSensorUnit->setText(sensor.strUnit);
    ui->lblSensorDataName->setText(sensor.strDataName);
    ui->lblSensorInputMask->setText(sensor.strInputMask);
}

void formSettingsTab::showCurrentSensor()
{
    // The combo lists sensorList entry for entry, so two files holding the
    // same name are still told apart.
    const int nIndex = ui->cmbFeedbackType->currentIndex();
    if (nIndex >= 0 && nIndex < sensorList.size()) {
        showSensor(sensorList.at(nIndex));
        return;
    }
    for (QLabel *pLabel : {ui->lblSensorFormula, ui->lblSensorUnit, ui->lblSensorDataName, ui->lblSensorInputMask})
        pLabel->clear();
}

void formSettingsTab::on_cmbFeedbackType_currentTextChanged(const QString &)
{
    showCurrentSensor();
}

bool formSettingsTab::runSensorDialog(lvSensor &sensor, bool bWithBorder)
{
    lvSensorDlg dialog(nullptr);
    // Kept a dialog window: as a plain child of the main window it would not
    // be modal, and the tabs behind it could be used while it runs.
    dialog.setParent(pMainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    if (!bWithBorder)
        dialog.setStyleSheet(lvSensorDlg::styleSheetWithoutBorder());
    else
        dialog.setSensor(sensor);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    sensor = dialog.getSensor();
    return true;
}

bool formSettingsTab::writeSensor(const lvSensor &sensor, const QString &strOldName, const QString &strFromFile,
                                  bool bChange)
{
    switch (writeSensorDefinition(sensor, strOldName, strFromFile)) {
    case sensorWriteResult::WRITTEN:
        relistSensors(0, sensorTargetFile(sensor.strName, strOldName, strFromFile));
        return true;
    case sensorWriteResult::TAKEN:
        // Another definition's file, listed or not: the folder is shown as
        // it is, so the operator sees which one.
        showSensorExists(bChange);
        relistSensors(ui->cmbFeedbackType->currentIndex(), strFromFile, strOldName);
        return false;
    case sensorWriteResult::FAILED:
        break;
    }
    const QString strFolder = lvSensor::sensorDirectory();
    QString strWhy;
    if (!QFileInfo(strFolder).isDir())
        strWhy = tr("The sensor folder %1 does not exist.").arg(QDir::toNativeSeparators(strFolder));
    else if (!sensor.isStorable())
        strWhy = tr("A field holds a \";\", which a sensor file cannot store.");
    else
        strWhy = tr("The file %1 could not be written.")
                     .arg(QDir::toNativeSeparators(
                         lvSensor::sensorFilePath(sensorTargetFile(sensor.strName, strOldName, strFromFile))));
    showBox(tr("Sensor not saved"), strWhy + QLatin1Char(' ') + tr("Nothing was changed."));
    return false;
}

void formSettingsTab::showSensorExists(bool bChange)
{
    showBox(tr("Sensor exists"), bChange ? tr("A sensor with this Name already exists. The change will not be saved.")
                                         : tr("A sensor with this Name already exists. It will not be saved."));
}

bool formSettingsTab::acceptSensorName(const QString &strName, const QString &strOwnName, bool bChange)
{
    switch (checkSensorName(strName, sensorNames(), strOwnName)) {
    case sensorNameProblem::EXISTS:
        showSensorExists(bChange);
        return false;
    case sensorNameProblem::INVALID:
        showBox(tr("Invalid sensor name"),
                bChange ? tr("A sensor name must not be empty, start with \".\" or hold \"..\", \"/\", \"\\\", \";\", "
                             "control or invisible characters. The change will not be saved.")
                        : tr("A sensor name must not be empty, start with \".\" or hold \"..\", \"/\", \"\\\", \";\", "
                             "control or invisible characters. It will not be saved."));
        return false;
    case sensorNameProblem::NONE:
        break;
    }
    return true;
}

void formSettingsTab::on_pushBtnAddSensor_clicked()
{
    lvSensor sensor;
    if (!runSensorDialog(sensor, false))
        return;
    if (acceptSensorName(sensor.strName, QString(), false))
        writeSensor(sensor, QString(), QString(), false);
}

void formSettingsTab::on_pushBtnChangeSensor_clicked()
{
    const int nIndex = ui->cmbFeedbackType->currentIndex();
    const QString strOldName = ui->cmbFeedbackType->currentText();
    // The stored definition, so the flags the page does not show are kept.
    lvSensor sensor;
    if (nIndex >= 0 && nIndex < sensorList.size()) {
        sensor = sensorList.at(nIndex);
    } else {
        sensor.strName = strOldName;
        sensor.strDataName = ui->lblSensorDataName->text();
        sensor.strFormula = ui->lblSensorFormula->text();
        sensor.strUnit = ui->lblSensorUnit->text();
        sensor.strInputMask = ui->lblSensorInputMask->text();
    }
    // The file it was read from is the one the change rewrites (or, on a
    // rename, replaces), whatever name it carries.
    const QString strFromFile = sensor.strFileName;
    if (!runSensorDialog(sensor, true))
        return;
    if (acceptSensorName(sensor.strName, strOldName, true))
        writeSensor(sensor, strOldName, strFromFile, true);
}

void formSettingsTab::on_pushBtnDeleteSensor_clicked()
{
    const int nIndex = ui->cmbFeedbackType->currentIndex();
    if (nIndex < 0 || nIndex >= sensorList.size())
        return;
    // The file it was read from, never the one its name would give.
    const lvSensor sensor = sensorList.at(nIndex);
    if (!removeSensorDefinition(sensor) && !sensor.strFileName.isEmpty()
        && QFileInfo::exists(lvSensor::sensorFilePath(sensor.strFileName))) {
        // Still on the share: it stays listed, and the operator learns why.
        showBox(tr("Sensor not deleted"),
                tr("The file %1 could not be removed. Nothing was changed.")
                    .arg(QDir::toNativeSeparators(lvSensor::sensorFilePath(sensor.strFileName))));
    }
    sensorList.removeAt(nIndex);
    relistSensors(nIndex);
}

// ---------------------------------------------------------------------------
// Panel administration

void formSettingsTab::on_pushBtnChoose_clicked()
{
    const QString strFile = panelAdministration::chooseTeachIn(this);
    if (strFile.isEmpty())
        return;
    // The main window loads it (same thread, at once) before the name shows.
    emit setNewTeachIn(strFile);
    // Cut at the last dot, as the main window names the file it loads: a
    // name like "run.2024.a" must not be stored as "run".
    ui->lineEditDataFile->setText(QFileInfo(strFile).completeBaseName());
    settingsStore().setValue(settingKey::TeachInFile, ui->lineEditDataFile->text());
}

void formSettingsTab::on_pushBtnExport_clicked()
{
    panelAdministration::exportTeachIn(this, pMainWindow, ui->lineEditDataFile->text());
}

void formSettingsTab::on_pushBtnUpdate_clicked()
{
    if (panelAdministration::installUpdate(this, pMainWindow))
        emit shutdownRequest(true);
}

void formSettingsTab::on_pushBtnRestart_clicked()
{
    if (pMainWindow)
        pMainWindow->restartProgram();
}

void formSettingsTab::on_pushBtnChangeSMBPassword_clicked()
{
    QWidget *pParent = parentWidget() ? parentWidget()->parentWidget() : nullptr;
    panelAdministration::changeSambaPassword(this, pParent);
}

void formSettingsTab::on_pushBtnExecuteScript_clicked()
{
    panelAdministration::executeShellScript(this, pMainWindow);
}

void formSettingsTab::on_cmbBoxLanguage_currentIndexChanged(QString arg1)
{
    // Applies from the next start: no form translates itself again.
    settingsStore().setValue(settingKey::LanguageFile, arg1);
}

void formSettingsTab::on_pushBtnExportSettings_clicked()
{
    panelAdministration::exportSettings(this, pMainWindow);
}

void formSettingsTab::on_pushBtnImportSettings_clicked()
{
    QStringList imported;
    if (!panelAdministration::importSettings(this, pMainWindow, &imported))
        return;
    readSettingsToGUI();
    // The running objects still hold the old values, and closing the window
    // would write them back: the program starts again on the imported ones.
    if (pMainWindow) {
        // Going down stores the window's calibrate-on-start choice; an
        // imported one takes its place first.
        if (imported.contains(settingsStore::path(settingKey::CalibrateOnStart)))
            pMainWindow->bCalibrateOnStart = settingsStore().flag(settingKey::CalibrateOnStart);
        panelAdministration::showBox(pMainWindow, tr("Settings imported"),
                                     tr("The program restarts to use the imported settings."));
        pMainWindow->restartProgram();
    }
}

// ---------------------------------------------------------------------------
// The test and debug page

void formSettingsTab::debugSensorTest()
{
    if (!pExtFeedback)
        return;
    ui->lineEditDebugData->setText(debugPageValues::sensorText(pExtFeedback->sensor,
                                                               debugPageValues::volts(ui->lineEditDebugInput1->text()),
                                                               debugPageValues::volts(ui->lineEditDebugInput2->text())));
}

bool formSettingsTab::debugInputVolts(double adblVolts[3])
{
    // "nan" or "1e999" would reach the regulation as a sample no input card
    // can deliver.
    QLineEdit *const apField[3] = {ui->lineEditDebugInput1, ui->lineEditDebugInput2, ui->lineEditDebugInput3};
    QLabel *const apCaption[3] = {ui->label_3, ui->label_4, ui->label_5};
    for (int i = 0; i < 3; ++i) {
        if (!usableNumber(apField[i], apCaption[i]->text(), astrDebugInputSent[i], adblVolts[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i)
        astrDebugInputSent[i] = apField[i]->text();
    return true;
}

void formSettingsTab::debugFeedInputs()
{
    double adblVolts[3];
    if (!debugInputVolts(adblVolts))
        return;
    debugSensorTest();
    // Input 1 acts as feedback 1 and input 2 as feedback 2, whatever the
    // input types are.
    emit setDebugAnalogValue(adblVolts[0], adblVolts[1], adblVolts[2], 0, 1);
}

void formSettingsTab::debugSendSetValue()
{
    // "actual" shows "nan" when the formula gives no number; that is no
    // value to regulate from.
    double dblActual = 0.0;
    if (!usableNumber(ui->lineEditDebugData, ui->label_2->text(), ui->lineEditDebugData->text(), dblActual))
        return;
    emit setDebugData(debugPageValues::millivolts(ui->lineEditDebugVal1->text()),
                      debugPageValues::millivolts(ui->lineEditDebugVal2->text()), dblActual);
}

void formSettingsTab::on_chekcBoxDebug_stateChanged(int arg1)
{
    bDebugOn = arg1 != 0;
    emit setDebug(bDebugOn);
    if (bDebugOn)
        debugSensorTest();
}

void formSettingsTab::on_lineEditDebugInput1_editingFinished()
{
    debugFeedInputs();
}

void formSettingsTab::on_lineEditDebugInput2_editingFinished()
{
    debugFeedInputs();
}

void formSettingsTab::on_lineEditDebugVal1_editingFinished()
{
    if (pExtFeedback)
        ui->lineEditDebugSetpoint->setText(debugPageValues::setValueText(
            pExtFeedback->sensor, debugPageValues::millivolts(ui->lineEditDebugVal1->text()),
            debugPageValues::millivolts(ui->lineEditDebugVal2->text())));
    debugSendSetValue();
}

void formSettingsTab::on_lineEditDebugVal2_editingFinished()
{
    on_lineEditDebugVal1_editingFinished();
}

void formSettingsTab::on_pushBtnDebugSetData_clicked()
{
    debugSendSetValue();
}

void formSettingsTab::on_lineEditDebugSendToMotor_editingFinished()
{
    // The main window passes it on only in debug mode.
    if (pMainWindow)
        pMainWindow->onDebugSendToMotor(debugPageValues::controllerReply(ui->lineEditDebugSendToMotor->text()));
}

void formSettingsTab::debugTimerElapsed()
{
}
