#include "platform/analogFrameSource.h"
#include "platform/gpioRoot.h"
#include "platform/processRunner.h"
#include "platform/serialDeviceName.h"
#include "ptyEndpoint.h"
#include "testWorkDir.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

class tst_platform : public QObject
{
    Q_OBJECT

private slots:
    void serialName_data()
    {
        QTest::addColumn<QByteArray>("devDir");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default dev") << QByteArray() << "ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("redirected") << QByteArray("/tmp/x") << "ttyAMA0" << "/tmp/x/ttyAMA0";
        QTest::newRow("trailing slash") << QByteArray("/tmp/x/") << "ttyUSB1" << "/tmp/x/ttyUSB1";
        QTest::newRow("absolute kept") << QByteArray("/tmp/x") << "/dev/pts/3" << "/dev/pts/3";
        QTest::newRow("empty stays empty") << QByteArray("/tmp/x") << "" << "";
    }
    void serialName()
    {
        QFETCH(QByteArray, devDir);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QByteArray old = qgetenv("VALVE_DEV_DIR");
        if (devDir.isNull())
            qunsetenv("VALVE_DEV_DIR");
        else
            qputenv("VALVE_DEV_DIR", devDir);
        QCOMPARE(resolveSerialDeviceName(name), expected);
        if (old.isNull())
            qunsetenv("VALVE_DEV_DIR");
        else
            qputenv("VALVE_DEV_DIR", old);
    }

