#include "app/formStatusWidget.h"
#include "app/mustCalibrateText.h"
#include "app/qLvLabel.h"
#include "app/qlvMessageBox.h"
#include "app/statusStickyRules.h"
#include "app/statusStripTexts.h"
#include "platform/processRunner.h"
#include "valve/analogData.h"
#include "valve/lvExternalFeedback.h"

#include "fakeClock.h"
#include "fakeProcessRunner.h"
#include "modalAnswerer.h"
#include "testWorkDir.h"

#include <QAbstractButton>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A runner whose started programs the test ends or fails at will.
class scriptedRunner : public processRunner
{
public:
    struct handle : runningProcess
    {
        explicit handle(scriptedRunner *pOwner, bool bRun) : pOwner(pOwner), bRunning(bRun) {}
        ~handle() override { pOwner->nDeleted++; }
        bool isRunning() const override { return bRunning; }
        void kill() override { bRunning = false; pOwner->nKilled++; }
        void terminate() override { bRunning = false; pOwner->nTerminated++; }
        bool waitForFinished(int) override { return !bRunning; }
        scriptedRunner *pOwner;
        bool bRunning;
    };

    scriptedRunner() { processRunner::setInstance(this); }
    ~scriptedRunner() override { processRunner::setInstance(nullptr); }

    runningProcess *start(const QString &strProgram, const QStringList &args) override
    {
        started << (QStringList{strProgram} + args);
        pLast = new handle(this, bStartSucceeds);
        return pLast;
    }
    result execute(const QString &strProgram, const QStringList &args, int) override
    {
        executed << (QStringList{strProgram} + args);
        result r;
        r.bStarted = true;
        r.nExitCode = 0;
        return r;
    }

    bool bStartSucceeds = true;
    QList<QStringList> started;
    QList<QStringList> executed;
    handle *pLast = nullptr;
    int nKilled = 0;
    int nTerminated = 0;
    int nDeleted = 0;
};

// The strip as the main window holds it: window > central widget > strip, so
// that the strip's boxes belong to the window.
struct stripInWindow
{
    QWidget window;
    QWidget *pCentral;
    formStatusWidget *pStrip;

    stripInWindow()
    {
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        pCentral = new QWidget(&window);
        pStrip = new formStatusWidget(pCentral);
        window.resize(800, 479);
        pCentral->resize(800, 479);
        pStrip->setGeometry(0, 0, 800, 60);
    }
    template <typename T> T *child(const char *szName) const
    {
        return pStrip->findChild<T *>(QString::fromLatin1(szName));
    }
    QString label(const char *szName) const { return child<QLabel>(szName)->text(); }
};

QString mustCalibrateLine(const QString &strSettings, const QString &strMotor)
{
    return QStringLiteral("Must Calibrate Settings Pos: %1 <--> Motor Pos: %2").arg(strSettings, strMotor);
}

QAbstractButton *buttonWithText(QWidget *pBox, const QString &strText)
{
    for (QAbstractButton *pButton : pBox->findChildren<QAbstractButton *>())
        if (pButton->text() == strText)
            return pButton;
    return nullptr;
}

} // namespace

class tst_shellStatus : public QObject
{
    Q_OBJECT

private slots:
    void stickyRules_data();
    void stickyRules();
    void translatedMarkers();
    void mustCalibrateParsing_data();
    void mustCalibrateParsing();
    void texts_data();
    void texts();

    void formStructure();
    void labelMenusReachSignals();
    void stopButton();
    void statusIsShownAndLogged();
    void mustCalibrateQuestion_data();
    void mustCalibrateQuestion();
    void secondMustCalibrateDoesNotStack();
    void powerOff_data();
    void powerOff();
    void helpViewer();
    void helpViewerThatCannotStart();
    void simulationRunsBesideTheGui();
    void inputsAndProcessValue();
    void measurementLookBlinks();
    void clockAndStatusCtrl();
    void embeddedResources_data();
    void embeddedResources();
};

