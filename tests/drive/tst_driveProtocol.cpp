// The controller protocols as pure functions: position units, the command
// texts of every motion request per family, the reply parsers and the status
// text.
#include "valve/bergerLahrReply.h"
#include "valve/motionCommands.h"
#include "valve/motorFamily.h"
#include "valve/motorStatus.h"
#include "valve/nanoTecReply.h"
#include "valve/positionUnits.h"

#include <QtTest>

Q_DECLARE_METATYPE(controllerCommandList)

namespace {

const motorFamily berger = motorFamily::forType(motorFamily::BERGER_LAHR);
const motorFamily nanotec = motorFamily::forType(motorFamily::NANOTEC);

// Compact notation for the tables: "text|qr" with q = queryAfter, r = repeat.
controllerCommand cmd(const char *pszText, const char *pszFlags = "")
{
    const QByteArray flags(pszFlags);
    return controllerCommand(QByteArray(pszText), flags.contains('q'), flags.contains('r'));
}

QString describe(const controllerCommandList &list)
{
    QStringList parts;
    for (const controllerCommand &c : list) {
        QString s = QString::fromLatin1(c.strCommand).replace(QLatin1Char('\r'), QLatin1String("\\r"));
        if (c.bQueryAfter)
            s += QLatin1String("(q)");
        if (c.bRepeat)
            s += QLatin1String("(r)");
        parts << s;
    }
    return parts.join(QLatin1String(", "));
}

} // namespace

