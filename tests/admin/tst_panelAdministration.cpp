// The administration actions as the operator meets them: file dialogs and
// password prompts answered, the outside commands recorded by the fake
// runner (nothing real runs, sudo least of all), the boxes shown.

#include "settings/busyTask.h"
#include "settings/panelAdministration.h"
#include "valve/settingsStore.h"

#include "fakeProcessRunner.h"
#include "plannedAnswerer.h"
#include "testWorkDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(processRunner::result)

namespace {

processRunner::result exitWith(int nCode, const QByteArray &stdErr = QByteArray())
{
    processRunner::result res = fakeProcessRunner::exitResult(nCode);
    res.stdErr = stdErr;
    return res;
}

const QByteArray g_sudoWantsPassword("sudo: a password is required\n");

// unzip leaves an update script where the real one would unpack it.
class unpackingRunner : public fakeProcessRunner
{
public:
    result run(const request &req) override
    {
        if (req.strProgram == QLatin1String("unzip")) {
            QFile f(QDir(req.args.value(req.args.indexOf(QStringLiteral("-d")) + 1)).filePath("update-script.sh"));
            f.open(QIODevice::WriteOnly);
        }
        return fakeProcessRunner::run(req);
    }
};

QStringList programsOf(const fakeProcessRunner &runner)
{
    QStringList out;
    for (const fakeProcessRunner::call &c : runner.calls())
        out << c.strProgram;
    return out;
}

// The store's file as it is on disk (not what a settings object caches).
QByteArray storeOnDisk()
{
    QFile f(settingsStore().fileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_panelAdministration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(updateRoot.isValid());
        qputenv("VALVE_UPDATE_DIR", updateRoot.filePath("update").toLocal8Bit());
    }

    // A real command through the busy note: the GUI keeps handling its
    // events meanwhile, the note is modal while it shows and gone after.
    void busyNoteWhileARealCommandRuns()
    {
        QWidget tab;
        int nTicks = 0;
        bool bNoteSeen = false;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] {
            ++nTicks;
            if (auto *pModal = QApplication::activeModalWidget())
                bNoteSeen = bNoteSeen || pModal->objectName() == QLatin1String("busyTaskDialog");
        });
        tick.start(20);
        processRunner::request req;
        req.strProgram = "sh";
        req.args = QStringList{"-c", "sleep 0.5; exit 4"};
        req.nTimeoutMs = 10000;
        processRunner::result res;
        busyTask::run(&tab, "Working...", [&res, req] { res = processRunner::instance().run(req); });
        QCOMPARE(res.nExitCode, 4);
        QVERIFY(nTicks >= 5);
        QVERIFY(bNoteSeen);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void updateOutcomes_data()
    {
        QTest::addColumn<QString>("failing");     // program answered with the result, empty: none
        QTest::addColumn<processRunner::result>("result");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("reboot");

        const QStringList all{"cp", "unzip", "sudo"};
        QTest::newRow("script reports success") << "" << exitWith(0) << all << "Updagte ready|The update worked. Rebooting..."
                                                << true;
        QTest::newRow("script exits 0") << "sudo" << exitWith(0) << all << "Updagte failed" << false;
        QTest::newRow("script exits 2") << "sudo" << exitWith(2) << all << "Updagte failed" << false;
        QTest::newRow("script crashes") << "sudo" << exitWith(-1) << all << "Updagte failed" << false;
        QTest::newRow("sudo cannot start") << "sudo" << exitWith(-2) << all << "Updagte failed" << false;
        // sudo's own refusal ends with 1, the script's success code.
        QTest::newRow("sudo refuses") << "sudo" << exitWith(1, g_sudoWantsPassword) << all
                                      << "Updagte failed|The update failed.\nsudo refused to run the update script: "
                                         "sudo: a password is required"
                                      << false;
        QTest::newRow("copy fails") << "cp" << exitWith(1) << QStringList{"cp"} << "Updagte failed" << false;
        QTest::newRow("unzip fails") << "unzip" << exitWith(3) << QStringList{"cp", "unzip"} << "Updagte failed" << false;
    }
    void updateOutcomes()
    {
        QFETCH(QString, failing);
        QFETCH(processRunner::result, result);
        QFETCH(QStringList, programs);
        QFETCH(QString, box);
        QFETCH(bool, reboot);

        testWorkDir work;
        unpackingRunner runner;
        runner.setResult("sudo", exitWith(1));
        if (!failing.isEmpty())
            runner.setResult(failing, result);
        QVERIFY(work.writeFile("media/pkg-1.2.kfxupdate", "zip"));
        const QString strPackage = work.filePath("media/pkg-1.2.kfxupdate");
        QWidget tab;
        plannedAnswerer answerer;
        answerer.files << strPackage;

        const bool bReboot = panelAdministration::installUpdate(&tab, &tab);
        QCOMPARE(bReboot, reboot);
        QCOMPARE(programsOf(runner), programs);
        const QString strFolder = updateRoot.filePath("update");
        QCOMPARE(runner.calls().at(0).args,
                 (QStringList{"--", strPackage, QDir(strFolder).filePath("pkg-1.zip")}));
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY2(answerer.boxes().first().startsWith(box), qPrintable(answerer.boxes().first()));
        QCOMPARE(answerer.seen.first(), QString("file:Choose Update File"));
        QCOMPARE(answerer.eFileMode, QFileDialog::ExistingFile);

        // Success: "update cleanup" names the program file, on disk before
        // the caller asks for the reboot.
        const QByteArray strCleanup = "update%20cleanup=" + QCoreApplication::applicationFilePath().toUtf8();
        QCOMPARE(storeOnDisk().contains(strCleanup), reboot);
        if (!reboot)
            QVERIFY(settingsStore().text(settingKey::UpdateCleanup).isEmpty());
    }