void tst_shellStatus::stickyRules_data()
{
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QString>("label");

    const QString rtc = QStringLiteral("Real Time Clock not working");
    QTest::newRow("ordinary texts") << QStringList{"OK", "Motor Error"} << "Motor Error";
    QTest::newRow("clock failure stays above") << QStringList{rtc, "OK"} << rtc + "\nOK";
    QTest::newRow("tab change keeps the clock failure") << QStringList{rtc, "OK", "Script Tab changed"} << rtc + "\nOK";
    QTest::newRow("script message above status") << QStringList{"Script Stopped", "OK"} << "Script Stopped\nOK";
    QTest::newRow("tab change clears the script message")
        << QStringList{"Script Stopped", "OK", "Script Tab changed"} << "OK";
    QTest::newRow("script replaces script") << QStringList{"OK", "Do Script: Cmd 1 2/3 ", "Script Finished"}
                                            << "Script Finished\nOK";
    QTest::newRow("script with clock failure") << QStringList{rtc, "OK", "Do Script: Cmd 2 1/1 "}
                                               << "Do Script: Cmd 2 1/1 \n" + rtc + "\nOK";
    QTest::newRow("tab change after script with clock failure")
        << QStringList{rtc, "OK", "Do Script: Cmd 2 1/1 ", "Script Tab changed"} << rtc + "\nOK";
    QTest::newRow("sticky without status") << QStringList{"Script Stopped"} << "Script Stopped\n";
}

void tst_shellStatus::stickyRules()
{
    QFETCH(QStringList, received);
    QFETCH(QString, label);
    statusTexts texts;
    for (const QString &s : received)
        texts = applyStatusText(texts, s, statusMarkers::untranslated());
    QCOMPARE(statusLabelText(texts), label);
}

void tst_shellStatus::translatedMarkers()
{
    // a sender that translated in its own context is still recognised
    statusMarkers m = statusMarkers::untranslated();
    m.listScript << QStringLiteral("Skript");
    m.listTabChanged << QStringLiteral("Skript-Tab gewechselt");
    statusTexts texts;
    texts = applyStatusText(texts, QStringLiteral("OK"), m);
    texts = applyStatusText(texts, QStringLiteral("Skript beendet"), m);
    QCOMPARE(statusLabelText(texts), QStringLiteral("Skript beendet\nOK"));
    texts = applyStatusText(texts, QStringLiteral("Skript-Tab gewechselt"), m);
    QCOMPARE(statusLabelText(texts), QStringLiteral("OK"));
}

void tst_shellStatus::mustCalibrateParsing_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("motor");

    const QString line = mustCalibrateLine("500000", "0");
    QTest::newRow("alone") << line << "500000" << "0";
    QTest::newRow("item after") << line + "\nPosition out of boundaries" << "500000" << "0";
    QTest::newRow("item before") << "OK\n" + line << "500000" << "0";
    QTest::newRow("both sides") << "OK\n" + mustCalibrateLine("-1", "123456") + "\nReconnect:2" << "-1" << "123456";
    QTest::newRow("no line break after motor") << mustCalibrateLine("7", "8 trailing") << "7" << "8 trailing";
    QTest::newRow("no positions") << QStringLiteral("Must Calibrate") << "" << "";
}

void tst_shellStatus::mustCalibrateParsing()
{
    QFETCH(QString, status);
    QFETCH(QString, settings);
    QFETCH(QString, motor);
    const mustCalibrateValues v = parseMustCalibrate(status);
    QCOMPARE(v.strSettings, settings);
    QCOMPARE(v.strMotor, motor);
}

void tst_shellStatus::texts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("volts");

    QTest::newRow("German") << "de_DE" << "1 000 000" << "1.50";
    QTest::newRow("English") << "en_US" << "1,000,000" << "1.50";
}

void tst_shellStatus::texts()
{
    QFETCH(QString, locale);
    QFETCH(QString, position);
    QFETCH(QString, volts);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    const QString strPos = positionText(1000000);
    const QString strSmall = positionText(999);
    const QString strVolts = inputVoltText(1.5);
    const QString strZero = inputVoltText(0);
    const QString strTen = inputVoltText(10);
    QLocale::setDefault(previous);

    QCOMPARE(strPos, position);
    QCOMPARE(strSmall, QStringLiteral("999"));
    QCOMPARE(strVolts, volts);
    QCOMPARE(strZero, QStringLiteral("0.00"));
    QCOMPARE(strTen, QStringLiteral("10.00"));
    QCOMPARE(output1Text(true), QStringLiteral("5,00"));
    QCOMPARE(output1Text(false), QStringLiteral("0,00"));
    QCOMPARE(limitSwitchText(true), QStringLiteral("0,00"));
    QCOMPARE(limitSwitchText(false), QStringLiteral("5,00"));
    QCOMPARE(statusCtrlText(5), QStringLiteral("101"));
    QCOMPARE(statusCtrlText(0), QStringLiteral("0"));
}