class tst_driveProtocol : public QObject
{
    Q_OBJECT

private slots:
    void familyLimits_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("known");
        QTest::addColumn<int>("maxSteps");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("baud");
        QTest::newRow("BergerLahr") << 0 << true << 40000 << 100 << 9600;
        QTest::newRow("NanoTec") << 1 << true << 1024000 << 1000 << 115200;
        QTest::newRow("Remote") << 2 << false << 0 << 0 << 0;
        QTest::newRow("missing key") << -1 << false << 0 << 0 << 0;
    }
    void familyLimits()
    {
        QFETCH(int, type);
        const motorFamily f = motorFamily::forType(type);
        QFETCH(bool, known);
        QCOMPARE(f.bKnown, known);
        QCOMPARE(f.nMinSteps, 0);
        QTEST(f.nMaxSteps, "maxSteps");
        QTEST(f.nDelta, "delta");
        QTEST(int(f.nBaudRate), "baud");
    }

    void stepsToPpm_data()
    {
        QTest::addColumn<qint64>("steps");
        QTest::addColumn<int>("maxSteps");
        QTest::addColumn<int>("ppm");
        QTest::newRow("half open") << qint64(20000) << 40000 << 500000;
        QTest::newRow("one step") << qint64(1) << 40000 << 25;
        QTest::newRow("NanoTec close target") << qint64(50) << 1024000 << 48;
        QTest::newRow("NanoTec 5000") << qint64(5000) << 1024000 << 4882;
        QTest::newRow("below zero truncates toward zero") << qint64(-5000) << 1024000 << -4882;
        QTest::newRow("full") << qint64(1024000) << 1024000 << 1000000;
        QTest::newRow("no travel") << qint64(123) << 0 << 0;
    }
    void stepsToPpm()
    {
        QFETCH(qint64, steps);
        QFETCH(int, maxSteps);
        QTEST(positionUnits::stepsToPpm(steps, maxSteps), "ppm");
    }

    void ppmToSteps_data()
    {
        QTest::addColumn<qint64>("ppm");
        QTest::addColumn<int>("maxSteps");
        QTest::addColumn<int>("steps");
        // In double precision 75 ppm is 2.9999999999999996 steps.
        QTest::newRow("75 ppm is exactly 3 steps") << qint64(75) << 40000 << 3;
        QTest::newRow("25 ppm is one step") << qint64(25) << 40000 << 1;
        QTest::newRow("24 ppm truncates to 0") << qint64(24) << 40000 << 0;
        QTest::newRow("500001 ppm") << qint64(500001) << 40000 << 20000;
        QTest::newRow("NanoTec half") << qint64(500000) << 1024000 << 512000;
        QTest::newRow("NanoTec full") << qint64(1000000) << 1024000 << 1024000;
        QTest::newRow("300000 forced") << qint64(300000) << 40000 << 12000;
        QTest::newRow("negative truncates toward zero") << qint64(-24) << 40000 << 0;
    }
    void ppmToSteps()
    {
        QFETCH(qint64, ppm);
        QFETCH(int, maxSteps);
        QTEST(positionUnits::ppmToSteps(ppm, maxSteps), "steps");
    }

    void relativeTarget_data()
    {
        QTest::addColumn<qint64>("steps");
        QTest::addColumn<qint64>("delta");
        QTest::addColumn<int>("maxSteps");
        QTest::addColumn<int>("ppm");
        QTest::newRow("remote P at half") << qint64(20000) << qint64(25) << 40000 << 500025;
        QTest::newRow("remote M at half") << qint64(20000) << qint64(-25) << 40000 << 499975;
        QTest::newRow("NanoTec one step down from 1") << qint64(1) << qint64(-1) << 1024000 << 0;
        QTest::newRow("NanoTec fraction kept in the sum") << qint64(3) << qint64(1) << 1024000 << 3;
        QTest::newRow("below closed") << qint64(0) << qint64(-25) << 40000 << -25;
        QTest::newRow("huge delta saturates") << qint64(40000) << qint64(2147483647) << 40000 << 2147483647;
    }
    void relativeTarget()
    {
        QFETCH(qint64, steps);
        QFETCH(qint64, delta);
        QFETCH(int, maxSteps);
        QTEST(positionUnits::relativeTargetPpm(steps, delta, maxSteps), "ppm");
    }

    void remoteUnits()
    {
        QCOMPARE(positionUnits::stepsToRemote(512000, 1024000), 20000);
        QCOMPARE(positionUnits::stepsToRemote(20000, 40000), 20000);
        QCOMPARE(positionUnits::stepsToRemote(1, 1024000), 0);
        QCOMPARE(positionUnits::remoteToPpm(20000), 500000);
        QCOMPARE(positionUnits::remoteToPpm(1), 25);
        QCOMPARE(positionUnits::remoteToPpm(qint64(1) << 50), 2147483647);
    }

    void gotoPlans_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("ppm");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<controllerCommandList>("commands");
        QTest::addColumn<int>("compare");
        QTest::addColumn<int>("targetPpm");
        QTest::addColumn<bool>("clearsReached");

        const int MOVE = gotoPlan::MOVE, OOB = gotoPlan::OUT_OF_BOUNDARIES, THERE = gotoPlan::ALREADY_REACHED,
                  NONE = gotoPlan::NO_TRAVEL;
        QTest::newRow("BL full open") << 0 << 20000 << 1000000 << MOVE
                                      << controllerCommandList{cmd("g40000\rs\r", "q")} << 40000 << 1000000 << false;
        QTest::newRow("BL closed becomes step 1") << 0 << 20000 << 0 << MOVE
                                                  << controllerCommandList{cmd("g1\rs\r", "q")} << 1 << 25 << false;
        QTest::newRow("BL 1000001 out of range") << 0 << 20000 << 1000001 << OOB << controllerCommandList{} << 0 << 0
                                                 << false;
        QTest::newRow("BL -1 out of range") << 0 << 20000 << -1 << OOB << controllerCommandList{} << 0 << 0 << false;
        QTest::newRow("BL already there") << 0 << 20000 << 500000 << THERE << controllerCommandList{} << 0 << 0
                                          << false;
        QTest::newRow("BL 500001 is 20000.04 steps") << 0 << 20000 << 500001 << MOVE
                                                     << controllerCommandList{cmd("g20000\rs\r", "q")} << 20000
                                                     << 500000 << false;
        QTest::newRow("BL 75 ppm exact") << 0 << 0 << 75 << MOVE << controllerCommandList{cmd("g3\rs\r", "q")} << 3
                                         << 75 << false;
        QTest::newRow("BL 25 ppm at step 1 is there") << 0 << 1 << 25 << THERE << controllerCommandList{} << 0 << 0
                                                      << false;
        QTest::newRow("BL position unknown") << 0 << -1 << 0 << MOVE << controllerCommandList{cmd("g1\rs\r", "q")}
                                             << 1 << 25 << false;
        QTest::newRow("NT half from closed")
            << 1 << 0 << 500000 << MOVE
            << controllerCommandList{cmd("#1y6\r"), cmd("#1s-512000\r"), cmd("#1A\r")} << 512000 << 500000 << true;
        QTest::newRow("NT downwards") << 1 << 600000 << 500000 << MOVE
                                      << controllerCommandList{cmd("#1y7\r"), cmd("#1s-512000\r"), cmd("#1A\r")}
                                      << 512000 << 500000 << true;
        QTest::newRow("NT closed") << 1 << 600000 << 0 << MOVE
                                   << controllerCommandList{cmd("#1y7\r"), cmd("#1s0\r"), cmd("#1A\r")} << 0 << 0
                                   << true;
        QTest::newRow("NT fraction truncated")
            << 1 << 0 << 97657 << MOVE << controllerCommandList{cmd("#1y6\r"), cmd("#1s-100000\r"), cmd("#1A\r")}
            << 100000 << 97656 << true;
        QTest::newRow("NT out of range") << 1 << 0 << 1000001 << OOB << controllerCommandList{} << 0 << 0 << false;
        QTest::newRow("BL back to the stale position while positioning")
            << 0 << 20000 << 500000 << MOVE << controllerCommandList{cmd("g20000\rs\r", "q")} << 20000 << 500000
            << false;
        QTest::newRow("NT back to the stale position while positioning")
            << 1 << 512000 << 500000 << MOVE
            << controllerCommandList{cmd("#1y7\r"), cmd("#1s-512000\r"), cmd("#1A\r")} << 512000 << 500000 << true;
        QTest::newRow("Remote refuses") << 2 << 0 << 500000 << NONE << controllerCommandList{} << 0 << 0 << false;
        QTest::newRow("no key refuses") << -1 << 0 << 500000 << NONE << controllerCommandList{} << 0 << 0 << false;
    }
    void gotoPlans()
    {
        QFETCH(int, type);
        QFETCH(int, position);
        QFETCH(int, ppm);
        QFETCH(controllerCommandList, commands);
        const bool bPositioning = QByteArray(QTest::currentDataTag()).contains("while positioning");
        const gotoPlan plan = motionCommands::planGoto(motorFamily::forType(type), ppm, position, bPositioning);
        QTEST(int(plan.result), "outcome");
        QCOMPARE(describe(plan.commands), describe(commands));
        if (plan.result == gotoPlan::MOVE) {
            QTEST(plan.nCompareValue, "compare");
            QTEST(plan.nTargetPpm, "targetPpm");
        }
        QTEST(plan.bClearPosReached, "clearsReached");
    }

    void openClosePlans()
    {
        gotoPlan p = motionCommands::planOpen(berger);
        QCOMPARE(describe(p.commands), QStringLiteral("g40000\\rs\\r"));
        QCOMPARE(p.nCompareValue, 40000);
        QCOMPARE(p.nTargetPpm, 1000000);
        p = motionCommands::planClose(berger);
        QCOMPARE(describe(p.commands), QStringLiteral("g1\\rs\\r(q)"));
        QCOMPARE(p.nCompareValue, 1);
        QCOMPARE(p.nTargetPpm, 25);
        p = motionCommands::planOpen(nanotec);
        QCOMPARE(describe(p.commands), QStringLiteral("#1y6\\r, #1A\\r"));
        QCOMPARE(p.nCompareValue, 1024000);
        QCOMPARE(p.nTargetPpm, 1000000);
        p = motionCommands::planClose(nanotec);
        QCOMPARE(describe(p.commands), QStringLiteral("#1y7\\r, #1A\\r"));
        QCOMPARE(p.nCompareValue, 50);
        QCOMPARE(p.nTargetPpm, 48);
        QCOMPARE(int(motionCommands::planOpen(motorFamily::forType(2)).result), int(gotoPlan::NO_TRAVEL));
        QCOMPARE(int(motionCommands::planClose(motorFamily::forType(-1)).result), int(gotoPlan::NO_TRAVEL));
    }

    // One row per request and family: the commands in queue order.
    void commandTexts_data()
    {
        QTest::addColumn<controllerCommandList>("actual");
        QTest::addColumn<QString>("expected");
        const motorFamily &b = berger;
        const motorFamily &n = nanotec;
        const motorFamily r = motorFamily::forType(2);
        QTest::newRow("BL plus") << motionCommands::plus(b) << "p\\rs\\r";
        QTest::newRow("BL minus") << motionCommands::minus(b) << "m\\rs\\r";
        QTest::newRow("BL open press slow") << motionCommands::continuousPress(b, true, 1, 1) << "p\\rs\\r(q)(r)";
        QTest::newRow("BL open press 0") << motionCommands::continuousPress(b, true, 0, 1) << "p\\rs\\r(q)(r)";
        QTest::newRow("BL open press fast")
            << motionCommands::continuousPress(b, true, 5, 7) << "p\\rp\\rp\\rp\\rs\\r(q)(r)";
        QTest::newRow("BL open press 2") << motionCommands::continuousPress(b, true, 2, 1) << "p\\rp\\rp\\rp\\rs\\r(q)(r)";
        QTest::newRow("BL close press slow") << motionCommands::continuousPress(b, false, 1, 1) << "m\\rs\\r(r)";
        QTest::newRow("BL close press fast")
            << motionCommands::continuousPress(b, false, 10, 1) << "m\\rm\\rm\\rm\\rs\\r(r)";
        QTest::newRow("BL halt") << motionCommands::halt(b) << "h\\rs\\r(q)";
        QTest::newRow("BL calibrate") << motionCommands::calibrate(b) << "n\\rs\\r(q)";
        QTest::newRow("BL read position") << motionCommands::readPosition(b) << "s\\r";
        QTest::newRow("BL force") << motionCommands::forcePosition(b, 12000) << "";
        QTest::newRow("BL clear error") << motionCommands::clearError(b) << "";
        QTest::newRow("BL arrival query") << motionCommands::positionQuery(b) << "s\\r";
        QTest::newRow("NT plus") << motionCommands::plus(n) << "#1y3\\r, #1A\\r, #1I\\r, #1C\\r";
        QTest::newRow("NT minus") << motionCommands::minus(n) << "#1y5\\r, #1A\\r, #1I\\r, #1C\\r";
        QTest::newRow("NT open press fast")
            << motionCommands::continuousPress(n, true, 5, 1) << "#1y3\\r, #1s20\\r, #1A\\r#1I\\r#1C\\r(r)";
        QTest::newRow("NT open press faster")
            << motionCommands::continuousPress(n, true, 10, 1) << "#1y3\\r, #1s40\\r, #1A\\r#1I\\r#1C\\r(r)";
        QTest::newRow("NT close press factor 3")
            << motionCommands::continuousPress(n, false, 5, 3) << "#1y5\\r, #1s60\\r, #1A\\r#1I\\r#1C\\r(r)";
        QTest::newRow("NT press factor 0")
            << motionCommands::continuousPress(n, true, 5, 0) << "#1y3\\r, #1s0\\r, #1A\\r#1I\\r#1C\\r(r)";
        QTest::newRow("NT press distance saturates")
            << motionCommands::continuousPress(n, true, 1000000, 1000000)
            << "#1y3\\r, #1s2147483647\\r, #1A\\r#1I\\r#1C\\r(r)";
        QTest::newRow("NT halt") << motionCommands::halt(n) << "#1S\\r(q), #1I\\r(q), #1C\\r(q)";
        QTest::newRow("NT calibrate") << motionCommands::calibrate(n) << "#1y4\\r, #1A\\r";
        QTest::newRow("NT read position") << motionCommands::readPosition(n) << "#1E\\r, #1I\\r, #1C\\r, #1$\\r";
        QTest::newRow("NT force") << motionCommands::forcePosition(n, 12000) << "#1D-12000\\r";
        QTest::newRow("NT force negative") << motionCommands::forcePosition(n, -5) << "#1D5\\r";
        QTest::newRow("NT clear error") << motionCommands::clearError(n) << "#1D\\r";
        QTest::newRow("NT arrival query") << motionCommands::positionQuery(n) << "#1I\\r";
        QTest::newRow("output 1 mode") << controllerCommandList{motionCommands::output1Mode(2)}
                                       << "#1:port_out_a2\\r";
        QTest::newRow("Remote plus") << motionCommands::plus(r) << "";
        QTest::newRow("Remote press") << motionCommands::continuousPress(r, true, 5, 1) << "";
        QTest::newRow("Remote halt") << motionCommands::halt(r) << "";
        QTest::newRow("Remote calibrate") << motionCommands::calibrate(r) << "";
        QTest::newRow("Remote read") << motionCommands::readPosition(r) << "";
    }
    void commandTexts()
    {
        QFETCH(controllerCommandList, actual);
        QFETCH(QString, expected);
        QCOMPARE(describe(actual), expected);
    }

    void continuousTexts()
    {
        QCOMPARE(motionCommands::continuousTexts(berger, true),
                 (QList<QByteArray>{"p\rs\r", "p\rp\rp\rp\rs\r"}));
        QCOMPARE(motionCommands::continuousTexts(berger, false),
                 (QList<QByteArray>{"m\rs\r", "m\rm\rm\rm\rs\r"}));
        QCOMPARE(motionCommands::continuousTexts(nanotec, true), (QList<QByteArray>{"#1A\r#1I\r#1C\r"}));
        QCOMPARE(motionCommands::continuousTexts(nanotec, false), (QList<QByteArray>{"#1A\r#1I\r#1C\r"}));
    }

    void bergerLahrReplies_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("limitReached");
        QTest::addColumn<bool>("limitClear");
        QTest::addColumn<int>("position");
        QTest::newRow("RP half") << QByteArray("RP20000") << false << true << 20000;
        QTest::newRow("IP closed") << QByteArray("IP0") << true << false << 0;
        QTest::newRow("IP joined from a split read") << QByteArray("IP12345") << true << false << 12345;
        QTest::newRow("text after the last P") << QByteArray("xPIP40000") << true << false << 40000;
        QTest::newRow("no number counts as 0") << QByteArray("RPabc") << false << true << 0;
        QTest::newRow("empty number") << QByteArray("RP") << false << true << 0;
        QTest::newRow("both marks") << QByteArray("IPRP7") << true << true << 7;
        QTest::newRow("echo is no status") << QByteArray("g40000") << false << false << 0;
        QTest::newRow("empty line") << QByteArray("") << false << false << 0;
        QTest::newRow("overlong number") << QByteArray("RP99999999999999") << false << true << 0;
    }
    void bergerLahrReplies()
    {
        QFETCH(QByteArray, line);
        const bergerLahrReply r = bergerLahrReply::parse(line);
        QTEST(r.bLimitReached, "limitReached");
        QTEST(r.bLimitClear, "limitClear");
        QTEST(r.nPosition, "position");
    }

    void nanoTecReplies_data()
    {
        QTest::addColumn<QByteArray>("line");
        // Each column: -2 absent; for positions the valve steps, -999 unknown.
        QTest::addColumn<int>("encoder");
        QTest::addColumn<int>("stepCounter");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<int>("errorIndex");
        QTest::addColumn<int>("inputWord");
        QTest::newRow("encoder minus is above closed") << QByteArray("1I-5000") << 5000 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("encoder plus is below closed") << QByteArray("1I+5000") << -5000 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("encoder unknown") << QByteArray("1I+?") << -999 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("encoder without value") << QByteArray("1I") << 0 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("step counter") << QByteArray("1C-512000") << -2 << 512000 << -2 << -2 << -2 << -2;
        QTest::newRow("status 17") << QByteArray("1$17") << -2 << -2 << 17 << -2 << -2 << -2;
        QTest::newRow("status no number") << QByteArray("1$x") << -2 << -2 << 0 << -2 << -2 << -2;
        QTest::newRow("error index") << QByteArray("1E+3") << -2 << -2 << -2 << -2 << 3 << -2;
        QTest::newRow("error number") << QByteArray("1Z3E+18") << -2 << -2 << -2 << 18 << -2 << -2;
        QTest::newRow("input word") << QByteArray("1ZY+65568") << -2 << -2 << -2 << -2 << -2 << 65568;
        QTest::newRow("echo of a motion command") << QByteArray("1A") << -2 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("echo of a distance") << QByteArray("1s-512000") << -2 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("single character") << QByteArray("1") << -2 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("empty line") << QByteArray("") << -2 << -2 << -2 << -2 << -2 << -2;
        QTest::newRow("junk may match several") << QByteArray("xI+5$9E+2Y+1") << 0 << -2 << 0 << -2 << 0 << 1;
    }
    void nanoTecReplies()
    {
        QFETCH(QByteArray, line);
        const nanoTecReply r = nanoTecReply::parse(line);
        auto pos = [](const nanoTecReply::position &p) {
            if (!p.bPresent)
                return -2;
            return p.bUnknown ? -999 : p.valveSteps();
        };
        QTEST(pos(r.encoder), "encoder");
        QTEST(pos(r.stepCounter), "stepCounter");
        QTEST(r.bStatus ? r.nStatus : -2, "status");
        QTEST(r.bErrorNumber ? r.nErrorNumber : -2, "errorNumber");
        QTEST(r.bErrorIndex ? r.nErrorIndex : -2, "errorIndex");
        QTEST(r.bInputWord ? r.nInputWord : -2, "inputWord");
    }

    void statusText_data()
    {
        QTest::addColumn<int>("stat");
        QTest::addColumn<int>("nanoError");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const int R = STAT_POS_REACHED;
        QTest::newRow("OK only") << (STAT_OK | R) << 0 << "" << "OK";
        QTest::newRow("first IP status") << (STAT_OK | R | STAT_WAITING_FOR_CMD | STAT_LIMIT_SWITCH) << 0 << ""
                                         << "OK\nWaiting for Command\nLimit Switch (LS) Reached";
        QTest::newRow("port not open") << (STAT_PORT_NOT_OPEN | R) << 0 << "" << "Motor Port Not Open";
        QTest::newRow("reconnect") << (STAT_OK | R | STAT_RECONNECT | STAT_WAITING_FOR_CMD) << 0 << ""
                                   << "OK\nReconnect:1\nWaiting for Command";
        QTest::newRow("positioning after OK and the status line")
            << (STAT_OK | STAT_WAITING_FOR_CMD) << 0 << "Measuring..."
            << "OK\nMeasuring...\nPositioning to 500000\nWaiting for Command";
        QTest::newRow("status line first when not OK") << (R | STAT_PORT_NOT_OPEN) << 0 << "Measuring..."
                                                       << "Measuring...\nMotor Port Not Open";
        QTest::newRow("every bit in order") << 0x1fff << 0x76 << "X"
                                            << "OK\nX\nPositioning to 500000\nMotor Port Not Open\nReconnect:1\n"
                                               "Incorrect Answer\nPos Error\nWaiting for Command\nBusy\n"
                                               "Limit Switch (LS) Reached\nRemote Port Not Open\n"
                                               "Continous Command not found\nTeachIn Data not found\n"
                                               "Must Calibrate Settings Pos: 300000 <--> Motor Pos: 400000\n"
                                               "Position out of boundaries\nTemperature\nHigh Current TMC\n"
                                               "Error Position\nInternal Error\nDriver Error";
        QTest::newRow("error word 0x12") << (STAT_OK | R) << 0x12 << "" << "OK\nTemperature\nError Position";
        QTest::newRow("error bits without text") << (STAT_OK | R) << 0x81 << "" << "OK";
        QTest::newRow("nothing to say") << R << 0 << "" << "";
    }
    void statusText()
    {
        QFETCH(int, stat);
        QFETCH(int, nanoError);
        QFETCH(QString, line);
        motorStatusValues v;
        v.nMotStat = stat;
        v.nNanoTecError = nanoError;
        v.strStatusLine = line;
        v.nTargetPpm = 500000;
        v.nReconnectCount = 1;
        v.nSettingsPosition = 300000;
        v.nPositionPpm = 400000;
        QTEST(renderMotorStatusText(v), "expected");
    }
};

QTEST_APPLESS_MAIN(tst_driveProtocol)
#include "tst_driveProtocol.moc"
