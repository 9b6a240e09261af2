// The Settings tab on its own: filling the page from the store and saving it
// back into the store and the live objects, per-field editing, and the sensor
// definitions in a temporary sensor folder.
#include "testWorkDir.h"
#include "../remotetab/remoteTabFixture.h"
#include "modalAnswerer.h"

#include "settings/formSettingsTab.h"
#include "ui_formSettingsTab.h"
#include "valve/analogData.h"
#include "valve/lvExternalFeedback.h"
#include "valve/settingsStore.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

void clearStore()
{
    settingsStore store;
    store.store().clear();
}

// Every stored value as the text the store holds, the way a later start or
// an import reads it.
QString stored(settingKey eKey, int nInput = 0)
{
    return settingsStore().text(eKey, nInput);
}

// Message boxes only: the sensor dialog is left to sensorDialogAnswer.
struct boxesOnly : modalAnswerer {
    boxesOnly()
        : modalAnswerer({}, true)
    {
        leaveAlone = [](QWidget *pWidget) { return !qobject_cast<QMessageBox *>(pWidget); };
    }
};

// Fills the sensor dialog once it is shown and presses OK.
struct sensorDialogAnswer {
    sensorDialogAnswer(const QString &strName, const QString &strFormula, const QString &strUnit)
        : answer([=](QWidget *pDialog) {
              // Anything else than the sensor dialog fails the test below.
              if (!pDialog->findChild<QLineEdit *>(QStringLiteral("lineEditSensorName"))) {
                  pDialog->close();
                  return;
              }
              bDialog = true;
              seenName = pDialog->findChild<QLineEdit *>(QStringLiteral("lineEditSensorName"))->text();
              seenExp = pDialog->findChild<QCheckBox *>(QStringLiteral("checkBoxShowExp"))->isChecked();
              if (!strName.isNull())
                  pDialog->findChild<QLineEdit *>(QStringLiteral("lineEditSensorName"))->setText(strName);
              if (!strFormula.isNull())
                  pDialog->findChild<QLineEdit *>(QStringLiteral("lineEditSensorFormula"))->setText(strFormula);
              if (!strUnit.isNull())
                  pDialog->findChild<QLineEdit *>(QStringLiteral("lineEditSensorUnit"))->setText(strUnit);
              pDialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
          }, modalAnswerer::MODAL)
    {
    }
    QString seenName;
    bool seenExp = false;
    bool bDialog = false;
    modalAnswerer answer;
};

} // namespace

class tst_formSettingsTab : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void formAlone();
    void fillAndSaveEveryKey();
    void emptyStoreSavesZerosAndEmptyTexts();
    void feedbackInputRoles();
    void feedbackRoleMoves_data();
    void feedbackRoleMoves();
    void refillAfterLoadingSavesNothing();
    void boundaryFieldsWriteTheChosenInput();
    void unusableNumbersAreRefused_data();
    void unusableNumbersAreRefused();
    void wholeNumberFields();
    void debugPageRefusesValuesWithoutMeaning_data();
    void debugPageRefusesValuesWithoutMeaning();
    void output1AndButtons();
    void nanoTecFixesTheMotorPort();
    void storedPortsAreKept_data();
    void storedPortsAreKept();
    void sensorFolderIsListed();
    void sensorAddChangeRenameDelete();
    void sensorRefusals();
    void missingSensorFolderIsReported();
    void changeWithoutListedSensor();
    void activeSensorWithoutFileKeepsItsName();
    void sensorFilesRenamedOnTheShare();

private:
    std::unique_ptr<testWorkDir> wd;
};

void tst_formSettingsTab::init()
{
    wd.reset();
    wd.reset(new testWorkDir);
    QVERIFY(wd->isValid());
    clearStore();
    // No serial port of this machine reaches the page's port lists.
    QVERIFY(QDir(wd->path()).mkpath(QStringLiteral("dev")));
    qputenv("VALVE_DEV_DIR", wd->filePath(QStringLiteral("dev")).toLocal8Bit());
}

void tst_formSettingsTab::cleanup()
{
    qunsetenv("VALVE_DEV_DIR");
}

void tst_formSettingsTab::formAlone()
{
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    // The test page is not offered; the others switch the stack.
    QCOMPARE(ui->comboBox->count(), 3);
    QCOMPARE(ui->stackedWidget->count(), 4);
    QCOMPARE(ui->stackedWidget->currentWidget(), ui->pageValve);
    ui->comboBox->setCurrentIndex(2);
    QCOMPARE(ui->stackedWidget->currentWidget(), ui->pageDiagram);
    auto items = [](QComboBox *pCombo) {
        QStringList list;
        for (int i = 0; i < pCombo->count(); ++i)
            list << pCombo->itemText(i);
        return list.join(QLatin1Char(','));
    };
    QCOMPARE(items(ui->cmbOutput1Config), QStringLiteral("None,OK - Ready,Moving,Error"));
    QCOMPARE(items(ui->cmbBoxCurveUse), QStringLiteral("Open Curve,Close Curve,Both"));
    QCOMPARE(items(ui->cmbFeedbackInput2), QStringLiteral("Input 1,Input 2,Input 3"));
    QCOMPARE(items(ui->cmbInput2IfLowerThen), QStringLiteral("Close,Open,Stay"));
    QCOMPARE(ui->lblVersion->text(), QStringLiteral("Version 1.03"));
    QVERIFY(ui->pushBtnChooseColorOpenGraph->isHidden());
    QVERIFY(ui->widgetColorOpenGraph->isHidden());
    QCOMPARE(ui->lineEditDataFile->keyboardMode(), int(KEYBOARD_NONE));
    QCOMPARE(ui->lineEditPropValue->keyboardMode(), int(KEYBOARD_KEYPAD));
    QCOMPARE(ui->lineEditLongPressTime->keyboardMode(), int(KEYBOARD_FULL));
    // The administration and test controls are there for their slots.
    for (const char *psz : {"pushBtnUpdate", "pushBtnRestart", "pushBtnChangeSMBPassword", "pushBtnExecuteScript",
                            "pushBtnExportSettings", "pushBtnImportSettings", "pushBtnChoose", "pushBtnExport",
                            "cmbBoxLanguage", "chekcBoxDebug", "pushBtnDebugSetData", "lineEditDebugSendToMotor",
                            "lineEditDebugmotDriveCMD", "lineEditDebugInput3"})
        QVERIFY2(tab.findChild<QWidget *>(QLatin1String(psz)), psz);
    tab.setDebugMotorBuffer(QStringLiteral("#1A\r"));
    QCOMPARE(ui->lineEditDebugmotDriveCMD->text(), QStringLiteral("#1A\r"));
}