void tst_shellStatus::formStructure()
{
    testWorkDir work;
    stripInWindow s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window, 10000));

    for (const char *szName : {"lblStatus", "lblPosName", "lblClock"})
        QVERIFY2(s.child<qLvLabel>(szName), szName);
    for (const char *szName : {"lblStatusCtrl", "lblDataName", "lblSensorData", "lblDataUnit", "lblPos", "lblSteps",
                               "lblInput1Value", "lblInput2Value", "lblInput3Value", "lblOutputValue",
                               "lblLimitSwitchValue"})
        QVERIFY2(s.child<QLabel>(szName), szName);
    for (const char *szName : {"pushBtnStop", "pushBtnIO", "pushButtonVarnix"}) {
        auto *pButton = s.child<QPushButton>(szName);
        QVERIFY2(pButton, szName);
        QVERIFY2(!pButton->icon().isNull(), szName);
    }
    QVERIFY(s.child<QWidget>("widgetPosAndSteps"));
    QCOMPARE(s.child<QLabel>("lblStatus")->parentWidget(), s.child<QWidget>("widget"));
    QCOMPARE(s.child<QLabel>("lblPos")->parentWidget(), s.child<QWidget>("widgetPosAndSteps"));

    QVERIFY(!s.child<QLabel>("lblStatusCtrl")->isVisible());
    // however long the status, the strip keeps its height and the label its width
    s.pStrip->setStatus(QStringLiteral("Line 1\nLine 2\nLine 3\nLine 4\nLine 5 with a very long text that goes on"));
    s.pStrip->resize(800, 200);
    QCOMPARE(s.pStrip->maximumHeight(), 64);
    QVERIFY(s.pStrip->height() <= 64);
    QCOMPARE(s.child<QLabel>("lblStatus")->width(), 200);
}

void tst_shellStatus::labelMenusReachSignals()
{
    testWorkDir work;
    stripInWindow s;
    auto *pStatus = s.child<qLvLabel>("lblStatus");
    auto *pPos = s.child<qLvLabel>("lblPosName");
    auto *pClock = s.child<qLvLabel>("lblClock");
    QCOMPARE(pStatus->strAction1, QStringLiteral("Clear Error"));
    QCOMPARE(pStatus->strAction2, QStringLiteral("Show Full Status"));
    QCOMPARE(pPos->strAction1, QStringLiteral("Calibrate"));
    QVERIFY(pPos->strAction2.isEmpty());
    QCOMPARE(pClock->strAction1, QStringLiteral("Play Simulate"));

    QSignalSpy spyCalibrate(s.pStrip, &formStatusWidget::onCalibrate);
    QSignalSpy spyClear(s.pStrip, &formStatusWidget::onClearError);
    emit pPos->startAction1();
    emit pStatus->startAction1();
    QCOMPARE(spyCalibrate.count(), 1);
    QCOMPARE(spyClear.count(), 1);

    s.pStrip->setStatus(QStringLiteral("Motor Error\nReconnect:1"));
    QString strInformative;
    QWidget *pBoxParent = nullptr;
    modalAnswerer answer([&](QWidget *pBox) {
        auto *pMsg = qobject_cast<QMessageBox *>(pBox);
        QVERIFY(pMsg);
        QCOMPARE(pMsg->text(), QStringLiteral("Full Status"));
        strInformative = pMsg->informativeText();
        pBoxParent = pBox->parentWidget();
        QTest::keyClick(pBox, Qt::Key_Return);
    });
    emit pStatus->startAction2();
    QVERIFY(answer.bActed);
    QCOMPARE(strInformative, QStringLiteral("Motor Error\nReconnect:1"));
    QCOMPARE(pBoxParent, &s.window);
}

void tst_shellStatus::stopButton()
{
    testWorkDir work;
    stripInWindow s;
    QSignalSpy spyStop(s.pStrip, &formStatusWidget::onStop);
    QTest::ignoreMessage(QtDebugMsg, "on stop");
    s.child<QPushButton>("pushBtnStop")->click();
    QCOMPARE(spyStop.count(), 1);
}

