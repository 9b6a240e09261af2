// The panel administration's outside commands: exact programs and argument
// lists, the exit-code tables, the update sequence with a fake runner and
// once with the real cp and unzip on a package built here.

#include "settings/debugPageValues.h"
#include "settings/panelAdminCommands.h"
#include "settings/panelUpdate.h"
#include "valve/lvSensor.h"

#include "fakeProcessRunner.h"
#include "testWorkDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(processRunner::request)
Q_DECLARE_METATYPE(processRunner::result)

namespace {

processRunner::result exitWith(int nCode, const QByteArray &stdErr = QByteArray())
{
    processRunner::result res = fakeProcessRunner::exitResult(nCode);
    res.stdErr = stdErr;
    return res;
}

processRunner::result timedOut()
{
    processRunner::result res;
    res.bStarted = true;
    res.bTimedOut = true;
    res.nExitCode = -1;
    return res;
}

// The fake runner, with unzip leaving an update script where the real one
// would unpack it.
class unpackingRunner : public fakeProcessRunner
{
public:
    bool bUnpackScript = true;
    result run(const request &req) override
    {
        if (req.strProgram == QLatin1String("unzip") && bUnpackScript) {
            const QString strFolder = req.args.value(req.args.indexOf(QStringLiteral("-d")) + 1);
            QFile f(QDir(strFolder).filePath(QStringLiteral("update-script.sh")));
            f.open(QIODevice::WriteOnly);
            f.write("exit 1\n");
        }
        return fakeProcessRunner::run(req);
    }
};

// The real runner for cp and unzip; "sudo <program> <args>" runs the program
// itself, so the unpacked script really runs without any rights raised.
class withoutSudoRunner : public processRunner
{
public:
    QList<request> requests;
    result run(const request &req) override
    {
        requests << req;
        if (req.strProgram != QLatin1String("sudo"))
            return processRunner::run(req);
        request plain = req;
        while (plain.args.first().startsWith(QLatin1Char('-')))
            plain.args.removeFirst();
        plain.strProgram = plain.args.takeFirst();
        return processRunner::run(plain);
    }
};

bool makePackage(const QString &strSourceDir, const QString &strPackage)
{
    QFile::remove(strPackage);
    processRunner::request req;
    req.strProgram = QStringLiteral("sh");
    // Built as a zip and then given the package's name.
    req.args = QStringList{QStringLiteral("-c"), QStringLiteral("cd \"$1\" && zip -q -r \"$2.zip\" . && mv \"$2.zip\" \"$2\""),
                           QStringLiteral("sh"), strSourceDir, strPackage};
    req.nTimeoutMs = 30000;
    return processRunner().run(req).nExitCode == 0;
}

} // namespace

