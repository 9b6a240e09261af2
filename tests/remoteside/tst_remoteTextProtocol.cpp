#include "valve/analogRemoteMapping.h"
#include "valve/positionUnits.h"
#include "remote/remoteTextProtocol.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(remoteTextCommand::kind)

class tst_remoteTextProtocol : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void statusReply_data();
    void statusReply();
    void splitLines_data();
    void splitLines();
    void splitKeepsTailAcrossChunks();
    void splitBoundsOverlongLine();
    void analogMapping_data();
    void analogMapping();
    void modbusCounts_data();
    void modbusCounts();
};

void tst_remoteTextProtocol::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<remoteTextCommand::kind>("kind");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("ppm");
    QTest::addColumn<QByteArray>("reply");

    using C = remoteTextCommand;
    QTest::newRow("S") << QByteArray("S\r") << C::CMD_STATUS << true << 0 << QByteArray();
    QTest::newRow("s lower case") << QByteArray("s\r") << C::CMD_STATUS << true << 0 << QByteArray();
    QTest::newRow("G20000 half open") << QByteArray("G20000\r") << C::CMD_GOTO << true << 500000
                                      << QByteArray("G20000\r");
    QTest::newRow("g lower case echoed upper") << QByteArray("g40000\r") << C::CMD_GOTO << true << 1000000
                                               << QByteArray("G40000\r");
    QTest::newRow("G0") << QByteArray("G0\r") << C::CMD_GOTO << true << 0 << QByteArray("G0\r");
    QTest::newRow("G1 one step") << QByteArray("G1\r") << C::CMD_GOTO << true << 25 << QByteArray("G1\r");
    QTest::newRow("G letters") << QByteArray("Gabc\r") << C::CMD_GOTO << false << 0 << QByteArray("GABC\r");
    QTest::newRow("G empty") << QByteArray("G\r") << C::CMD_GOTO << false << 0 << QByteArray("G\r");
    QTest::newRow("G negative, out of travel") << QByteArray("G-4\r") << C::CMD_GOTO << true << -100
                                               << QByteArray("G-4\r");
    QTest::newRow("G beyond int range of ppm stays beyond")
        << QByteArray("G2000000000\r") << C::CMD_GOTO << true << std::numeric_limits<int>::max()
        << QByteArray("G2000000000\r");
    QTest::newRow("P") << QByteArray("P\r") << C::CMD_PLUS << true << 25 << QByteArray("P\r");
    QTest::newRow("M") << QByteArray("m\r") << C::CMD_MINUS << true << -25 << QByteArray("M\r");
    QTest::newRow("H") << QByteArray("H\r") << C::CMD_HALT << true << 0 << QByteArray("H\r");
    QTest::newRow("N") << QByteArray("n\r") << C::CMD_CALIBRATE << true << 0 << QByteArray("N\r");
    QTest::newRow("I") << QByteArray("I\r") << C::CMD_INFO << true << 0
                       << QByteArray("varnix 2.7.2 Remote Parser\r");
    QTest::newRow("X") << QByteArray("x\r") << C::CMD_INFO << true << 0
                       << QByteArray("Resolution: 40k. All Commands must send enter\r");
    QTest::newRow("T") << QByteArray("T\r") << C::CMD_INFO << true << 0 << QByteArray("Timer: 5s\r");
    QTest::newRow("unknown letter echoed upper") << QByteArray("zq\r") << C::CMD_UNKNOWN << true << 0
                                                 << QByteArray("ZQ\r");
    QTest::newRow("CR LF line echoed whole") << QByteArray("g200\r\n") << C::CMD_GOTO << true << 5000
                                             << QByteArray("G200\r\n");
    QTest::newRow("bare return echoed") << QByteArray("\r") << C::CMD_UNKNOWN << true << 0 << QByteArray("\r");
}

void tst_remoteTextProtocol::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(remoteTextCommand::kind, kind);
    QFETCH(bool, valid);
    QFETCH(int, ppm);
    QFETCH(QByteArray, reply);
    const remoteTextCommand cmd = parseRemoteTextLine(line);
    QCOMPARE(cmd.eKind, kind);
    QCOMPARE(cmd.bValid, valid);
    if (valid)
        QCOMPARE(cmd.nPpm, ppm);
    QCOMPARE(cmd.reply, reply);
}

