// The real program, offscreen, against the controller simulator: a script is
// started from the Script tab by holding its start cell (a driver plugin
// inside the program operates the tab), runs in the script thread, moves the
// valve, waits, records measurement points and saves them as a teach-in,
// which the operator then makes the active one on leaving the tab.
#include "controllerSim.h"
#include "programUnderTest.h"
#include "testWorkDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

namespace {

// The text after "ok " of a driver reply, percent-decoded.
QString replyText(programUnderTest &program, const QString &strCommand)
{
    return QUrl::fromPercentEncoding(program.request(strCommand).mid(3).toUtf8());
}

// The log lines so far (the status strip writes every status text there).
QString logText(const testWorkDir &wd)
{
    return QString::fromUtf8(wd.readFile(QStringLiteral("log/qVarnixLeakvalve.log")));
}

// The teach-in file's points of the given curve mark ("D" for data).
QList<QStringList> teachInPoints(const QByteArray &file, const QString &strMark)
{
    QList<QStringList> points;
    for (const QString &strLine : QString::fromUtf8(file).split(QLatin1Char('\n'))) {
        QStringList fields = strLine.split(QLatin1Char(';'));
        if (fields.size() >= 6 && fields.at(4).trimmed() == strMark)
            points << fields;
    }
    return points;
}

// The settings of a panel with the simulator on "ttySIM", a sensor and
// samples once a second.
void writePanelSettings()
{
    QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    s.clear();
    s.setValue(QStringLiteral("motor driver/type"), QStringLiteral("BergerLahr"));
    s.setValue(QStringLiteral("motor driver/motor port"), QStringLiteral("ttySIM"));
    s.setValue(QStringLiteral("motor driver/position"), 250000);
    s.setValue(QStringLiteral("controller/long press time"), 1500);
    s.setValue(QStringLiteral("controller/Analog Card Type"), 1);
    s.setValue(QStringLiteral("inputs/sampling"), 1000);
    s.setValue(QStringLiteral("external feedback/sensor name"), QStringLiteral("e2e sensor"));
    s.setValue(QStringLiteral("external feedback/sensor formula"), QStringLiteral("val1+2"));
    s.setValue(QStringLiteral("external feedback/sensor data name"), QStringLiteral("Leakrate"));
    s.sync();
}

// A working directory with the controller simulator on "dev/ttySIM", the
// valve a quarter open, and the panel's settings.
struct simulatedPanel
{
    testWorkDir wd;
    controllerSim sim{controllerSim::FAMILY_BERGER_LAHR};

    bool prepare()
    {
        if (!wd.isValid() || !QDir(wd.path()).mkpath(QStringLiteral("dev"))
            || !sim.start(wd.filePath(QStringLiteral("dev/ttySIM"))))
            return false;
        sim.setPosition(10000);
        writePanelSettings();
        return true;
    }
};

} // namespace

class tst_scriptTabEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void runAScriptFromTheTab();
    void runLogsEveryCommandText_data();
    void runLogsEveryCommandText();
};

