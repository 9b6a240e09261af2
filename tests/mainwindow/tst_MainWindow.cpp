// The main window put together with the real drive, analog inputs, log file,
// status strip and Manual page, in a temporary working directory and settings
// store; the controller is the simulator on a pseudo-terminal where a test
// needs a valve that answers.
#include "app/MainWindow.h"
#include "ui_MainWindow.h"

#include "app/formStatusWidget.h"
#include "app/qlvLogFile.h"
#include "app/statusStripTexts.h"
#include "valve/settingsKeyTable.h"
#include "controllerSim.h"
#include "fakeProcessRunner.h"
#include "modalAnswerer.h"
#include "manual/formManualTab.h"
#include "manual/formCurrentState.h"
#include "script/formScriptTab.h"
#include "script/mdlCommandTable.h"
#include "script/qTblViewScript.h"
#include "script/scriptExecutor.h"
#include "script/scriptProgressQueue.h"
#include "testWorkDir.h"
#include "valve/analogData.h"
#include "valve/motorDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAtomicInt>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int WAIT_MS = 20000;

QSettings *newStore()
{
    return new QSettings(QString::fromLatin1(g_pszSettingsOrganisation), QString::fromLatin1(g_pszSettingsApplication));
}

void storeValue(const QString &strGroup, const QString &strKey, const QVariant &value)
{
    std::unique_ptr<QSettings> settings(newStore());
    settings->beginGroup(strGroup);
    settings->setValue(strKey, value);
    settings->endGroup();
}

QVariant storedValue(const QString &strGroup, const QString &strKey)
{
    std::unique_ptr<QSettings> settings(newStore());
    settings->beginGroup(strGroup);
    return settings->value(strKey);
}

QStringList logLines(const testWorkDir &work)
{
    const QString strText = QString::fromUtf8(work.readFile(QStringLiteral("log/qVarnixLeakvalve.log")));
    QStringList lines = strText.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString lastLogMessage(const testWorkDir &work)
{
    const QStringList lines = logLines(work);
    return lines.isEmpty() ? QString() : lines.last().section(QStringLiteral(" ### "), 1);
}

bool logHasMessage(const testWorkDir &work, const QString &strMessage)
{
    for (const QString &strLine : logLines(work))
        if (strLine.section(QStringLiteral(" ### "), 1) == strMessage)
            return true;
    return false;
}

// Counts the queued calls that reach an object in its own thread.
class metaCallCounter : public QObject
{
public:
    QAtomicInt nCalls;
    bool eventFilter(QObject *, QEvent *pEvent) override
    {
        if (pEvent->type() == QEvent::MetaCall)
            nCalls.fetchAndAddOrdered(1);
        return false;
    }
};

// A fake runner that looks at the store and the log at the moment a command
// would run.
class snapshotRunner : public fakeProcessRunner
{
public:
    std::function<void()> atExecute;
    result execute(const QString &strProgram, const QStringList &args, int nTimeoutMs = -1) override
    {
        if (atExecute)
            atExecute();
        return fakeProcessRunner::execute(strProgram, args, nTimeoutMs);
    }
};

// An open curve recorded with the named sensor: 1 V closed, 3 V fully open.
QByteArray teachInFile(const QByteArray &sensorName)
{
    return "Version: 103;\n"
           "sensor name: " + sensorName + ";\n"
           "sensor formula: val1;\n"
           "sensor data name: Leakrate;\n"
           "Steps; Time [s]; Channel1 [V]; Channel2 [V]; CurveType;\n"
           "0;0;1;1;O;\n"
           "500000;1;2;1;O;\n"
           "1000000;2;3;1;O;\n";
}
const QByteArray TEACHIN_OTHER_SENSOR = teachInFile("other sensor");

} // namespace

// The previous run went down properly, so no start-up box opens.
void writeCleanShutdownLog(const testWorkDir &work)
{
    QVERIFY(work.writeFile(QStringLiteral("log/qVarnixLeakvalve.log"),
                           QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1()
                               + " 10:00:00.000 ### Shutdown\n"));
}

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshStore();
    void portsFromStore_data();
    void portsFromStore();
    void updateCleanup_data();
    void updateCleanup();
    void realTimeClockTest_data();
    void realTimeClockTest();
    void startupBoxes_data();
    void startupBoxes();

    void ctrlQ_data();
    void ctrlQ();
    void quitNeverStoresUnknownPosition();
    void shutdownAndReboot_data();
    void shutdownAndReboot();
    void writeSettingsWritesItsKeys();
    void closeKeepsValuesChosenForNextStart();

    void buttonsReachTheValve_data();
    void buttonsReachTheValve();
    void setDataQuestionOnLeavingManual_data();
    void setDataQuestionOnLeavingManual();
    void measurementConnectionMadeOnce();
    void newTeachInFromAnotherFolder();
    void setDataTurnsThousandthsIntoATarget();

    void scriptExecutorRunsInItsOwnThread();
    void scriptExecutorPermanentLinks();
    void reachedConnectionsAreMadeOnce();
    void scriptPageJoinsTheRunWhileShown();
    void otherPagesPauseTheScript();
    void pageStopReachesABusyScriptThread();
    void closingEndsARunningLoop();
    void immediateLoopIsThinnedWithACount();

    void scriptPageConnectionsWhileShown();
    void leavingScriptWithChanges_data();
    void leavingScriptWithChanges();
    void newTeachInQuestionOnLeavingScript_data();
    void newTeachInQuestionOnLeavingScript();
    void scriptPageAtStart();

private:
    // A controller at the motor port "ttyUSB0" and the store pointing at it.
    void attachController(controllerSim::family eFamily = controllerSim::FAMILY_BERGER_LAHR);
    // Waits until the drive knows the valve position.
    void waitForPosition(MainWindow &window);
    motorDriver *driver(MainWindow &window) { return window.pMotorDriver; }
    analogData *analog(MainWindow &window) { return window.pAnalogData; }
    Ui::MainWindow *form(MainWindow &window) { return window.ui; }
    scriptExecutor *executor(MainWindow &window) { return window.pScriptExecutor; }
    // The number of connections of each Script-page signal, in a fixed
    // order, as one text ("1 1 1 ...").
    QString scriptPageConnections(MainWindow &window);

    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<controllerSim> sim;
};

void tst_MainWindow::init()
{
    work = std::make_unique<testWorkDir>();
    QVERIFY(work->isValid());
    qputenv("VALVE_DEV_DIR", work->filePath(QStringLiteral("dev")).toLocal8Bit());
}

void tst_MainWindow::cleanup()
{
    sim.reset();
    work.reset();
    qunsetenv("VALVE_DEV_DIR");
}

void tst_MainWindow::attachController(controllerSim::family eFamily)
{
    QDir().mkpath(work->filePath(QStringLiteral("dev")));
    sim = std::make_unique<controllerSim>(eFamily);
    QVERIFY(sim->start(work->filePath(QStringLiteral("dev/ttyUSB0"))));
    sim->setPosition(sim->fullTravel() / 4);
    // The stored position matches, so the drive does not ask to calibrate.
    storeValue(QStringLiteral("motor driver"), QStringLiteral("position"), 250000);
    storeValue(QStringLiteral("motor driver"), QStringLiteral("type"),
               eFamily == controllerSim::FAMILY_NANOTEC ? QStringLiteral("NanoTec") : QStringLiteral("BergerLahr"));
    storeValue(QStringLiteral("motor driver"), QStringLiteral("motor port"), QStringLiteral("ttyUSB0"));
}

