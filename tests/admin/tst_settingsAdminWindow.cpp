// The administration and the test page inside the real main window: the
// drive on the controller simulator, the settings store and working
// directory of their own, the fake runner in place of every outside program.

#include "app/MainWindow.h"
#include "ui_MainWindow.h"

#include "settings/formSettingsTab.h"
#include "valve/motorDriver.h"
#include "valve/settingsStore.h"

#include "controllerSim.h"
#include "fakeProcessRunner.h"
#include "plannedAnswerer.h"
#include "testWorkDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int WAIT_MS = 20000;

void writeCleanShutdownLog(const testWorkDir &work)
{
    QVERIFY(work.writeFile("log/qVarnixLeakvalve.log",
                           QDate::currentDate().toString("dd.MM.yyyy").toLatin1() + " 10:00:00.000 ### Shutdown\n"));
}

QString lastLogMessage(const testWorkDir &work)
{
    QStringList lines = QString::fromUtf8(work.readFile("log/qVarnixLeakvalve.log")).split('\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().section(" ### ", 1);
}

QByteArray storeOnDisk()
{
    QFile f(settingsStore().fileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <typename T>
T *child(QWidget *pParent, const char *pszName)
{
    T *p = pParent->findChild<T *>(QString::fromLatin1(pszName));
    if (!p)
        qFatal("no widget %s", pszName);
    return p;
}

void finishEditing(QLineEdit *pEdit, const QString &strText)
{
    pEdit->setText(strText);
    emit pEdit->editingFinished();
}

// Remembers, at the reboot command, whether "update cleanup" was on disk and
// which boxes had been answered.
class rebootWatcher : public fakeProcessRunner
{
public:
    plannedAnswerer *pAnswerer = nullptr;
    QByteArray storeAtReboot;
    QStringList boxesAtReboot;
    result run(const request &req) override
    {
        if (req.strProgram == QLatin1String("unzip")) {
            QFile f(QDir(req.args.value(req.args.indexOf("-d") + 1)).filePath("update-script.sh"));
            f.open(QIODevice::WriteOnly);
        }
        if (req.args == QStringList{"reboot"}) {
            storeAtReboot = storeOnDisk();
            boxesAtReboot = pAnswerer->boxes();
        }
        return fakeProcessRunner::run(req);
    }
};

// The program's way down ends the event loop it runs in; here it runs in
// none, so the request would stay and end every later modal dialog at once.
void forgetQuitRequest()
{
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

} // namespace

class tst_settingsAdminWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        work = std::make_unique<testWorkDir>();
        QVERIFY(work->isValid());
        qputenv("VALVE_DEV_DIR", work->filePath("dev").toLocal8Bit());
        QVERIFY(updateRoot.isValid());
        qputenv("VALVE_UPDATE_DIR", updateRoot.filePath("update").toLocal8Bit());
        writeCleanShutdownLog(*work);
    }
    void cleanup()
    {
        sim.reset();
        work.reset();
        qunsetenv("VALVE_DEV_DIR");
    }

    void languageListKeepsTheStoredChoice();
    void teachInChosenOutsideItsFolder();
    void debugPageWithoutDebugMode();
    void debugPageDrivesTheLiveValve();
    void restartGoesDownLikeAShutdown();
    void importRestartsWithoutWritingOldValues();
    void updateRebootsAfterCleanupIsOnDisk();

private:
    void attachController()
    {
        QDir().mkpath(work->filePath("dev"));
        sim = std::make_unique<controllerSim>(controllerSim::FAMILY_BERGER_LAHR);
        QVERIFY(sim->start(work->filePath("dev/ttyUSB0")));
        sim->setPosition(sim->fullTravel() / 4);
        settingsStore s;
        s.setValue(settingKey::Position, 250000);
        s.setValue(settingKey::MotorType, "BergerLahr");
        s.setValue(settingKey::MotorPort, "ttyUSB0");
    }
    // A teach-in and a sensor of the same name, with the formula val1+val2,
    // and feedback bands that take the simulated voltages.
    void storeSensor()
    {
        QVERIFY(work->writeFile("teachIn/curve1.kfxteachin",
                                "Version: 103;\nsensor name: sum;\nsensor formula: val1+val2;\n"
                                "sensor data name: Leakrate;\nSteps; Time [s]; Channel1 [V]; Channel2 [V]; CurveType;\n"
                                "0;0;1;0;O;\n500000;1;2;0;O;\n1000000;2;3;0;O;\n"));
        settingsStore store;
        QSettings &s = store.store();
        s.setValue("teachIn/teachInFile", "curve1");
        s.setValue("external feedback/sensor name", "sum");
        s.setValue("external feedback/sensor formula", "val1+val2");
        for (const char *psz : {"input1", "input2", "input3"}) {
            s.setValue(QString("inputs/%1 upper boundary").arg(psz), 10000);
            s.setValue(QString("inputs/%1 upper boundary action").arg(psz), 2);
            s.setValue(QString("inputs/%1 lower boundary action").arg(psz), 2);
        }
        s.setValue("inputs/input1 type", 1);
        s.setValue("inputs/input2 type", 2);
        s.sync();
    }
    // Shown, loaded and knowing the valve position (checked by the caller).
    std::unique_ptr<MainWindow> shownWindow()
    {
        auto pWindow = std::make_unique<MainWindow>();
        pWindow->show();
        (void)QTest::qWaitFor([&] { return pWindow->ui->widgetSettings->pMainWindow == pWindow.get()
                                     && pWindow->pMotorDriver->getMotorPosition() >= 0; },
                        WAIT_MS);
        // The start-up boxes (answered by the test's answerer) are over.
        QTest::qWait(200);
        (void)QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, WAIT_MS);
        return pWindow;
    }
    formSettingsTab *tab(MainWindow &window) { return window.ui->widgetSettings; }
    motorDriver *driver(MainWindow &window) { return window.pMotorDriver; }

    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<controllerSim> sim;
    QTemporaryDir updateRoot;
};