void tst_scriptTabEndToEnd::runAScriptFromTheTab()
{
    simulatedPanel panel;
    QVERIFY(panel.prepare());
    testWorkDir &wd = panel.wd;
    controllerSim &sim = panel.sim;
    // Record, go to half open, wait, close by a quarter, wait, stop
    // recording, save.
    QVERIFY(wd.writeFile(QStringLiteral("scripts/e2e.kfxscript"),
                         "0;MEAS;1;1;\n1;GOTOPOS;500000;1;\n2;WAIT;2500;1;\n3;GOTOREL;-250000;1;\n"
                         "4;WAIT;2500;0;\n5;MEAS;0;0;\n6;SAVE;0;0;\n"));
    QVERIFY(wd.writeFile(QStringLiteral("scripts/other.kfxscript"), "0;WAIT;1000;1;\n"));

    programUnderTest program;
    QVERIFY2(program.start(wd),
             "the program did not start or its driver did not connect");
    QVERIFY2(program.waitReady(), "the main window did not come up");
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().size() > 2, programUnderTest::nStepTimeoutMs);

    QCOMPARE(program.request(QStringLiteral("tab 2")), QStringLiteral("ok 2"));
    QCOMPARE(program.request(QStringLiteral("scope widgetScript")), QStringLiteral("ok"));
    QCOMPARE(replyText(program, QStringLiteral("cells tblViewScripts 2")), QStringLiteral("e2e|other"));
    QCOMPARE(replyText(program, QStringLiteral("cells tblViewCommands 0")),
             QStringLiteral("MEAS|GOTOPOS|WAIT|GOTOREL|WAIT|MEAS|SAVE"));

    // A tap on the start cell only selects; holding it past the hold time
    // starts the script.
    const int nBefore = sim.receivedCommands().size();
    QCOMPARE(program.request(QStringLiteral("tap tblViewScripts 0 0")), QStringLiteral("ok"));
    QTest::qWait(500);
    QVERIFY(!sim.receivedCommands().mid(nBefore).contains("g20000"));
    QCOMPARE(program.request(QStringLiteral("hold tblViewScripts 0 0 2000")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("enabled tblViewCommands")), QStringLiteral("ok 0"));

    // The controller is sent to half open (20000 of 40000 steps), then back
    // by a quarter of the travel.
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("g20000"), programUnderTest::nStepTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("g10000"), 2 * programUnderTest::nStepTimeoutMs);
    const QList<QByteArray> commands = sim.receivedCommands().mid(nBefore);
    QVERIFY(commands.indexOf("g20000") < commands.lastIndexOf("g10000"));
    QTRY_COMPARE_WITH_TIMEOUT(sim.position(), 10000, programUnderTest::nStepTimeoutMs);

    // The status strip told the progress, and the end.
    QTRY_VERIFY_WITH_TIMEOUT(logText(wd).contains(QLatin1String("Script Finished")), 2 * programUnderTest::nStepTimeoutMs);
    const QString strLog = logText(wd);
    QVERIFY2(strLog.contains(QLatin1String("Do Script: Cmd 1 1/1 ")), qPrintable(strLog.right(3000)));
    QVERIFY(strLog.contains(QLatin1String("Do Script: Cmd 2 time: ")));
    QVERIFY(strLog.contains(QLatin1String("Do Script: Cmd 3 1/1 ")));
    QVERIFY(strLog.contains(QLatin1String("Do Script: Cmd 6")));
    QVERIFY(strLog.indexOf(QLatin1String("Do Script: Cmd 1 1/1 ")) < strLog.indexOf(QLatin1String("Script Finished")));
    QTRY_COMPARE_WITH_TIMEOUT(program.request(QStringLiteral("enabled tblViewCommands")), QStringLiteral("ok 1"),
                              programUnderTest::nStepTimeoutMs);

    // The recorded points, saved under the script's name with the active
    // sensor: data points from both positions, each with the formula's
    // value for the inputs.
    const QByteArray teachIn = wd.readFile(QStringLiteral("teachIn/e2e.kfxteachin"));
    QVERIFY2(teachIn.contains("sensor name: e2e sensor;"), teachIn.left(400).constData());
    const QList<QStringList> points = teachInPoints(teachIn, QStringLiteral("D"));
    QVERIFY2(points.size() >= 2, teachIn.constData());
    QStringList positions;
    for (const QStringList &pt : points)
        positions << pt.at(0).trimmed();
    QVERIFY2(positions.contains(QStringLiteral("500000")), qPrintable(positions.join(QLatin1Char(' '))));
    QVERIFY2(positions.contains(QStringLiteral("250000")), qPrintable(positions.join(QLatin1Char(' '))));

    // Leaving the tab offers the new teach-in; the operator takes it.
    program.boxes.clear();
    QCOMPARE(program.request(QStringLiteral("plan &Yes")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("tab 1")), QStringLiteral("ok 1"));
    QCOMPARE(program.boxes,
             QStringList{QStringLiteral("TeachIn Data changed|Do you want to set the new data file active?")});
    QTRY_VERIFY_WITH_TIMEOUT(logText(wd).contains(QLatin1String("Script Tab changed")), programUnderTest::nStepTimeoutMs);

    QVERIFY2(program.quit(), "the program did not end when its window was closed");
    QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    s.sync();
    QCOMPARE(s.value(QStringLiteral("teachIn/teachInFile")).toString(), QStringLiteral("e2e"));
    // The script file itself is untouched by the run.
    QCOMPARE(wd.readFile(QStringLiteral("scripts/e2e.kfxscript")),
             QByteArray("0;MEAS;1;1;\n1;GOTOPOS;500000;1;\n2;WAIT;2500;1;\n3;GOTOREL;-250000;1;\n"
                        "4;WAIT;2500;0;\n5;MEAS;0;0;\n6;SAVE;0;0;\n"));
}