void tst_MainWindow::waitForPosition(MainWindow &window)
{
    QTRY_VERIFY_WITH_TIMEOUT(driver(window)->getMotorPosition() >= 0, WAIT_MS);
}

void tst_MainWindow::freshStore()
{
    fakeProcessRunner runner;
    MainWindow window;

    // The keys a first start writes, and nothing else.
    std::unique_ptr<QSettings> settings(newStore());
    QStringList keys = settings->allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{QStringLiteral("controller/remote port"), QStringLiteral("controller/update cleanup"),
                                QStringLiteral("motor driver/motor port")}));
    QCOMPARE(settings->value(QStringLiteral("motor driver/motor port")).toString(), QStringLiteral("ttyUSB0"));
    QCOMPARE(settings->value(QStringLiteral("controller/remote port")).toString(), QStringLiteral("ttyUSB1"));
    QCOMPARE(settings->value(QStringLiteral("controller/update cleanup")).toString(), QString());

    QCOMPARE(driver(window)->getMotorType(), -1);
    QCOMPARE(driver(window)->getContSpeed(), 0);
    QVERIFY(!window.bCalibrateOnStart);
    QCOMPARE(analog(window)->readPeriodMs(), 1000);  // period 0 samples once a second
    QVERIFY(runner.calls().isEmpty());                // no clock test
    QCOMPARE(form(window)->tabWidget->currentIndex(), 1);
    QCOMPARE(window.windowTitle(), QStringLiteral("varnix - leakvalve"));
    QCOMPARE(logLines(*work).value(0).section(QStringLiteral(" ### "), 1), QStringLiteral("Application Started"));
}

void tst_MainWindow::portsFromStore_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("storedMotorPort");
    QTest::addColumn<QString>("storedRemotePort");
    QTest::addColumn<QString>("motorPort");
    QTest::addColumn<QString>("remotePort");

    QTest::newRow("BergerLahr keeps its ports") << "BergerLahr" << "ttyS5" << "ttyS6" << "ttyS5" << "ttyS6";
    QTest::newRow("NanoTec overrides the motor port") << "NanoTec" << "ttyS5" << "" << "ttyAMA0" << "ttyUSB0";
    QTest::newRow("unknown type text") << "Stepper" << "" << "" << "ttyUSB0" << "ttyUSB1";
}

void tst_MainWindow::portsFromStore()
{
    QFETCH(QString, type);
    QFETCH(QString, storedMotorPort);
    QFETCH(QString, storedRemotePort);
    QFETCH(QString, motorPort);
    QFETCH(QString, remotePort);
    storeValue(QStringLiteral("motor driver"), QStringLiteral("type"), type);
    storeValue(QStringLiteral("motor driver"), QStringLiteral("motor port"), storedMotorPort);
    if (!storedRemotePort.isEmpty())
        storeValue(QStringLiteral("controller"), QStringLiteral("remote port"), storedRemotePort);

    MainWindow window;
    QCOMPARE(driver(window)->getMotorPort(), motorPort);
    QCOMPARE(driver(window)->getRemotePort(), remotePort);
    QCOMPARE(storedValue(QStringLiteral("motor driver"), QStringLiteral("motor port")).toString(), motorPort);
    QCOMPARE(storedValue(QStringLiteral("controller"), QStringLiteral("remote port")).toString(), remotePort);
}

void tst_MainWindow::updateCleanup_data()
{
    QTest::addColumn<bool>("recordRunningProgram");
    QTest::newRow("old program file") << false;
    // Reached through a link, so a fault could only ever remove the link.
    QTest::newRow("the running program") << true;
}

void tst_MainWindow::updateCleanup()
{
    QFETCH(bool, recordRunningProgram);
    const QString strRecorded = work->filePath(QStringLiteral("qlvZENTU-before-update"));
    if (recordRunningProgram)
        QVERIFY(QFile::link(QCoreApplication::applicationFilePath(), strRecorded));
    else
        QVERIFY(work->writeFile(QStringLiteral("qlvZENTU-before-update"), "old program"));
    storeValue(QStringLiteral("controller"), QStringLiteral("update cleanup"), strRecorded);

    for (int nStart = 1; nStart <= 2; ++nStart) {
        modalAnswerer boxes;
        MainWindow window;
        QCOMPARE(storedValue(QStringLiteral("controller"), QStringLiteral("update cleanup")).toString(), QString());
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.texts.contains(QStringLiteral("Unexpected Shutdown")), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(form(window)->widgetManual->pMainWindow && !QApplication::activeModalWidget(),
                                 WAIT_MS);
        // The update is told by exactly one start.
        QCOMPARE(boxes.texts.contains(QStringLiteral("Update")), nStart == 1);
    }
    QCOMPARE(QFileInfo(strRecorded).isSymLink() || QFileInfo::exists(strRecorded), recordRunningProgram);
    QVERIFY(QFile::exists(QCoreApplication::applicationFilePath()));
}

void tst_MainWindow::realTimeClockTest_data()
{
    QTest::addColumn<int>("rtcType");
    QTest::addColumn<QString>("hwclockStream");  // where the stub writes its complaint
    QTest::addColumn<bool>("reported");
    QTest::addColumn<int>("sudoCalls");

    QTest::newRow("clock missing") << 1 << "stderr" << true << 2;
    QTest::newRow("the words on standard output") << 1 << "stdout" << false << 2;
    QTest::newRow("no clock module") << 0 << "stderr" << false << 0;
}

