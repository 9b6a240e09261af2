// The small decision pieces behind program start-up and the main window:
// message lines, settings defaults, start-up boxes, the update clean-up, the
// tab-change machine and the translation choice.
#include "app/lvMessageHandler.h"
#include "valve/settingsKeyTable.h"
#include "app/startupChecks.h"
#include "app/tabChangeRules.h"
#include "app/translationChoice.h"
#include "app/updateCleanup.h"

#include "testWorkDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

Q_DECLARE_METATYPE(QtMsgType)
Q_DECLARE_METATYPE(startupStep)

class tst_startupRules : public QObject
{
    Q_OBJECT

private slots:
    void messageLine_data();
    void messageLine();
    void messageHandlerWritesOneLineToStderr();

    void settingsTableIsConsistent();
    void portsAtStart_data();
    void portsAtStart();
    void longPressTime_data();
    void longPressTime();

    void startupSteps_data();
    void startupSteps();

    void updateCleanup();

    void tabChangeFirstSelectionOnlyEnters();
    void tabChangeRefusedLeaveSwitchesBack();
    void tabChangeSwitchBackWithoutNotificationDoesNotSwallowNext();

    void translationChoice_data();
    void translationChoice();
};

void tst_startupRules::messageLine_data()
{
    QTest::addColumn<QtMsgType>("type");
    QTest::addColumn<QByteArray>("file");      // "<null>" stands for a null pointer
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("debug dropped") << QtDebugMsg << QByteArray("a.cpp") << 3 << QByteArray("f()")
                                   << "hello" << QByteArray();
    QTest::newRow("info") << QtInfoMsg << QByteArray("app/a.cpp") << 12 << QByteArray("void f()")
                          << "hello" << QByteArray("Info: hello (app/a.cpp:12, void f())\n");
    QTest::newRow("warning") << QtWarningMsg << QByteArray("b.cpp") << 7 << QByteArray("g")
                             << "careful" << QByteArray("Warning: careful (b.cpp:7, g)\n");
    QTest::newRow("critical") << QtCriticalMsg << QByteArray("c.cpp") << 1 << QByteArray("h")
                              << "bad" << QByteArray("Critical: bad (c.cpp:1, h)\n");
    QTest::newRow("fatal") << QtFatalMsg << QByteArray("d.cpp") << 99 << QByteArray("k")
                           << "dead" << QByteArray("Fatal: dead (d.cpp:99, k)\n");
    QTest::newRow("release build context") << QtWarningMsg << QByteArray("<null>") << 0 << QByteArray("<null>")
                                           << "no context" << QByteArray("Warning: no context (unknown:0, unknown)\n");
    QTest::newRow("non-ascii message") << QtInfoMsg << QByteArray("e.cpp") << 5 << QByteArray("m")
                                       << QString::fromUtf8("Ventil \xc3\xb6") << QByteArray("Info: ")
                                              + QString::fromUtf8("Ventil \xc3\xb6").toLocal8Bit() + " (e.cpp:5, m)\n";
}

void tst_startupRules::messageLine()
{
    QFETCH(QtMsgType, type);
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QByteArray, function);
    QFETCH(QString, message);
    QFETCH(QByteArray, expected);
    const char *pszFile = file == "<null>" ? nullptr : file.constData();
    const char *pszFunction = function == "<null>" ? nullptr : function.constData();
    QCOMPARE(formatMessageLine(type, pszFile, line, pszFunction, message), expected);
}

void tst_startupRules::messageHandlerWritesOneLineToStderr()
{
    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stderr);
    const int nSaved = ::dup(STDERR_FILENO);
    QVERIFY(nSaved >= 0);
    ::dup2(capture.handle(), STDERR_FILENO);

    QtMessageHandler previous = qInstallMessageHandler(lvMessageHandler);
    qDebug("a debug line");
    qWarning("a warning line");
    QMessageLogger(nullptr, 0, nullptr).info("from a release build");
    qInstallMessageHandler(previous);

    std::fflush(stderr);
    ::dup2(nSaved, STDERR_FILENO);
    ::close(nSaved);

    QFile written(capture.fileName());
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    QCOMPARE(lines.size(), 3);  // two lines and what follows the last "\n"
    QVERIFY2(lines[0].startsWith("Warning: a warning line ("), lines[0].constData());
    QVERIFY2(lines[0].contains("tst_startupRules.cpp:"), lines[0].constData());
    QCOMPARE(lines[1], QByteArray("Info: from a release build (unknown:0, unknown)"));
    QVERIFY(lines[2].isEmpty());
}

