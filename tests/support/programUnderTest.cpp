#include "programUnderTest.h"

#include "testWorkDir.h"

#include <QElapsedTimer>
#include <QTest>
#include <QUrl>

programUnderTest::~programUnderTest()
{
    if (proc.state() != QProcess::NotRunning) {
        proc.kill();
        proc.waitForFinished(10000);
    }
}

bool programUnderTest::start(const testWorkDir &wd, const QProcessEnvironment &extra)
{
    if (!server.listen(QHostAddress::LocalHost, 0))
        return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PROGRAM_DRIVER_PLUGIN_DIR));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("programdriver:%1").arg(server.serverPort()));
    env.insert(QStringLiteral("VALVE_DEV_DIR"), wd.filePath(QStringLiteral("dev")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), wd.configPath());
    // These tests look at what the program does, not at its leaks at exit.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=0"));
    env.insert(extra);
    proc.setProcessEnvironment(env);
    proc.setWorkingDirectory(wd.path());
    proc.setProcessChannelMode(QProcess::ForwardedChannels);
    proc.start(QStringLiteral(PROGRAM_UNDER_TEST), QStringList());
    if (!proc.waitForStarted(30000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (!server.hasPendingConnections() && timer.elapsed() < nStartTimeoutMs
           && proc.state() == QProcess::Running)
        server.waitForNewConnection(200);
    driver.reset(server.nextPendingConnection());
    return bool(driver);
}

QString programUnderTest::request(const QString &strCommand, int nTimeoutMs)
{
    driver->write(strCommand.toUtf8() + '\n');
    driver->flush();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nTimeoutMs) {
        while (driver->canReadLine()) {
            const QString strLine = QString::fromUtf8(driver->readLine()).trimmed();
            if (strLine.startsWith(QLatin1String("box ")))
                boxes << QUrl::fromPercentEncoding(strLine.mid(4).toUtf8());
            else
                return strLine;
        }
        driver->waitForReadyRead(100);
    }
    return QStringLiteral("timeout");
}

QString programUnderTest::pane(const QString &strName)
{
    const QString strReply = request(QStringLiteral("pane ") + strName);
    return QUrl::fromPercentEncoding(strReply.mid(3).toUtf8());
}

QString programUnderTest::text(const QString &strName)
{
    // "ok enabled=N <text>"
    const QString strReply = request(QStringLiteral("read ") + strName);
    if (!strReply.startsWith(QLatin1String("ok enabled=")))
        return QString();
    return QUrl::fromPercentEncoding(strReply.section(QLatin1Char(' '), 2).toUtf8());
}

bool programUnderTest::isEnabled(const QString &strName)
{
    return request(QStringLiteral("read ") + strName).startsWith(QLatin1String("ok enabled=1"));
}

bool programUnderTest::waitReady()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nStartTimeoutMs) {
        if (request(QStringLiteral("ready")) == QLatin1String("ok 1"))
            return true;
        QTest::qWait(200);
    }
    return false;
}

bool programUnderTest::quit()
{
    request(QStringLiteral("quit"));
    return proc.waitForFinished(60000);
}