void tst_MainWindow::realTimeClockTest()
{
    QFETCH(int, rtcType);
    QFETCH(QString, hwclockStream);
    QFETCH(bool, reported);
    QFETCH(int, sudoCalls);

    // A stub "sudo" first in PATH records what it was asked to run.
    const QString strBin = work->filePath(QStringLiteral("bin"));
    const QString strCalls = work->filePath(QStringLiteral("sudo-calls.txt"));
    const QByteArray redirect = hwclockStream == QLatin1String("stderr") ? " >&2" : "";
    QVERIFY(work->writeFile(QStringLiteral("bin/sudo"),
                            "#!/bin/sh\necho \"$*\" >> '" + strCalls.toLocal8Bit()
                                + "'\nif [ \"$1\" = hwclock ]; then\n"
                                  "  echo 'hwclock: Cannot access the Hardware Clock via any known method.'"
                                + redirect + "\nfi\nexit 0\n"));
    QVERIFY(QFile::setPermissions(work->filePath(QStringLiteral("bin/sudo")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", strBin.toLocal8Bit() + ':' + oldPath);
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", oldPath); });
    QCOMPARE(QStandardPaths::findExecutable(QStringLiteral("sudo")), strBin + QStringLiteral("/sudo"));

    storeValue(QStringLiteral("controller"), QStringLiteral("RTC Type"), rtcType);
    MainWindow window;

    QCOMPARE(logHasMessage(*work, QStringLiteral("Real Time Clock not working")), reported);
    const QStringList calls = QString::fromUtf8(work->readFile(QStringLiteral("sudo-calls.txt")))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(calls.size(), sudoCalls);
    if (sudoCalls)
        QCOMPARE(calls, (QStringList{QStringLiteral("/etc/init.d/pifacertc start"), QStringLiteral("hwclock")}));
}

void tst_MainWindow::startupBoxes_data()
{
    QTest::addColumn<bool>("everythingToSay");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("all three, calibration last") << true
                                                 << QStringList{QStringLiteral("Unexpected Shutdown"),
                                                                QStringLiteral("TeachIn - Inormation"),
                                                                QStringLiteral("Update")};
    QTest::newRow("clean start") << false << QStringList{};
}

void tst_MainWindow::startupBoxes()
{
    QFETCH(bool, everythingToSay);
    QFETCH(QStringList, boxes);
    attachController();
    if (everythingToSay) {
        QVERIFY(work->writeFile(QStringLiteral("teachIn/curve1.kfxteachin"), TEACHIN_OTHER_SENSOR));
        storeValue(QStringLiteral("teachIn"), QStringLiteral("teachInFile"), QStringLiteral("curve1"));
        storeValue(QStringLiteral("external feedback"), QStringLiteral("sensor name"), QStringLiteral("my sensor"));
        QVERIFY(work->writeFile(QStringLiteral("old-program"), "x"));
        storeValue(QStringLiteral("controller"), QStringLiteral("update cleanup"), work->filePath(QStringLiteral("old-program")));
        storeValue(QStringLiteral("motor driver"), QStringLiteral("calibrate on start"), true);
    } else {
        writeCleanShutdownLog(*work);
        QVERIFY(work->writeFile(QStringLiteral("teachIn/curve1.kfxteachin"), teachInFile("my sensor")));
        storeValue(QStringLiteral("teachIn"), QStringLiteral("teachInFile"), QStringLiteral("curve1"));
        storeValue(QStringLiteral("external feedback"), QStringLiteral("sensor name"), QStringLiteral("my sensor"));
    }

    modalAnswerer answerer;
    QStringList calibrationSeenWhileOpen;
    answerer.onOpen = [&](const QString &strText) {
        if (sim->countOf("n") > 0)
            calibrationSeenWhileOpen << strText;
    };
    MainWindow window;
    window.show();
    if (everythingToSay) {
        QTRY_VERIFY_WITH_TIMEOUT(answerer.texts.size() >= boxes.size(), WAIT_MS);
        QCOMPARE(answerer.texts, boxes);
        // BergerLahr's reference run starts with "n".
        QTRY_VERIFY_WITH_TIMEOUT(sim->countOf("n") > 0, WAIT_MS);
        QVERIFY2(calibrationSeenWhileOpen.isEmpty(), qPrintable(calibrationSeenWhileOpen.join(QLatin1Char(','))));
    } else {
        waitForPosition(window);
        // The checks have run once the Manual page knows the window.
        QTRY_VERIFY_WITH_TIMEOUT(form(window)->widgetManual->pMainWindow == &window, WAIT_MS);
        QCOMPARE(answerer.texts, boxes);
        QCOMPARE(sim->countOf("n"), 0);
    }
    QVERIFY(form(window)->widgetManual->pMainWindow == &window);
}

void tst_MainWindow::ctrlQ_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("quits");
    QTest::newRow("Ctrl+Q") << int(Qt::ControlModifier) << true;
    QTest::newRow("plain Q") << int(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+Shift+Q") << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
}

void tst_MainWindow::ctrlQ()
{
    QFETCH(int, modifiers);
    QFETCH(bool, quits);
    attachController();
    writeCleanShutdownLog(*work);
    fakeProcessRunner runner;
    modalAnswerer answerer;  // the sensor note of a panel without teach-in
    MainWindow window;
    window.show();
    waitForPosition(window);
    sim->setPosition(sim->fullTravel() / 2);
    QTRY_COMPARE_WITH_TIMEOUT(driver(window)->getMotorPosition(), 500000, WAIT_MS);

    QTest::keyClick(&window, Qt::Key_Q, Qt::KeyboardModifiers(modifiers));

    QCOMPARE(window.isVisible(), !quits);
    QCOMPARE(logHasMessage(*work, QStringLiteral("Application Quit")), quits);
    QCOMPARE(storedValue(QStringLiteral("motor driver"), QStringLiteral("position")).toInt(), quits ? 500000 : 250000);
    QVERIFY(runner.calls().isEmpty());
}

void tst_MainWindow::quitNeverStoresUnknownPosition()
{
    // No controller at the port: the position stays unknown.
    storeValue(QStringLiteral("motor driver"), QStringLiteral("type"), QStringLiteral("BergerLahr"));
    storeValue(QStringLiteral("motor driver"), QStringLiteral("position"), 123456);
    writeCleanShutdownLog(*work);
    fakeProcessRunner runner;
    modalAnswerer answerer;
    MainWindow window;
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(form(window)->widgetManual->pMainWindow && !QApplication::activeModalWidget(), WAIT_MS);
    QCOMPARE(driver(window)->getMotorPosition(), -1);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
    QCOMPARE(storedValue(QStringLiteral("motor driver"), QStringLiteral("position")).toInt(), 123456);

    window.onRequestShutdown(false);
    QCOMPARE(storedValue(QStringLiteral("motor driver"), QStringLiteral("position")).toInt(), 123456);
}

void tst_MainWindow::shutdownAndReboot_data()
{
    QTest::addColumn<bool>("reboot");
    QTest::addColumn<bool>("powerButton");
    QTest::addColumn<QString>("command");
    QTest::newRow("shutdown") << false << false << "sudo shutdown -h now";
    QTest::newRow("reboot") << true << false << "sudo reboot";
    QTest::newRow("status strip power button") << false << true << "sudo shutdown -h now";
}

// Every way of powering off stores the position, the running time, the
// travel counter and "calibrate on start" before the command runs.
void tst_MainWindow::shutdownAndReboot()
{
    QFETCH(bool, reboot);
    QFETCH(bool, powerButton);
    QFETCH(QString, command);
    attachController();
    storeValue(QStringLiteral("controller"), QStringLiteral("total steps"), 1000);
    storeValue(QStringLiteral("controller"), QStringLiteral("uptime in sec"), 10);
    storeValue(QStringLiteral("motor driver"), QStringLiteral("calibrate on start"), true);
    snapshotRunner runner;
    MainWindow window;
    waitForPosition(window);
    window.bCalibrateOnStart = false;  // as the settings page writes it
    driver(window)->setTotalSteps(4321);
    window.pLogFile->setUptime(98765);

    int nPositionAtCommand = -2;
    QString strLastLogAtCommand;
    QVariantList countersAtCommand;
    runner.atExecute = [&] {
        // A fresh store object reads what reached the disk.
        nPositionAtCommand = storedValue(QStringLiteral("motor driver"), QStringLiteral("position")).toInt();
        strLastLogAtCommand = lastLogMessage(*work);
        countersAtCommand = {storedValue(QStringLiteral("controller"), QStringLiteral("uptime in sec")),
                             storedValue(QStringLiteral("controller"), QStringLiteral("total steps")),
                             storedValue(QStringLiteral("motor driver"), QStringLiteral("calibrate on start"))};
    };
    if (powerButton) {
        // The strip stores the last position it has shown.
        auto *pPos = form(window)->widgetStatus->findChild<QLabel *>(QStringLiteral("lblPos"));
        QVERIFY(pPos);
        QTRY_COMPARE_WITH_TIMEOUT(pPos->text(), positionText(driver(window)->getMotorPosition()), WAIT_MS);
        modalAnswerer answerer(QStringList{QStringLiteral("&Yes")});
        form(window)->widgetStatus->findChild<QPushButton *>(QStringLiteral("pushBtnIO"))->click();
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("Shutdown")});
    } else {
        window.onRequestShutdown(reboot);
    }

    QCOMPARE(runner.commandLines(), QStringList{command});
    QVERIFY(driver(window)->getMotorPosition() >= 0);
    QCOMPARE(nPositionAtCommand, driver(window)->getMotorPosition());
    QCOMPARE(strLastLogAtCommand, QStringLiteral("Shutdown"));
    // What only closing the window used to store survives the way down too.
    QCOMPARE(countersAtCommand.size(), 3);
    QVERIFY2(countersAtCommand.at(0).toLongLong() >= 98765, qPrintable(countersAtCommand.at(0).toString()));
    QCOMPARE(countersAtCommand.at(1).toLongLong(), 4321);
    QCOMPARE(countersAtCommand.at(2).toBool(), false);
}

void tst_MainWindow::writeSettingsWritesItsKeys()
{
    // Every key written on close gets a value that differs from what a fresh
    // store gives, so a key that is written wrongly or not at all shows.
    const QHash<QString, QVariant> values = {
        {QStringLiteral("motor driver/type"), QStringLiteral("BergerLahr")},
        {QStringLiteral("motor driver/calibrate on start"), true},
        {QStringLiteral("motor driver/continious speed"), 7},
        {QStringLiteral("external feedback/sensor name"), QStringLiteral("Pirani")},
        {QStringLiteral("external feedback/sensor data name"), QStringLiteral("Pressure")},
        {QStringLiteral("external feedback/sensor formula"), QStringLiteral("val1*2+val2")},
        {QStringLiteral("external feedback/sensor unit"), QStringLiteral("mbar")},
        {QStringLiteral("external feedback/sensor inputmask"), QStringLiteral("9.99")},
        {QStringLiteral("external feedback/Prop-Value"), 1.5},
        {QStringLiteral("external feedback/Relative Difference"), 0.25},
        {QStringLiteral("external feedback/Differential Value"), 2.5},
        {QStringLiteral("external feedback/Integral Value"), 3.5},
        {QStringLiteral("external feedback/Integral Quantity"), 12},
        {QStringLiteral("external feedback/Correct Sensitivity Value"), 4.5},
        {QStringLiteral("external feedback/relative difference new calc"), 0.75},
        {QStringLiteral("external feedback/number of retries new calc"), 4},
        {QStringLiteral("teachIn/teachInFile"), QStringLiteral("curveA")},
        {QStringLiteral("inputs/sampling"), 1500},
        {QStringLiteral("outputs/output1 config"), 2},
        {QStringLiteral("controller/uptime in sec"), 1000},
        {QStringLiteral("controller/total steps"), 555},
        {QStringLiteral("controller/Analog Card Type"), 2},
        {QStringLiteral("controller/RTC Type"), 0},
        {QStringLiteral("controller/remote port"), QStringLiteral("ttyS7")},
    };
    QHash<QString, QVariant> inputValues;
    for (int nInput = 0; nInput < 3; ++nInput) {
        const int n = nInput + 1;
        inputValues.insert(QStringLiteral("inputs/input%1 type").arg(n), nInput);
        inputValues.insert(QStringLiteral("inputs/input%1 upper boundary").arg(n), 9000.5 + n);
        inputValues.insert(QStringLiteral("inputs/input%1 upper boundary steps").arg(n), 900000 + n);
        inputValues.insert(QStringLiteral("inputs/input%1 upper boundary action").arg(n), 1);
        inputValues.insert(QStringLiteral("inputs/input%1 lower boundary").arg(n), 100.5 + n);
        inputValues.insert(QStringLiteral("inputs/input%1 lower boundary steps").arg(n), 1000 + n);
        inputValues.insert(QStringLiteral("inputs/input%1 lower boundary action").arg(n), 2);
    }
    {
        std::unique_ptr<QSettings> settings(newStore());
        for (auto it = values.begin(); it != values.end(); ++it)
            settings->setValue(it.key(), it.value());
        for (auto it = inputValues.begin(); it != inputValues.end(); ++it)
            settings->setValue(it.key(), it.value());
    }

    fakeProcessRunner runner;
    MainWindow window;
    {
        std::unique_ptr<QSettings> settings(newStore());
        settings->clear();
    }
    window.writeSettings();

    std::unique_ptr<QSettings> settings(newStore());
    QStringList written = settings->allKeys();
    written.sort();
    QStringList expected = settingsKeysWrittenOnClose();
    expected.removeOne(QStringLiteral("motor driver/position"));  // no controller: position unknown
    expected.sort();
    QCOMPARE(written, expected);
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key() == QLatin1String("controller/uptime in sec"))
            QVERIFY(settings->value(it.key()).toLongLong() >= 1000);
        else
            QCOMPARE(settings->value(it.key()).toString(), it.value().toString());
    }
    for (auto it = inputValues.begin(); it != inputValues.end(); ++it)
        QCOMPARE(settings->value(it.key()).toDouble(), it.value().toDouble());
}