void tst_shellStatus::statusIsShownAndLogged()
{
    testWorkDir work;
    stripInWindow s;
    QSignalSpy spyLog(s.pStrip, &formStatusWidget::onWriteLog);
    const QStringList texts{"OK", "Script Stopped", "Script Tab changed", "Real Time Clock not working"};
    for (const QString &t : texts)
        s.pStrip->setStatus(t);
    QCOMPARE(spyLog.count(), texts.size());
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(spyLog.at(i).at(0).toString(), texts.at(i));
    QCOMPARE(s.label("lblStatus"), QStringLiteral("Real Time Clock not working\nOK"));
}

void tst_shellStatus::mustCalibrateQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("force");
    QTest::newRow("Force") << "Force" << true;
    QTest::newRow("Calibrate") << "Calibrate" << false;
    QTest::newRow("Escape") << "Escape" << false;
    QTest::newRow("rejected otherwise") << "reject" << false;
}

void tst_shellStatus::mustCalibrateQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, force);

    testWorkDir work;
    stripInWindow s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window, 10000));
    QSignalSpy spyForce(s.pStrip, &formStatusWidget::onForceMotorPositionToGUI);
    QSignalSpy spyCalibrate(s.pStrip, &formStatusWidget::onCalibrate);
    QSignalSpy spyLog(s.pStrip, &formStatusWidget::onWriteLog);

    const QString strStatus = "OK\n" + mustCalibrateLine("500000", "0") + "\nPosition out of boundaries";
    QString strText, strInformative;
    QWidget *pBoxParent = nullptr;
    modalAnswerer answerer([&](QWidget *pBox) {
        auto *pMsg = qobject_cast<qlvMessageBox *>(pBox);
        QVERIFY(pMsg);
        strText = pMsg->text();
        strInformative = pMsg->informativeText();
        pBoxParent = pBox->parentWidget();
        if (answer == QLatin1String("Escape"))
            QTest::keyClick(pBox, Qt::Key_Escape);
        else if (answer == QLatin1String("reject"))
            pMsg->reject();
        else
            buttonWithText(pBox, answer)->click();
    });
    s.pStrip->setStatus(strStatus);

    QVERIFY(answerer.bActed);
    QCOMPARE(pBoxParent, &s.window);
    QCOMPARE(strText, QStringLiteral("Motor Position differs"));
    QVERIFY2(strInformative.endsWith(QStringLiteral("\nMotor Position = 0\nSettings Position = 500000")),
             qPrintable(strInformative));
    QCOMPARE(spyForce.count(), force ? 1 : 0);
    QCOMPARE(spyCalibrate.count(), force ? 0 : 1);
    QCOMPARE(spyLog.count(), 1);
    QCOMPARE(spyLog.at(0).at(0).toString(), strStatus);
    QCOMPARE(s.label("lblStatus"), strStatus);
}

void tst_shellStatus::secondMustCalibrateDoesNotStack()
{
    testWorkDir work;
    stripInWindow s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window, 10000));
    QSignalSpy spyCalibrate(s.pStrip, &formStatusWidget::onCalibrate);
    QSignalSpy spyLog(s.pStrip, &formStatusWidget::onWriteLog);

    const QString first = mustCalibrateLine("500000", "0");
    const QString second = mustCalibrateLine("500000", "10") + "\nReconnect:1";
    int nBoxes = 0;
    QWidget *pStillModal = nullptr;
    QWidget *pFirstBox = nullptr;
    modalAnswerer answer([&](QWidget *pBox) {
        ++nBoxes;
        pFirstBox = pBox;
        // a stacked second question would block here: answer it and count it
        modalAnswerer stacked([&](QWidget *pOther) {
            ++nBoxes;
            buttonWithText(pOther, QStringLiteral("Calibrate"))->click();
        }, modalAnswerer::MODAL, modalAnswerer::FIRST_ONLY, 20000, pBox);
        // a further status arrives while the question is open
        s.pStrip->setStatus(second);
        pStillModal = QApplication::activeModalWidget();
        buttonWithText(pBox, QStringLiteral("Calibrate"))->click();
    });
    s.pStrip->setStatus(first);

    QVERIFY(answer.bActed);
    QCOMPARE(nBoxes, 1);
    QCOMPARE(pStillModal, pFirstBox);
    QCOMPARE(spyCalibrate.count(), 1);
    QCOMPARE(spyLog.count(), 2);
    QCOMPARE(spyLog.at(0).at(0).toString(), first);
    QCOMPARE(spyLog.at(1).at(0).toString(), second);
    // the label keeps the latest status, not the one that opened the question
    QCOMPARE(s.label("lblStatus"), second);

    // once answered, a new report asks again
    modalAnswerer again([&](QWidget *pBox) {
        buttonWithText(pBox, QStringLiteral("Force"))->click();
    });
    s.pStrip->setStatus(first);
    QVERIFY(again.bActed);
}