void tst_scriptTabEndToEnd::runLogsEveryCommandText_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("startRow");
    // Every "Do Script:" text in order, without a wait's periodic progress.
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("a loop of moves, started at command 1")
        << QByteArray("0;GOTOPOS;250000;0;\n1;GOTOPOS;750000;0;\n2;GOTOCMD;0;2;\n") << 1
        << QStringList{"Cmd 1", "Cmd 2 2/2 ", "Cmd 0 1/0 ", "Cmd 1 1/0 ", "Cmd 2 1/2 ", "Cmd 0", "Cmd 1",
                       "Cmd 2 2/0 "};
    QTest::newRow("recorded moves and a wait")
        << QByteArray("0;MEASOPEN;1;1;\n1;GOTOPOS;250000;0;\n2;WAIT;1500;0;\n3;MEASCLOSE;2;1;\n"
                      "4;GOTOREL;100000;0;\n5;MEAS;0;0;\n6;SAVE;0;0;\n")
        << 0 << QStringList{"Cmd 0 1/1 ", "Cmd 1", "Cmd 2", "Cmd 3 1/1 ", "Cmd 4", "Cmd 5", "Cmd 6"};
    QTest::newRow("a loop over a wait")
        << QByteArray("0;WAIT;300;0;\n1;GOTOCMD;0;2;\n") << 0
        << QStringList{"Cmd 0", "Cmd 1 2/2 ", "Cmd 0 1/0 ", "Cmd 1 1/2 ", "Cmd 0", "Cmd 1 2/0 "};
}

void tst_scriptTabEndToEnd::runLogsEveryCommandText()
{
    QFETCH(QByteArray, script);
    QFETCH(int, startRow);
    QFETCH(QStringList, texts);
    simulatedPanel panel;
    QVERIFY(panel.prepare());
    testWorkDir &wd = panel.wd;
    controllerSim &sim = panel.sim;
    sim.setSpeed(sim.fullTravel() * 4);
    QVERIFY(wd.writeFile(QStringLiteral("scripts/run.kfxscript"), script));

    programUnderTest program;
    QVERIFY2(program.start(wd), "the program did not start or its driver did not connect");
    QVERIFY2(program.waitReady(), "the main window did not come up");
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().size() > 2, programUnderTest::nStepTimeoutMs);
    QCOMPARE(program.request(QStringLiteral("tab 2")), QStringLiteral("ok 2"));
    QCOMPARE(program.request(QStringLiteral("scope widgetScript")), QStringLiteral("ok"));
    if (startRow > 0)
        QCOMPARE(program.request(QStringLiteral("tap tblViewCommands %1 0").arg(startRow)), QStringLiteral("ok"));
    const int nLogBefore = logText(wd).size();
    QCOMPARE(program.request(QStringLiteral("hold tblViewScripts 0 0 2000")), QStringLiteral("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(logText(wd).contains(QLatin1String("Script Finished")),
                             2 * programUnderTest::nStepTimeoutMs);

    QStringList logged;
    for (const QString &strLine : logText(wd).mid(nLogBefore).split(QLatin1Char('\n'))) {
        const QString strMessage = strLine.section(QStringLiteral(" ### "), 1);
        if (strMessage.startsWith(QLatin1String("Do Script: ")) && !strMessage.contains(QLatin1String(" time: ")))
            logged << strMessage.mid(11);
        else if (strMessage == QLatin1String("Script Finished"))
            break;
    }
    QCOMPARE(logged, texts);
    QVERIFY2(program.quit(), "the program did not end when its window was closed");
}

QTEST_GUILESS_MAIN(tst_scriptTabEndToEnd)
#include "tst_scriptTabEndToEnd.moc"