void tst_startupRules::settingsTableIsConsistent()
{
    QSet<QString> paths;
    QSet<QString> groups;
    for (const settingsKeyInfo &info : settingsKeyTable()) {
        paths.insert(info.path());
        groups.insert(QString::fromLatin1(info.pszGroup));
    }
    QCOMPARE(paths.size(), settingsKeyTable().size());  // no key twice
    QCOMPARE(paths.size(), 58);
    QCOMPARE(groups.size(), 8);
    // Keys with editors of their own, and those chosen for the next start,
    // are never written back on close.
    const QStringList onClose = settingsKeysWrittenOnClose();
    for (const char *psz : {"controller/language file", "controller/long press time", "controller/update cleanup",
                            "remote/remote mode", "diagram/pen width", "diagram/show sensitivity",
                            "motor driver/motor port", "external feedback/curve use"})
        QVERIFY2(!onClose.contains(QLatin1String(psz)), psz);
}

void tst_startupRules::portsAtStart_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("storedMotor");
    QTest::addColumn<QString>("motorPort");
    QTest::addColumn<bool>("motorWriteBack");
    QTest::addColumn<QString>("storedRemote");
    QTest::addColumn<QString>("remotePort");
    QTest::addColumn<bool>("remoteWriteBack");

    QTest::newRow("fresh store, no type") << -1 << "" << "ttyUSB0" << true << "" << "ttyUSB1" << true;
    QTest::newRow("BergerLahr, stored") << 0 << "ttyS3" << "ttyS3" << false << "ttyS4" << "ttyS4" << false;
    QTest::newRow("BergerLahr, empty") << 0 << "" << "ttyUSB0" << true << "" << "ttyUSB1" << true;
    QTest::newRow("NanoTec overrides the motor port") << 1 << "ttyS3" << "ttyAMA0" << true << "" << "ttyUSB0" << true;
    QTest::newRow("NanoTec keeps a stored remote port") << 1 << "" << "ttyAMA0" << true << "ttyS9" << "ttyS9" << false;
    QTest::newRow("Remote type") << 2 << "" << "ttyUSB0" << true << "" << "ttyUSB1" << true;
}

void tst_startupRules::portsAtStart()
{
    QFETCH(int, type);
    QFETCH(QString, storedMotor);
    QFETCH(QString, motorPort);
    QFETCH(bool, motorWriteBack);
    QFETCH(QString, storedRemote);
    QFETCH(QString, remotePort);
    QFETCH(bool, remoteWriteBack);
    const portChoice motor = motorPortAtStart(type, storedMotor);
    QCOMPARE(motor.strPort, motorPort);
    QCOMPARE(motor.bWriteBack, motorWriteBack);
    const portChoice remote = remotePortAtStart(type, storedRemote);
    QCOMPARE(remote.strPort, remotePort);
    QCOMPARE(remote.bWriteBack, remoteWriteBack);
}

void tst_startupRules::longPressTime_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("ms");
    QTest::newRow("missing") << QVariant() << 2000;
    QTest::newRow("zero") << QVariant(0) << 2000;
    QTest::newRow("negative") << QVariant(-300) << 2000;
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << 2000;
    QTest::newRow("stored as text") << QVariant(QStringLiteral("2500")) << 2500;
    QTest::newRow("short") << QVariant(1) << 1;
    QTest::newRow("usual") << QVariant(1500) << 1500;
}

void tst_startupRules::longPressTime()
{
    QFETCH(QVariant, stored);
    QFETCH(int, ms);
    QCOMPARE(longPressTimeFromSetting(stored), ms);
}