void tst_shellStatus::powerOff_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("position");

    QTest::newRow("yes") << true << 250000;
    QTest::newRow("yes, closed") << true << 0;
    QTest::newRow("yes, no position yet") << true << -1;
    QTest::newRow("no") << false << 250000;
}

// The strip asks, hands its last position to whoever stores the shutdown
// state (the main window), logs "Shutdown" and only then powers off.
void tst_shellStatus::powerOff()
{
    QFETCH(bool, yes);
    QFETCH(int, position);

    testWorkDir work;
    fakeProcessRunner runner;
    stripInWindow s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window, 10000));
    if (position >= 0)
        s.pStrip->setPosition(position);

    QStringList events;
    QObject::connect(s.pStrip, &formStatusWidget::storeShutdownState, [&](int nPosition) {
        events << QStringLiteral("store %1, ran %2").arg(nPosition).arg(runner.calls().size());
    });
    QObject::connect(s.pStrip, &formStatusWidget::onWriteLog, [&](const QString &strText) {
        events << QStringLiteral("log %1, ran %2").arg(strText).arg(runner.calls().size());
    });
    QString strText, strInformative;
    modalAnswerer answer([&](QWidget *pBox) {
        auto *pMsg = qobject_cast<qlvMessageBox *>(pBox);
        QVERIFY(pMsg);
        strText = pMsg->text();
        strInformative = pMsg->informativeText();
        QCOMPARE(pMsg->defaultButton(), pMsg->button(QMessageBox::No));
        pMsg->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    s.child<QPushButton>("pushBtnIO")->click();

    QVERIFY(answer.bActed);
    QCOMPARE(strText, QStringLiteral("Shutdown"));
    QCOMPARE(strInformative, QStringLiteral("Do you want to shutdown the valve?"));
    if (yes) {
        QCOMPARE(events, (QStringList{QStringLiteral("store %1, ran 0").arg(position),
                                      QStringLiteral("log Shutdown, ran 0")}));
        QCOMPARE(runner.calls().size(), 1);
        QCOMPARE(runner.calls().first().eKind, fakeProcessRunner::EXECUTE);
        QCOMPARE(runner.commandLines(), QStringList{QStringLiteral("sudo shutdown -h now")});
    } else {
        QVERIFY(events.isEmpty());
        QVERIFY(runner.calls().isEmpty());
    }
}

void tst_shellStatus::helpViewer()
{
    testWorkDir work;
    scriptedRunner runner;
    {
        stripInWindow s;
        const QString strCwd = QDir::currentPath();
        s.pStrip->slotHelp();
        QCOMPARE(runner.started.size(), 1);
        QCOMPARE(runner.started.at(0), (QStringList{strCwd + "/assistant", "-collectionFile", strCwd + "/help/kfxZENTU.qhc"}));

        // while it runs, Help does nothing
        s.pStrip->slotHelp();
        QCOMPARE(runner.started.size(), 1);

        // closed by the operator: Help starts it again
        runner.pLast->bRunning = false;
        s.pStrip->slotHelp();
        QCOMPARE(runner.started.size(), 2);
        QCOMPARE(runner.nDeleted, 1);
    }
    // the strip's end ends the viewer
    QCOMPARE(runner.nTerminated, 1);
    QCOMPARE(runner.nDeleted, 2);
}

void tst_shellStatus::helpViewerThatCannotStart()
{
    testWorkDir work;
    scriptedRunner runner;
    runner.bStartSucceeds = false;
    stripInWindow s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window, 10000));

    QString strTitle, strText;
    modalAnswerer answer([&](QWidget *pBox) {
        auto *pMsg = qobject_cast<QMessageBox *>(pBox);
        QVERIFY(pMsg);
        QVERIFY(!qobject_cast<qlvMessageBox *>(pBox));
        strTitle = pMsg->windowTitle();
        strText = pMsg->text();
        QTest::keyClick(pBox, Qt::Key_Return);
    });
    s.pStrip->slotHelp();
    QVERIFY(answer.bActed);
    QCOMPARE(strTitle, QStringLiteral("kfxZENTU"));
    QCOMPARE(strText, QStringLiteral("Could not start Qt Assistant from %1.").arg(QDir::currentPath() + "/assistant"));

    // the next Help tries again
    runner.bStartSucceeds = true;
    s.pStrip->slotHelp();
    QCOMPARE(runner.started.size(), 2);
}

