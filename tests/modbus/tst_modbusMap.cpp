#include "remote/modbusRegisterMap.h"
#include "remote/modbusTcpEndpoint.h"
#include "remote/modbusWriteDecoder.h"
#include "remote/modbusWriteRequest.h"

#include <QtTest>

Q_DECLARE_METATYPE(modbusCoilAction::kind)

// The register map and the tables that turn a master's write into an action
// and a pane text, without a port or a server.
class tst_modbusMap : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        const QModbusDataUnitMap map = modbusMap::registerMap();
        QCOMPARE(map.size(), 3);
        QVERIFY(!map.contains(QModbusDataUnit::InputRegisters));
        const QModbusDataUnit coils = map.value(QModbusDataUnit::Coils);
        const QModbusDataUnit inputs = map.value(QModbusDataUnit::DiscreteInputs);
        const QModbusDataUnit holding = map.value(QModbusDataUnit::HoldingRegisters);
        QCOMPARE(coils.startAddress(), 0);
        QCOMPARE(int(coils.valueCount()), 8);
        QCOMPARE(inputs.startAddress(), 0);
        QCOMPARE(int(inputs.valueCount()), 2);
        QCOMPARE(holding.startAddress(), 0);
        QCOMPARE(int(holding.valueCount()), 7);
        for (const QModbusDataUnit &unit : {coils, inputs, holding})
            QCOMPARE(unit.values(), QVector<quint16>(int(unit.valueCount()), 0));
    }

    void publishedPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("closed") << 0 << 0 << 0;
        QTest::newRow("fully open") << 1000000 << 16960 << 15;
        QTest::newRow("half") << 500000 << 41248 << 7;
        QTest::newRow("no position yet") << -1 << 65535 << 255;
        QTest::newRow("low word full") << 65535 << 65535 << 0;
        QTest::newRow("carry into high") << 65536 << 0 << 1;
        QTest::newRow("only bits 16-23") << 0x01ABCDEF << 0xCDEF << 0xAB;
    }
    void publishedPosition()
    {
        QFETCH(int, position);
        QFETCH(int, low);
        QFETCH(int, high);
        const modbusMap::positionWords words = modbusMap::publishedPosition(position);
        QCOMPARE(int(words.nLow), low);
        QCOMPARE(int(words.nHigh), high);
    }

    void writtenPosition_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("position");
        QTest::newRow("fully open") << 16960 << 15 << 1000000;
        QTest::newRow("closed") << 0 << 0 << 0;
        QTest::newRow("carry") << 0 << 1 << 65536;
        QTest::newRow("all ones is -1") << 65535 << 65535 << -1;
        QTest::newRow("high bit negative") << 0 << 32768 << int(0x80000000u);
        QTest::newRow("full high word") << 0 << 255 << 255 * 65536;
    }
    void writtenPosition()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, position);
        QCOMPARE(int(modbusMap::writtenPosition(quint16(low), quint16(high))), position);
    }

    void publishedInput_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("10 V") << 10230 << 10230;
        QTest::newRow("0 V") << 0 << 0;
        QTest::newRow("cut to 16 bits") << 70000 << 4464;
        QTest::newRow("negative") << -1 << 65535;
    }
    void publishedInput()
    {
        QFETCH(int, value);
        QFETCH(int, expected);
        QCOMPARE(int(modbusMap::publishedInput(value)), expected);
    }

    void writeOfRequest_data()
    {
        QTest::addColumn<int>("functionCode");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QModbusDataUnit::RegisterType>("table");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("size");
        const auto coils = QModbusDataUnit::Coils;
        const auto holding = QModbusDataUnit::HoldingRegisters;
        const auto none = QModbusDataUnit::Invalid;
        QTest::newRow("single coil") << 0x05 << QByteArray::fromHex("0007ff00") << coils << 7 << 1;
        QTest::newRow("multiple coils") << 0x0F << QByteArray::fromHex("0000000801ff") << coils << 0 << 8;
        QTest::newRow("single register") << 0x06 << QByteArray::fromHex("000505dc") << holding << 5 << 1;
        QTest::newRow("multiple registers")
            << 0x10 << QByteArray::fromHex("00000002044240000f") << holding << 0 << 2;
        QTest::newRow("mask write") << 0x16 << QByteArray::fromHex("0006ffff0000") << holding << 6 << 1;
        QTest::newRow("read/write: write half")
            << 0x17 << QByteArray::fromHex("00020003000500020400010002") << holding << 5 << 2;
        QTest::newRow("read coils is no write") << 0x01 << QByteArray::fromHex("00000008") << none << -1 << 0;
        QTest::newRow("read registers is no write")
            << 0x03 << QByteArray::fromHex("00000007") << none << -1 << 0;
        QTest::newRow("truncated") << 0x10 << QByteArray::fromHex("0000") << none << -1 << 0;
    }
    void writeOfRequest()
    {
        QFETCH(int, functionCode);
        QFETCH(QByteArray, data);
        QFETCH(QModbusDataUnit::RegisterType, table);
        QFETCH(int, address);
        QFETCH(int, size);
        const modbusWriteRequest write =
            ::writeOfRequest(QModbusRequest(QModbusPdu::FunctionCode(functionCode), data));
        QCOMPARE(write.eTable, table);
        QCOMPARE(write.nAddress, address);
        QCOMPARE(write.nSize, size);
    }

    void coilWrite_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("loopCoilBefore");
        QTest::addColumn<bool>("loopActive");
        QTest::addColumn<modbusCoilAction::kind>("kind");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("message");
        using A = modbusCoilAction;
        const QString pre = QStringLiteral("Coils received: ");
        const char *const onTexts[] = {" coil 0 set to 1 --> Stop\n", " coil 1 set to 1 --> Plus slow\n",
                                       " coil 2 set to 1 --> Minus slow\n", " coil 3 set to 1 --> Plus normal\n",
                                       " coil 4 set to 1 --> Minus normal\n", " coil 5 set to 1 --> Plus fast\n",
                                       " coil 6 set to 1 --> Minus fast\n"};
        const A::kind kinds[] = {A::STOP, A::PLUS, A::MINUS, A::PLUS_CONT, A::MINUS_CONT, A::PLUS_CONT, A::MINUS_CONT};
        const int speeds[] = {0, 0, 0, 5, 5, 10, 10};
        for (int c = 0; c < 7; ++c) {
            QTest::addRow("coil %d = 1", c) << c << true << false << false << kinds[c] << speeds[c]
                                            << pre + QLatin1String(onTexts[c]);
            QTest::addRow("coil %d = 0", c) << c << false << false << false << A::NONE << 0
                                            << pre + QStringLiteral(" coil %1 set to 0 --> nothing\n").arg(c);
        }
        const QString start = pre + QStringLiteral(" start feedback loop\n");
        const QString stop = pre + QStringLiteral(" stop feedback loop\n");
        QTest::newRow("loop: 1 starts") << 7 << true << false << false << A::START_LOOP << 0 << start;
        QTest::newRow("loop: repeated 1 while running") << 7 << true << true << true << A::NONE << 0 << pre;
        QTest::newRow("loop: 1 over a stray 1") << 7 << true << true << false << A::START_LOOP << 0 << start;
        QTest::newRow("loop: 1 after a restart") << 7 << true << false << true << A::START_LOOP << 0 << start;
        QTest::newRow("loop: 0 stops") << 7 << false << true << true << A::STOP_LOOP << 0 << stop;
        QTest::newRow("loop: 0 clears a stray 1") << 7 << false << true << false << A::STOP_LOOP << 0 << stop;
        QTest::newRow("loop: repeated 0") << 7 << false << false << false << A::NONE << 0 << pre;
    }
    void coilWrite()
    {
        QFETCH(int, address);
        QFETCH(bool, on);
        QFETCH(bool, loopCoilBefore);
        QFETCH(bool, loopActive);
        QFETCH(modbusCoilAction::kind, kind);
        QFETCH(int, speed);
        QFETCH(QString, message);
        const modbusCoilAction action = decodeCoilWrite(address, on, loopCoilBefore, loopActive);
        QCOMPARE(action.eKind, kind);
        QCOMPARE(action.nSpeed, speed);
        QCOMPARE(action.strMessage, message);
    }

    void holdingWrite_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("size");
        QTest::addColumn<QVector<quint16>>("regs");
        QTest::addColumn<bool>("moves");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("feedback1");   // -1: not taken
        QTest::addColumn<int>("feedback2");
        QTest::addColumn<QString>("message");
        const QString pre = QStringLiteral("Holding Register received: ");
        const QVector<quint16> open{16960, 15, 0, 0, 0, 0, 0};
        const QVector<quint16> minusOne{65535, 65535, 0, 0, 0, 0, 0};
        const QVector<quint16> feedback{0, 0, 0, 0, 0, 1500, 2500};
        QTest::newRow("position 1000000")
            << 0 << 2 << open << true << 1000000
            << "holdReg written low=16960 igh=15 pos= 1000000\n" << -1 << -1
            << pre + " register 0 set to 16960 and 1 set to 15 --> Positon set to 1000000\n";
        QTest::newRow("position -1")
            << 0 << 2 << minusOne << true << -1
            << "holdReg written low=65535 igh=65535 pos= -1\n" << -1 << -1
            << pre + " register 0 set to 65535 and 1 set to 65535 --> Positon set to -1\n";
        QTest::newRow("HR0 alone") << 0 << 1 << open << false << 0 << "" << -1 << -1
                                   << pre + " wrong adderess: 0\n";
        QTest::newRow("HR1 alone") << 1 << 1 << open << false << 0 << "" << -1 << -1
                                   << pre + " wrong adderess: 1\n";
        QTest::newRow("three from 0") << 0 << 3 << open << false << 0 << "" << -1 << -1
                                      << pre + " wrong adderess: 0\n";
        QTest::newRow("input register") << 3 << 1 << open << false << 0 << "" << -1 << -1
                                        << pre + " wrong adderess: 3\n";
        QTest::newRow("HR5") << 5 << 1 << feedback << false << 0 << "" << 1500 << -1
                             << pre + " register 5 set to 1500 --> Feedback Val1 set to 1500\n";
        QTest::newRow("HR6") << 6 << 1 << feedback << false << 0 << "" << -1 << 2500
                             << pre + " register 6 set to 2500 --> Feedback Val2 set to 2500\n";
        QTest::newRow("HR5 and HR6")
            << 5 << 2 << feedback << false << 0 << "" << 1500 << 2500
            << pre + " register 5 set to 1500 --> Feedback Val1 set to 1500\n"
                   + " register 6 set to 2500 --> Feedback Val2 set to 2500\n";
        QTest::newRow("HR4 and HR5 is no feedback write")
            << 4 << 2 << feedback << false << 0 << "" << -1 << -1 << pre + " wrong adderess: 4\n";
        QTest::newRow("unsigned print")
            << 5 << 1 << QVector<quint16>{0, 0, 0, 0, 0, 65535, 0} << false << 0 << "" << 65535 << -1
            << pre + " register 5 set to 65535 --> Feedback Val1 set to 65535\n";
    }
    void holdingWrite()
    {
        QFETCH(int, address);
        QFETCH(int, size);
        QFETCH(QVector<quint16>, regs);
        QFETCH(bool, moves);
        QFETCH(int, position);
        QFETCH(QString, log);
        QFETCH(int, feedback1);
        QFETCH(int, feedback2);
        QFETCH(QString, message);
        const modbusHoldingAction action = decodeHoldingWrite(address, size, regs);
        QCOMPARE(action.bPosition, moves);
        if (moves)
            QCOMPARE(int(action.nPosition), position);
        QCOMPARE(action.strLog, log);
        QCOMPARE(action.bFeedback1, feedback1 >= 0);
        if (feedback1 >= 0)
            QCOMPARE(action.nFeedback1, feedback1);
        QCOMPARE(action.bFeedback2, feedback2 >= 0);
        if (feedback2 >= 0)
            QCOMPARE(action.nFeedback2, feedback2);
        QCOMPARE(action.bWrongAddress, !moves && feedback1 < 0 && feedback2 < 0);
        QCOMPARE(action.strMessage, message);
    }

    void tcpEndpoint_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("serverAddress");
        QTest::addColumn<QString>("error");
        const QString notIp = QStringLiteral("Modbus TCP not started: \"%1\" is not an IP address\n");
        const QString badPort = QStringLiteral("Modbus TCP not started: port %1 is not in 1..65535\n");
        QTest::newRow("IPv4") << "127.0.0.1" << 502 << true << "127.0.0.1" << "";
        QTest::newRow("blanks around") << " 192.168.1.20 " << 502 << true << "192.168.1.20" << "";
        QTest::newRow("explicit any") << "0.0.0.0" << 1502 << true << "0.0.0.0" << "";
        QTest::newRow("IPv6 gets brackets") << "::1" << 1502 << true << "[::1]" << "";
        QTest::newRow("IPv6 in brackets") << "[::1]" << 1502 << true << "[::1]" << "";
        QTest::newRow("lowest port") << "127.0.0.1" << 1 << true << "127.0.0.1" << "";
        QTest::newRow("highest port") << "127.0.0.1" << 65535 << true << "127.0.0.1" << "";
        QTest::newRow("host name") << "localhost" << 502 << false << "" << notIp.arg("localhost");
        QTest::newRow("serial port name") << "ttyAMA0" << 0 << false << "" << notIp.arg("ttyAMA0");
        QTest::newRow("empty") << "" << 502 << false << "" << notIp.arg("");
        QTest::newRow("address with port") << "127.0.0.1:502" << 502 << false << ""
                                           << notIp.arg("127.0.0.1:502");
        QTest::newRow("port 0") << "127.0.0.1" << 0 << false << "" << badPort.arg(0);
        QTest::newRow("port too big") << "127.0.0.1" << 65536 << false << "" << badPort.arg(65536);
        QTest::newRow("negative port") << "127.0.0.1" << -1 << false << "" << badPort.arg(-1);
    }
    void tcpEndpoint()
    {
        QFETCH(QString, address);
        QFETCH(int, port);
        QFETCH(bool, valid);
        QFETCH(QString, serverAddress);
        QFETCH(QString, error);
        const modbusTcpEndpoint endpoint = checkModbusTcpEndpoint(address, port);
        QCOMPARE(endpoint.bValid, valid);
        QCOMPARE(endpoint.strServerAddress, serverAddress);
        QCOMPARE(endpoint.strError, error);
        if (valid)
            QCOMPARE(endpoint.nPort, port);
    }
};

QTEST_GUILESS_MAIN(tst_modbusMap)
#include "tst_modbusMap.moc"
