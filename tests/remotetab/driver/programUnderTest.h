#ifndef PROGRAMUNDERTEST_H
#define PROGRAMUNDERTEST_H

// The real program, offscreen, with the driver plugin inside (see
// remoteTabDriverPlugin.cpp): started in a test's working directory and
// operated through the plugin's line protocol on a loopback socket.
#include "testWorkDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QtTest>

#include <memory>

// Generous: the program starts under the sanitizers on a busy machine.
constexpr int nStartTimeoutMs = 120000;
constexpr int nStepTimeoutMs = 30000;

inline quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

// The program with the driver plugin inside; always killed at the end.
class programUnderTest
{
public:
    ~programUnderTest()
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(10000);
        }
    }

    // strProgram: the program file; strPluginDir: the folder holding
    // "generic/" with the driver plugin; strPluginKey: the plugin's key.
    bool start(const testWorkDir &wd, const QString &strProgram, const QString &strPluginDir,
               const QString &strPluginKey = QStringLiteral("remotetabdriver"))
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), strPluginDir);
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("%1:%2").arg(strPluginKey).arg(server.serverPort()));
        env.insert(QStringLiteral("VALVE_DEV_DIR"), wd.filePath(QStringLiteral("dev")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), wd.configPath());
        // This test looks at the wire, not at the program's leaks at exit.
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=0"));
        proc.setProcessEnvironment(env);
        proc.setWorkingDirectory(wd.path());
        proc.setProcessChannelMode(QProcess::ForwardedChannels);
        proc.start(strProgram, QStringList());
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

    // One command to the driver; the reply line, or "timeout".
    QString request(const QString &strCommand, int nTimeoutMs = nStepTimeoutMs)
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

    QString pane(const QString &strName)
    {
        const QString strReply = request(QStringLiteral("pane ") + strName);
        return QUrl::fromPercentEncoding(strReply.mid(3).toUtf8());
    }

    bool waitReady()
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

    bool quit()
    {
        request(QStringLiteral("quit"));
        return proc.waitForFinished(60000);
    }

    QProcess proc;
    QTcpServer server;
    std::unique_ptr<QTcpSocket> driver;
    QStringList boxes;
};

#endif // PROGRAMUNDERTEST_H