void tst_shellStatus::simulationRunsBesideTheGui()
{
    testWorkDir work;
    scriptedRunner runner;
    {
        stripInWindow s;
        emit s.child<qLvLabel>("lblClock")->startAction1();
        QCOMPARE(runner.started.size(), 1);
        QCOMPARE(runner.started.at(0).join(QLatin1Char(' ')), QStringLiteral("python /home/pi/python_games/simulate.py"));
        QVERIFY(runner.executed.isEmpty());
        // one at a time
        emit s.child<qLvLabel>("lblClock")->startAction1();
        QCOMPARE(runner.started.size(), 1);
        runner.pLast->bRunning = false;
        emit s.child<qLvLabel>("lblClock")->startAction1();
        QCOMPARE(runner.started.size(), 2);
    }
    QCOMPARE(runner.nDeleted, 2);
}

void tst_shellStatus::inputsAndProcessValue()
{
    testWorkDir work;
    stripInWindow s;
    analogData analog;
    analog.setInputType(2, INPUT_FEEDBACK_1);
    analog.setInputType(0, INPUT_FEEDBACK_2);
    lvExternalFeedback feedback;
    feedback.sensor.strDataName = QStringLiteral("Leakrate");
    feedback.sensor.strUnit = QStringLiteral("mbar*l/sec");
    feedback.sensor.strFormula = QStringLiteral("val1*10+val2");
    feedback.sensor.bExponential = false;

    // a sample before the main window handed over its objects
    s.pStrip->onUpdateInputs(1.5, 0.0, 10.0);
    QCOMPARE(s.label("lblInput1Value"), QStringLiteral("1.50"));
    QCOMPARE(s.label("lblInput2Value"), QStringLiteral("0.00"));
    QCOMPARE(s.label("lblInput3Value"), QStringLiteral("10.00"));
    QCOMPARE(s.label("lblSensorData"), QStringLiteral("0,00"));

    s.pStrip->setExtFeedback(&feedback);
    s.pStrip->setAnalogData(&analog);
    QCOMPARE(s.label("lblDataName"), QStringLiteral("Leakrate"));
    QCOMPARE(s.label("lblDataUnit"), QStringLiteral("mbar*l/sec"));

    // through the signal the main window connects
    QObject::connect(&analog, SIGNAL(sampleInputs(double, double, double)), s.pStrip,
                     SLOT(onUpdateInputs(double, double, double)));
    emit analog.sampleInputs(1.5, 0.25, 10.0);
    // val1 = input 3, val2 = input 1
    QCOMPARE(s.label("lblSensorData"), QStringLiteral("101.50"));
    QCOMPARE(feedback.sensor.dblResult, 101.5);
    QCOMPARE(s.label("lblInput2Value"), QStringLiteral("0.25"));

    s.pStrip->onUpdateOutput1(true);
    s.pStrip->onUpdateLimitSwitch(true);
    QCOMPARE(s.label("lblOutputValue"), QStringLiteral("5,00"));
    QCOMPARE(s.label("lblLimitSwitchValue"), QStringLiteral("0,00"));
    s.pStrip->onUpdateOutput1(false);
    s.pStrip->onUpdateLimitSwitch(false);
    QCOMPARE(s.label("lblOutputValue"), QStringLiteral("0,00"));
    QCOMPARE(s.label("lblLimitSwitchValue"), QStringLiteral("5,00"));

    s.pStrip->setPositionSteps(40000);
    QCOMPARE(s.label("lblSteps"), QStringLiteral("40000"));
}

