#ifndef REMOTELINKPLAN_H
#define REMOTELINKPLAN_H

#include <QString>
#include <QVector>

// What one press of the Remote tab's connect button asks of the drive and the
// main window, decided without any widget: the source shown, the modes chosen
// and what is connected now go in; the signals to emit, in order, and the new
// connection state come out, or the reason the press is refused.

// Index of the source combo, which is also the index of its page.
enum remoteSourceIndex {
    REMOTE_SOURCE_USB = 0,
    REMOTE_SOURCE_ANALOG = 1,
    REMOTE_SOURCE_ETHERNET = 2,
    REMOTE_SOURCE_TERMINAL = 3
};

// Index of the USB and Ethernet mode combos; the terminal travels as mode 3
// of the USB connect.
enum remoteLinkMode {
    REMOTE_LINK_DIRECT = 0,
    REMOTE_LINK_PARSER = 1,
    REMOTE_LINK_MODBUS = 2,
    REMOTE_LINK_TERMINAL = 3
};

struct remoteLinkState {
    // The PC serial link, shared by the USB source and the terminal: the drive
    // has one serial remote, so both connect and disconnect through it.
    bool bUsbConnected = false;
    int nUsbLinkMode = -1; // mode used at connect: 0..2 USB, 3 terminal
    bool bAnalogConnected = false;
    int nAnalogLinkInput = -1;
    bool bEthernetConnected = false;
    int nEthLinkMode = -1; // mode used at connect

    bool operator==(const remoteLinkState &o) const;
};

// The tab's state at the moment of the press.
struct remoteRequest {
    int nSource = REMOTE_SOURCE_USB;
    int nUsbMode = 0;        // current index of the USB mode combo
    int nEthMode = 0;        // current index of the Ethernet mode combo
    int nAnalogInput = 0;    // current index of the input combo (0..2)
    int nAnalogInputType = 0; // analogInputType of that input; -1 unknown
    QString strAddress;      // address field as typed
    QString strPort;         // port field as typed
};

enum class remoteSignal {
    ConnectModbus,
    ConnectUSB,
    ConnectEthernet,
    ConnectAnalog,
    DisconnectModbus,
    DisconnectUSB,
    DisconnectEthernet,
    DisconnectAnalog
};

struct remoteStep {
    remoteSignal sig = remoteSignal::ConnectUSB;
    int nArg = 0;         // USB mode, Ethernet mode or analog input
    QString strAddress;   // Ethernet connect only
    int nPort = 0;        // Ethernet connect only
};

enum class remoteRefusal {
    None,
    OtherSourceConnected, // the drive follows one remote source at a time
    BadSource,
    BadMode,              // the mode combo has no valid item
    BadAddress,           // not an IP address literal
    BadPort,              // not a whole number 1..65535
    BadInput,
    FeedbackInput         // the chosen input regulates, it cannot steer too
};

struct remotePlan {
    remoteRefusal refusal = remoteRefusal::None;
    int nBlockingSource = -1; // with OtherSourceConnected: the source in the way
    bool bConnect = false;    // the press connects (else it disconnects)
    QVector<remoteStep> steps;
    remoteLinkState after;
};

// Whether the button of a source page stands for a connected link. The USB
// and terminal pages share the serial link.
bool isRemoteSourceConnected(const remoteLinkState &state, int nSource);

// The first source, other than nSource's own link, that is connected; -1 if
// none. A serial link is reported as USB or terminal, as it was connected.
int otherConnectedSource(const remoteLinkState &state, int nSource);

remotePlan planRemoteClick(const remoteLinkState &state, const remoteRequest &request);

// "connectRemoteUSB(2)", "disconnectRemoteModbus()": the step as the signal
// it becomes, for debug output and tests.
QString remoteStepText(const remoteStep &step);

// A text port number 1..65535, or 0 when the text is not one.
int parseRemotePort(const QString &strPort);

#endif // REMOTELINKPLAN_H
