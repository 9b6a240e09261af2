// The connect-button decision without widgets: refusals and what a refused
// press leaves behind. The signal sequences themselves are checked on the real
// tab (tst_formRemoteTab).
#include "remote/remoteLinkPlan.h"
#include "remote/remotePaneText.h"

#include <QtTest>

namespace {

// "usb:2", "term", "analog:1", "eth:0", joined by "+"; "" is nothing connected.
remoteLinkState stateFrom(const QString &strState)
{
    remoteLinkState s;
    for (const QString &strPart : strState.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        const QStringList parts = strPart.split(QLatin1Char(':'));
        const int nArg = parts.size() > 1 ? parts.at(1).toInt() : 0;
        if (parts.at(0) == QLatin1String("usb")) {
            s.bUsbConnected = true;
            s.nUsbLinkMode = nArg;
        } else if (parts.at(0) == QLatin1String("term")) {
            s.bUsbConnected = true;
            s.nUsbLinkMode = REMOTE_LINK_TERMINAL;
        } else if (parts.at(0) == QLatin1String("analog")) {
            s.bAnalogConnected = true;
            s.nAnalogLinkInput = nArg;
        } else if (parts.at(0) == QLatin1String("eth")) {
            s.bEthernetConnected = true;
            s.nEthLinkMode = nArg;
        }
    }
    return s;
}

QString stepsText(const remotePlan &plan)
{
    QStringList list;
    for (const remoteStep &s : plan.steps)
        list << remoteStepText(s);
    return list.join(QLatin1Char(' '));
}

} // namespace

class tst_remoteLinkPlan : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void disconnectReleasesModbusJoin_data();
    void disconnectReleasesModbusJoin();
    void portText_data();
    void portText();
    void paneText_data();
    void paneText();
};

void tst_remoteLinkPlan::refusals_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("usbMode");
    QTest::addColumn<int>("ethMode");
    QTest::addColumn<int>("inputType");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<int>("blocking");

    const int nOther = int(remoteRefusal::OtherSourceConnected);
    // One remote mode in the drive: every connect while another source holds it.
    QTest::newRow("usb while analog") << "analog:0" << 0 << 0 << 0 << 0 << "" << "" << nOther << 1;
    QTest::newRow("usb while ethernet") << "eth:1" << 0 << 2 << 0 << 0 << "" << "" << nOther << 2;
    QTest::newRow("analog while usb") << "usb:1" << 1 << 0 << 0 << 0 << "" << "" << nOther << 0;
    QTest::newRow("analog while terminal") << "term" << 1 << 0 << 0 << 0 << "" << "" << nOther << 3;
    QTest::newRow("ethernet while usb modbus") << "usb:2" << 2 << 0 << 2 << 0 << "127.0.0.1" << "502" << nOther << 0;
    QTest::newRow("ethernet while analog") << "analog:2" << 2 << 0 << 0 << 0 << "127.0.0.1" << "5000" << nOther << 1;
    QTest::newRow("terminal while ethernet") << "eth:0" << 3 << 0 << 0 << 0 << "" << "" << nOther << 2;

    // Inputs that would make the drive do something other than the tab says.
    const int nMode = int(remoteRefusal::BadMode);
    QTest::newRow("usb without mode") << "" << 0 << -1 << 0 << 0 << "" << "" << nMode << -1;
    QTest::newRow("usb stale terminal mode") << "" << 0 << 3 << 0 << 0 << "" << "" << nMode << -1;
    QTest::newRow("ethernet without mode") << "" << 2 << 0 << -1 << 0 << "127.0.0.1" << "5000" << nMode << -1;
    const int nAddr = int(remoteRefusal::BadAddress);
    QTest::newRow("empty address") << "" << 2 << 1 << 0 << 0 << "" << "5000" << nAddr << -1;
    QTest::newRow("host name") << "" << 2 << 1 << 0 << 0 << "panel.local" << "5000" << nAddr << -1;
    QTest::newRow("address with blanks") << "" << 2 << 1 << 0 << 0 << "1 27.0.0.1" << "5000" << nAddr << -1;
    QTest::newRow("address out of range") << "" << 2 << 2 << 0 << 0 << "192.168.0.300" << "502" << nAddr << -1;
    const int nPort = int(remoteRefusal::BadPort);
    QTest::newRow("empty port") << "" << 2 << 0 << 0 << 0 << "127.0.0.1" << "" << nPort << -1;
    QTest::newRow("port 0") << "" << 2 << 0 << 0 << 0 << "127.0.0.1" << "0" << nPort << -1;
    QTest::newRow("port too big") << "" << 2 << 2 << 0 << 0 << "127.0.0.1" << "65536" << nPort << -1;
    QTest::newRow("port text") << "" << 2 << 2 << 0 << 0 << "127.0.0.1" << "50a" << nPort << -1;
    const int nFeedback = int(remoteRefusal::FeedbackInput);
    QTest::newRow("analog feedback 1") << "" << 1 << 0 << 0 << 1 << "" << "" << nFeedback << -1;
    QTest::newRow("analog feedback 2") << "" << 1 << 0 << 0 << 2 << "" << "" << nFeedback << -1;
    QTest::newRow("source out of range") << "" << 4 << 0 << 0 << 0 << "" << "" << int(remoteRefusal::BadSource) << -1;

    // Accepted for comparison: the press goes through.
    QTest::newRow("analog remote input") << "" << 1 << 0 << 0 << 0 << "" << "" << int(remoteRefusal::None) << -1;
    QTest::newRow("ethernet ipv6 literal") << "" << 2 << 0 << 0 << 0 << "::1" << "65535" << int(remoteRefusal::None) << -1;
}