void tst_settingsAdminWindow::languageListKeepsTheStoredChoice()
{
    for (const char *psz : {"languages/a.ts", "languages/b.ts", "languages/c.ts"})
        QVERIFY(work->writeFile(psz, "<TS/>"));
    settingsStore().setValue(settingKey::LanguageFile, "b.ts");
    formSettingsTab page;
    QCOMPARE(settingsStore().text(settingKey::LanguageFile), QString("b.ts"));
    auto *pLanguage = child<QComboBox>(&page, "cmbBoxLanguage");
    QCOMPARE(pLanguage->currentText(), QString("b.ts"));
    QCOMPARE(pLanguage->count(), 3);

    // The operator's choice is stored at once; the running texts stay.
    pLanguage->setCurrentIndex(pLanguage->findText("c.ts"));
    QCOMPARE(settingsStore().text(settingKey::LanguageFile), QString("c.ts"));
    page.readSettingsToGUI();
    QCOMPARE(pLanguage->currentText(), QString("c.ts"));
}

void tst_settingsAdminWindow::teachInChosenOutsideItsFolder()
{
    QVERIFY(work->writeFile("media/curve 2.v1.kfxteachin", "x"));
    formSettingsTab page;
    QSignalSpy chosen(&page, &formSettingsTab::setNewTeachIn);
    plannedAnswerer answerer;
    answerer.files << work->filePath("media/curve 2.v1.kfxteachin");
    child<QPushButton>(&page, "pushBtnChoose")->click();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), work->filePath("media/curve 2.v1.kfxteachin"));
    // Cut at the last dot only, as the main window loads it.
    QCOMPARE(child<QLineEdit>(&page, "lineEditDataFile")->text(), QString("curve 2.v1"));
    QCOMPARE(settingsStore().text(settingKey::TeachInFile), QString("curve 2.v1"));

    // Cancelled: nothing.
    child<QPushButton>(&page, "pushBtnChoose")->click();
    QCOMPARE(chosen.size(), 1);
}

// Off debug mode the page computes and shows, but nothing reaches the valve.
void tst_settingsAdminWindow::debugPageWithoutDebugMode()
{
    storeSensor();
    attachController();
    fakeProcessRunner runner;
    plannedAnswerer answerer;
    std::unique_ptr<MainWindow> pWindow = shownWindow();
    QVERIFY(tab(*pWindow)->pMainWindow && driver(*pWindow)->getMotorPosition() >= 0);
    formSettingsTab *pPage = tab(*pWindow);
    QSignalSpy measured(driver(*pWindow), &motorDriver::setMeasuredData);
    QSignalSpy goes(driver(*pWindow), &motorDriver::setMotorPosition);
    QSignalSpy setData(pPage, &formSettingsTab::setDebugData);
    QSignalSpy samples(pPage, &formSettingsTab::setDebugAnalogValue);

    finishEditing(child<QLineEdit>(pPage, "lineEditDebugVal1"), "1500");
    QCOMPARE(child<QLineEdit>(pPage, "lineEditDebugSetpoint")->text(), QString("1.5"));
    QCOMPARE(setData.size(), 1);
    QCOMPARE(setData.at(0).at(0).toInt(), 1500);
    QCOMPARE(setData.at(0).at(1).toInt(), 0);
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugVal2"), "1.5");   // no whole number: 0
    QCOMPARE(setData.at(1).at(1).toInt(), 0);

    // A change of input 3 alone is sent with the next edit of input 1 or 2.
    child<QLineEdit>(pPage, "lineEditDebugInput3")->setText("7");
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugInput1"), "1");
    QCOMPARE(samples.size(), 1);
    QCOMPARE(samples.at(0).at(2).toDouble(), 7.0);
    QCOMPARE(samples.at(0).at(3).toInt(), 0);
    QCOMPARE(samples.at(0).at(4).toInt(), 1);

    // A typed reply is not parsed outside debug mode.
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugSendToMotor"), "RP30000");
    QTest::qWait(500);
    QCOMPARE(driver(*pWindow)->getMotorPosition(), 250000);
    QVERIFY(measured.isEmpty());
    QVERIFY(!driver(*pWindow)->bDebug);
    QVERIFY(child<QLineEdit>(pPage, "lineEditDebugmotDriveCMD")->text().isEmpty());
}

