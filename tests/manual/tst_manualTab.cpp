// The Manual tab: every operator request leaves as a signal, in order; the
// set-data run locks the motion buttons until Stop; unconvertible set values
// are refused with the conversion box; touching a curve fills the fields.
#include "manual/formCurrentState.h"
#include "manual/formManualTab.h"
#include "manual/qLvCustomPlot.h"

#include "app/onScreenKeyboard.h"
#include "app/qLvLineEdit.h"
#include "diagramFixtures.h"
#include "signalLog.h"
#include "testWorkDir.h"

#include <QFileDialog>
#include <QIntValidator>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

// Every signal of the tab, in emission order.
class manualTabLog : public signalLog
{
public:
    explicit manualTabLog(formManualTab *pTab)
    {
        follow(pTab, &formManualTab::onPlusPressed, "onPlusPressed");
        follow(pTab, &formManualTab::onPlusContPressed, "onPlusContPressed");
        follow(pTab, &formManualTab::onMinusPressed, "onMinusPressed");
        follow(pTab, &formManualTab::onMinusContPressed, "onMinusContPressed");
        follow(pTab, &formManualTab::onOpenClicked, "onOpenClicked");
        follow(pTab, &formManualTab::onCloseClicked, "onCloseClicked");
        follow(pTab, &formManualTab::onHaltClicked, "onHaltClicked");
        follow(pTab, &formManualTab::onGotoStepClicked, "onGotoStepClicked");
        follow(pTab, &formManualTab::onGotoLeakClicked, "onGotoLeakClicked");
        follow(pTab, &formManualTab::readPosition, "readPosition");
        follow(pTab, &formManualTab::clearMotorError, "clearMotorError");
        follow(pTab, &formManualTab::setDataFromPlotClick, "setDataFromPlotClick");
        follow(pTab, &formManualTab::setMeasurement, "setMeasurement");
        follow(pTab, &formManualTab::setNewTeachIn, "setNewTeachIn");
    }
};

const char *const motionButtons[] = {"pushBtnClose",       "pushBtnFastClose",   "pushBtnFasterClose",
                                     "pushBtnFasterOpen",  "pushBtnFastOpen",    "pushBtnOneStepClose",
                                     "pushBtnOneStepOpen", "pushBtnOpen",        "pushBtnSetStepsGo",
                                     "pushBtnSetStepsStop"};

} // namespace

class tst_manualTab : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formAfterSetUp();
    void continuousButtons_data();
    void continuousButtons();
    void singleButtons_data();
    void singleButtons();
    void setStepsGo_data();
    void setStepsGo();
    void setDataRunAndStop();
    void setDataStartPositionUsesMeasuredValue();
    void setDataConversionFailure_data();
    void setDataConversionFailure();
    void stopSetDataWhileIdle();
    void plotClickText_data();
    void plotClickText();
    void touchCurveFillsFields();
    void extFeedbackLabels();
    void teachInAndPassThrough();

private:
    QPushButton *button(const char *pszName) const { return pTab->findChild<QPushButton *>(pszName); }
    qLvLineEdit *field(const char *pszName) const { return pTab->findChild<qLvLineEdit *>(pszName); }
    void verifyIdle() const;
    void verifyRunning() const;

    testWorkDir *pWorkDir = nullptr;
    formManualTab *pTab = nullptr;
};

void tst_manualTab::init()
{
    pWorkDir = new testWorkDir;
    QVERIFY(pWorkDir->isValid());
    pTab = new formManualTab;
    pTab->resize(800, 420);
    pTab->show();
    QVERIFY(QTest::qWaitForWindowExposed(pTab));
}

void tst_manualTab::cleanup()
{
    delete pTab;
    pTab = nullptr;
    delete pWorkDir;
    pWorkDir = nullptr;
}

void tst_manualTab::verifyIdle() const
{
    QVERIFY(!pTab->bSetDataRunning);
    QVERIFY(button("pushBtnSetLeakrateGo")->isEnabled());
    QVERIFY(!button("pushBtnSetLeakrateStop")->isEnabled());
    for (const char *pszName : motionButtons)
        QVERIFY2(button(pszName)->isEnabled(), pszName);
    QVERIFY(field("lineEditSetDataValue")->isEnabled() && field("lineEditSetSteps")->isEnabled());
}

void tst_manualTab::verifyRunning() const
{
    QVERIFY(pTab->bSetDataRunning);
    QVERIFY(!button("pushBtnSetLeakrateGo")->isEnabled());
    QVERIFY(button("pushBtnSetLeakrateStop")->isEnabled());
    for (const char *pszName : motionButtons)
        QVERIFY2(!button(pszName)->isEnabled(), pszName);
    QVERIFY(field("lineEditSetDataValue")->isEnabled() && field("lineEditSetSteps")->isEnabled());
}