void tst_startupRules::startupSteps_data()
{
    QTest::addColumn<bool>("clean");
    QTest::addColumn<QString>("teachInSensor");
    QTest::addColumn<QString>("activeSensor");
    QTest::addColumn<bool>("updated");
    QTest::addColumn<bool>("calibrate");
    QTest::addColumn<QVector<startupStep>>("steps");
    using S = startupStep;

    QTest::newRow("clean, nothing to say") << true << "A" << "A" << false << false << QVector<S>{};
    QTest::newRow("everything, in order") << false << "A" << "B" << true << true
                                          << QVector<S>{S::UNEXPECTED_SHUTDOWN_BOX, S::SENSOR_MISMATCH_BOX,
                                                        S::UPDATE_BOX, S::CALIBRATE};
    QTest::newRow("fresh panel") << false << "" << "" << false << false
                                 << QVector<S>{S::UNEXPECTED_SHUTDOWN_BOX};
    QTest::newRow("sensor names compared exactly") << true << "pirani" << "Pirani" << false << false
                                                   << QVector<S>{S::SENSOR_MISMATCH_BOX};
    QTest::newRow("update then calibration") << true << "A" << "A" << true << true
                                             << QVector<S>{S::UPDATE_BOX, S::CALIBRATE};
    QTest::newRow("calibration alone") << true << "A" << "A" << false << true << QVector<S>{S::CALIBRATE};
}

void tst_startupRules::startupSteps()
{
    QFETCH(bool, clean);
    QFETCH(QString, teachInSensor);
    QFETCH(QString, activeSensor);
    QFETCH(bool, updated);
    QFETCH(bool, calibrate);
    QFETCH(QVector<startupStep>, steps);
    startupState state;
    state.bCleanShutdown = clean;
    state.strTeachInSensor = teachInSensor;
    state.strActiveSensor = activeSensor;
    state.bSoftwareUpdated = updated;
    state.bCalibrateOnStart = calibrate;
    QCOMPARE(::startupSteps(state), steps);
}

void tst_startupRules::updateCleanup()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strProgram = dir.filePath(QStringLiteral("qlvZENTU"));
    const QString strOld = dir.filePath(QStringLiteral("qlvZENTU.old"));
    for (const QString &strPath : {strProgram, strOld}) {
        QFile f(strPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("binary");
    }
    const QString strLink = dir.filePath(QStringLiteral("link-to-program"));
    QVERIFY(QFile::link(strProgram, strLink));

    // Nothing recorded: nothing happens.
    updateCleanupResult r = runUpdateCleanup(QString(), strProgram);
    QVERIFY(!r.bSoftwareUpdated);
    QVERIFY(!r.bDeleted);

    // Recorded but gone (the key was already handled): no update to report.
    r = runUpdateCleanup(dir.filePath(QStringLiteral("missing")), strProgram);
    QVERIFY(!r.bSoftwareUpdated);

    // The program that ran the update: reported and removed.
    r = runUpdateCleanup(strOld, strProgram);
    QVERIFY(r.bSoftwareUpdated);
    QVERIFY(r.bDeleted);
    QVERIFY(!QFile::exists(strOld));

    // The updated program runs from the recorded path: reported, never deleted,
    // also when the path is spelled differently or is a link to it.
    for (const QString &strRecorded : {strProgram, dir.path() + QStringLiteral("/./qlvZENTU"), strLink}) {
        r = runUpdateCleanup(strRecorded, strProgram);
        QVERIFY2(r.bSoftwareUpdated, qPrintable(strRecorded));
        QVERIFY2(!r.bDeleted, qPrintable(strRecorded));
        QVERIFY(QFile::exists(strProgram));
    }
}

namespace {

// Drives the rules the way QTabWidget does: switching the index notifies at
// once, inside the switch.
struct fakeTabWidget
{
    tabChangeRules rules;
    int nCurrent = 3;
    QVector<tabChangeRules::outcome> outcomes;