void tst_MainWindow::closeKeepsValuesChosenForNextStart()
{
    storeValue(QStringLiteral("motor driver"), QStringLiteral("motor port"), QStringLiteral("ttyS1"));
    storeValue(QStringLiteral("external feedback"), QStringLiteral("curve use"), 0);
    writeCleanShutdownLog(*work);
    fakeProcessRunner runner;
    modalAnswerer answerer;
    {
        MainWindow window;
        window.show();
        // Chosen on the settings page for the next start.
        storeValue(QStringLiteral("motor driver"), QStringLiteral("motor port"), QStringLiteral("ttyS2"));
        storeValue(QStringLiteral("external feedback"), QStringLiteral("curve use"), 2);
        QVERIFY(window.close());
    }
    QCOMPARE(storedValue(QStringLiteral("motor driver"), QStringLiteral("motor port")).toString(), QStringLiteral("ttyS2"));
    QCOMPARE(storedValue(QStringLiteral("external feedback"), QStringLiteral("curve use")).toInt(), 2);
    // The window's own keys were written.
    QVERIFY(storedValue(QStringLiteral("inputs"), QStringLiteral("sampling")).isValid());
}

void tst_MainWindow::buttonsReachTheValve_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("Manual: open") << "pushBtnOpen" << QByteArray("g40000");
    QTest::newRow("Manual: close") << "pushBtnClose" << QByteArray("g1");
    QTest::newRow("Manual: one step open") << "pushBtnOneStepOpen" << QByteArray("p");
    QTest::newRow("Manual: one step close") << "pushBtnOneStepClose" << QByteArray("m");
    QTest::newRow("status strip: Stop") << "pushBtnStop" << QByteArray("h");
}