void tst_manualTab::formAfterSetUp()
{
    QCOMPARE(pTab->objectName(), QString("formManualTab"));
    QCOMPARE(pTab->findChild<QLabel *>("lblSetData")->text(), QString("Set Data"));
    QCOMPARE(pTab->findChild<QLabel *>("lblSetDataUnit")->text(), QString("Unit"));
    QCOMPARE(pTab->findChild<QLabel *>("lblSetSteps")->text(), QString("Set Steps"));

    const QList<QPushButton *> buttons = pTab->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 12);
    for (QPushButton *pButton : buttons) {
        QVERIFY2(pButton->text().isEmpty(), qPrintable(pButton->objectName()));
        QVERIFY2(!pButton->icon().isNull(), qPrintable(pButton->objectName()));
        QCOMPARE(pButton->iconSize(), QSize(40, 40));
    }
    // The set-steps Go and Stop show the set-data Go and Stop icons.
    auto image = [this](const char *pszName) { return button(pszName)->icon().pixmap(40, 40).toImage(); };
    QCOMPARE(image("pushBtnSetStepsGo"), image("pushBtnSetLeakrateGo"));
    QCOMPARE(image("pushBtnSetStepsStop"), image("pushBtnSetLeakrateStop"));
    QVERIFY(image("pushBtnSetStepsGo") != image("pushBtnSetStepsStop"));

    QCOMPARE(field("lineEditSetDataValue")->keyboardMode(), int(KEYBOARD_KEYPAD));
    QCOMPARE(field("lineEditSetSteps")->keyboardMode(), int(KEYBOARD_KEYPAD));
    QVERIFY(!field("lineEditSetDataValue")->validator());
    auto *pValidator = qobject_cast<const QIntValidator *>(field("lineEditSetSteps")->validator());
    QVERIFY(pValidator);
    QCOMPARE(pValidator->bottom(), 50);
    QCOMPARE(pValidator->top(), 1024000);

    QVERIFY(pTab->findChild<formCurrentState *>("widgetCurrentState"));
    QCOMPARE(pTab->currentState()->plot()->nLongPressTime, 2000);
    verifyIdle();
}

void tst_manualTab::continuousButtons_data()
{
    QTest::addColumn<QString>("strButton");
    QTest::addColumn<QStringList>("signalsEmitted");
    QTest::newRow("fast open") << "pushBtnFastOpen"
                               << QStringList{"onPlusContPressed(true,5)", "onPlusContPressed(false,1)"};
    QTest::newRow("faster open") << "pushBtnFasterOpen"
                                 << QStringList{"onPlusContPressed(true,10)", "onPlusContPressed(false,1)"};
    QTest::newRow("fast close") << "pushBtnFastClose"
                                << QStringList{"onMinusContPressed(true,5)", "onMinusContPressed(false,1)"};
    QTest::newRow("faster close") << "pushBtnFasterClose"
                                  << QStringList{"onMinusContPressed(true,10)", "onMinusContPressed(false,1)"};
}

void tst_manualTab::continuousButtons()
{
    QFETCH(QString, strButton);
    QFETCH(QStringList, signalsEmitted);
    manualTabLog log(pTab);
    QPushButton *pButton = button(qPrintable(strButton));

    QTest::mousePress(pButton, Qt::LeftButton);
    QCOMPARE(log.take(), signalsEmitted.mid(0, 1));
    QTest::mouseRelease(pButton, Qt::LeftButton);
    QCOMPARE(log.take(), signalsEmitted.mid(1, 1));
}

void tst_manualTab::singleButtons_data()
{
    QTest::addColumn<QString>("strButton");
    QTest::addColumn<QString>("strSignal");
    QTest::newRow("one step open") << "pushBtnOneStepOpen" << "onPlusPressed()";
    QTest::newRow("one step close") << "pushBtnOneStepClose" << "onMinusPressed()";
    QTest::newRow("open") << "pushBtnOpen" << "onOpenClicked()";
    QTest::newRow("close") << "pushBtnClose" << "onCloseClicked()";
    QTest::newRow("set-steps stop") << "pushBtnSetStepsStop" << "onHaltClicked()";
}

void tst_manualTab::singleButtons()
{
    QFETCH(QString, strButton);
    QFETCH(QString, strSignal);
    manualTabLog log(pTab);
    QTest::mouseClick(button(qPrintable(strButton)), Qt::LeftButton);
    QCOMPARE(log.take(), QStringList(strSignal));
}

void tst_manualTab::setStepsGo_data()
{
    QTest::addColumn<QString>("strText");
    QTest::addColumn<QString>("strSignal");
    QTest::newRow("empty field") << "" << "onGotoStepClicked(0)";
    QTest::newRow("unfinished value") << "5" << "onGotoStepClicked(5)";
    QTest::newRow("position") << "500000" << "onGotoStepClicked(500000)";
}