void tst_formSettingsTab::fillAndSaveEveryKey()
{
    {
        settingsStore s;
        s.setValue(settingKey::TeachInFile, QStringLiteral("run.2024.a"));
        s.setValue(settingKey::SensorName, QStringLiteral("Pirani"));
        s.setValue(settingKey::SensorDataName, QStringLiteral("Leak rate"));
        s.setValue(settingKey::SensorFormula, QStringLiteral("val1*2"));
        s.setValue(settingKey::SensorUnit, QStringLiteral("mbar l/s"));
        s.setValue(settingKey::SensorInputMask, QStringLiteral("#.##E##"));
        s.setValue(settingKey::PropValue, 0.1);
        s.setValue(settingKey::RelativeDifference, 0.05);
        s.setValue(settingKey::DifferentialValue, 1000.0);
        s.setValue(settingKey::IntegralValue, -2.5);
        s.setValue(settingKey::IntegralQuantity, 20.0);
        s.setValue(settingKey::RecalcTimes, 3);
        s.setValue(settingKey::RelativeRecalc, 0.2);
        s.setValue(settingKey::CurveUse, 2);
        s.setValue(settingKey::Sampling, QStringLiteral("100"));
        s.setValue(settingKey::InputType, 0, 0);
        s.setValue(settingKey::InputType, 1, 1);
        s.setValue(settingKey::InputType, 2, 2);
        s.setValue(settingKey::UpperBoundary, 9500, 1);
        s.setValue(settingKey::UpperBoundarySteps, 900000, 1);
        s.setValue(settingKey::UpperBoundaryAction, 1, 1);
        s.setValue(settingKey::LowerBoundary, 500.5, 1);
        s.setValue(settingKey::LowerBoundarySteps, 100000, 1);
        s.setValue(settingKey::LowerBoundaryAction, 2, 1);
        s.setValue(settingKey::UpperBoundary, 8000, 2);
        s.setValue(settingKey::UpperBoundaryAction, 2, 2);
        s.setValue(settingKey::LowerBoundary, 1000, 2);
        s.setValue(settingKey::LowerBoundaryAction, 1, 2);
        s.setValue(settingKey::CalibrateOnStart, true);
        s.setValue(settingKey::ContinuousSpeed, 40);
        s.setValue(settingKey::Output1Config, 3);
        s.setValue(settingKey::PenWidth, 2);
        s.setValue(settingKey::ShowSensitivity, true);
        s.setValue(settingKey::LongPressTime, 1500);
    }
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;

    QCOMPARE(ui->lineEditDataFile->text(), QStringLiteral("run.2024.a"));
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val1*2"));
    QCOMPARE(ui->lblSensorInputMask->text(), QStringLiteral("#.##E##"));
    QCOMPARE(ui->lineEditPropValue->text(), QStringLiteral("0.1"));
    QCOMPARE(ui->lineEditDiffValue->text(), QStringLiteral("1000"));
    QCOMPARE(ui->lineEditIntValue->text(), QStringLiteral("-2.5"));
    QCOMPARE(ui->lineEditNumOfIntVal->text(), QStringLiteral("20"));
    QCOMPARE(ui->lineEditRecalcTimes->text(), QStringLiteral("3"));
    QCOMPARE(ui->lineEditRelativeRecalc->text(), QStringLiteral("0.2"));
    QCOMPARE(ui->cmbBoxCurveUse->currentIndex(), 2);
    QCOMPARE(ui->lineEditSampling->text(), QStringLiteral("100"));
    QCOMPARE(ui->cmbFeedbackInput1->currentIndex(), 1);
    QCOMPARE(ui->lineEditFeedbackInput1Upper->text(), QStringLiteral("9500"));
    QCOMPARE(ui->lineEditFeedbackInput1Lower->text(), QStringLiteral("500.5"));
    QCOMPARE(ui->cmbInput1IfUpperThen->currentIndex(), 1);
    QCOMPARE(ui->cmbInput1IfLowerThen->currentIndex(), 2);
    QCOMPARE(ui->cmbFeedbackInput2->currentIndex(), 2);
    QCOMPARE(ui->lineEditFeedbackInput2Upper->text(), QStringLiteral("8000"));
    QCOMPARE(ui->cmbInput2IfUpperThen->currentIndex(), 2);
    QVERIFY(ui->checkBoxCalibrateOnStart->isChecked());
    QCOMPARE(ui->lineEditContSpeed->text(), QStringLiteral("40"));
    QCOMPARE(ui->cmbOutput1Config->currentIndex(), 3);
    QCOMPARE(ui->lineEditPenWidth->text(), QStringLiteral("2"));
    QVERIFY(ui->checkBoxShowSens->isChecked());
    QCOMPARE(ui->lineEditLongPressTime->text(), QStringLiteral("1500"));

    // Saved into an empty store: every key the page owns comes back in the
    // spelling and form it had.
    clearStore();
    QSignalSpy updated(&tab, &formSettingsTab::updateSensorData);
    QVERIFY(tab.saveSettingsFromGUI());
    QCOMPARE(updated.count(), 1);
    const struct {
        settingKey eKey;
        int nInput;
        const char *pszText;
    } expected[] = {
        {settingKey::TeachInFile, 0, "run.2024.a"},
        {settingKey::SensorName, 0, "Pirani"},  // no such sensor file: still the active sensor
        {settingKey::SensorDataName, 0, "Leak rate"},
        {settingKey::SensorFormula, 0, "val1*2"},
        {settingKey::SensorUnit, 0, "mbar l/s"},
        {settingKey::SensorInputMask, 0, "#.##E##"},
        {settingKey::PropValue, 0, "0.1"},
        {settingKey::RelativeDifference, 0, "0.05"},
        {settingKey::DifferentialValue, 0, "1000"},
        {settingKey::IntegralValue, 0, "-2.5"},
        {settingKey::IntegralQuantity, 0, "20"},
        {settingKey::RecalcTimes, 0, "3"},
        {settingKey::RelativeRecalc, 0, "0.2"},
        {settingKey::CurveUse, 0, "2"},
        {settingKey::Sampling, 0, "100"},
        {settingKey::InputType, 1, "1"},
        {settingKey::UpperBoundary, 1, "9500"},
        {settingKey::UpperBoundaryAction, 1, "1"},
        {settingKey::LowerBoundary, 1, "500.5"},
        {settingKey::LowerBoundaryAction, 1, "2"},
        {settingKey::InputType, 2, "2"},
        {settingKey::UpperBoundary, 2, "8000"},
        {settingKey::UpperBoundaryAction, 2, "2"},
        {settingKey::LowerBoundary, 2, "1000"},
        {settingKey::LowerBoundaryAction, 2, "1"},
        {settingKey::Output1Config, 0, "3"},
        {settingKey::MotorPort, 0, ""},
        {settingKey::RemotePort, 0, ""},
    };
    QStringList written;
    for (const auto &e : expected) {
        QCOMPARE(stored(e.eKey, e.nInput), QString::fromUtf8(e.pszText));
        written << settingsStore::path(e.eKey, e.nInput);
    }
    // Nothing else: the per-field keys, the steps and the third input are
    // not the save's.
    QStringList all = settingsStore().store().allKeys();
    all.sort();
    written.sort();
    QCOMPARE(all, written);

    // And into the live objects.
    QCOMPARE(feedback.dblPropValue, 0.1);
    QCOMPARE(feedback.dblIntValue, -2.5);
    QCOMPARE(feedback.nNumOfIntVal, 20);
    QCOMPARE(feedback.sensor.strFormula, QStringLiteral("val1*2"));
    QCOMPARE(analog.nSampling, 100);
    QCOMPARE(analog.getInputType(1), 1);
    QCOMPARE(analog.getUpperBoundaryValue(1), 9500.0);
    QCOMPARE(analog.getLowerBoundaryAction(1), 2);
    QCOMPARE(analog.getInputType(2), 2);
    QCOMPARE(analog.getLowerBoundaryValue(2), 1000.0);
    QCOMPARE(analog.nOutput1Config, 3);
}