    void updateCancelledRunsNothing()
    {
        testWorkDir work;
        fakeProcessRunner runner;
        QWidget tab;
        plannedAnswerer answerer;
        QVERIFY(!panelAdministration::installUpdate(&tab, &tab));
        QVERIFY(runner.calls().isEmpty());
        QVERIFY(answerer.boxes().isEmpty());
    }

    void sambaPassword_data()
    {
        QTest::addColumn<QStringList>("answers");   // null text: cancelled
        QTest::addColumn<processRunner::result>("script");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<QByteArray>("stdIn");      // empty: no process
        QTest::addColumn<QString>("box");           // empty: none

        QTest::newRow("changed") << QStringList{"new secret", "new secret"} << exitWith(1) << 2
                                 << QByteArray("new secret\n")
                                 << "Password changed|The password was successfully changed.";
        QTest::newRow("script reports 0") << QStringList{"Zx9", "Zx9"} << exitWith(0) << 2 << QByteArray("Zx9\n")
                                          << "Password not changed|The password was not changed.";
        QTest::newRow("script cannot start") << QStringList{"Zx9", "Zx9"} << exitWith(-2) << 2 << QByteArray("Zx9\n")
                                             << "Password not changed|The password was not changed.";
        // sudo's own refusal ends with 1, the script's success code.
        QTest::newRow("sudo refuses") << QStringList{"Zx9", "Zx9"} << exitWith(1, g_sudoWantsPassword) << 2
                                      << QByteArray("Zx9\n")
                                      << "Password not changed|The password was not changed.\n"
                                         "sudo: a password is required";
        QTest::newRow("quotes and blanks stay in the password")
            << QStringList{"a \"b\" $(c)", "a \"b\" $(c)"} << exitWith(1) << 2 << QByteArray("a \"b\" $(c)\n")
            << "Password changed|The password was successfully changed.";
        QTest::newRow("retyped differently") << QStringList{"abc", "abd"} << exitWith(1) << 2 << QByteArray()
                                             << "Password not changed|The password was not retyped correctly.";
        QTest::newRow("line end in the password") << QStringList{"ab\ncd", "ab\ncd"} << exitWith(1) << 2 << QByteArray()
                                                  << "Password not changed|The password must not contain control characters.";
        QTest::newRow("second prompt cancelled") << QStringList{"abc", QString()} << exitWith(1) << 2 << QByteArray() << "";
        QTest::newRow("second prompt empty") << QStringList{"abc", ""} << exitWith(1) << 2 << QByteArray() << "";
        QTest::newRow("first prompt cancelled") << QStringList{QString()} << exitWith(1) << 1 << QByteArray() << "";
        QTest::newRow("first prompt empty") << QStringList{""} << exitWith(1) << 1 << QByteArray() << "";
    }
    void sambaPassword()
    {
        QFETCH(QStringList, answers);
        QFETCH(processRunner::result, script);
        QFETCH(int, prompts);
        QFETCH(QByteArray, stdIn);
        QFETCH(QString, box);

        testWorkDir work;
        fakeProcessRunner runner;
        runner.setResult("sudo", script);
        QWidget tab;
        plannedAnswerer answerer;
        answerer.inputs = answers;
        panelAdministration::changeSambaPassword(&tab, &tab);

        QStringList expectedPrompts{"input:Enter new Samba Password", "input:Retype new Samba Password"};
        QCOMPARE(answerer.seen.mid(0, prompts), expectedPrompts.mid(0, prompts));
        QCOMPARE(answerer.eLastEcho, QLineEdit::Password);
        QCOMPARE(answerer.boxes(), box.isEmpty() ? QStringList{} : QStringList{box});
        if (stdIn.isEmpty()) {
            QVERIFY(runner.calls().isEmpty());
            return;
        }
        QCOMPARE(runner.calls().size(), 1);
        const fakeProcessRunner::call c = runner.calls().first();
        QCOMPARE(c.strProgram, QString("sudo"));
        QCOMPARE(c.args, (QStringList{"-n", "bash", QDir::currentPath() + "/shell-scripts/set_smb_pwd.sh", "pi"}));
        QCOMPARE(c.stdIn, stdIn);
        for (const QString &strArg : c.args)
            QVERIFY(!strArg.contains(answers.first()));
    }