    void analogFrame_data()
    {
        QTest::addColumn<bool>("setEnv");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray zeros(11, '\0');
        const QByteArray full = QByteArray::fromHex("00ff0300020000000000aa");
        QTest::newRow("no variable") << false << QByteArray() << zeros;
        QTest::newRow("missing file") << true << QByteArray() << zeros;
        QTest::newRow("short file") << true << QByteArray("\x01\x02\x03", 3) << zeros;
        QTest::newRow("exact frame") << true << full << full;
        QTest::newRow("longer file") << true << (full + "tail") << full;
    }
    void analogFrame()
    {
        QFETCH(bool, setEnv);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expected);
        testWorkDir work;
        const QString strFile = work.filePath("frame.bin");
        if (!content.isEmpty())
            QVERIFY(work.writeFile("frame.bin", content));
        if (setEnv)
            qputenv("VALVE_ANALOG_FRAME_FILE", strFile.toLocal8Bit());
        else
            qunsetenv("VALVE_ANALOG_FRAME_FILE");
        const QByteArray frame = analogFrameSource::instance().readFrame();
        qunsetenv("VALVE_ANALOG_FRAME_FILE");
        QCOMPARE(frame.size(), analogFrameSource::FRAME_SIZE);
        QCOMPARE(frame, expected);
    }

    void analogFrameIsReadAfresh()
    {
        testWorkDir work;
        qputenv("VALVE_ANALOG_FRAME_FILE", work.filePath("f").toLocal8Bit());
        QVERIFY(work.writeFile("f", QByteArray(11, '\x01')));
        QCOMPARE(analogFrameSource::instance().readFrame(), QByteArray(11, '\x01'));
        QVERIFY(work.writeFile("f", QByteArray(11, '\x02')));
        QCOMPARE(analogFrameSource::instance().readFrame(), QByteArray(11, '\x02'));
        qunsetenv("VALVE_ANALOG_FRAME_FILE");
    }

    void runnerExecute()
    {
        processRunner &runner = processRunner::instance();
        processRunner::result ok = runner.execute("sh", {"-c", "echo out; echo err >&2; exit 3"});
        QVERIFY(ok.bStarted);
        QCOMPARE(ok.nExitCode, 3);
        QCOMPARE(ok.stdOut, QByteArray("out\n"));
        QCOMPARE(ok.stdErr, QByteArray("err\n"));

        processRunner::result missing = runner.execute("no-such-program-for-valve-tests", {});
        QVERIFY(!missing.bStarted);
        QCOMPARE(missing.nExitCode, -2);

        processRunner::result slow = runner.execute("sleep", {"10"}, 200);
        QVERIFY(slow.bTimedOut);
        QCOMPARE(slow.nExitCode, -1);
    }

    // Input data reaches the program and its input is then closed: a program
    // that reads a second answer gets end of input instead of blocking.
    void runnerStandardInput()
    {
        processRunner &runner = processRunner::instance();
        processRunner::request req;
        req.strProgram = QStringLiteral("sh");
        req.args = QStringList{"-c", "read -r a; echo \"[$a]\"; if read -r b; then exit 5; fi; exit 4"};
        req.stdIn = "two words \"q\"\n";
        req.nTimeoutMs = 10000;
        processRunner::result res = runner.run(req);
        QCOMPARE(res.stdOut, QByteArray("[two words \"q\"]\n"));
        QCOMPARE(res.nExitCode, 4);

        req.args = QStringList{"-c", "cat; exit 6"};
        req.stdIn.clear();
        res = runner.run(req);
        QVERIFY(!res.bTimedOut);
        QCOMPARE(res.nExitCode, 6);
        QVERIFY(res.stdOut.isEmpty());
    }

    // An environment entry reaches that one program, over the program's
    // own; the program's own environment stays as it is.
    void runnerEnvironment()
    {
        const bool bOuter = qEnvironmentVariableIsSet("LC_ALL");
        const QByteArray outer = qgetenv("LC_ALL");
        qputenv("LC_ALL", "de_DE.UTF-8");
        processRunner::request req;
        req.strProgram = QStringLiteral("sh");
        req.args = QStringList{"-c", "echo \"$LC_ALL $HOME\""};
        req.environment = QStringList{"LC_ALL=C"};
        req.nTimeoutMs = 10000;
        const processRunner::result res = processRunner::instance().run(req);
        const QByteArray inner = qgetenv("LC_ALL");
        if (bOuter)
            qputenv("LC_ALL", outer);
        else
            qunsetenv("LC_ALL");
        QCOMPARE(res.stdOut, "C " + qgetenv("HOME") + "\n");
        QCOMPARE(inner, QByteArray("de_DE.UTF-8"));
    }

    void runnerSplitsLikeQProcess_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("plain") << "sudo shutdown -h now" << QStringList{"sudo", "shutdown", "-h", "now"};
        QTest::newRow("quoted") << "cp \"/a b/c\" /d" << QStringList{"cp", "/a b/c", "/d"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void runnerSplitsLikeQProcess()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, parts);
        QCOMPARE(processRunner::splitCommandLine(line), parts);
    }

    void runnerStartAndKill()
    {
        runningProcess *p = processRunner::instance().start("sleep", {"30"});
        QVERIFY(p->isRunning());
        p->kill();
        QVERIFY(!p->isRunning());
        delete p;
        runningProcess *bad = processRunner::instance().start("no-such-program-for-valve-tests", {});
        QVERIFY(!bad->isRunning());
        delete bad;
    }

    void gpioRootRedirect()
    {
        QCOMPARE(gpioRoot(), QStringLiteral("/sys/class/gpio"));
        setGpioRoot("/tmp/gpio-test");
        QCOMPARE(gpioRoot(), QStringLiteral("/tmp/gpio-test"));
        setGpioRoot(QString());
        qputenv("VALVE_GPIO_ROOT", "/tmp/gpio-env");
        QCOMPARE(gpioRoot(), QStringLiteral("/tmp/gpio-env"));
        qunsetenv("VALVE_GPIO_ROOT");
    }

    void ptySurvivesReopenOfTheSlave()
    {
        testWorkDir work;
        ptyEndpoint pty;
        QVERIFY(pty.open());
        QVERIFY(pty.linkAs(work.filePath("ttyUSB0")));
        qputenv("VALVE_DEV_DIR", work.path().toLocal8Bit());
        const QByteArray path = resolveSerialDeviceName("ttyUSB0").toLocal8Bit();
        qunsetenv("VALVE_DEV_DIR");
        for (int round = 0; round < 2; ++round) {
            int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, "v\r", 2), ssize_t(2));
            QByteArray got;
            for (int i = 0; i < 50 && got.size() < 2; ++i)
                got += pty.read(100);
            QCOMPARE(got, QByteArray("v\r"));
            QVERIFY(pty.write("ok\r"));
            char buf[8] = {};
            ssize_t n = 0;
            for (int i = 0; i < 50 && n <= 0; ++i) {
                n = ::read(fd, buf, sizeof buf);
                if (n <= 0)
                    QTest::qWait(20);
            }
            QCOMPARE(QByteArray(buf, int(n)), QByteArray("ok\r"));
            ::close(fd);
        }
    }
};

QTEST_GUILESS_MAIN(tst_platform)
#include "tst_platform.moc"