void tst_formSettingsTab::emptyStoreSavesZerosAndEmptyTexts()
{
    analogData analog;
    lvExternalFeedback feedback;
    feedback.dblPropValue = 5.0;
    analog.nSampling = 250;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    QCOMPARE(tab.ui->lineEditPropValue->text(), QString());
    QCOMPARE(tab.ui->cmbBoxCurveUse->currentIndex(), 0);
    // OK saves the page.
    tab.ui->buttonBox->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(stored(settingKey::PropValue), QStringLiteral("0"));
    QCOMPARE(stored(settingKey::IntegralQuantity), QStringLiteral("0"));
    QCOMPARE(stored(settingKey::CurveUse), QStringLiteral("0"));
    QVERIFY(settingsStore().contains(settingKey::Sampling));
    QCOMPARE(stored(settingKey::Sampling), QString());
    QCOMPARE(stored(settingKey::UpperBoundary, 0), QString());
    QCOMPARE(stored(settingKey::InputType, 0), QStringLiteral("2"));  // both roles on input 1: Feedback 2 wins
    QCOMPARE(feedback.dblPropValue, 0.0);
    QCOMPARE(analog.nSampling, 0);
    // Cancel does nothing.
    clearStore();
    tab.ui->buttonBox->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(settingsStore().store().allKeys().isEmpty());
}

void tst_formSettingsTab::feedbackInputRoles()
{
    {
        settingsStore s;
        s.setValue(settingKey::InputType, 0, 0);
        s.setValue(settingKey::InputType, 2, 1);
        s.setValue(settingKey::InputType, 1, 2);
        s.setValue(settingKey::UpperBoundary, 7000, 2);
        s.setValue(settingKey::LowerBoundary, 300, 2);
        s.setValue(settingKey::UpperBoundary, 6000, 1);
    }
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;
    QCOMPARE(ui->cmbFeedbackInput1->currentIndex(), 2);
    QCOMPARE(ui->lineEditFeedbackInput1Upper->text(), QStringLiteral("7000"));
    QCOMPARE(ui->cmbFeedbackInput2->currentIndex(), 1);
    QCOMPARE(ui->lineEditFeedbackInput2Upper->text(), QStringLiteral("6000"));

    // Before the window has loaded a change does nothing.
    boxesOnly boxes;
    ui->cmbFeedbackInput1->setCurrentIndex(0);
    QCOMPARE(stored(settingKey::InputType, 0), QStringLiteral("0"));
    QVERIFY(boxes.texts.isEmpty());

    // Afterwards it saves the page under the new input and warns once.
    ui->cmbFeedbackInput1->setCurrentIndex(2);
    tab.bWindowLoaded = true;
    ui->cmbFeedbackInput1->setCurrentIndex(0);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral(
                              "Possible Input Type Conflicts|Please check the analog input in the remote tab for "
                              "possible conflicts.")});
    QCOMPARE(stored(settingKey::InputType, 0), QStringLiteral("1"));
    QCOMPARE(stored(settingKey::UpperBoundary, 0), QStringLiteral("7000"));
    QCOMPARE(stored(settingKey::LowerBoundary, 0), QStringLiteral("300"));
    QCOMPARE(stored(settingKey::InputType, 2), QStringLiteral("0"));  // the old input gives the role up
    QCOMPARE(analog.getInputType(0), 1);
    QCOMPARE(analog.getInputType(2), 0);
    QCOMPARE(analog.getUpperBoundaryValue(0), 7000.0);
}

// A role the operator moves leaves the input that held it: the store, the
// live inputs and the page after re-entry all name one input per role.
void tst_formSettingsTab::feedbackRoleMoves_data()
{
    QTest::addColumn<QString>("initial");  // types of inputs 1..3 at the start
    QTest::addColumn<QString>("moves");    // role:input index, one after the other
    QTest::addColumn<QString>("types");    // stored types afterwards
    QTest::addColumn<int>("feedback1");    // the input each role is on afterwards
    QTest::addColumn<int>("feedback2");
    QTest::newRow("feedback 1 to input 3 and back to input 1") << "1,2,0" << "1:2,1:0" << "1,2,0" << 0 << 1;
    QTest::newRow("feedback 2 to input 3") << "1,2,0" << "2:2" << "1,0,2" << 0 << 2;
    QTest::newRow("feedback 1 onto feedback 2's input, then on") << "1,2,0" << "1:1,1:2" << "0,2,1" << 2 << 1;
    QTest::newRow("feedback 1 from input 3 to the remote input 2") << "2,0,1" << "1:1" << "2,1,0" << 1 << 0;
}

