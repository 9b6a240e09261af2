// The real program, started as on the panel (offscreen), in a temporary
// working directory with a settings store of its own, against the controller
// simulator on a pseudo-terminal.
#include "controllerSim.h"
#include "testWorkDir.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <memory>

class tst_programEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void startsLogsAndPollsTheController();
};

namespace {

QStringList logMessages(const testWorkDir &work)
{
    QStringList messages;
    const QString strText = QString::fromUtf8(work.readFile(QStringLiteral("log/qVarnixLeakvalve.log")));
    for (const QString &strLine : strText.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        messages << strLine.section(QStringLiteral(" ### "), 1);
    return messages;
}

} // namespace

void tst_programEndToEnd::startsLogsAndPollsTheController()
{
    const QString strProgram = qEnvironmentVariable("VALVE_TEST_BINARY_DIR") + QStringLiteral("/qlvZENTU");
    QVERIFY2(QFileInfo(strProgram).isExecutable(), qPrintable(strProgram));

    testWorkDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir().mkpath(work.filePath(QStringLiteral("dev"))));
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(sim.start(work.filePath(QStringLiteral("dev/ttyUSB0"))));
    sim.setPosition(20000);
    {
        QSettings settings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        settings.setValue(QStringLiteral("motor driver/type"), QStringLiteral("BergerLahr"));
        settings.setValue(QStringLiteral("motor driver/position"), 500000);
    }

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.configPath());
    env.insert(QStringLiteral("VALVE_DEV_DIR"), work.filePath(QStringLiteral("dev")));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work.path());
    program.setProcessChannelMode(QProcess::SeparateChannels);
    const auto killChild = qScopeGuard([&] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(10000);
        }
    });
    program.start(strProgram, QStringList());
    QVERIFY(program.waitForStarted(30000));

    // The window is up once the drive's first status text reached the log
    // through the status strip, and the controller is being polled.
    QTRY_VERIFY_WITH_TIMEOUT(logMessages(work).contains(QStringLiteral("OK")), 60000);
    QCOMPARE(logMessages(work).value(0), QStringLiteral("Application Started"));
    QVERIFY(sim.waitForReceivedCount(3, 30000));
    QVERIFY(sim.countOf("s") > 0);
    QCOMPARE(program.state(), QProcess::Running);

    {
        QSettings settings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        QCOMPARE(settings.value(QStringLiteral("motor driver/motor port")).toString(), QStringLiteral("ttyUSB0"));
        QCOMPARE(settings.value(QStringLiteral("controller/remote port")).toString(), QStringLiteral("ttyUSB1"));
    }

    program.kill();
    QVERIFY(program.waitForFinished(30000));
    const QByteArray errors = program.readAllStandardError();
    QVERIFY2(!errors.contains("AddressSanitizer") && !errors.contains("runtime error"), errors.constData());
}

QTEST_GUILESS_MAIN(tst_programEndToEnd)
#include "tst_programEndToEnd.moc"