void tst_settingsAdminWindow::debugPageDrivesTheLiveValve()
{
    storeSensor();
    attachController();
    fakeProcessRunner runner;
    plannedAnswerer answerer;
    std::unique_ptr<MainWindow> pWindow = shownWindow();
    QVERIFY(tab(*pWindow)->pMainWindow && driver(*pWindow)->getMotorPosition() >= 0);
    formSettingsTab *pPage = tab(*pWindow);
    motorDriver *md = driver(*pWindow);
    QSignalSpy measured(md, &motorDriver::setMeasuredData);
    QStringList echoes;   // every queued command, collected in this thread
    connect(md, &motorDriver::debugSendToMotor, this, [&echoes](const QString &strCmd) { echoes << strCmd; });

    child<QLineEdit>(pPage, "lineEditDebugInput1")->setText("1.5");
    child<QLineEdit>(pPage, "lineEditDebugInput2")->setText("0.25");
    child<QCheckBox>(pPage, "chekcBoxDebug")->setChecked(true);
    QVERIFY(md->bDebug);
    // The sensor value of inputs 1 and 2 shows at once.
    QCOMPARE(child<QLineEdit>(pPage, "lineEditDebugData")->text().toDouble(), 1.75);

    // The queued commands show in the echo field, terminator included.
    QLineEdit *pEcho = child<QLineEdit>(pPage, "lineEditDebugmotDriveCMD");
    QTRY_VERIFY_WITH_TIMEOUT(pEcho->text().endsWith('\r'), WAIT_MS);

    // Simulated inputs reach the regulation: a measured value of the sensor.
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugInput2"), "0.5");
    QTRY_VERIFY_WITH_TIMEOUT(!measured.isEmpty(), WAIT_MS);
    QCOMPARE(measured.last().at(0).toDouble(), 2.0);

    // A typed reply is parsed as the controller's, once: 30000 of 40000 steps.
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugSendToMotor"), "RP30000");
    QTRY_COMPARE_WITH_TIMEOUT(md->getMotorPosition(), 750000, WAIT_MS);

    // A simulated set value goes to the drive as a go-to-value.
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugVal1"), "1200");
    QCOMPARE(child<QLineEdit>(pPage, "lineEditDebugSetpoint")->text(), QString("1.2"));
    // 1.2 lies on the open curve at a tenth of the travel: 4000 steps.
    // (Rounding may leave it a step short.)
    const QRegularExpression gotoTenth(QStringLiteral("^g(399[0-9]|4000)\r"));
    QTRY_VERIFY_WITH_TIMEOUT(!echoes.filter(gotoTenth).isEmpty(), WAIT_MS);

    // Off again: the port is read again, measuring stops, no echo.
    child<QCheckBox>(pPage, "chekcBoxDebug")->setChecked(false);
    QVERIFY(!md->bDebug);
    sim->setPosition(sim->fullTravel() / 10);
    QTRY_COMPARE_WITH_TIMEOUT(md->getMotorPosition(), 100000, WAIT_MS);
    const QString strEcho = pEcho->text();
    measured.clear();
    finishEditing(child<QLineEdit>(pPage, "lineEditDebugInput1"), "2");
    QTest::qWait(500);
    QVERIFY(measured.isEmpty());
    QCOMPARE(pEcho->text(), strEcho);
}