void tst_formSettingsTab::feedbackRoleMoves()
{
    QFETCH(QString, initial);
    QFETCH(QString, moves);
    QFETCH(QString, types);
    QFETCH(int, feedback1);
    QFETCH(int, feedback2);
    const QStringList storedTypes = initial.split(',');
    analogData analog;
    {
        settingsStore s;
        for (int nInput = 0; nInput < 3; ++nInput) {
            s.setValue(settingKey::InputType, storedTypes.at(nInput).toInt(), nInput);
            analog.setInputType(nInput, storedTypes.at(nInput).toInt());
        }
    }
    lvExternalFeedback feedback;
    auto pTab = std::make_unique<formSettingsTab>();
    pTab->setAnalogData(&analog);
    pTab->setExtFeedback(&feedback);
    pTab->bWindowLoaded = true;
    boxesOnly boxes;
    for (const QString &strMove : moves.split(',')) {
        const int nRole = strMove.section(':', 0, 0).toInt();
        (nRole == 1 ? pTab->ui->cmbFeedbackInput1 : pTab->ui->cmbFeedbackInput2)
            ->setCurrentIndex(strMove.section(':', 1, 1).toInt());
    }
    QCOMPARE(boxes.texts.size(), moves.split(',').size());
    QCOMPARE(QStringList({stored(settingKey::InputType, 0), stored(settingKey::InputType, 1),
                          stored(settingKey::InputType, 2)})
                 .join(','),
             types);
    QCOMPARE(QStringLiteral("%1,%2,%3").arg(analog.getInputType(0)).arg(analog.getInputType(1)).arg(analog.getInputType(2)),
             types);
    QCOMPARE(analog.getFeedbackInput1(), feedback1);
    QCOMPARE(analog.getFeedbackInput2(), feedback2);

    // Entering the tab again shows the roles where they are.
    pTab = std::make_unique<formSettingsTab>();
    QCOMPARE(pTab->ui->cmbFeedbackInput1->currentIndex(), feedback1);
    QCOMPARE(pTab->ui->cmbFeedbackInput2->currentIndex(), feedback2);
}

void tst_formSettingsTab::refillAfterLoadingSavesNothing()
{
    {
        settingsStore s;
        s.setValue(settingKey::InputType, 1, 0);
        s.setValue(settingKey::InputType, 2, 1);
        s.setValue(settingKey::InputType, 0, 2);
        s.setValue(settingKey::UpperBoundary, 7000, 2);
        s.setValue(settingKey::MotorPort, QStringLiteral("ttyUSB0"));
    }
    formSettingsTab tab;
    analogData analog;
    lvExternalFeedback feedback;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    tab.bWindowLoaded = true;
    // Elsewhere (a settings import, say) input 3 became Feedback 1.
    {
        settingsStore s;
        s.setValue(settingKey::InputType, 0, 0);
        s.setValue(settingKey::InputType, 1, 2);
    }
    boxesOnly boxes;
    tab.readSettingsToGUI();
    QCOMPARE(tab.ui->cmbFeedbackInput1->currentIndex(), 2);
    QCOMPARE(tab.ui->lineEditFeedbackInput1Upper->text(), QStringLiteral("7000"));
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(stored(settingKey::InputType, 0), QStringLiteral("0"));
    QCOMPARE(stored(settingKey::MotorPort), QStringLiteral("ttyUSB0"));
}

void tst_formSettingsTab::boundaryFieldsWriteTheChosenInput()
{
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;
    ui->cmbFeedbackInput1->setCurrentIndex(1);
    ui->cmbFeedbackInput2->setCurrentIndex(0);
    ui->lineEditFeedbackInput1Upper->setText(QStringLiteral("7000"));
    emit ui->lineEditFeedbackInput1Upper->editingFinished();
    QCOMPARE(stored(settingKey::UpperBoundary, 1), QStringLiteral("7000"));
    QCOMPARE(analog.getUpperBoundaryValue(1), 7000.0);
    ui->lineEditFeedbackInput2Lower->setText(QStringLiteral("250.5"));
    emit ui->lineEditFeedbackInput2Lower->editingFinished();
    QCOMPARE(stored(settingKey::LowerBoundary, 0), QStringLiteral("250.5"));
    QCOMPARE(analog.getLowerBoundaryValue(0), 250.5);
    ui->cmbInput2IfUpperThen->setCurrentIndex(2);
    QCOMPARE(stored(settingKey::UpperBoundaryAction, 0), QStringLiteral("2"));
    QCOMPARE(analog.getUpperBoundaryAction(0), 2);
    // Not a number: 0 in the live object, the text in the store.
    ui->lineEditFeedbackInput1Lower->setText(QStringLiteral("abc"));
    emit ui->lineEditFeedbackInput1Lower->editingFinished();
    QCOMPARE(stored(settingKey::LowerBoundary, 1), QStringLiteral("abc"));
    QCOMPARE(analog.getLowerBoundaryValue(1), 0.0);
    // The boundary slots never touch the type or the positions.
    QVERIFY(!settingsStore().contains(settingKey::InputType, 1));
    QVERIFY(!settingsStore().contains(settingKey::UpperBoundarySteps, 1));

    ui->lineEditNumOfIntVal->setText(QStringLiteral("20"));
    emit ui->lineEditNumOfIntVal->editingFinished();
    QCOMPARE(stored(settingKey::IntegralQuantity), QStringLiteral("20"));
    QCOMPARE(feedback.nNumOfIntVal, 20);
    settingsStore().setValue(settingKey::PropValue, 1.5);
    ui->lineEditPropValue->setText(QStringLiteral("9"));
    ui->lineEditRelativeDifference->setText(QStringLiteral("0.1"));
    emit ui->lineEditRelativeDifference->editingFinished();
    QCOMPARE(ui->lineEditPropValue->text(), QStringLiteral("1.5"));
    QCOMPARE(stored(settingKey::RelativeDifference), QStringLiteral("0.1"));
    QCOMPARE(feedback.dblRelativeDifference, 0.1);
}

void tst_formSettingsTab::unusableNumbersAreRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("upper inf") << "lineEditFeedbackInput1Upper" << "inf";
    QTest::newRow("lower nan") << "lineEditFeedbackInput2Lower" << "nan";
    QTest::newRow("upper overflow") << "lineEditFeedbackInput2Upper" << "1e999";
}

void tst_formSettingsTab::unusableNumbersAreRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    settingsStore().setValue(settingKey::InputType, 1, 0);
    settingsStore().setValue(settingKey::InputType, 2, 1);
    settingsStore().setValue(settingKey::UpperBoundary, 9000, 0);
    settingsStore().setValue(settingKey::LowerBoundary, 100, 1);
    settingsStore().setValue(settingKey::UpperBoundary, 8000, 1);
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    auto *pField = tab.findChild<QLineEdit *>(field);
    QVERIFY(pField);
    const QString strBefore = pField->text();
    const QByteArray storeBefore = QByteArray::number(settingsStore().store().allKeys().size());

    boxesOnly boxes;
    pField->setText(text);
    emit pField->editingFinished();
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.first().startsWith(QLatin1String("Invalid value|")), qPrintable(boxes.texts.first()));
    QCOMPARE(pField->text(), strBefore);
    QVERIFY(std::isfinite(analog.getUpperBoundaryValue(0)) && std::isfinite(analog.getLowerBoundaryValue(1))
            && std::isfinite(analog.getUpperBoundaryValue(1)));

    // A page holding such a text is not saved at all.
    pField->setText(text);
    QSignalSpy updated(&tab, &formSettingsTab::updateSensorData);
    QVERIFY(!tab.saveSettingsFromGUI());
    QCOMPARE(updated.count(), 0);
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(QByteArray::number(settingsStore().store().allKeys().size()), storeBefore);
    QVERIFY(!settingsStore().contains(settingKey::PropValue));
}