void tst_MainWindow::buttonsReachTheValve()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, command);
    attachController();
    fakeProcessRunner runner;
    MainWindow window;
    waitForPosition(window);
    QPushButton *pButton = window.findChild<QPushButton *>(button);
    QVERIFY(pButton);
    QCOMPARE(sim->countOf(command), 0);
    pButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(sim->countOf(command) > 0, WAIT_MS);
}

void tst_MainWindow::setDataQuestionOnLeavingManual_data()
{
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("stops");
    QTest::addColumn<int>("tabAfter");

    QTest::newRow("Return stays on the Manual tab") << true << "Return" << 1 << 0 << 1;
    QTest::newRow("Stop ends the run and changes") << true << "Stop" << 1 << 1 << 2;
    QTest::newRow("no run, no question") << false << "" << 0 << 0 << 2;
}

void tst_MainWindow::setDataQuestionOnLeavingManual()
{
    QFETCH(bool, running);
    QFETCH(QString, answer);
    QFETCH(int, questions);
    QFETCH(int, stops);
    QFETCH(int, tabAfter);

    fakeProcessRunner runner;
    MainWindow window;
    formManualTab *pManual = form(window)->widgetManual;
    QSignalSpy stopSpy(&window, &MainWindow::stopSetDataManual);
    QSignalSpy haltSpy(pManual, &formManualTab::onHaltClicked);
    pManual->bSetDataRunning = running;

    modalAnswerer answerer(answer.isEmpty() ? QStringList{} : QStringList{answer});
    form(window)->tabWidget->setCurrentIndex(2);

    QCOMPARE(answerer.texts.count(QStringLiteral("Set Data is running...")), questions);
    QCOMPARE(stopSpy.count(), stops);
    QCOMPARE(haltSpy.count(), stops);  // the Manual page ended its run
    QCOMPARE(form(window)->tabWidget->currentIndex(), tabAfter);
    QCOMPARE(window.tabRules.nLastTab, tabAfter);
    QVERIFY(!window.tabRules.bIgnoreNextTabChange);

    // A refused change does not stick: the next attempt is asked again.
    if (answer == QLatin1String("Return")) {
        answerer.answerNext(QStringLiteral("Return"));
        form(window)->tabWidget->setCurrentIndex(0);
        QCOMPARE(answerer.texts.count(QStringLiteral("Set Data is running...")), 2);
        QCOMPARE(form(window)->tabWidget->currentIndex(), 1);
    }
}

void tst_MainWindow::measurementConnectionMadeOnce()
{
    fakeProcessRunner runner;
    MainWindow window;
    motorDriver *pDriver = driver(window);

    metaCallCounter counter;
    counter.moveToThread(pDriver->thread());
    QMetaObject::invokeMethod(pDriver, [&] { pDriver->installEventFilter(&counter); }, Qt::BlockingQueuedConnection);
    const auto flush = [&] { QMetaObject::invokeMethod(pDriver, [] {}, Qt::BlockingQueuedConnection); };
    QThread *pGuiThread = QThread::currentThread();
    const auto removeFilter = qScopeGuard([&] {
        QMetaObject::invokeMethod(
            pDriver,
            [&] {
                pDriver->removeEventFilter(&counter);
                counter.moveToThread(pGuiThread);
            },
            Qt::BlockingQueuedConnection);
    });

    QSignalSpy measureSpy(&window, &MainWindow::setMeaureData);
    // The Manual page, the drive and a script may all switch measuring on.
    window.onSetMeasurement(true);
    window.onSetMeasurement(true);
    emit form(window)->widgetManual->setMeasurement(true);
    QCOMPARE(measureSpy.count(), 1);

    flush();
    counter.nCalls.storeRelease(0);
    emit analog(window)->setAnalogValue(1.0, 2.0, 3.0, 0, 1);
    flush();
    QCOMPARE(counter.nCalls.loadAcquire(), 2);  // the sample and the flush itself

    window.onSetMeasurement(false);
    flush();
    counter.nCalls.storeRelease(0);
    emit analog(window)->setAnalogValue(1.0, 2.0, 3.0, 0, 1);
    flush();
    QCOMPARE(counter.nCalls.loadAcquire(), 1);  // only the flush
    QCOMPARE(measureSpy.count(), 2);
}

void tst_MainWindow::newTeachInFromAnotherFolder()
{
    QVERIFY(work->writeFile(QStringLiteral("teachIn/curve1.kfxteachin"), TEACHIN_OTHER_SENSOR));
    storeValue(QStringLiteral("external feedback"), QStringLiteral("sensor name"), QStringLiteral("my sensor"));
    fakeProcessRunner runner;
    MainWindow window;

    modalAnswerer answerer;
    // The folder a file dialog returned is not used: the name is.
    emit form(window)->widgetManual->setNewTeachIn(QStringLiteral("/media/usb/exports/curve1.kfxteachin"));

    QCOMPARE(answerer.texts, QStringList{QStringLiteral("TeachIn - Inormation")});
    QCOMPARE(storedValue(QStringLiteral("teachIn"), QStringLiteral("teachInFile")).toString(), QStringLiteral("curve1"));
    QCOMPARE(window.activeTeachIn.snapshot().vecTeachInData.size(), 3);
    QCOMPARE(window.strTeachInFile, QStringLiteral("curve1"));
}

void tst_MainWindow::setDataTurnsThousandthsIntoATarget()
{
    QVERIFY(work->writeFile(QStringLiteral("teachIn/curve1.kfxteachin"), TEACHIN_OTHER_SENSOR));
    storeValue(QStringLiteral("teachIn"), QStringLiteral("teachInFile"), QStringLiteral("curve1"));
    storeValue(QStringLiteral("external feedback"), QStringLiteral("sensor formula"), QStringLiteral("val1+val2"));
    fakeProcessRunner runner;
    MainWindow window;
    QSignalSpy targetSpy(&window, &MainWindow::setDataToMotor);

    // A script's GOTODATA 2500 with repeat 0: the formula sees 2.5 and 0.
    window.setData(2500, 0, 1.0);
    QCOMPARE(targetSpy.count(), 1);
    QCOMPARE(targetSpy.at(0).at(0).toDouble(), 2.5);
    QCOMPARE(targetSpy.at(0).at(1).toInt(), 750000);  // halfway between 2 V and 3 V on the open curve

    window.setData(500, 250, 1.0);  // 0.75 lies below the curve
    QCOMPARE(targetSpy.at(1).at(0).toDouble(), 0.75);
    QCOMPARE(targetSpy.at(1).at(1).toInt(), 0);
}

// Queued calls that reach the object in its own thread while action runs.
int queuedCallsInto(QObject *pObject, const std::function<void()> &action)
{
    metaCallCounter counter;
    QThread *pHome = QThread::currentThread();
    counter.moveToThread(pObject->thread());
    QMetaObject::invokeMethod(pObject, [&] { pObject->installEventFilter(&counter); }, Qt::BlockingQueuedConnection);
    action();
    QMetaObject::invokeMethod(
        pObject,
        [&] {
            pObject->removeEventFilter(&counter);
            counter.moveToThread(pHome);
        },
        Qt::BlockingQueuedConnection);
    // Less the call that removed the counter.
    return counter.nCalls.loadAcquire() - 1;
}