void tst_settingsAdminWindow::restartGoesDownLikeAShutdown()
{
    attachController();
    fakeProcessRunner runner;
    plannedAnswerer answerer;
    std::unique_ptr<MainWindow> pWindow = shownWindow();
    QVERIFY(tab(*pWindow)->pMainWindow && driver(*pWindow)->getMotorPosition() >= 0);
    sim->setPosition(sim->fullTravel() / 2);
    QTRY_COMPARE_WITH_TIMEOUT(driver(*pWindow)->getMotorPosition(), 500000, WAIT_MS);
    // A key that closing the window would write: a restart leaves it.
    settingsStore().setValue(settingKey::EthPort, 4242);

    child<QPushButton>(tab(*pWindow), "pushBtnRestart")->click();
    forgetQuitRequest();

    const QByteArray stored = storeOnDisk();
    QVERIFY(stored.contains("position=500000"));
    QVERIFY(stored.contains("uptime%20in%20sec="));
    QVERIFY(stored.contains("total%20steps="));
    QCOMPARE(lastLogMessage(*work), QString("Shutdown"));
    // Not yet: the ports are still open.
    QVERIFY(runner.calls().isEmpty());

    pWindow.reset();
    QCOMPARE(runner.calls().size(), 1);
    QCOMPARE(runner.calls().first().eKind, fakeProcessRunner::DETACHED);
    QCOMPARE(runner.calls().first().strProgram, QCoreApplication::applicationFilePath());
    QVERIFY(runner.calls().first().args.isEmpty());
    QCOMPARE(settingsStore().number(settingKey::EthPort), 4242);
}

void tst_settingsAdminWindow::importRestartsWithoutWritingOldValues()
{
    attachController();
    fakeProcessRunner runner;
    plannedAnswerer answerer;
    std::unique_ptr<MainWindow> pWindow = shownWindow();
    QVERIFY(tab(*pWindow)->pMainWindow && driver(*pWindow)->getMotorPosition() >= 0);
    QVERIFY(work->writeFile("teachIn/other panel.ini",
                            "[external feedback]\nProp-Value=7.5\n[inputs]\nsampling=500\n[remote]\neth port=4711\n"
                            "[motor driver]\ncalibrate%20on%20start=true\n"));
    // The running window does not calibrate on start; the imported file does.
    QVERIFY(!pWindow->bCalibrateOnStart);
    answerer.files << work->filePath("teachIn/other panel.ini");

    answerer.seen.clear();
    child<QPushButton>(tab(*pWindow), "pushBtnImportSettings")->click();
    forgetQuitRequest();

    QCOMPARE(answerer.boxes(),
             QStringList{"Settings imported|The program restarts to use the imported settings."});
    // The page shows the imported values.
    QCOMPARE(child<QLineEdit>(tab(*pWindow), "lineEditPropValue")->text(), QString("7.5"));
    pWindow.reset();
    settingsStore store;
    QCOMPARE(store.real(settingKey::PropValue), 7.5);
    QCOMPARE(store.text(settingKey::Sampling), QString("500"));
    QCOMPARE(store.number(settingKey::EthPort), 4711);
    QVERIFY(store.flag(settingKey::CalibrateOnStart));
    QCOMPARE(runner.calls().size(), 1);
    QCOMPARE(runner.calls().first().eKind, fakeProcessRunner::DETACHED);
}

void tst_settingsAdminWindow::updateRebootsAfterCleanupIsOnDisk()
{
    attachController();
    rebootWatcher runner;
    runner.setResult("sudo", fakeProcessRunner::exitResult(1));
    plannedAnswerer answerer;
    runner.pAnswerer = &answerer;
    std::unique_ptr<MainWindow> pWindow = shownWindow();
    QVERIFY(tab(*pWindow)->pMainWindow && driver(*pWindow)->getMotorPosition() >= 0);
    QVERIFY(work->writeFile("media/pkg-1.2.kfxupdate", "zip"));
    answerer.files << work->filePath("media/pkg-1.2.kfxupdate");

    answerer.seen.clear();
    child<QPushButton>(tab(*pWindow), "pushBtnUpdate")->click();

    QStringList commands = runner.commandLines();
    QCOMPARE(commands.size(), 4);
    QCOMPARE(commands.last(), QString("sudo reboot"));
    QVERIFY(runner.calls().last().nTimeoutMs > 0);
    QVERIFY(runner.storeAtReboot.contains("update%20cleanup=" + QCoreApplication::applicationFilePath().toUtf8()));
    QCOMPARE(runner.boxesAtReboot, QStringList{"Updagte ready|The update worked. Rebooting..."});
    QCOMPARE(lastLogMessage(*work), QString("Shutdown"));
}

QTEST_MAIN(tst_settingsAdminWindow)
#include "tst_settingsAdminWindow.moc"