void tst_formSettingsTab::wholeNumberFields()
{
    settingsStore().setValue(settingKey::LongPressTime, 1500);
    settingsStore().setValue(settingKey::PenWidth, 2);
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    QSignalSpy longPress(&tab, &formSettingsTab::setLongPressTime);
    QSignalSpy speed(&tab, &formSettingsTab::setContSpeed);

    // A long-press time that is no number changes nothing.
    ui->lineEditLongPressTime->setText(QStringLiteral("abc"));
    emit ui->lineEditLongPressTime->editingFinished();
    QCOMPARE(longPress.count(), 0);
    QCOMPARE(stored(settingKey::LongPressTime), QStringLiteral("1500"));
    // Nor does 0 or less: every tap would be a long press.
    for (const char *pszTime : {"0", "-500"}) {
        ui->lineEditLongPressTime->setText(QString::fromLatin1(pszTime));
        emit ui->lineEditLongPressTime->editingFinished();
        QCOMPARE(longPress.count(), 0);
        QCOMPARE(stored(settingKey::LongPressTime), QStringLiteral("1500"));
    }
    ui->lineEditLongPressTime->setText(QStringLiteral("800"));
    emit ui->lineEditLongPressTime->editingFinished();
    QCOMPARE(longPress.count(), 1);
    QCOMPARE(longPress.first().first().toInt(), 800);
    QCOMPARE(stored(settingKey::LongPressTime), QStringLiteral("800"));

    ui->lineEditPenWidth->setText(QStringLiteral("abc"));
    emit ui->lineEditPenWidth->editingFinished();
    QCOMPARE(stored(settingKey::PenWidth), QStringLiteral("2"));
    ui->lineEditPenWidth->setText(QStringLiteral("3"));
    emit ui->lineEditPenWidth->editingFinished();
    QCOMPARE(stored(settingKey::PenWidth), QStringLiteral("3"));

    ui->lineEditContSpeed->setText(QStringLiteral("40"));
    emit ui->lineEditContSpeed->editingFinished();
    QCOMPARE(stored(settingKey::ContinuousSpeed), QStringLiteral("40"));
    QCOMPARE(speed.takeFirst().first().toInt(), 40);

    ui->checkBoxShowSens->click();
    QCOMPARE(stored(settingKey::ShowSensitivity), QStringLiteral("true"));
}

// The test page sends no voltage and no actual value that no input can
// give: the field's message, the last sent text back, nothing sent.
void tst_formSettingsTab::debugPageRefusesValuesWithoutMeaning_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("restored");
    QTest::newRow("input 1 nan") << "lineEditDebugInput1" << "nan" << "feed input 1" << "1.5";
    QTest::newRow("input 2 overflow") << "lineEditDebugInput2" << "1e999" << "feed input 2" << "0.25";
    QTest::newRow("input 3 infinite, sent with input 1") << "lineEditDebugInput3" << "-inf" << "feed input 3" << "0";
    QTest::newRow("actual nan") << "lineEditDebugData" << "nan" << "actual" << "nan";
}

void tst_formSettingsTab::debugPageRefusesValuesWithoutMeaning()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(QString, restored);
    lvExternalFeedback feedback;
    feedback.sensor.strFormula = QStringLiteral("val1+val2");
    formSettingsTab tab;
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;
    QSignalSpy samples(&tab, &formSettingsTab::setDebugAnalogValue);
    QSignalSpy setData(&tab, &formSettingsTab::setDebugData);
    boxesOnly boxes;
    ui->lineEditDebugInput1->setText(QStringLiteral("1.5"));
    ui->lineEditDebugInput2->setText(QStringLiteral("0.25"));
    emit ui->lineEditDebugInput2->editingFinished();
    QCOMPARE(samples.count(), 1);
    QCOMPARE(ui->lineEditDebugData->text(), QStringLiteral("1.75"));

    auto *pField = tab.findChild<QLineEdit *>(field);
    QVERIFY(pField);
    pField->setText(text);
    if (pField == ui->lineEditDebugData)
        ui->pushBtnDebugSetData->click();
    else if (pField == ui->lineEditDebugInput3)
        emit ui->lineEditDebugInput1->editingFinished();
    else
        emit pField->editingFinished();
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("Invalid value|%1: \"%2\" is not a usable number. The value was "
                                                     "not changed.")
                                          .arg(caption, text)});
    QCOMPARE(samples.count(), 1);
    QCOMPARE(setData.count(), 0);
    QCOMPARE(pField->text(), restored);
}

void tst_formSettingsTab::output1AndButtons()
{
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    QSignalSpy output(&tab, &formSettingsTab::setOutput1Mode);
    QSignalSpy calibrate(&tab, &formSettingsTab::btnCalibrateClicked);
    QSignalSpy clearError(&tab, &formSettingsTab::btnClearErrorClicked);
    ui->cmbOutput1Config->setCurrentIndex(2);
    QCOMPARE(output.count(), 1);
    QCOMPARE(output.first().first().toInt(), 2);
    QCOMPARE(stored(settingKey::Output1Config), QStringLiteral("2"));
    ui->pushBtnCalibrate->click();
    ui->pushBtnClearError->click();
    QCOMPARE(calibrate.count(), 1);
    QCOMPARE(clearError.count(), 1);
    // Without the main window the calibrate-on-start choice goes nowhere.
    ui->checkBoxCalibrateOnStart->click();
    QVERIFY(!settingsStore().contains(settingKey::CalibrateOnStart));
}

void tst_formSettingsTab::nanoTecFixesTheMotorPort()
{
    for (const char *psz : {"dev/ttyUSB0", "dev/ttyAMA0", "dev/ttyUSB1", "dev/null0"})
        QVERIFY(wd->writeFile(QLatin1String(psz), QByteArray()));
    settingsStore().setValue(settingKey::MotorType, QStringLiteral("NanoTec"));
    settingsStore().setValue(settingKey::MotorPort, QStringLiteral("ttyUSB0"));
    settingsStore().setValue(settingKey::RemotePort, QStringLiteral("ttyUSB1"));
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;
    QCOMPARE(ui->cmbBoxMotorPort->count(), 3);
    QCOMPARE(ui->cmbBoxRemotePort->findText(QStringLiteral("ttyAMA0")), -1);
    QCOMPARE(ui->cmbBoxRemotePort->count(), 2);
    // The port lists are filled after the first fill; the next one selects.
    tab.readSettingsToGUI();
    QCOMPARE(ui->cmbBoxMotorPort->currentText(), QStringLiteral("ttyAMA0"));
    QVERIFY(!ui->cmbBoxMotorPort->isEnabled());
    QCOMPARE(ui->cmbBoxRemotePort->currentText(), QStringLiteral("ttyUSB1"));
    QVERIFY(tab.saveSettingsFromGUI());
    QCOMPARE(stored(settingKey::MotorPort), QStringLiteral("ttyAMA0"));
    QCOMPARE(stored(settingKey::RemotePort), QStringLiteral("ttyUSB1"));
}

