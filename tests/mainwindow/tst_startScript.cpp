// The start script that ./run.sh ends in, run against a stub program, a stub
// controller simulator and a stub demo-world tool: a TERM sent to the script
// (by timeout, a service manager or the operator) must end the program and
// the script, not wait for the program to end by itself; the demo world and
// the simulated analog card are there only without a real controller.
#include "testWorkDir.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {

bool writeExecutable(const QString &strPath, const QByteArray &script)
{
    QDir().mkpath(QFileInfo(strPath).path());
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(script);
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class tst_startScript : public QObject
{
    Q_OBJECT

private slots:
    void termEndsTheProgram();
    void demoWorldOnlyWithTheSimulator_data();
    void demoWorldOnlyWithTheSimulator();
};

void tst_startScript::termEndsTheProgram()
{
    const QString strScript = QStringLiteral(START_SCRIPT);
    QVERIFY(QFile::exists(strScript));
    testWorkDir work;
    QVERIFY(work.isValid());
    const QString strBuild = work.filePath(QStringLiteral("build"));
    const QString strRun = work.filePath(QStringLiteral("run"));

    // The stub program notes its start and the TERM it receives; it ends on
    // its own only after a minute, so a script that failed leaves nothing
    // behind for long.
    QVERIFY(writeExecutable(strBuild + QStringLiteral("/qlvZENTU"),
                            "#!/bin/sh\n"
                            "trap 'echo term > \"$PWD/program-terminated\"; exit 0' TERM\n"
                            "echo started > \"$PWD/program-started\"\n"
                            "i=0\nwhile [ $i -lt 600 ]; do sleep 0.1; i=$((i+1)); done\n"));
    QVERIFY(writeExecutable(strBuild + QStringLiteral("/tools/controllerSim/valve-controller-sim"),
                            "#!/bin/sh\necho ready /dev/null\nexec sleep 120\n"));
    QVERIFY(writeExecutable(strBuild + QStringLiteral("/tools/demoWorld/valve-demo-world"), "#!/bin/sh\nexit 0\n"));

    QProcess script;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    script.setProcessEnvironment(env);
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(QStringLiteral("bash"), {strScript, strBuild, strRun});
    QVERIFY(script.waitForStarted(20000));
    const auto stopScript = qScopeGuard([&] {
        if (script.state() != QProcess::NotRunning) {
            script.kill();
            script.waitForFinished(20000);
        }
    });

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(strRun + QStringLiteral("/program-started")), 60000);
    script.terminate();
    QVERIFY2(script.waitForFinished(30000), "the start script kept waiting for the program");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(strRun + QStringLiteral("/program-terminated")), 20000);
}

void tst_startScript::demoWorldOnlyWithTheSimulator_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("demo");
    QTest::newRow("simulator") << QString() << true;
    QTest::newRow("real controller") << QStringLiteral("ttyUSB0") << false;
}

void tst_startScript::demoWorldOnlyWithTheSimulator()
{
    QFETCH(QString, port);
    QFETCH(bool, demo);
    const QString strScript = QStringLiteral(START_SCRIPT);
    QVERIFY(!strScript.isEmpty());
    testWorkDir work;
    QVERIFY(work.isValid());
    const QString strBuild = work.filePath(QStringLiteral("build"));
    const QString strRun = work.filePath(QStringLiteral("run"));

    // The stub program notes the analog card frame it was given and ends.
    QVERIFY(writeExecutable(strBuild + QStringLiteral("/qlvZENTU"),
                            "#!/bin/sh\necho \"frame=${VALVE_ANALOG_FRAME_FILE:-}\" > \"$PWD/program-env\"\n"));
    QVERIFY(writeExecutable(strBuild + QStringLiteral("/tools/controllerSim/valve-controller-sim"),
                            "#!/bin/sh\necho \"$@\" > \"$(dirname \"$4\")/sim-args\"\necho ready /dev/null\n"
                            "exec sleep 120\n"));
    QVERIFY(writeExecutable(strBuild + QStringLiteral("/tools/demoWorld/valve-demo-world"),
                            "#!/bin/sh\necho \"$1\" > \"$1/demo-world-ran\"\n"));

    QProcess script;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("VALVE_ANALOG_FRAME_FILE"));
    script.setProcessEnvironment(env);
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList args{strScript, strBuild, strRun};
    if (!port.isEmpty())
        args << port;
    script.start(QStringLiteral("bash"), args);
    QVERIFY(script.waitForFinished(60000));
    QCOMPARE(script.exitCode(), 0);

    QFile programEnv(strRun + QStringLiteral("/program-env"));
    QVERIFY(programEnv.open(QIODevice::ReadOnly));
    const QString strFrame = QString::fromUtf8(programEnv.readAll()).trimmed();
    QCOMPARE(QFile::exists(strRun + QStringLiteral("/demo-world-ran")), demo);
    if (demo) {
        // The program reads the frame that the simulator writes.
        QCOMPARE(strFrame, QStringLiteral("frame=") + strRun + QStringLiteral("/dev/analog-frame"));
        QFile simArgs(strRun + QStringLiteral("/dev/sim-args"));
        QVERIFY(simArgs.open(QIODevice::ReadOnly));
        QVERIFY2(simArgs.readAll().contains("--analog-frame " + (strRun + QStringLiteral("/dev/analog-frame")).toUtf8()),
                 "the simulator was not asked to write the frame");
    } else {
        QCOMPARE(strFrame, QStringLiteral("frame="));
    }
}

QTEST_MAIN(tst_startScript)
#include "tst_startScript.moc"
