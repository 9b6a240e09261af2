#ifndef PROGRAMUNDERTEST_H
#define PROGRAMUNDERTEST_H

#include "testWorkDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QtTest>

#include <memory>

// The real program, offscreen, in a test's working directory, with a driver
// plugin inside (a Qt generic plugin the test builds) that operates its
// widgets on one-line commands over a loopback socket and reports the boxes
// it answers as "box TEXT|INFORMATIVE" lines. Always killed at the end.
class programUnderTest
{
public:
    // Generous: the program starts under the sanitizers on a busy machine.
    static constexpr int nStartTimeoutMs = 120000;
    static constexpr int nStepTimeoutMs = 30000;

    programUnderTest(QString strProgram, QString strPluginDir, QString strPluginKey)
        : strProgram(std::move(strProgram))
        , strPluginDir(std::move(strPluginDir))
        , strPluginKey(std::move(strPluginKey))
    {
    }

    ~programUnderTest()
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(10000);
        }
    }

    bool start(const testWorkDir &wd, const QProcessEnvironment &extra = QProcessEnvironment())
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), strPluginDir);
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("%1:%2").arg(strPluginKey).arg(server.serverPort()));
        env.insert(QStringLiteral("VALVE_DEV_DIR"), wd.filePath(QStringLiteral("dev")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), wd.configPath());
        // These tests look at the wire and the files, not at leaks at exit.
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=0"));
        for (const QString &strKey : extra.keys())
            env.insert(strKey, extra.value(strKey));
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

    // The text after "ok " of a reply, percent-decoded.
    QString requestText(const QString &strCommand)
    {
        const QString strReply = request(strCommand);
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

private:
    QString strProgram;
    QString strPluginDir;
    QString strPluginKey;
};

#endif // PROGRAMUNDERTEST_H