void tst_formSettingsTab::storedPortsAreKept_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("motorPort");
    QTest::addColumn<QString>("remotePort");
    QTest::addColumn<QString>("savedMotorPort");
    QTest::addColumn<QString>("motorList");
    QTest::addColumn<QString>("remoteList");
    const QStringList usb{QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")};
    QTest::newRow("both present") << "BergerLahr" << usb << "ttyUSB1" << "ttyUSB0" << "ttyUSB1"
                                  << "ttyUSB0,ttyUSB1" << "ttyUSB0,ttyUSB1";
    QTest::newRow("both unplugged") << "BergerLahr" << usb << "ttyUSB3" << "ttyACM0" << "ttyUSB3"
                                    << "ttyUSB0,ttyUSB1,ttyUSB3" << "ttyUSB0,ttyUSB1,ttyACM0";
    QTest::newRow("no port at all") << "BergerLahr" << QStringList() << "ttyUSB0" << "ttyUSB1" << "ttyUSB0"
                                    << "ttyUSB0" << "ttyUSB1";
    QTest::newRow("nothing stored") << "BergerLahr" << usb << "" << "" << "ttyUSB0" << "ttyUSB0,ttyUSB1"
                                    << "ttyUSB0,ttyUSB1";
    QTest::newRow("NanoTec without its UART") << "NanoTec" << usb << "ttyUSB0" << "ttyUSB1" << "ttyAMA0"
                                              << "ttyUSB0,ttyUSB1,ttyAMA0" << "ttyUSB0,ttyUSB1";
}

// A port that is stored but not plugged in when the page is built stays the
// page's choice: leaving the page must not put another port in its place.
void tst_formSettingsTab::storedPortsAreKept()
{
    QFETCH(QString, type);
    QFETCH(QStringList, present);
    QFETCH(QString, motorPort);
    QFETCH(QString, remotePort);
    QFETCH(QString, savedMotorPort);
    QFETCH(QString, motorList);
    QFETCH(QString, remoteList);
    for (const QString &strPort : present)
        QVERIFY(wd->writeFile(QStringLiteral("dev/") + strPort, QByteArray()));
    {
        settingsStore s;
        s.setValue(settingKey::MotorType, type);
        if (!motorPort.isEmpty())
            s.setValue(settingKey::MotorPort, motorPort);
        if (!remotePort.isEmpty())
            s.setValue(settingKey::RemotePort, remotePort);
    }
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;
    auto items = [](QComboBox *pCombo) {
        QStringList list;
        for (int i = 0; i < pCombo->count(); ++i)
            list << pCombo->itemText(i);
        return list.join(QLatin1Char(','));
    };
    // Right after construction and after every later fill alike.
    for (int nFill = 0; nFill < 2; ++nFill) {
        QCOMPARE(items(ui->cmbBoxMotorPort), motorList);
        QCOMPARE(items(ui->cmbBoxRemotePort), remoteList);
        QCOMPARE(ui->cmbBoxMotorPort->currentText(), savedMotorPort);
        QVERIFY(tab.saveSettingsFromGUI());
        QCOMPARE(stored(settingKey::MotorPort), savedMotorPort);
        QCOMPARE(stored(settingKey::RemotePort), remotePort.isEmpty() ? QStringLiteral("ttyUSB0") : remotePort);
        tab.readSettingsToGUI();
    }
}

void tst_formSettingsTab::sensorFolderIsListed()
{
    QVERIFY(wd->writeFile(QStringLiteral("sensor/Pirani.kfxsensor"), "Pirani;Leak rate;mbar l/s;val1*2;no_exp;#.##;"));
    // Listed under the name inside the file.
    QVERIFY(wd->writeFile(QStringLiteral("sensor/file.name.kfxsensor"), "Inner;P;mbar;val2;exp;;"));
    QVERIFY(wd->writeFile(QStringLiteral("sensor/notes.txt"), "x"));
    QVERIFY(wd->writeFile(QStringLiteral("sensor/CAPS.KFXSENSOR"), "Caps;P;mbar;val2;exp;;"));
    QVERIFY(QDir(wd->path()).mkpath(QStringLiteral("sensor/dir.kfxsensor")));
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    QCOMPARE(ui->cmbFeedbackType->count(), 2);
    QCOMPARE(ui->cmbFeedbackType->itemText(0), QStringLiteral("Inner"));
    QCOMPARE(ui->cmbFeedbackType->itemText(1), QStringLiteral("Pirani"));
    ui->cmbFeedbackType->setCurrentIndex(1);
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val1*2"));
    QCOMPARE(ui->lblSensorUnit->text(), QStringLiteral("mbar l/s"));
    QCOMPARE(ui->lblSensorInputMask->text(), QStringLiteral("#.##"));
}