void tst_shellStatus::measurementLookBlinks()
{
    testWorkDir work;
    stripInWindow s;
    analogData analog;
    analog.setInputType(0, INPUT_FEEDBACK_1);
    analog.setInputType(1, INPUT_FEEDBACK_2);
    lvExternalFeedback feedback;
    feedback.sensor.strFormula = QStringLiteral("val1+val2");
    s.pStrip->setExtFeedback(&feedback);
    s.pStrip->setAnalogData(&analog);
    auto *pValue = s.child<QLabel>("lblSensorData");

    s.pStrip->onUpdateInputs(1, 2, 3);
    QVERIFY(pValue->styleSheet().isEmpty());

    s.pStrip->setMeasureGUI(true);
    const QString strLook = QStringLiteral("QLabel { background-color: rgba(0, 80, 58, 128); }");
    QCOMPARE(s.child<QWidget>("widgetPosAndSteps")->styleSheet(), strLook);
    s.pStrip->onUpdateInputs(1, 2, 3);
    QVERIFY(pValue->styleSheet().contains(QStringLiteral("border: 2px solid")));
    QTRY_COMPARE_WITH_TIMEOUT(pValue->styleSheet(), strLook, 10000);

    s.pStrip->setMeasureGUI(false);
    QCOMPARE(s.child<QWidget>("lblDataName")->styleSheet(), QStringLiteral("QLabel { background-color: #323232; }"));
}

void tst_shellStatus::clockAndStatusCtrl()
{
    testWorkDir work;
    fakeClock clock(QDateTime(QDate(2026, 1, 5), QTime(7, 9, 59)));
    stripInWindow s;
    QCOMPARE(s.label("lblClock"), QStringLiteral("07:09"));
    clock.advance(60000);
    s.pStrip->updateClock();
    QCOMPARE(s.label("lblClock"), QStringLiteral("07:10"));

    s.pStrip->setStatusCtrl(6);
    QCOMPARE(s.label("lblStatusCtrl"), QStringLiteral("110"));
}

void tst_shellStatus::embeddedResources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const struct { const char *szPath; int w, h; } table[] = {
        {":/icon/icon/Analog-Remote.png", 60, 71}, {":/icon/icon/ManualTab.png", 75, 67},
        {":/icon/icon/Minus.png", 16, 16},         {":/icon/icon/Pfeil-oben.png", 16, 16},
        {":/icon/icon/Pfeil-unten.png", 16, 16},   {":/icon/icon/Play.png", 16, 16},
        {":/icon/icon/Plus.png", 16, 16},          {":/icon/icon/Remote.png", 75, 67},
        {":/icon/icon/Rename.png", 16, 16},        {":/icon/icon/ScriptTab.png", 75, 67},
        {":/icon/icon/SettingTab.png", 75, 67},    {":/icon/icon/Stop.png", 16, 16},
        {":/icon/icon/USB-Remote.png", 65, 68},    {":/icon/icon/USB.png", 200, 200},
        {":/icon/icon/analog.png", 512, 512},      {":/icon/icon/close-fast.png", 75, 67},
        {":/icon/icon/close-faster.png", 75, 67},  {":/icon/icon/close-fastest.png", 75, 67},
        {":/icon/icon/close.png", 75, 67},         {":/icon/icon/connect.png", 120, 70},
        {":/icon/icon/disconnect.png", 120, 76},   {":/icon/icon/varnix-Logo-3zeilig.png", 52, 60},
        {":/icon/icon/varnix.bmp", 32, 32},        {":/icon/icon/on-off.png", 67, 75},
        {":/icon/icon/open-fast.png", 75, 67},     {":/icon/icon/open-faster.png", 75, 67},
        {":/icon/icon/open-fastest.png", 75, 67},  {":/icon/icon/open-folder.png", 64, 64},
        {":/icon/icon/open.png", 75, 67},          {":/images/images/checkbox.png", 9, 9},
        {":/images/images/down_arrow.png", 7, 5},  {":/images/images/handle.png", 6, 6},
    };
    for (const auto &row : table)
        QTest::newRow(row.szPath) << QString::fromLatin1(row.szPath) << QSize(row.w, row.h);
}

void tst_shellStatus::embeddedResources()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    // registered by the first strip, as in the program
    testWorkDir work;
    stripInWindow s;
    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
    if (path.endsWith(QLatin1String(".bmp"))) {
        QCOMPARE(QImageReader::imageFormat(path), QByteArray("bmp"));
        QCOMPARE(image.depth() >= 24, true);
    } else {
        QCOMPARE(QImageReader::imageFormat(path), QByteArray("png"));
        QVERIFY(image.hasAlphaChannel());
    }
}

QTEST_MAIN(tst_shellStatus)
#include "tst_shellStatus.moc"