void tst_remoteTextProtocol::statusReply_data()
{
    QTest::addColumn<bool>("limit");
    QTest::addColumn<qint64>("steps");
    QTest::addColumn<qint64>("maxSteps");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("BergerLahr at 20000") << false << qint64(20000) << qint64(40000) << QByteArray("RP20000");
    QTest::newRow("BergerLahr limit switch") << true << qint64(20000) << qint64(40000) << QByteArray("IP20000");
    QTest::newRow("NanoTec at 512000") << false << qint64(512000) << qint64(1024000) << QByteArray("RP20000");
    QTest::newRow("NanoTec fully open") << false << qint64(1024000) << qint64(1024000) << QByteArray("RP40000");
    QTest::newRow("NanoTec truncated") << false << qint64(1023) << qint64(1024000) << QByteArray("RP39");
    QTest::newRow("position not read yet") << false << qint64(-1) << qint64(40000) << QByteArray("RP-1");
}

void tst_remoteTextProtocol::statusReply()
{
    QFETCH(bool, limit);
    QFETCH(qint64, steps);
    QFETCH(qint64, maxSteps);
    QFETCH(QByteArray, reply);
    QCOMPARE(remoteStatusReply(limit, positionUnits::stepsToRemote(steps, int(maxSteps))), reply);
}

void tst_remoteTextProtocol::splitLines_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("rest");

    using L = QList<QByteArray>;
    QTest::newRow("one command") << QByteArray("S\r") << L{"S\r"} << QByteArray();
    QTest::newRow("all commands of a chunk in order")
        << QByteArray("S\rG100\rP\r") << L{"S\r", "G100\r", "P\r"} << QByteArray();
    QTest::newRow("incomplete tail kept") << QByteArray("S\rG10") << L{"S\r"} << QByteArray("G10");
    QTest::newRow("nothing complete") << QByteArray("G10") << L{} << QByteArray("G10");
    QTest::newRow("CR LF from a PC") << QByteArray("S\r\nP\r\n") << L{"S\r\n", "P\r\n"} << QByteArray();
    QTest::newRow("line feed goes with its line") << QByteArray("S\r\nG1") << L{"S\r\n"} << QByteArray("G1");
    QTest::newRow("stray line feeds ignored") << QByteArray("\n\nS\r\n\nP\r") << L{"S\r\n", "P\r"}
                                              << QByteArray();
    QTest::newRow("empty line") << QByteArray("\r") << L{"\r"} << QByteArray();
    QTest::newRow("line feed inside a line stays") << QByteArray("G1\n2\r") << L{"G1\n2\r"} << QByteArray();
}

void tst_remoteTextProtocol::splitLines()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, rest);
    QByteArray buffer = chunk;
    remoteLineState state;
    const remoteLineSplit split = splitRemoteLines(buffer, state);
    QCOMPARE(split.lines, lines);
    QCOMPARE(split.nDroppedLines, 0);
    QCOMPARE(buffer, rest);
    QVERIFY(!state.bDiscarding);
}

void tst_remoteTextProtocol::splitKeepsTailAcrossChunks()
{
    // The same byte stream cut at every possible place yields the same
    // commands, and the lines (with a line feed that came late as a line of
    // its own) add up to the stream: a PC gets the same echo however its
    // bytes were cut.
    const QByteArray stream("s\r\nG20000\r\nP\rI\r\n");
    const QList<QByteArray> expected{"s\r", "G20000\r", "P\r", "I\r"};
    for (int cut = 0; cut <= stream.size(); ++cut) {
        QByteArray buffer;
        remoteLineState state;
        QList<QByteArray> got;
        buffer += stream.left(cut);
        got += splitRemoteLines(buffer, state).lines;
        buffer += stream.mid(cut);
        got += splitRemoteLines(buffer, state).lines;
        QCOMPARE(got.join(), stream);
        QList<QByteArray> commands;
        for (QByteArray line : qAsConst(got)) {
            if (line == "\n")
                continue;
            if (line.endsWith('\n'))
                line.chop(1);
            commands << line;
        }
        QCOMPARE(commands, expected);
        QVERIFY(buffer.isEmpty());
    }

    // A line feed that comes late belongs to the line before only when
    // nothing else came between them.
    QByteArray buffer("S\r");
    remoteLineState state;
    QCOMPARE(splitRemoteLines(buffer, state).lines, QList<QByteArray>{"S\r"});
    buffer = "\n\n";
    QCOMPARE(splitRemoteLines(buffer, state).lines, QList<QByteArray>{"\n"});
    buffer = "\n";
    QCOMPARE(splitRemoteLines(buffer, state).lines, QList<QByteArray>{});
}