void tst_MainWindow::scriptExecutorRunsInItsOwnThread()
{
    storeValue(QStringLiteral("external feedback"), QStringLiteral("sensor formula"), QStringLiteral("val1*3"));
    fakeProcessRunner runner;
    MainWindow window;
    scriptExecutor *pExec = window.pScriptExecutor;
    QVERIFY(pExec);
    QVERIFY(window.scriptThread && window.scriptThread->isRunning());
    QVERIFY(pExec->thread() == window.scriptThread);
    bool bTimerAtHome = false;
    QString strFormula;
    QMetaObject::invokeMethod(
        pExec,
        [&] {
            bTimerAtHome = pExec->waitTimer && pExec->waitTimer->thread() == QThread::currentThread();
            strFormula = pExec->extFeedback.get().sensor.strFormula;
        },
        Qt::BlockingQueuedConnection);
    QVERIFY(bTimerAtHome);
    QCOMPARE(strFormula, QStringLiteral("val1*3"));
    QVERIFY(QMetaType::type("lvScript") != QMetaType::UnknownType);

    // A sensor change reaches the executor's copy.
    window.extFeedback.sensor.strFormula = QStringLiteral("val2");
    window.updateSensor();
    QMetaObject::invokeMethod(
        pExec, [&] { strFormula = pExec->extFeedback.get().sensor.strFormula; }, Qt::BlockingQueuedConnection);
    QCOMPARE(strFormula, QStringLiteral("val2"));
}

void tst_MainWindow::scriptExecutorPermanentLinks()
{
    fakeProcessRunner runner;
    MainWindow window;
    scriptExecutor *pExec = window.pScriptExecutor;
    QCOMPARE(queuedCallsInto(pExec, [&] { emit analog(window)->setAnalogValue(1.0, 2.0, 3.0, 0, 1); }), 1);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit driver(window)->setMotorPosition(1234); }), 1);
    QCOMPARE(queuedCallsInto(driver(window), [&] { emit pExec->stopFeedbackData(); }), 1);
    // Outside the Script page the executor neither moves the valve nor is paced.
    QCOMPARE(queuedCallsInto(pExec, [&] { emit driver(window)->positionReached(); }), 0);
    QCOMPARE(queuedCallsInto(driver(window), [&] { emit pExec->gotoPosAbs(5); }), 0);

    QSignalSpy sampleSpy(analog(window), &analogData::setAnalogValue);
    analog(window)->nAnalogCardType = 1;
    emit pExec->getAnalogValue();
    QCOMPARE(sampleSpy.count(), 1);
}

void tst_MainWindow::reachedConnectionsAreMadeOnce()
{
    fakeProcessRunner runner;
    MainWindow window;
    scriptExecutor *pExec = window.pScriptExecutor;
    motorDriver *pDriver = driver(window);
    window.connectPositionReachedToScriptExec(true);
    window.connectPositionReachedToScriptExec(true);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 1);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->reachedDataPoint(); }), 0);
    window.connectPositionReachedToScriptExec(false);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 0);

    window.connectDataReachedToScriptExec(true);
    window.connectDataReachedToScriptExec(true);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->reachedDataPoint(); }), 1);
    window.connectDataReachedToScriptExec(false);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->reachedDataPoint(); }), 0);
}

void tst_MainWindow::scriptPageJoinsTheRunWhileShown()
{
    fakeProcessRunner runner;
    MainWindow window;
    scriptExecutor *pExec = window.pScriptExecutor;
    motorDriver *pDriver = driver(window);
    QTabWidget *pTabs = form(window)->tabWidget;
    QSignalSpy savedSpy(pExec, &scriptExecutor::newDataSeved);

    // Entered twice with a visit elsewhere between: every connection once.
    pTabs->setCurrentIndex(2);
    pTabs->setCurrentIndex(1);
    pTabs->setCurrentIndex(2);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 1);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->reachedDataPoint(); }), 1);
    QCOMPARE(queuedCallsInto(pDriver, [&] { emit pExec->gotoPosAbs(5); }), 1);
    QCOMPARE(queuedCallsInto(pDriver, [&] { emit pExec->gotoPosRel(-5); }), 1);
    QSignalSpy targetSpy(&window, &MainWindow::setDataToMotor);
    QSignalSpy measureSpy(&window, &MainWindow::setMeaureData);
    emit pExec->gotoData(1000, 0, 0.0);
    emit pExec->setMeasurement(true);
    emit pExec->newDataSeved(QStringLiteral("recorded"));
    QCOMPARE(targetSpy.count(), 1);
    // Measuring requests come merged, in a delivery of their own.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(measureSpy.count(), 1);
    QVERIFY(window.bNewDataSaved);
    QCOMPARE(window.strNewDataFileName, QStringLiteral("recorded"));
    // The executor's own requests to cut and join the reports.
    emit pExec->connectPositionReached(false);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 0);
    emit pExec->connectPositionReached(true);
    emit pExec->connectPositionReached(true);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 1);
    emit pExec->connectDataReached(false);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->reachedDataPoint(); }), 0);
    emit pExec->connectDataReached(true);
    window.onSetMeasurement(false);

    // Leaving the page releases all of them, a cut report included. The
    // saved data is offered as the active teach-in; the operator declines.
    emit pExec->connectDataReached(false);
    modalAnswerer answerer({QStringLiteral("&No")});
    pTabs->setCurrentIndex(1);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("TeachIn Data changed")});
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 0);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->reachedDataPoint(); }), 0);
    QCOMPARE(queuedCallsInto(pDriver, [&] { emit pExec->gotoPosAbs(5); }), 0);
    emit pExec->gotoData(1000, 0, 0.0);
    emit pExec->setMeasurement(true);
    emit pExec->connectPositionReached(true);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(targetSpy.count(), 1);
    QCOMPARE(measureSpy.count(), 2);
    QCOMPARE(queuedCallsInto(pExec, [&] { emit pDriver->positionReached(); }), 0);
    // Entering again clears the mark of new data.
    pTabs->setCurrentIndex(2);
    QVERIFY(!window.bNewDataSaved);
}

void tst_MainWindow::otherPagesPauseTheScript()
{
    fakeProcessRunner runner;
    MainWindow window;
    scriptExecutor *pExec = window.pScriptExecutor;
    QTabWidget *pTabs = form(window)->tabWidget;
    lvScript script;
    script.cmdList.append(lvScriptCommand()); // WAIT 1000
    const auto stopped = [pExec] {
        bool bStopped = false;
        QMetaObject::invokeMethod(pExec, [&] { bStopped = pExec->resumeable; }, Qt::BlockingQueuedConnection);
        return bStopped;
    };
    for (const int nTab : {0, 1, 3}) {
        pTabs->setCurrentIndex(2);
        QMetaObject::invokeMethod(pExec, [pExec, script] {
            pExec->setScript(script);
            pExec->processScript();
        }, Qt::BlockingQueuedConnection);
        QVERIFY(!stopped());
        pTabs->setCurrentIndex(nTab);
        QVERIFY2(stopped(), qPrintable(QString::number(nTab)));
    }
    // Entering the Script page does not resume it.
    pTabs->setCurrentIndex(2);
    QVERIFY(stopped());
}

