// The Settings tab inside the main window: the leave rule saves the page and
// hands the re-target values and the remote port to the drive, a page that
// cannot be saved keeps the operator on it, and the calibrate-on-start box
// reaches the window.
#include "app/MainWindow.h"

#include "modalAnswerer.h"
#include "../remotetab/remoteTabFixture.h"
#include "fakeProcessRunner.h"
#include "settings/formSettingsTab.h"
#include "testWorkDir.h"
#include "valve/settingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include <memory>

class tst_settingsTabInWindow : public QObject
{
    Q_OBJECT

private slots:
    void leaveRule();
};

void tst_settingsTabInWindow::leaveRule()
{
    testWorkDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("dev")));
    QVERIFY(work.writeFile(QStringLiteral("dev/ttyUSB1"), QByteArray()));
    QVERIFY(work.writeFile(QStringLiteral("dev/ttyUSB2"), QByteArray()));
    qputenv("VALVE_DEV_DIR", work.filePath(QStringLiteral("dev")).toLocal8Bit());
    const auto restoreDevDir = qScopeGuard([] { qunsetenv("VALVE_DEV_DIR"); });
    QVERIFY(work.writeFile(QStringLiteral("log/qVarnixLeakvalve.log"),
                           QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1()
                               + " 10:00:00.000 ### Shutdown\n"));
    {
        settingsStore s;
        s.store().clear();
        s.setValue(settingKey::RelativeRecalc, 0.1);
        s.setValue(settingKey::RecalcTimes, 2);
        s.setValue(settingKey::RemotePort, QStringLiteral("ttyUSB1"));
        s.setValue(settingKey::CalibrateOnStart, false);
    }
    fakeProcessRunner runner;
    modalAnswerer boxes({}, true);

    auto pWindow = std::make_unique<MainWindow>();
    MainWindow &window = *pWindow;
    window.show();
    auto *pSettings = window.findChild<formSettingsTab *>(QStringLiteral("widgetSettings"));
    auto *pTabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QVERIFY(pSettings && pTabs);
    QTRY_VERIFY_WITH_TIMEOUT(pSettings->pMainWindow == &window && pSettings->bWindowLoaded, 20000);
    auto field = [pSettings](const char *psz) { return pSettings->findChild<QLineEdit *>(QLatin1String(psz)); };

    pTabs->setCurrentIndex(3);
    pSettings->findChild<QCheckBox *>(QStringLiteral("checkBoxCalibrateOnStart"))->click();
    QVERIFY(window.bCalibrateOnStart);

    field("lineEditRelativeRecalc")->setText(QStringLiteral("0.4"));
    field("lineEditRecalcTimes")->setText(QStringLiteral("5"));
    pSettings->findChild<QComboBox *>(QStringLiteral("cmbBoxRemotePort"))->setCurrentText(QStringLiteral("ttyUSB2"));
    pTabs->setCurrentIndex(1);
    QCOMPARE(pTabs->currentIndex(), 1);
    QCOMPARE(settingsStore().text(settingKey::RelativeRecalc), QStringLiteral("0.4"));
    QCOMPARE(settingsStore().text(settingKey::RemotePort), QStringLiteral("ttyUSB2"));

    // The window stores what the drive holds when it closes.
    {
        settingsStore s;
        s.setValue(settingKey::RelativeRecalc, 0.9);
        s.setValue(settingKey::RecalcTimes, 9);
        s.setValue(settingKey::RemotePort, QStringLiteral("ttyUSB9"));
    }
    window.writeSettings();
    QCOMPARE(settingsStore().real(settingKey::RelativeRecalc), 0.4);
    QCOMPARE(settingsStore().number(settingKey::RecalcTimes), 5);
    QCOMPARE(settingsStore().text(settingKey::RemotePort), QStringLiteral("ttyUSB2"));
    QCOMPARE(settingsStore().flag(settingKey::CalibrateOnStart), true);

    // A page holding an unusable number is not saved, and is not left.
    pTabs->setCurrentIndex(3);
    boxes.texts.clear();
    settingsStore().setValue(settingKey::RelativeRecalc, 0.25);
    field("lineEditRelativeRecalc")->setText(QStringLiteral("0.3"));
    field("lineEditFeedbackInput1Upper")->setText(QStringLiteral("inf"));
    pTabs->setCurrentIndex(0);
    QTRY_COMPARE_WITH_TIMEOUT(pTabs->currentIndex(), 3, 10000);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.first().startsWith(QLatin1String("Invalid value|")), qPrintable(boxes.texts.first()));
    QCOMPARE(settingsStore().text(settingKey::RelativeRecalc), QStringLiteral("0.25"));
    // Corrected, it is left.
    field("lineEditFeedbackInput1Upper")->setText(QStringLiteral("9000"));
    pTabs->setCurrentIndex(0);
    QCOMPARE(pTabs->currentIndex(), 0);
    QCOMPARE(settingsStore().text(settingKey::RelativeRecalc), QStringLiteral("0.3"));
}

QTEST_MAIN(tst_settingsTabInWindow)
#include "tst_settingsTabInWindow.moc"