    void shellScript_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("box");

        QTest::newRow("exits 0") << "shell-scripts/backup.sh" << 0
                                 << "Shell Script executed|The shell script shell-scripts/backup.sh was executed. Return Code: 0";
        QTest::newRow("exits 3") << "shell-scripts/my script.sh" << 3
                                 << "Shell Script executed|The shell script shell-scripts/my script.sh was executed. Return Code: 3";
        QTest::newRow("not executable") << "shell-scripts/notes.txt" << -2
                                        << "Error: Shell Script not executed|Error: The shell script shell-scripts/notes.txt was not executed. Return Code: -2";
        QTest::newRow("crashed") << "shell-scripts/x.sh" << -1
                                 << "Error: Shell Script not executed|Error: The shell script shell-scripts/x.sh was not executed. Return Code: -1";
    }
    void shellScript()
    {
        QFETCH(QString, script);
        QFETCH(int, code);
        QFETCH(QString, box);
        testWorkDir work;
        QVERIFY(work.writeFile(script, "#!/bin/sh\n"));
        script = work.filePath(script);
        box.replace("shell-scripts/", work.filePath("shell-scripts/"));
        fakeProcessRunner runner;
        runner.setResult(script, exitWith(code));
        QWidget tab;
        plannedAnswerer answerer;
        answerer.files << script;
        panelAdministration::executeShellScript(&tab, &tab);
        QCOMPARE(runner.calls().size(), 1);
        QCOMPARE(runner.calls().first().strProgram, script);
        QVERIFY(runner.calls().first().args.isEmpty());
        QVERIFY(runner.calls().first().nTimeoutMs > 0);
        QCOMPARE(answerer.boxes(), QStringList{box});
        QCOMPARE(answerer.seen.first(), QString("file:Choose Sehll Script File"));
        QCOMPARE(answerer.strFileFolder, QDir(work.filePath("shell-scripts")).absolutePath());
    }

    void shellScriptCancelled()
    {
        testWorkDir work;
        fakeProcessRunner runner;
        QWidget tab;
        plannedAnswerer answerer;
        panelAdministration::executeShellScript(&tab, &tab);
        QVERIFY(runner.calls().isEmpty());
        QVERIFY(answerer.boxes().isEmpty());
    }

    void teachInExport_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("copied") << 0 << QStringList{};
        QTest::newRow("copy failed") << 1 << QStringList{"Export failed|The teach-in file could not be copied."};
    }
    void teachInExport()
    {
        QFETCH(int, code);
        QFETCH(QStringList, boxes);
        testWorkDir work;
        fakeProcessRunner runner;
        runner.setResult("cp", exitWith(code));
        QWidget tab;
        plannedAnswerer answerer;
        QVERIFY(QDir().mkpath(work.filePath("media")));
        answerer.files << work.filePath("media/copy of curve");
        panelAdministration::exportTeachIn(&tab, &tab, "curve 1");
        QCOMPARE(runner.calls().size(), 1);
        QCOMPARE(runner.calls().first().strProgram, QString("cp"));
        QCOMPARE(runner.calls().first().args,
                 (QStringList{"--", QDir::currentPath() + "/teachIn/curve 1.kfxteachin", work.filePath("media/copy of curve")}));
        QCOMPARE(answerer.boxes(), boxes);
        QCOMPARE(answerer.eAcceptMode, QFileDialog::AcceptSave);
    }

    // The dialogs of the tab: frameless, small, the program's own, opening
    // in their folders.
    void fileDialogLook()
    {
        testWorkDir work;
        QWidget tab;
        plannedAnswerer answerer;
        QCOMPARE(panelAdministration::chooseTeachIn(&tab), QString());
        QCOMPARE(answerer.seen, QStringList{"file:Choose Data File"});
        QVERIFY(answerer.bFileFrameless);
        QVERIFY(!answerer.bFileNative);
        // Asked for 340 x 260 at (20, 20); the dialog's own minimum may widen it,
        // but it stays on the panel's screen.
        QCOMPARE(answerer.fileGeometry.topLeft(), QPoint(20, 20));
        QVERIFY(QRect(0, 0, 800, 479).contains(answerer.fileGeometry));
        QCOMPARE(answerer.eFileMode, QFileDialog::ExistingFile);
        QCOMPARE(answerer.strFileFolder, QDir(work.filePath("teachIn")).absolutePath());

        QVERIFY(work.writeFile("teachIn/curve.kfxteachin", "x"));
        answerer.files << work.filePath("teachIn/curve.kfxteachin");
        QCOMPARE(panelAdministration::chooseTeachIn(&tab), work.filePath("teachIn/curve.kfxteachin"));
    }

    void settingsExportAndImportThroughTheirDialogs()
    {
        testWorkDir work;
        {
            settingsStore s;
            s.setValue(settingKey::LanguageFile, "qlvZENTU_de.ts");
            s.setValue(settingKey::Position, 4711);
        }
        QWidget tab;
        plannedAnswerer answerer;
        const QString strIni = work.filePath("teachIn/panel.ini");
        answerer.files << strIni;
        panelAdministration::exportSettings(&tab, &tab);
        QCOMPARE(answerer.seen, QStringList{"file:Choose Settings File"});
        QCOMPARE(answerer.eAcceptMode, QFileDialog::AcceptSave);
        QVERIFY(QFile::exists(strIni));

        settingsStore().setValue(settingKey::Position, 1);
        answerer.seen.clear();
        answerer.files << strIni;
        QVERIFY(panelAdministration::importSettings(&tab, &tab));
        QCOMPARE(answerer.eAcceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(settingsStore().number(settingKey::Position), 4711);
        QVERIFY(answerer.boxes().isEmpty());

        // A damaged file: refused with a message, nothing changed.
        settingsStore().setValue(settingKey::Position, 2);
        QVERIFY(work.writeFile("teachIn/damaged.ini", "\x01\x02garbage"));
        answerer.files << work.filePath("teachIn/damaged.ini");
        QVERIFY(!panelAdministration::importSettings(&tab, &tab));
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY(answerer.boxes().first().startsWith("Settings not imported|"));
        QCOMPARE(settingsStore().number(settingKey::Position), 2);

        // Cancelled: nothing.
        answerer.seen.clear();
        QVERIFY(!panelAdministration::importSettings(&tab, &tab));
        panelAdministration::exportSettings(&tab, &tab);
        QVERIFY(answerer.boxes().isEmpty());

        // An export onto a file that holds no settings keeps that file.
        QVERIFY(work.writeFile("teachIn/curve.kfxteachin", "Version 1.0\n0;1;2;3;4;5;6;O\n"));
        answerer.files << work.filePath("teachIn/curve.kfxteachin");
        panelAdministration::exportSettings(&tab, &tab);
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY(answerer.boxes().first().startsWith("Settings not exported|"));
        QCOMPARE(work.readFile("teachIn/curve.kfxteachin"), QByteArray("Version 1.0\n0;1;2;3;4;5;6;O\n"));
    }

private:
    QTemporaryDir updateRoot;
};

QTEST_MAIN(tst_panelAdministration)
#include "tst_panelAdministration.moc"