void tst_formSettingsTab::sensorAddChangeRenameDelete()
{
    QVERIFY(wd->writeFile(QStringLiteral("sensor/Pirani.kfxsensor"), "Pirani;Leak rate;mbar l/s;val1*2;no_exp;#.##;"));
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    boxesOnly boxes;

    {
        sensorDialogAnswer dlg(QStringLiteral("Penning"), QStringLiteral("val2*3"), QStringLiteral("mbar"));
        ui->pushBtnAddSensor->click();
        QVERIFY(dlg.bDialog);
        QCOMPARE(dlg.seenName, QString());
    }
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(wd->readFile(QStringLiteral("sensor/Penning.kfxsensor")), QByteArray("Penning;;mbar;val2*3;no_exp;;"));
    QCOMPARE(ui->cmbFeedbackType->currentText(), QStringLiteral("Penning"));
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val2*3"));

    // The list shows the folder in its order.
    QCOMPARE(ui->cmbFeedbackType->itemText(0), QStringLiteral("Penning"));
    QCOMPARE(ui->cmbFeedbackType->itemText(1), QStringLiteral("Pirani"));

    // Changing keeps the stored exponential flag.
    ui->cmbFeedbackType->setCurrentIndex(1);
    {
        sensorDialogAnswer dlg(QString(), QStringLiteral("val1*4"), QString());
        ui->pushBtnChangeSensor->click();
        QVERIFY(dlg.bDialog);
        QCOMPARE(dlg.seenName, QStringLiteral("Pirani"));
        QVERIFY(!dlg.seenExp);
    }
    QCOMPARE(wd->readFile(QStringLiteral("sensor/Pirani.kfxsensor")),
             QByteArray("Pirani;Leak rate;mbar l/s;val1*4;no_exp;#.##;"));
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val1*4"));

    // Renaming moves the file; the entry follows it in the folder's order.
    {
        sensorDialogAnswer dlg(QStringLiteral("Pirani 2"), QString(), QString());
        ui->pushBtnChangeSensor->click();
        QVERIFY(dlg.bDialog);
    }
    QVERIFY(!QFile::exists(wd->filePath(QStringLiteral("sensor/Pirani.kfxsensor"))));
    QVERIFY(QFile::exists(wd->filePath(QStringLiteral("sensor/Pirani 2.kfxsensor"))));
    QCOMPARE(ui->cmbFeedbackType->itemText(1), QStringLiteral("Pirani 2"));
    QCOMPARE(ui->cmbFeedbackType->currentText(), QStringLiteral("Pirani 2"));
    QCOMPARE(tab.sensorList.at(1).strName, QStringLiteral("Pirani 2"));
    QCOMPARE(tab.sensorList.at(1).strFileName, QStringLiteral("Pirani 2"));

    // Deleting removes file, list entry and combo entry; the labels follow.
    ui->pushBtnDeleteSensor->click();
    QVERIFY(!QFile::exists(wd->filePath(QStringLiteral("sensor/Pirani 2.kfxsensor"))));
    QCOMPARE(tab.sensorList.size(), 1);
    QCOMPARE(ui->cmbFeedbackType->currentText(), QStringLiteral("Penning"));
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val2*3"));
    ui->pushBtnDeleteSensor->click();
    QCOMPARE(ui->cmbFeedbackType->count(), 0);
    QCOMPARE(ui->lblSensorFormula->text(), QString());
    ui->pushBtnDeleteSensor->click();  // nothing left: nothing happens
    QVERIFY(boxes.texts.isEmpty());
}

void tst_formSettingsTab::sensorRefusals()
{
    const QByteArray pirani("Pirani;Leak rate;mbar l/s;val1*2;no_exp;#.##;");
    const QByteArray penning("Penning;P;mbar;val2;exp;;");
    QVERIFY(wd->writeFile(QStringLiteral("sensor/Pirani.kfxsensor"), pirani));
    QVERIFY(wd->writeFile(QStringLiteral("sensor/Penning.kfxsensor"), penning));
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    const QStringList before = QDir(wd->filePath(QStringLiteral("sensor"))).entryList(QDir::Files);

    const struct {
        const char *pszName;
        bool bChange;
        const char *pszBox;
    } cases[] = {
        {"Pirani", false, "Sensor exists"},
        {"", false, "Invalid sensor name"},
        {"../escape", false, "Invalid sensor name"},
        {"..", false, "Invalid sensor name"},
        {".hidden", false, "Invalid sensor name"},
        {"a;b", false, "Invalid sensor name"},
        {"Penning", true, "Sensor exists"},   // renaming onto another sensor
        {"a\\b", true, "Invalid sensor name"},
    };
    for (const auto &c : cases) {
        boxesOnly boxes;
        ui->cmbFeedbackType->setCurrentIndex(ui->cmbFeedbackType->findText(QStringLiteral("Pirani")));
        sensorDialogAnswer dlg(QString::fromUtf8(c.pszName), QString(), QString());
        (c.bChange ? ui->pushBtnChangeSensor : ui->pushBtnAddSensor)->click();
        QVERIFY2(dlg.bDialog, c.pszName);
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.first().startsWith(QLatin1String(c.pszBox)), qPrintable(boxes.texts.first()));
        QCOMPARE(QDir(wd->filePath(QStringLiteral("sensor"))).entryList(QDir::Files), before);
        QCOMPARE(ui->cmbFeedbackType->count(), 2);
        QCOMPARE(tab.sensorList.size(), 2);
    }
    QCOMPARE(wd->readFile(QStringLiteral("sensor/Pirani.kfxsensor")), pirani);
    QCOMPARE(wd->readFile(QStringLiteral("sensor/Penning.kfxsensor")), penning);
    QVERIFY(!QFile::exists(wd->filePath(QStringLiteral("escape.kfxsensor"))));
}

void tst_formSettingsTab::missingSensorFolderIsReported()
{
    QVERIFY(QDir(wd->filePath(QStringLiteral("sensor"))).removeRecursively());
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    QCOMPARE(ui->cmbFeedbackType->count(), 0);
    boxesOnly boxes;
    sensorDialogAnswer dlg(QStringLiteral("Penning"), QStringLiteral("val1"), QString());
    ui->pushBtnAddSensor->click();
    QVERIFY(dlg.bDialog);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.first().startsWith(QLatin1String("Sensor not saved|The sensor folder")),
             qPrintable(boxes.texts.first()));
    QCOMPARE(ui->cmbFeedbackType->count(), 0);
    QVERIFY(tab.sensorList.isEmpty());
}

// With no sensor listed the change button defines one all the same; it is
// then listed like an added one and can be deleted again.
void tst_formSettingsTab::changeWithoutListedSensor()
{
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    QCOMPARE(ui->cmbFeedbackType->count(), 0);
    boxesOnly boxes;
    {
        sensorDialogAnswer dlg(QStringLiteral("Penning"), QStringLiteral("val1"), QStringLiteral("mbar"));
        ui->pushBtnChangeSensor->click();
        QVERIFY(dlg.bDialog);
    }
    QVERIFY(boxes.texts.isEmpty());
    QVERIFY(QFile::exists(wd->filePath(QStringLiteral("sensor/Penning.kfxsensor"))));
    QCOMPARE(ui->cmbFeedbackType->count(), 1);
    QCOMPARE(tab.sensorList.size(), 1);
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val1"));
    ui->pushBtnDeleteSensor->click();
    QVERIFY(!QFile::exists(wd->filePath(QStringLiteral("sensor/Penning.kfxsensor"))));
    QCOMPARE(ui->cmbFeedbackType->count(), 0);
}