void tst_manualTab::setStepsGo()
{
    QFETCH(QString, strText);
    QFETCH(QString, strSignal);
    field("lineEditSetSteps")->setText(strText);
    manualTabLog log(pTab);
    QTest::mouseClick(button("pushBtnSetStepsGo"), Qt::LeftButton);
    QCOMPARE(log.take(), QStringList(strSignal));
}

void tst_manualTab::setDataRunAndStop()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 0, 1.0));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 100000, 2.0));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 300000, 4.0));
    pTab->setTeachIn(&teachIn);

    manualTabLog log(pTab);
    field("lineEditSetDataValue")->setText("3.0");
    QTest::mouseClick(button("pushBtnSetLeakrateGo"), Qt::LeftButton);
    QCOMPARE(log.take(), QStringList({"onGotoLeakClicked(3,200000)", "setMeasurement(true)"}));
    verifyRunning();

    // Disabled motion buttons send nothing.
    QTest::mouseClick(button("pushBtnOpen"), Qt::LeftButton);
    QTest::mouseClick(button("pushBtnSetStepsGo"), Qt::LeftButton);
    QCOMPARE(log.take(), QStringList());

    QTest::mouseClick(button("pushBtnSetLeakrateStop"), Qt::LeftButton);
    QCOMPARE(log.take(), QStringList({"setMeasurement(false)", "onHaltClicked()"}));
    verifyIdle();

    // An exponent is a number as well; without a teach-in point pair the start
    // position is "not found".
    lvTeachIn empty;
    pTab->setTeachIn(&empty);
    log.take();
    field("lineEditSetDataValue")->setText("1.5e-6");
    QTest::mouseClick(button("pushBtnSetLeakrateGo"), Qt::LeftButton);
    QCOMPARE(log.take(), QStringList({"onGotoLeakClicked(1.5e-06,-1)", "setMeasurement(true)"}));
    verifyRunning();
}

void tst_manualTab::setDataStartPositionUsesMeasuredValue()
{
    // Both curves in use: a set value below the measured value takes the
    // close curve.
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    teachIn.nCurveUse = CURVE_USE_BOTH;
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 0, 1.0));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 400000, 5.0));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_CLOSE, 600000, 5.0));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_CLOSE, 200000, 1.0));
    pTab->setTeachIn(&teachIn);
    field("lineEditSetDataValue")->setText("3");

    manualTabLog log(pTab);
    pTab->setDataFromMeasurement(4.0);
    QTest::mouseClick(button("pushBtnSetLeakrateGo"), Qt::LeftButton);
    QCOMPARE(log.take().value(0), QString("onGotoLeakClicked(3,400000)"));
    QTest::mouseClick(button("pushBtnSetLeakrateStop"), Qt::LeftButton);
    log.take();

    pTab->setDataFromMeasurement(2.0);
    QTest::mouseClick(button("pushBtnSetLeakrateGo"), Qt::LeftButton);
    QCOMPARE(log.take().value(0), QString("onGotoLeakClicked(3,200000)"));
}

void tst_manualTab::setDataConversionFailure_data()
{
    QTest::addColumn<QString>("strText");
    QTest::newRow("decimal comma") << "1,5e-6";
    QTest::newRow("empty") << "";
    QTest::newRow("nan") << "nan";
    QTest::newRow("inf") << "inf";
    QTest::newRow("-inf") << "-inf";
}