void tst_MainWindow::pageStopReachesABusyScriptThread()
{
    fakeProcessRunner runner;
    MainWindow window;
    scriptExecutor *pExec = window.pScriptExecutor;
    form(window)->tabWidget->setCurrentIndex(2);
    lvScript script;
    script.cmdList.append(lvScriptCommand()); // WAIT 1000
    QMetaObject::invokeMethod(pExec, [pExec, script] {
        pExec->setScript(script);
        pExec->processScript();
    }, Qt::BlockingQueuedConnection);
    QVERIFY(!pExec->resumeable);

    // The script thread busy as in a chain of commands that never returns to
    // its event loop (a loop of immediate commands): the page's Stop (and the
    // status strip's, which runs it) must still reach the chain.
    QSemaphore busy;
    QSemaphore release;
    QMetaObject::invokeMethod(pExec, [&busy, &release] {
        busy.release();
        release.acquire();
    }, Qt::QueuedConnection);
    busy.acquire();
    emit form(window)->widgetStatus->onStop();
    const bool bStopSeen = pExec->resumeable;
    release.release();
    QVERIFY(bStopSeen);
}

void tst_MainWindow::closingEndsARunningLoop()
{
    fakeProcessRunner runner;
    auto window = std::make_unique<MainWindow>();
    scriptExecutor *pExec = window->pScriptExecutor;
    std::atomic<int> nExecuted{0};
    connect(pExec, &scriptExecutor::commandExecuted, pExec, [&nExecuted] { ++nExecuted; }, Qt::DirectConnection);
    lvScript script;
    for (const auto &line : {std::make_tuple("MEAS", 2, 0), std::make_tuple("GOTOCMD", 0, 1),
                             std::make_tuple("GOTOCMD", 0, 2)}) {
        lvScriptCommand cmd;
        cmd.setCommand(script.cmdList.size(), QString::fromLatin1(std::get<0>(line)), std::get<1>(line),
                       std::get<2>(line));
        script.cmdList.append(cmd);
    }
    QMetaObject::invokeMethod(pExec, [pExec, script] {
        pExec->setScript(script);
        pExec->processScript();
    }, Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(nExecuted.load() > 1000, 20000);
    // The window goes while the loop never returns to its event loop.
    window.reset();
    QVERIFY(nExecuted.load() > 1000);
}

void tst_MainWindow::immediateLoopIsThinnedWithACount()
{
    writeCleanShutdownLog(*work);
    QVERIFY(work->writeFile(QStringLiteral("scripts/loop.kfxscript"), "0;MEAS;2;0;\n1;GOTOCMD;0;99999;\n"));
    fakeProcessRunner runner;
    MainWindow window;
    formScriptTab *pTab = form(window)->widgetScript;
    scriptExecutor *pExec = executor(window);
    form(window)->tabWidget->setCurrentIndex(2);
    QCOMPARE(pTab->current().strName, QStringLiteral("loop"));
    std::atomic<int> nMeasuring{0};
    connect(pExec, &scriptExecutor::setMeasurement, pExec, [&nMeasuring] { ++nMeasuring; }, Qt::DirectConnection);
    QSemaphore finished;
    connect(pExec, &scriptExecutor::finished, pExec, [&finished] { finished.release(); }, Qt::DirectConnection);
    const int nLinesBefore = logLines(*work).size();

    // The GUI thread handles no event while the 200,000 commands run.
    pTab->on_pushBtnScriptRun_clicked();
    QVERIFY(finished.tryAcquire(1, 120000));
    QTRY_VERIFY_WITH_TIMEOUT(!pTab->isScriptRunning(), WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(logHasMessage(*work, QStringLiteral("Script Finished")), WAIT_MS);
    QStringList scriptLines;
    for (const QString &strLine : logLines(*work).mid(nLinesBefore)) {
        const QString strMessage = strLine.section(QStringLiteral(" ### "), 1);
        if (strMessage.contains(QLatin1String("Script")))
            scriptLines << strMessage;
    }
    // The first texts whole and in order, then a few; the log counts the
    // rest, so shown and counted add up to the 200,000 commands.
    QCOMPARE(scriptLines.mid(0, 3), QStringList({"Do Script: Cmd 0", "Do Script: Cmd 1 99999/99999 ",
                                                 "Do Script: Cmd 0 99998/0 "}));
    QCOMPARE(scriptLines.last(), QStringLiteral("Script Finished"));
    QVERIFY(scriptLines.size() < 2 * scriptProgressQueue::capacity);
    qint64 nShown = 0;
    qint64 nNotShown = 0;
    const QRegularExpression count(QStringLiteral("^Script: (\\d+) command texts not shown$"));
    for (const QString &strMessage : scriptLines.mid(0, scriptLines.size() - 1)) {
        const QRegularExpressionMatch match = count.match(strMessage);
        if (match.hasMatch())
            nNotShown += match.captured(1).toLongLong();
        else if (strMessage.startsWith(QLatin1String("Do Script: Cmd ")))
            ++nShown;
        else
            QFAIL(qPrintable(strMessage));
    }
    QVERIFY(nNotShown > 0);
    QCOMPARE(nShown + nNotShown, qint64(200000));
    // Measuring is asked for once, not once a pass.
    QCOMPARE(nMeasuring.load(), 1);
}

namespace {

// QObject::receivers() is protected; a derived class may name it.
struct receiverCount : QObject
{
    static int of(const QObject *pObject, const char *pszSignal)
    {
        return (pObject->*&receiverCount::receivers)(pszSignal);
    }
};

} // namespace

QString tst_MainWindow::scriptPageConnections(MainWindow &window)
{
    formScriptTab *pTab = form(window)->widgetScript;
    scriptExecutor *pExec = executor(window);
    motorDriver *pDriver = driver(window);
    const QList<QPair<const QObject *, const char *>> signalList = {
        {pTab, SIGNAL(runScript())},
        {pTab, SIGNAL(stopScript())},
        {pTab, SIGNAL(cmdSet(int))},
        {pDriver, SIGNAL(positionReached())},
        {pDriver, SIGNAL(reachedDataPoint())},
        {pExec, SIGNAL(gotoPosAbs(int))},
        {pExec, SIGNAL(gotoPosRel(int))},
        {pExec, SIGNAL(gotoData(int, int, double))},
        {pExec, SIGNAL(commandExecuted(int, int, int, QString))},
        {pExec, SIGNAL(finished())},
        {pExec, SIGNAL(updateDiagramMeasure(lvTeachIn *, bool))},
        {pExec, SIGNAL(setMeasurement(bool))},
        {pExec, SIGNAL(newDataSeved(QString))},
        {pTab, SIGNAL(setStatusMsg(QString))},
        {pExec, SIGNAL(clearDiagram())},
        {pExec, SIGNAL(setDiagramName(QString))},
        {pExec, SIGNAL(connectPositionReached(bool))},
        {pExec, SIGNAL(connectDataReached(bool))},
        {pExec, SIGNAL(updateCommandExecute(int, int, int, QString, QString))},
    };
    QStringList counts;
    for (const auto &sig : signalList)
        counts << QString::number(receiverCount::of(sig.first, sig.second));
    return counts.join(QLatin1Char(' '));
}

void tst_MainWindow::scriptPageConnectionsWhileShown()
{
    writeCleanShutdownLog(*work);
    fakeProcessRunner runner;
    MainWindow window;
    const QString strNone = QStringLiteral("0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
    const QString strOnce = QStringLiteral("1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1");
    QCOMPARE(scriptPageConnections(window), strNone);

    // Entered twice, left twice: each of the nineteen exists once while the
    // page is shown and not at all otherwise.
    for (int nRound = 0; nRound < 2; ++nRound) {
        form(window)->tabWidget->setCurrentIndex(2);
        QCOMPARE(scriptPageConnections(window), strOnce);
        form(window)->tabWidget->setCurrentIndex(nRound == 0 ? 1 : 3);
        QCOMPARE(scriptPageConnections(window), strNone);
        QTRY_VERIFY_WITH_TIMEOUT(logHasMessage(*work, QStringLiteral("Script Tab changed")), WAIT_MS);
    }

    // The status strip's Stop reaches the page at every tab.
    formScriptTab *pTab = form(window)->widgetScript;
    pTab->on_pushBtnScriptRun_clicked();
    QVERIFY(pTab->isScriptRunning());
    emit form(window)->widgetStatus->onStop();
    QVERIFY(!pTab->isScriptRunning());
}

void tst_MainWindow::leavingScriptWithChanges_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("tabAfter");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("changed");
    const QByteArray stored = "0;WAIT;1000;1;\n";
    QTest::newRow("Cancel stays") << "Cancel" << 2 << stored << true;
    QTest::newRow("Save leaves") << "Save" << 1 << QByteArray("0;WAIT;2500;1;\n") << false;
    QTest::newRow("Discard leaves") << "Discard" << 1 << stored << false;
}

void tst_MainWindow::leavingScriptWithChanges()
{
    QFETCH(QString, answer);
    QFETCH(int, tabAfter);
    QFETCH(QByteArray, file);
    QFETCH(bool, changed);
    writeCleanShutdownLog(*work);
    QVERIFY(work->writeFile(QStringLiteral("scripts/run.kfxscript"), "0;WAIT;1000;1;\n"));
    fakeProcessRunner runner;
    MainWindow window;
    formScriptTab *pTab = form(window)->widgetScript;
    form(window)->tabWidget->setCurrentIndex(2);
    pTab->commandModel()->setData(pTab->commandModel()->index(0, 1), QStringLiteral("2500"));
    QVERIFY(pTab->isScriptChanged());

    modalAnswerer answerer({answer});
    form(window)->tabWidget->setCurrentIndex(1);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Script changed")});
    QCOMPARE(form(window)->tabWidget->currentIndex(), tabAfter);
    QCOMPARE(window.tabRules.nLastTab, tabAfter);
    QCOMPARE(work->readFile(QStringLiteral("scripts/run.kfxscript")), file);
    QCOMPARE(pTab->isScriptChanged(), changed);
    QCOMPARE(scriptPageConnections(window).count(QLatin1Char('1')), tabAfter == 2 ? 19 : 0);
    QCOMPARE(logHasMessage(*work, QStringLiteral("Script Tab changed")), tabAfter != 2);
}

void tst_MainWindow::newTeachInQuestionOnLeavingScript_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("tabAfter");
    QTest::addColumn<QString>("activeAfter");
    QTest::newRow("Yes makes it active") << "&Yes" << 1 << "measured";
    QTest::newRow("No keeps the active one") << "&No" << 1 << "curve1";
    QTest::newRow("Cancel stays on the page") << "Cancel" << 2 << "curve1";
}

void tst_MainWindow::newTeachInQuestionOnLeavingScript()
{
    QFETCH(QString, answer);
    QFETCH(int, tabAfter);
    QFETCH(QString, activeAfter);
    writeCleanShutdownLog(*work);
    QVERIFY(work->writeFile(QStringLiteral("teachIn/curve1.kfxteachin"), teachInFile("s")));
    QVERIFY(work->writeFile(QStringLiteral("teachIn/measured.kfxteachin"), teachInFile("s")));
    storeValue(QStringLiteral("teachIn"), QStringLiteral("teachInFile"), QStringLiteral("curve1"));
    storeValue(QStringLiteral("external feedback"), QStringLiteral("sensor name"), QStringLiteral("s"));
    fakeProcessRunner runner;
    MainWindow window;
    form(window)->tabWidget->setCurrentIndex(2);
    // A script saved its measurement.
    window.onNewDataSaved(QStringLiteral("measured"));

    modalAnswerer answerer({answer});
    form(window)->tabWidget->setCurrentIndex(1);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("TeachIn Data changed")});
    QCOMPARE(form(window)->tabWidget->currentIndex(), tabAfter);
    QCOMPARE(window.strTeachInFile, activeAfter);
    QCOMPARE(storedValue(QStringLiteral("teachIn"), QStringLiteral("teachInFile")).toString(), activeAfter);
    QCOMPARE(form(window)->widgetScript->pCurrentState->teachIn(), &window.activeTeachIn);
    QCOMPARE(scriptPageConnections(window).count(QLatin1Char('1')), tabAfter == 2 ? 19 : 0);
    QCOMPARE(window.bNewDataSaved, tabAfter == 2);
    if (tabAfter == 2) {
        // Asked again at the next attempt.
        answerer.answerNext(QStringLiteral("&No"));
        form(window)->tabWidget->setCurrentIndex(1);
        QCOMPARE(answerer.texts.size(), 2);
        QCOMPARE(form(window)->tabWidget->currentIndex(), 1);
    }
}

void tst_MainWindow::scriptPageAtStart()
{
    writeCleanShutdownLog(*work);
    QVERIFY(work->writeFile(QStringLiteral("scripts/first.kfxscript"), "0;GOTOPOS;500000;1;\n"));
    storeValue(QStringLiteral("controller"), QStringLiteral("long press time"), 1234);
    fakeProcessRunner runner;
    MainWindow window;
    formScriptTab *pTab = form(window)->widgetScript;
    QCOMPARE(pTab->current().strName, QStringLiteral("first"));
    // The stored hold time reaches the Script page at start.
    QCOMPARE(pTab->scriptTable()->nLongPressTime, 1234);
    QCOMPARE(pTab->commandTable()->nLongPressTime, 1234);
    QCOMPARE(pTab->pCurrentState->teachIn(), &window.activeTeachIn);
    modalAnswerer answerer; // no teach-in: its sensor differs
    window.show();
    QTRY_COMPARE_WITH_TIMEOUT(pTab->pMainWindow, &window, WAIT_MS);
    // The page fits its place in the window.
    form(window)->tabWidget->setCurrentIndex(2);
    QVERIFY(pTab->height() >= pTab->minimumSizeHint().height());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