class tst_panelAdmin : public QObject
{
    Q_OBJECT

private slots:
    void commandsAreArgumentLists_data()
    {
        QTest::addColumn<processRunner::request>("req");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("stdIn");
        // sudo speaks English in any locale of the panel, so its refusal is
        // recognised (sudoRefused); nothing else changes the environment.
        QTest::addColumn<QStringList>("environment");
        const QStringList english{"LC_ALL=C"};

        QTest::newRow("copy keeps a path with blanks and quotes whole")
            << panelAdminCommands::copy("/media/usb/my \"new\" pkg.kfxupdate", "/update/my \"new\" pkg.zip") << "cp"
            << QStringList{"--", "/media/usb/my \"new\" pkg.kfxupdate", "/update/my \"new\" pkg.zip"} << QByteArray()
            << QStringList();
        QTest::newRow("copy of a path that looks like an option")
            << panelAdminCommands::copy("-rf", "/tmp/x") << "cp" << QStringList{"--", "-rf", "/tmp/x"} << QByteArray()
            << QStringList();
        QTest::newRow("unzip overwrites quietly into the folder")
            << panelAdminCommands::unzip("/update/pkg-1.zip", "/update/") << "unzip"
            << QStringList{"-o", "-qq", "/update/pkg-1.zip", "-d", "/update/"} << QByteArray() << QStringList();
        QTest::newRow("update script")
            << panelAdminCommands::updateScript("/update/") << "sudo"
            << QStringList{"-n", "bash", "/update/update-script.sh"} << QByteArray() << english;
        QTest::newRow("samba password on the input, never an argument")
            << panelAdminCommands::sambaPassword("/home/pi/valve", "se cret \"x\" $(reboot)") << "sudo"
            << QStringList{"-n", "bash", "/home/pi/valve/shell-scripts/set_smb_pwd.sh", "pi"}
            << QByteArray("se cret \"x\" $(reboot)\n") << english;
        QTest::newRow("samba password in UTF-8")
            << panelAdminCommands::sambaPassword("/w", QString::fromUtf8("Grüße")) << "sudo"
            << QStringList{"-n", "bash", "/w/shell-scripts/set_smb_pwd.sh", "pi"} << QString::fromUtf8("Grüße\n").toUtf8()
            << english;
        QTest::newRow("shell script is the program itself")
            << panelAdminCommands::shellScript("/w/shell-scripts/clean up.sh") << "/w/shell-scripts/clean up.sh"
            << QStringList{} << QByteArray() << QStringList();
    }
    void commandsAreArgumentLists()
    {
        QFETCH(processRunner::request, req);
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, stdIn);
        QFETCH(QStringList, environment);
        QCOMPARE(req.strProgram, program);
        QCOMPARE(req.args, args);
        QCOMPARE(req.stdIn, stdIn);
        QCOMPARE(req.environment, environment);
        QVERIFY2(req.nTimeoutMs > 0, "every administration command has a time limit");
    }

    void exitCodeTables_data()
    {
        QTest::addColumn<processRunner::result>("res");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<bool>("unzipped");
        QTest::addColumn<bool>("panelScriptDone");
        QTest::addColumn<bool>("shellScriptExecuted");

        QTest::newRow("exit 0") << exitWith(0) << true << true << false << true;
        QTest::newRow("exit 1") << exitWith(1) << false << true << true << true;
        QTest::newRow("exit 2") << exitWith(2) << false << false << false << true;
        QTest::newRow("exit 3") << exitWith(3) << false << false << false << true;
        QTest::newRow("exit 9 (unzip: zip file not found)") << exitWith(9) << false << false << false << true;
        QTest::newRow("crashed (-1)") << exitWith(-1) << false << false << false << false;
        QTest::newRow("not started (-2)") << exitWith(-2) << false << false << false << false;
        QTest::newRow("killed after the time limit") << timedOut() << false << false << false << false;
        // sudo's own refusal ends with 1 as well; its message tells it apart.
        QTest::newRow("exit 1, the script's own warning")
            << exitWith(1, "update-script.sh: line 3: warning: old file kept\n") << false << true << true << true;
        QTest::newRow("sudo wants a password")
            << exitWith(1, "sudo: a password is required\n") << false << true << false << true;
        QTest::newRow("sudo has no rule for it")
            << exitWith(1, "Sorry, user pi is not allowed to execute '/usr/bin/bash /update/update-script.sh' as "
                           "root on panel.\n")
            << false << true << false << true;
        QTest::newRow("not in the sudoers file") << exitWith(1, "\npi is not in the sudoers file.\n") << false << true
                                                 << false << true;
    }
    void exitCodeTables()
    {
        QFETCH(processRunner::result, res);
        QFETCH(bool, copied);
        QFETCH(bool, unzipped);
        QFETCH(bool, panelScriptDone);
        QFETCH(bool, shellScriptExecuted);
        QCOMPARE(panelAdminCommands::copySucceeded(res), copied);
        QCOMPARE(panelAdminCommands::unzipSucceeded(res), unzipped);
        QCOMPARE(panelAdminCommands::panelScriptSucceeded(res), panelScriptDone);
        QCOMPARE(panelAdminCommands::shellScriptExecuted(res), shellScriptExecuted);
    }

    void passwordCharacters_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("plain") << "secret" << true;
        QTest::newRow("blanks, quotes and shell signs") << "a b \"c\" 'd' $(e) ;f" << true;
        QTest::newRow("umlauts") << QString::fromUtf8("Grüße") << true;
        QTest::newRow("line end") << "secret\nother" << false;
        QTest::newRow("carriage return") << "secret\r" << false;
        QTest::newRow("tab") << "sec\tret" << false;
        QTest::newRow("escape") << "sec\x1bret" << false;
        QTest::newRow("delete") << QString("sec") + QChar(0x7f) << false;
    }
    void passwordCharacters()
    {
        QFETCH(QString, password);
        QFETCH(bool, acceptable);
        QCOMPARE(panelAdminCommands::isPasswordAcceptable(password), acceptable);
    }

    void packageBaseName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::newRow("ends at the first dot") << "/media/usb/pkg-1.2.kfxupdate" << "pkg-1";
        QTest::newRow("blanks") << "/media/usb/my pkg.kfxupdate" << "my pkg";
        QTest::newRow("no extension") << "/media/usb/pkg" << "pkg";
        QTest::newRow("a colon first") << "/media/usb/:x.kfxupdate" << ":x";
    }
    void packageBaseName()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QCOMPARE(panelAdminCommands::baseName(path), base);
    }

    // The sequence with every step answered by the fake: what runs, in which
    // order, and where a failing step stops it.
    void updateSequence_data()
    {
        QTest::addColumn<int>("failingStep");  // index into cp, unzip, sudo; -1 none
        QTest::addColumn<processRunner::result>("failure");
        QTest::addColumn<bool>("scriptUnpacked");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<int>("failedAt");
        QTest::addColumn<QString>("package");
        QTest::addColumn<QString>("zip");      // in the update folder

        const QStringList all{"cp", "unzip", "sudo"};
        const QString pkg = "/media/usb/pkg-1.2.kfxupdate";
        const processRunner::result ok = exitWith(0);
        QTest::newRow("script reports success") << -1 << ok << true << all << int(panelUpdate::DONE) << pkg << "pkg-1.zip";
        QTest::newRow("script exits 0") << 2 << exitWith(0) << true << all << int(panelUpdate::RUN_SCRIPT) << pkg
                                        << "pkg-1.zip";
        QTest::newRow("script crashes") << 2 << exitWith(-1) << true << all << int(panelUpdate::RUN_SCRIPT) << pkg
                                        << "pkg-1.zip";
        QTest::newRow("script does not start") << 2 << exitWith(-2) << true << all << int(panelUpdate::RUN_SCRIPT)
                                               << pkg << "pkg-1.zip";
        QTest::newRow("sudo refuses") << 2 << exitWith(1, "sudo: a password is required\n") << true << all
                                      << int(panelUpdate::RUN_SCRIPT) << pkg << "pkg-1.zip";
        QTest::newRow("copy fails") << 0 << exitWith(1) << true << QStringList{"cp"} << int(panelUpdate::COPY) << pkg
                                    << "pkg-1.zip";
        QTest::newRow("unzip fails") << 1 << exitWith(9) << true << QStringList{"cp", "unzip"}
                                     << int(panelUpdate::UNZIP) << pkg << "pkg-1.zip";
        QTest::newRow("unzip warns") << -1 << ok << true << all << int(panelUpdate::DONE) << pkg << "pkg-1.zip";
        QTest::newRow("package without script") << -1 << ok << false << QStringList{"cp", "unzip"}
                                                << int(panelUpdate::FIND_SCRIPT) << pkg << "pkg-1.zip";
        // A name QDir would take for a resource path lands in the folder too.
        QTest::newRow("package named with a colon first") << -1 << ok << true << all << int(panelUpdate::DONE)
                                                          << "/media/usb/:x.kfxupdate" << ":x.zip";
    }
    void updateSequence()
    {
        QFETCH(int, failingStep);
        QFETCH(processRunner::result, failure);
        QFETCH(bool, scriptUnpacked);
        QFETCH(QStringList, programs);
        QFETCH(int, failedAt);
        QFETCH(QString, package);
        QFETCH(QString, zip);

        QTemporaryDir root;
        const QString strFolder = root.filePath("update");
        QVERIFY(QDir().mkpath(strFolder));
        // Left over from an earlier package: must not be run again.
        QFile stale(QDir(strFolder).filePath("update-script.sh"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        unpackingRunner runner;
        runner.bUnpackScript = scriptUnpacked;
        runner.setResult("sudo", exitWith(1));
        if (QTest::currentDataTag() == QByteArray("unzip warns"))
            runner.setResult("unzip", exitWith(1));
        const QStringList names{"cp", "unzip", "sudo"};
        if (failingStep >= 0)
            runner.setResult(names.at(failingStep), failure);

        const panelUpdate::outcome res = panelUpdate::install(package, strFolder, runner);
        QCOMPARE(int(res.eFailedAt), failedAt);
        QCOMPARE(res.succeeded(), failedAt == int(panelUpdate::DONE));
        if (!res.succeeded())
            QVERIFY(!panelUpdate::failureReason(res).isEmpty());
        if (!failure.stdErr.isEmpty())
            QVERIFY2(panelUpdate::failureReason(res).contains(QString::fromUtf8(failure.stdErr.trimmed())),
                     qPrintable(panelUpdate::failureReason(res)));

        const QList<fakeProcessRunner::call> calls = runner.calls();
        QStringList ran;
        for (const fakeProcessRunner::call &c : calls)
            ran << c.strProgram;
        QCOMPARE(ran, programs);
        const QString strZip = strFolder + "/" + zip;
        QCOMPARE(calls.at(0).args, (QStringList{"--", package, strZip}));
        if (calls.size() > 1) {
            QCOMPARE(calls.at(1).args, (QStringList{"-o", "-qq", strZip, "-d", strFolder}));
            QVERIFY(calls.at(1).stdIn.isEmpty());
            QVERIFY(calls.at(1).nTimeoutMs > 0);
        }
        if (calls.size() > 2)
            QCOMPARE(calls.at(2).args, (QStringList{"-n", "bash", strFolder + "/update-script.sh"}));
    }

    // A package the operator chose inside the update folder is not emptied
    // away with the rest before it is copied.
    void packageInsideTheUpdateFolderIsKept_data()
    {
        QTest::addColumn<QString>("package");  // below the update folder
        QTest::newRow("in the folder") << "pkg-1.2.kfxupdate";
        QTest::newRow("in a sub-folder") << "usb/pkg-1.2.kfxupdate";
    }
    void packageInsideTheUpdateFolderIsKept()
    {
        QFETCH(QString, package);
        QTemporaryDir root;
        const QString strFolder = root.filePath("update");
        const QString strPackage = QDir(strFolder).filePath(package);
        QVERIFY(QDir().mkpath(QFileInfo(strPackage).absolutePath()));
        QVERIFY(QDir().mkpath(strFolder + "/old"));
        for (const QString &strFile : {strPackage, strFolder + "/update-script.sh", strFolder + "/old/x.txt",
                                       QFileInfo(strPackage).absolutePath() + "/other.txt"}) {
            QFile f(strFile);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        unpackingRunner runner;
        runner.setResult("sudo", exitWith(1));
        QVERIFY(panelUpdate::install(strPackage, strFolder, runner).succeeded());
        QVERIFY(QFile::exists(strPackage));
        QVERIFY(!QFile::exists(strFolder + "/old/x.txt"));
        QCOMPARE(runner.calls().first().args, (QStringList{"--", strPackage, QDir(strFolder).filePath("pkg-1.zip")}));
    }

    // The real cp and unzip on packages built here, in an update folder below
    // a temporary root: a second package unpacks over the first without a
    // question, nothing of the first is left, and the unpacked script runs.
    void updateUnpacksRealPackages()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString strFolder = root.filePath("update");
        const QString strMarker = root.filePath("ran.txt");

        const QString strSource1 = root.filePath("src1");
        QVERIFY(QDir().mkpath(strSource1 + "/lib"));
        auto write = [](const QString &strPath, const QByteArray &data) {
            QFile f(strPath);
            return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
        };
        QVERIFY(write(strSource1 + "/update-script.sh",
                      "echo first >> \"$(dirname \"$0\")/../ran.txt\"\nexit 1\n"));
        QVERIFY(write(strSource1 + "/lib/only-in-first.txt", "1"));
        QVERIFY(write(strSource1 + "/common.txt", "first"));
        const QString strPackage1 = root.filePath("media/pkg 1.2.kfxupdate");
        QVERIFY(QDir().mkpath(root.filePath("media")));
        QVERIFY(makePackage(strSource1, strPackage1));

        withoutSudoRunner runner;
        panelUpdate::outcome res = panelUpdate::install(strPackage1, strFolder, runner);
        QVERIFY2(res.succeeded(), qPrintable(panelUpdate::failureReason(res)));
        QVERIFY(QFile::exists(QDir(strFolder).filePath("pkg 1.zip")));
        QVERIFY(QFile::exists(QDir(strFolder).filePath("lib/only-in-first.txt")));

        const QString strSource2 = root.filePath("src2");
        QVERIFY(QDir().mkpath(strSource2));
        QVERIFY(write(strSource2 + "/update-script.sh", "echo second >> \"$(dirname \"$0\")/../ran.txt\"\nexit 1\n"));
        QVERIFY(write(strSource2 + "/common.txt", "second"));
        const QString strPackage2 = root.filePath("media/pkg 2.kfxupdate");
        QVERIFY(makePackage(strSource2, strPackage2));

        runner.requests.clear();
        res = panelUpdate::install(strPackage2, strFolder, runner);
        QVERIFY2(res.succeeded(), qPrintable(panelUpdate::failureReason(res)));
        QFile common(QDir(strFolder).filePath("common.txt"));
        QVERIFY(common.open(QIODevice::ReadOnly));
        QCOMPARE(common.readAll(), QByteArray("second"));
        QVERIFY(!QFile::exists(QDir(strFolder).filePath("lib/only-in-first.txt")));
        QVERIFY(!QFile::exists(QDir(strFolder).filePath("pkg 1.zip")));
        QFile marker(strMarker);
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QCOMPARE(marker.readAll(), QByteArray("first\nsecond\n"));

        // A package that is no zip archive: unzip fails and no script runs.
        QVERIFY(write(root.filePath("media/broken.kfxupdate"), "not a zip"));
        runner.requests.clear();
        res = panelUpdate::install(root.filePath("media/broken.kfxupdate"), strFolder, runner);
        QCOMPARE(int(res.eFailedAt), int(panelUpdate::UNZIP));
        QCOMPARE(runner.requests.size(), 2);
        marker.seek(0);
        QCOMPARE(marker.readAll(), QByteArray("first\nsecond\n"));
    }

    void debugPageValues_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("val1");
        QTest::addColumn<QString>("val2");
        QTest::addColumn<QString>("volts");      // the sensor on val1, val2 as volts
        QTest::addColumn<QString>("setValue");   // the sensor on val1, val2 as millivolts

        QTest::newRow("sum") << "val1+val2" << "1500" << "0" << "1500" << "1.5";
        QTest::newRow("millivolts must be whole") << "val1+val2" << "1.5" << "0" << "1.5" << "0";
        QTest::newRow("no numbers count as 0") << "val1+val2" << "abc" << "" << "0" << "0";
        QTest::newRow("six significant digits") << "val1/val2" << "2" << "3" << "0.666667" << "0.666667";
        QTest::newRow("exponent in lower case") << "val1*1e-9" << "3" << "0" << "3e-09" << "3e-12";
        QTest::newRow("formula without a number") << "foo(" << "1" << "1" << "nan" << "nan";
    }
    void debugPageValues()
    {
        QFETCH(QString, formula);
        QFETCH(QString, val1);
        QFETCH(QString, val2);
        QFETCH(QString, volts);
        QFETCH(QString, setValue);
        lvSensor sensor;
        sensor.strFormula = formula;
        QCOMPARE(debugPageValues::sensorText(sensor, debugPageValues::volts(val1), debugPageValues::volts(val2)), volts);
        QCOMPARE(debugPageValues::setValueText(sensor, debugPageValues::millivolts(val1),
                                               debugPageValues::millivolts(val2)),
                 setValue);
    }

    void controllerReplyGetsOneTerminator()
    {
        QCOMPARE(debugPageValues::controllerReply("12345"), QString("12345\r"));
        QCOMPARE(debugPageValues::controllerReply(""), QString("\r"));
    }
};

QTEST_MAIN(tst_panelAdmin)
#include "tst_panelAdmin.moc"
