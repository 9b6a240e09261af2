// The start script that ./run.sh ends in, run against a stub program and a
// stub controller simulator: a TERM sent to the script (by timeout, a service
// manager or the operator) must end the program and the script, not wait for
// the program to end by itself.
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

QTEST_MAIN(tst_startScript)
#include "tst_startScript.moc"