void tst_remoteTextProtocol::splitBoundsOverlongLine()
{
    remoteLineState state;
    QByteArray buffer;

    // A line at the limit ("\r" included) is still a command.
    buffer = QByteArray(255, 'G') + '\r';
    remoteLineSplit split = splitRemoteLines(buffer, state);
    QCOMPARE(split.lines.size(), 1);
    QCOMPARE(split.nDroppedLines, 0);

    // One byte more in a single chunk: dropped, the following command survives.
    buffer = QByteArray(256, 'G') + "\rS\r";
    split = splitRemoteLines(buffer, state);
    QCOMPARE(split.lines, QList<QByteArray>{"S\r"});
    QCOMPARE(split.nDroppedLines, 1);

    // A stream without "\r" never grows the buffer beyond the limit, and the
    // rest of that line is discarded when it finally ends.
    for (int i = 0; i < 100; ++i) {
        buffer += QByteArray(100, 'x');
        split = splitRemoteLines(buffer, state);
        QVERIFY(split.lines.isEmpty());
        QVERIFY(buffer.size() <= REMOTE_TEXT_MAX_LINE);
        QCOMPARE(split.nDroppedLines, i == 2 ? 1 : 0);   // counted once, when it overflows
    }
    QVERIFY(state.bDiscarding);
    buffer += "yyy\rT\r";
    split = splitRemoteLines(buffer, state);
    QCOMPARE(split.lines, QList<QByteArray>{"T\r"});
    QCOMPARE(split.nDroppedLines, 0);
    QVERIFY(!state.bDiscarding);
    QVERIFY(buffer.isEmpty());
}

void tst_remoteTextProtocol::analogMapping_data()
{
    QTest::addColumn<double>("volts");
    QTest::addColumn<double>("lowerMv");
    QTest::addColumn<double>("upperMv");
    QTest::addColumn<int>("lowerPos");
    QTest::addColumn<int>("upperPos");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("onBoundary");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("below lower: lower position") << 0.5 << 1000.0 << 9000.0 << 0 << 1000000 << 0 << false;
    QTest::newRow("above upper: upper position") << 9.5 << 1000.0 << 9000.0 << 0 << 1000000 << 1000000 << false;
    QTest::newRow("middle") << 5.0 << 1000.0 << 9000.0 << 0 << 1000000 << 500000 << false;
    QTest::newRow("truncated") << 1.000001 << 1000.0 << 9000.0 << 0 << 1000000 << 0 << false;
    QTest::newRow("quarter") << 3.0 << 1000.0 << 9000.0 << 0 << 1000000 << 250000 << false;
    QTest::newRow("full scale 0..10 V") << 2.5 << 0.0 << 10000.0 << 0 << 1000000 << 250000 << false;
    QTest::newRow("falling mapping") << 5.0 << 1000.0 << 9000.0 << 800000 << 200000 << 500000 << false;
    QTest::newRow("exactly on lower") << 1.0 << 1000.0 << 9000.0 << 100 << 900000 << 100 << true;
    QTest::newRow("exactly on upper") << 9.0 << 1000.0 << 9000.0 << 100 << 900000 << 900000 << true;
    QTest::newRow("equal boundaries, below") << 1.0 << 5000.0 << 5000.0 << 10 << 20 << 10 << false;
    QTest::newRow("equal boundaries, on it") << 5.0 << 5000.0 << 5000.0 << 10 << 20 << 10 << true;
    QTest::newRow("equal boundaries, above") << 6.0 << 5000.0 << 5000.0 << 10 << 20 << 20 << false;
    QTest::newRow("not a number: no position") << nan << 1000.0 << 9000.0 << 0 << 1000000 << -1 << false;
}

void tst_remoteTextProtocol::analogMapping()
{
    QFETCH(double, volts);
    QFETCH(double, lowerMv);
    QFETCH(double, upperMv);
    QFETCH(int, lowerPos);
    QFETCH(int, upperPos);
    QFETCH(int, position);
    QFETCH(bool, onBoundary);
    analogRemoteBoundaries b;
    b.dblLowerMv = lowerMv;
    b.dblUpperMv = upperMv;
    b.nLowerPos = lowerPos;
    b.nUpperPos = upperPos;
    const analogRemoteTarget t = analogRemotePosition(volts, b);
    QCOMPARE(t.nPosition, position);
    QCOMPARE(t.bOnBoundary, onBoundary);
}

void tst_remoteTextProtocol::modbusCounts_data()
{
    QTest::addColumn<double>("volts");
    QTest::addColumn<int>("counts");
    QTest::newRow("2.5 V") << 2.5 << 2557;
    QTest::newRow("0 V") << 0.0 << 0;
    QTest::newRow("10 V") << 10.0 << 10230;
    QTest::newRow("1023 counts of the card") << 1023 * 10.0 / 1023 << 10230;
    QTest::newRow("beyond one register") << 100.0 << 65535;
    QTest::newRow("negative") << -1.0 << 0;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void tst_remoteTextProtocol::modbusCounts()
{
    QFETCH(double, volts);
    QFETCH(int, counts);
    QCOMPARE(analogVoltsToModbusCounts(volts), counts);
}

QTEST_GUILESS_MAIN(tst_remoteTextProtocol)
#include "tst_remoteTextProtocol.moc"