void tst_remoteLinkPlan::refusals()
{
    QFETCH(QString, state);
    QFETCH(int, source);
    QFETCH(int, usbMode);
    QFETCH(int, ethMode);
    QFETCH(int, inputType);
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(int, refusal);
    QFETCH(int, blocking);

    remoteRequest request;
    request.nSource = source;
    request.nUsbMode = usbMode;
    request.nEthMode = ethMode;
    request.nAnalogInput = 1;
    request.nAnalogInputType = inputType;
    request.strAddress = address;
    request.strPort = port;
    const remoteLinkState before = stateFrom(state);
    const remotePlan plan = planRemoteClick(before, request);

    QCOMPARE(int(plan.refusal), refusal);
    if (refusal != int(remoteRefusal::None)) {
        QVERIFY2(plan.steps.isEmpty(), qPrintable(stepsText(plan)));
        QVERIFY(plan.after == before);
        QCOMPARE(plan.nBlockingSource, blocking);
    } else {
        QVERIFY(!plan.steps.isEmpty());
    }
}

void tst_remoteLinkPlan::disconnectReleasesModbusJoin_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("usbMode");
    QTest::addColumn<int>("ethMode");
    QTest::addColumn<QString>("steps");

    // The mode combo may change while connected; the join made for a Modbus
    // link is released whatever it shows now.
    QTest::newRow("usb modbus, combo now direct") << "usb:2" << 0 << 0 << 0 << "disconnectRemoteModbus() disconnectRemoteUSB()";
    QTest::newRow("usb direct, combo now modbus") << "usb:0" << 0 << 2 << 0 << "disconnectRemoteModbus() disconnectRemoteUSB()";
    QTest::newRow("usb parser") << "usb:1" << 0 << 1 << 0 << "disconnectRemoteUSB()";
    QTest::newRow("usb modbus from terminal page") << "usb:2" << 3 << 2 << 0 << "disconnectRemoteModbus() disconnectRemoteUSB()";
    QTest::newRow("terminal from terminal page") << "term" << 3 << 2 << 0 << "disconnectRemoteUSB()";
    QTest::newRow("ethernet modbus, combo now parser") << "eth:2" << 2 << 0 << 1 << "disconnectRemoteModbus() disconnectRemoteEthernet()";
    QTest::newRow("ethernet direct") << "eth:0" << 2 << 0 << 0 << "disconnectRemoteEthernet()";
}

void tst_remoteLinkPlan::disconnectReleasesModbusJoin()
{
    QFETCH(QString, state);
    QFETCH(int, source);
    QFETCH(int, usbMode);
    QFETCH(int, ethMode);
    QFETCH(QString, steps);

    remoteRequest request;
    request.nSource = source;
    request.nUsbMode = usbMode;
    request.nEthMode = ethMode;
    const remotePlan plan = planRemoteClick(stateFrom(state), request);
    QCOMPARE(int(plan.refusal), int(remoteRefusal::None));
    QVERIFY(!plan.bConnect);
    QCOMPARE(stepsText(plan), steps);
    QVERIFY(plan.after == remoteLinkState());
}

void tst_remoteLinkPlan::portText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port");
    QTest::newRow("plain") << "5000" << 5000;
    QTest::newRow("blanks around") << " 502 " << 502;
    QTest::newRow("lowest") << "1" << 1;
    QTest::newRow("highest") << "65535" << 65535;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("too big") << "70000" << 0;
    QTest::newRow("hex is not decimal") << "0x10" << 0;
    QTest::newRow("decimal point") << "50.0" << 0;
    QTest::newRow("empty") << "" << 0;
}

void tst_remoteLinkPlan::portText()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    QCOMPARE(parseRemotePort(text), port);
}

void tst_remoteLinkPlan::paneText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("reply") << QByteArray("P=20000\r") << QStringLiteral("P=20000\r");
    QTest::newRow("stops at zero byte") << QByteArray("ab\0cd", 5) << QStringLiteral("ab");
    QTest::newRow("zero byte first") << QByteArray("\0xyz", 4) << QString();
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("utf-8") << QByteArray("Input: 2,50 V \xc2\xb0") << QStringLiteral("Input: 2,50 V \u00b0");
}

void tst_remoteLinkPlan::paneText()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QCOMPARE(remotePaneText(data), text);
}

QTEST_GUILESS_MAIN(tst_remoteLinkPlan)
#include "tst_remoteLinkPlan.moc"