// The active sensor is defined in the store; when no file of that name is
// in the sensor folder, leaving the page must not give its formula the name
// of another listed sensor.
void tst_formSettingsTab::activeSensorWithoutFileKeepsItsName()
{
    QVERIFY(wd->writeFile(QStringLiteral("sensor/Penning.kfxsensor"), "Penning;P;mbar;val2;exp;;"));
    {
        settingsStore s;
        s.setValue(settingKey::SensorName, QStringLiteral("Pirani"));
        s.setValue(settingKey::SensorFormula, QStringLiteral("val1*2"));
        s.setValue(settingKey::SensorUnit, QStringLiteral("mbar l/s"));
    }
    analogData analog;
    lvExternalFeedback feedback;
    formSettingsTab tab;
    tab.setAnalogData(&analog);
    tab.setExtFeedback(&feedback);
    Ui::formSettingsTab *ui = tab.ui;
    for (int nFill = 0; nFill < 2; ++nFill) {
        QCOMPARE(ui->cmbFeedbackType->currentText(), QStringLiteral("Pirani"));
        QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val1*2"));
        QVERIFY(tab.saveSettingsFromGUI());
        QCOMPARE(stored(settingKey::SensorName), QStringLiteral("Pirani"));
        QCOMPARE(stored(settingKey::SensorFormula), QStringLiteral("val1*2"));
        QCOMPARE(feedback.sensor.strName, QStringLiteral("Pirani"));
        tab.readSettingsToGUI();
    }
    QCOMPARE(ui->cmbFeedbackType->count(), 2);
    // Switching away and back shows its definition again.
    ui->cmbFeedbackType->setCurrentIndex(ui->cmbFeedbackType->findText(QStringLiteral("Penning")));
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val2"));
    ui->cmbFeedbackType->setCurrentIndex(ui->cmbFeedbackType->findText(QStringLiteral("Pirani")));
    QCOMPARE(ui->lblSensorUnit->text(), QStringLiteral("mbar l/s"));
}

// A.kfxsensor holds "B" and B.kfxsensor holds "C", as one renamed file on
// the panel's share leaves them: every action goes to the file a definition
// came from, never over another one, and the list then shows the folder.
void tst_formSettingsTab::sensorFilesRenamedOnTheShare()
{
    const QByteArray sensorB("B;bd;bu;val1*2;exp;;");
    const QByteArray sensorC("C;cd;cu;val2;exp;;");
    QVERIFY(wd->writeFile(QStringLiteral("sensor/A.kfxsensor"), sensorB));
    QVERIFY(wd->writeFile(QStringLiteral("sensor/B.kfxsensor"), sensorC));
    // Listed under no name: the one inside does not read back as itself.
    QVERIFY(wd->writeFile(QStringLiteral("sensor/x.kfxsensor"), "\xef\xbb\xbf\xef\xbb\xbfn;;;;;;"));
    formSettingsTab tab;
    Ui::formSettingsTab *ui = tab.ui;
    const auto listed = [ui] {
        QStringList names;
        for (int i = 0; i < ui->cmbFeedbackType->count(); ++i)
            names << ui->cmbFeedbackType->itemText(i);
        return names;
    };
    QCOMPARE(listed(), QStringList({"B", "C"}));

    // Adding "A", or renaming "C" to "A", would write over B's file.
    const struct {
        const char *pszAction;
        QPushButton *pButton;
        const char *pszSensor;
    } refusals[] = {{"add", ui->pushBtnAddSensor, "B"}, {"rename", ui->pushBtnChangeSensor, "C"}};
    for (const auto &r : refusals) {
        boxesOnly boxes;
        ui->cmbFeedbackType->setCurrentIndex(ui->cmbFeedbackType->findText(QLatin1String(r.pszSensor)));
        sensorDialogAnswer dlg(QStringLiteral("A"), QString(), QString());
        r.pButton->click();
        QVERIFY2(dlg.bDialog, r.pszAction);
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.first().startsWith(QLatin1String("Sensor exists|")), qPrintable(boxes.texts.first()));
        QCOMPARE(wd->readFile(QStringLiteral("sensor/A.kfxsensor")), sensorB);
        QCOMPARE(wd->readFile(QStringLiteral("sensor/B.kfxsensor")), sensorC);
        QCOMPARE(listed(), QStringList({"B", "C"}));
        QCOMPARE(ui->cmbFeedbackType->currentText(), QLatin1String(r.pszSensor));
    }

    // Changing "B" rewrites its own file.
    boxesOnly boxes;
    ui->cmbFeedbackType->setCurrentIndex(ui->cmbFeedbackType->findText(QStringLiteral("B")));
    {
        sensorDialogAnswer dlg(QString(), QStringLiteral("val1*3"), QString());
        ui->pushBtnChangeSensor->click();
        QVERIFY(dlg.bDialog);
    }
    QCOMPARE(wd->readFile(QStringLiteral("sensor/A.kfxsensor")), QByteArray("B;bd;bu;val1*3;exp;;"));
    QCOMPARE(wd->readFile(QStringLiteral("sensor/B.kfxsensor")), sensorC);
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val1*3"));

    // Deleting "B" removes A.kfxsensor; "C" keeps its file and its entry.
    // A file put on the share meanwhile is listed after the action.
    QVERIFY(wd->writeFile(QStringLiteral("sensor/E.kfxsensor"), "E;ed;eu;val1;exp;;"));
    ui->pushBtnDeleteSensor->click();
    QVERIFY(!QFile::exists(wd->filePath(QStringLiteral("sensor/A.kfxsensor"))));
    QCOMPARE(wd->readFile(QStringLiteral("sensor/B.kfxsensor")), sensorC);
    QCOMPARE(listed(), QStringList({"C", "E"}));
    QCOMPARE(ui->lblSensorFormula->text(), QStringLiteral("val2"));

    // Now "A" names a free file.
    {
        sensorDialogAnswer dlg(QStringLiteral("A"), QStringLiteral("val1"), QString());
        ui->pushBtnAddSensor->click();
        QVERIFY(dlg.bDialog);
    }
    QCOMPARE(listed(), QStringList({"A", "C", "E"}));
    QCOMPARE(ui->cmbFeedbackType->currentText(), QStringLiteral("A"));
    QVERIFY(boxes.texts.isEmpty());
    QVERIFY(QFile::exists(wd->filePath(QStringLiteral("sensor/x.kfxsensor"))));

    // A file that cannot be removed (here a folder has taken its name since
    // it was read; CI runs as root, whom file modes do not stop): a box says
    // why, nothing is removed, and the list shows the share as it is.
    ui->cmbFeedbackType->setCurrentIndex(ui->cmbFeedbackType->findText(QStringLiteral("E")));
    QVERIFY(QFile::remove(wd->filePath(QStringLiteral("sensor/E.kfxsensor"))));
    QVERIFY(QDir(wd->path()).mkpath(QStringLiteral("sensor/E.kfxsensor/kept")));
    ui->pushBtnDeleteSensor->click();
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.first().startsWith(QLatin1String("Sensor not deleted|")), qPrintable(boxes.texts.first()));
    QVERIFY(QFileInfo(wd->filePath(QStringLiteral("sensor/E.kfxsensor/kept"))).isDir());
    QCOMPARE(listed(), QStringList({"A", "C"}));
}

QTEST_MAIN(tst_formSettingsTab)
#include "tst_formSettingsTab.moc"