void tst_manualTab::setDataConversionFailure()
{
    QFETCH(QString, strText);
    field("lineEditSetDataValue")->setText(strText);
    manualTabLog log(pTab);

    QString strBoxText, strBoxInfo;
    int nButtons = 0;
    modalAnswerer answer([&](QWidget *pWidget) {
        if (auto *pBox = qobject_cast<QMessageBox *>(pWidget)) {
            strBoxText = pBox->text();
            strBoxInfo = pBox->informativeText();
            nButtons = pBox->buttons().size();
            if (pBox->defaultButton() == pBox->button(QMessageBox::Ok))
                pBox->defaultButton()->click();
        }
        if (pWidget->isVisible())
            pWidget->close();
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    QTest::mouseClick(button("pushBtnSetLeakrateGo"), Qt::LeftButton);

    QCOMPARE(strBoxText, QString("Number Conversion Error"));
    QVERIFY(strBoxInfo.startsWith("The data you set, could not be converted into a number."));
    QVERIFY(strBoxInfo.endsWith("Hint: Ust decimal point not decimal comma."));
    QCOMPARE(nButtons, 1);
    QCOMPARE(log.take(), QStringList());
    verifyIdle();
}

void tst_manualTab::stopSetDataWhileIdle()
{
    // The main window's "Stop" answer and the Stop button always do all of it.
    manualTabLog log(pTab);
    pTab->stopSetData();
    QCOMPARE(log.take(), QStringList({"setMeasurement(false)", "onHaltClicked()"}));
    verifyIdle();
}

void tst_manualTab::plotClickText_data()
{
    QTest::addColumn<double>("dblValue");
    QTest::addColumn<bool>("bExponential");
    QTest::addColumn<QString>("strMask");
    QTest::addColumn<QString>("strText");
    QTest::newRow("tiny, exponential") << 0.00000025 << true << "" << "2.50E-07";
    QTest::newRow("tiny, fixed") << 0.00000025 << false << "" << "2.5e-07";
    QTest::newRow("small, exponential") << 0.00025 << true << "" << "2.50E-04";
    QTest::newRow("small, fixed") << 0.00025 << false << "" << "0.00025";
    QTest::newRow("through the sensor's mask") << 0.00000025 << true << "9.99E-99" << "2.50E-07";
}

void tst_manualTab::plotClickText()
{
    QFETCH(double, dblValue);
    QFETCH(bool, bExponential);
    QFETCH(QString, strMask);
    QFETCH(QString, strText);

    lvExternalFeedback feedback;
    feedback.sensor.bExponential = bExponential;
    feedback.sensor.strInputMask = strMask;
    pTab->setExtFeedback(feedback);

    manualTabLog log(pTab);
    pTab->getDataFromPlotClick(dblValue);
    QCOMPARE(field("lineEditSetDataValue")->text(), strText);
    QCOMPARE(log.take(), QStringList(QString("setDataFromPlotClick(%1)").arg(dblValue)));

    pTab->getStepFromPlotClick(123456);
    QCOMPARE(field("lineEditSetSteps")->text(), QString("123456"));
}

void tst_manualTab::touchCurveFillsFields()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 4, 0);
    pTab->setTeachIn(&teachIn);
    qLvCustomPlot *pPlot = pTab->currentState()->plot();
    pPlot->replot(QCustomPlot::rpImmediateRefresh);

    QCPGraph *pOpen = pTab->currentState()->openGraph();
    auto it = pOpen->data()->at(1); // (100000, 2.0)
    QTest::mouseClick(pPlot, Qt::LeftButton, Qt::NoModifier, pOpen->coordsToPixels(it->key, it->value).toPoint());

    // The tab's sensor until setExtFeedback is the default, exponential one.
    QCOMPARE(field("lineEditSetDataValue")->text(), QString("2.00E+00"));
    const int nSteps = field("lineEditSetSteps")->text().toInt();
    QVERIFY2(std::abs(nSteps - 100000) <= pPlot->xAxis->range().size() / 100, qPrintable(QString::number(nSteps)));
}

void tst_manualTab::extFeedbackLabels()
{
    lvExternalFeedback feedback;
    feedback.sensor.strDataName = "Leakrate";
    feedback.sensor.strUnit = "mbar*l/sec";
    feedback.sensor.strInputMask = "9.99E-99";
    pTab->setExtFeedback(feedback);
    QCOMPARE(pTab->findChild<QLabel *>("lblSetData")->text(), QString("Set Leakrate"));
    QCOMPARE(pTab->findChild<QLabel *>("lblSetDataUnit")->text(), QString("mbar*l/sec"));
    QCOMPARE(field("lineEditSetDataValue")->inputMask(), QString("9.99E-99"));
}

void tst_manualTab::teachInAndPassThrough()
{
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "active";
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 3);

    manualTabLog log(pTab);
    pTab->setTeachIn(&teachIn);
    QCOMPARE(log.take(), QStringList({"readPosition()", "clearMotorError()"}));
    QCOMPARE(pTab->currentState()->title()->text(), QString("active"));
    QCOMPARE(pTab->currentState()->teachIn(), &teachIn);

    pTab->setLongPressTime(750);
    QCOMPARE(pTab->currentState()->plot()->nLongPressTime, 750);

    emit pTab->currentState()->setNewTeachIn("/work/teachIn/other.kfxteachin");
    QCOMPARE(log.take(), QStringList("setNewTeachIn(/work/teachIn/other.kfxteachin)"));

    // printDiagram() asks the diagram for its print dialog.
    bool bDialog = false;
    modalAnswerer answer([&bDialog](QWidget *pWidget) {
        bDialog = qobject_cast<QFileDialog *>(pWidget) != nullptr;
        static_cast<QDialog *>(pWidget)->reject();
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    pTab->printDiagram();
    QVERIFY(bDialog);
}

QTEST_MAIN(tst_manualTab)
#include "tst_manualTab.moc"