    void setCurrentIndex(int nIndex)
    {
        if (nIndex == nCurrent)
            return;
        nCurrent = nIndex;
        outcomes << rules.onCurrentChanged(nIndex, [this](int nBack) { setCurrentIndex(nBack); });
    }
};

} // namespace

void tst_startupRules::tabChangeFirstSelectionOnlyEnters()
{
    fakeTabWidget tabs;
    QStringList calls;
    for (int nTab = 0; nTab < 4; ++nTab) {
        tabs.rules.setLeaveRule(nTab, [&calls, nTab] { calls << QStringLiteral("leave %1").arg(nTab); return true; });
        tabs.rules.setEnterRule(nTab, [&calls, nTab] { calls << QStringLiteral("enter %1").arg(nTab); });
    }
    // The form leaves tab 3 current; the first selection must not run the
    // leave step of a tab that was never entered.
    tabs.setCurrentIndex(1);
    QCOMPARE(calls, QStringList{QStringLiteral("enter 1")});
    QCOMPARE(tabs.rules.nLastTab, 1);
    tabs.setCurrentIndex(2);
    QCOMPARE(calls, (QStringList{QStringLiteral("enter 1"), QStringLiteral("leave 1"), QStringLiteral("enter 2")}));
    QCOMPARE(tabs.rules.nLastTab, 2);
}

void tst_startupRules::tabChangeRefusedLeaveSwitchesBack()
{
    fakeTabWidget tabs;
    bool bMayLeave = false;
    int nLeaveAsked = 0;
    int nEntered = 0;
    tabs.rules.setLeaveRule(1, [&] { ++nLeaveAsked; return bMayLeave; });
    tabs.rules.setEnterRule(0, [&] { ++nEntered; });
    tabs.setCurrentIndex(1);

    tabs.setCurrentIndex(0);
    QCOMPARE(nLeaveAsked, 1);  // asked once, not again for the switch back
    QCOMPARE(nEntered, 0);
    QCOMPARE(tabs.nCurrent, 1);
    QCOMPARE(tabs.rules.nLastTab, 1);
    QCOMPARE(tabs.outcomes.mid(1), (QVector<tabChangeRules::outcome>{tabChangeRules::IGNORED, tabChangeRules::UNDONE}));
    QVERIFY(!tabs.rules.bIgnoreNextTabChange);

    bMayLeave = true;
    tabs.setCurrentIndex(0);
    QCOMPARE(nLeaveAsked, 2);
    QCOMPARE(nEntered, 1);
    QCOMPARE(tabs.rules.nLastTab, 0);
}

void tst_startupRules::tabChangeSwitchBackWithoutNotificationDoesNotSwallowNext()
{
    tabChangeRules rules;
    int nEntered = 0;
    rules.setLeaveRule(-1, [] { return false; });
    rules.setEnterRule(2, [&] { ++nEntered; });
    // A switch back that the widget does not report.
    QCOMPARE(rules.onCurrentChanged(2, [](int) {}), tabChangeRules::UNDONE);
    rules.setLeaveRule(-1, nullptr);
    QCOMPARE(rules.onCurrentChanged(2, [](int) {}), tabChangeRules::CHANGED);
    QCOMPARE(nEntered, 1);
}

void tst_startupRules::translationChoice_data()
{
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("present") << "qlvZENTU_de.ts" << "./languages/qlvZENTU_de";
    QTest::newRow("deleted translation") << "qlvZENTU_fr.ts" << "./languages/qlvZENTU_en";
    // The folder itself exists: its name is tried and nothing is applied.
    QTest::newRow("empty") << "" << "./languages/";
}

void tst_startupRules::translationChoice()
{
    QFETCH(QString, languageFile);
    QFETCH(QString, loaded);
    testWorkDir work;
    QVERIFY(work.writeFile(QStringLiteral("languages/qlvZENTU_de.ts"), "<TS/>"));
    QCOMPARE(translationToLoad(languageFile), loaded);
}

QTEST_GUILESS_MAIN(tst_startupRules)
#include "tst_startupRules.moc"
