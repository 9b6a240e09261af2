#include "remote/remoteLinkPlan.h"

#include <QHostAddress>

bool remoteLinkState::operator==(const remoteLinkState &o) const
{
    return bUsbConnected == o.bUsbConnected && nUsbLinkMode == o.nUsbLinkMode
        && bAnalogConnected == o.bAnalogConnected && nAnalogLinkInput == o.nAnalogLinkInput
        && bEthernetConnected == o.bEthernetConnected && nEthLinkMode == o.nEthLinkMode;
}

bool isRemoteSourceConnected(const remoteLinkState &state, int nSource)
{
    switch (nSource) {
    case REMOTE_SOURCE_USB:
    case REMOTE_SOURCE_TERMINAL:
        return state.bUsbConnected;
    case REMOTE_SOURCE_ANALOG:
        return state.bAnalogConnected;
    case REMOTE_SOURCE_ETHERNET:
        return state.bEthernetConnected;
    default:
        return false;
    }
}

int otherConnectedSource(const remoteLinkState &state, int nSource)
{
    const bool bSerialOwn = nSource == REMOTE_SOURCE_USB || nSource == REMOTE_SOURCE_TERMINAL;
    if (!bSerialOwn && state.bUsbConnected)
        return state.nUsbLinkMode == REMOTE_LINK_TERMINAL ? REMOTE_SOURCE_TERMINAL : REMOTE_SOURCE_USB;
    if (nSource != REMOTE_SOURCE_ANALOG && state.bAnalogConnected)
        return REMOTE_SOURCE_ANALOG;
    if (nSource != REMOTE_SOURCE_ETHERNET && state.bEthernetConnected)
        return REMOTE_SOURCE_ETHERNET;
    return -1;
}

int parseRemotePort(const QString &strPort)
{
    bool bOk = false;
    const int nPort = strPort.trimmed().toInt(&bOk, 10);
    return bOk && nPort >= 1 && nPort <= 65535 ? nPort : 0;
}

static bool isModeIndex(int nMode)
{
    return nMode >= REMOTE_LINK_DIRECT && nMode <= REMOTE_LINK_MODBUS;
}

static remoteStep step(remoteSignal sig, int nArg = 0)
{
    remoteStep s;
    s.sig = sig;
    s.nArg = nArg;
    return s;
}

static remotePlan refuse(remoteRefusal why, const remoteLinkState &state)
{
    remotePlan plan;
    plan.refusal = why;
    plan.after = state;
    return plan;
}

static remotePlan planDisconnect(const remoteLinkState &state, const remoteRequest &request)
{
    remotePlan plan;
    plan.after = state;
    switch (request.nSource) {
    case REMOTE_SOURCE_USB:
    case REMOTE_SOURCE_TERMINAL: {
        // The analog samples joined for a Modbus link must be released even
        // when the mode combo was changed since the connect; the current USB
        // mode still counts on the USB page, as the operator sees it there.
        const bool bModbus = state.nUsbLinkMode == REMOTE_LINK_MODBUS
            || (request.nSource == REMOTE_SOURCE_USB && request.nUsbMode == REMOTE_LINK_MODBUS);
        if (bModbus)
            plan.steps << step(remoteSignal::DisconnectModbus);
        plan.steps << step(remoteSignal::DisconnectUSB);
        plan.after.bUsbConnected = false;
        plan.after.nUsbLinkMode = -1;
        break;
    }
    case REMOTE_SOURCE_ANALOG:
        plan.steps << step(remoteSignal::DisconnectAnalog);
        plan.after.bAnalogConnected = false;
        plan.after.nAnalogLinkInput = -1;
        break;
    case REMOTE_SOURCE_ETHERNET: {
        const bool bModbus = state.nEthLinkMode == REMOTE_LINK_MODBUS
            || request.nEthMode == REMOTE_LINK_MODBUS;
        if (bModbus)
            plan.steps << step(remoteSignal::DisconnectModbus);
        plan.steps << step(remoteSignal::DisconnectEthernet);
        plan.after.bEthernetConnected = false;
        plan.after.nEthLinkMode = -1;
        break;
    }
    default:
        return refuse(remoteRefusal::BadSource, state);
    }
    return plan;
}

static remotePlan planConnect(const remoteLinkState &state, const remoteRequest &request)
{
    if (request.nSource < REMOTE_SOURCE_USB || request.nSource > REMOTE_SOURCE_TERMINAL)
        return refuse(remoteRefusal::BadSource, state);
    // One remote mode in the drive: a second source would silently take the
    // valve away from the first while the tab still calls it connected.
    const int nOther = otherConnectedSource(state, request.nSource);
    if (nOther >= 0) {
        remotePlan plan = refuse(remoteRefusal::OtherSourceConnected, state);
        plan.nBlockingSource = nOther;
        plan.bConnect = true;
        return plan;
    }

    remotePlan plan;
    plan.bConnect = true;
    plan.after = state;
    switch (request.nSource) {
    case REMOTE_SOURCE_USB:
        if (!isModeIndex(request.nUsbMode))
            return refuse(remoteRefusal::BadMode, state);
        if (request.nUsbMode == REMOTE_LINK_MODBUS)
            plan.steps << step(remoteSignal::ConnectModbus);
        plan.steps << step(remoteSignal::ConnectUSB, request.nUsbMode);
        plan.after.bUsbConnected = true;
        plan.after.nUsbLinkMode = request.nUsbMode;
        break;
    case REMOTE_SOURCE_TERMINAL:
        plan.steps << step(remoteSignal::ConnectUSB, REMOTE_LINK_TERMINAL);
        plan.after.bUsbConnected = true;
        plan.after.nUsbLinkMode = REMOTE_LINK_TERMINAL;
        break;
    case REMOTE_SOURCE_ANALOG:
        if (request.nAnalogInput < 0 || request.nAnalogInput > 2)
            return refuse(remoteRefusal::BadInput, state);
        // 1 and 2 are the feedback types: following such an input would move
        // the valve by the very voltage it regulates on.
        if (request.nAnalogInputType == 1 || request.nAnalogInputType == 2)
            return refuse(remoteRefusal::FeedbackInput, state);
        plan.steps << step(remoteSignal::ConnectAnalog, request.nAnalogInput);
        plan.after.bAnalogConnected = true;
        plan.after.nAnalogLinkInput = request.nAnalogInput;
        break;
    case REMOTE_SOURCE_ETHERNET: {
        if (!isModeIndex(request.nEthMode))
            return refuse(remoteRefusal::BadMode, state);
        QHostAddress address;
        if (request.strAddress.isEmpty() || !address.setAddress(request.strAddress))
            return refuse(remoteRefusal::BadAddress, state);
        const int nPort = parseRemotePort(request.strPort);
        if (nPort == 0)
            return refuse(remoteRefusal::BadPort, state);
        if (request.nEthMode == REMOTE_LINK_MODBUS)
            plan.steps << step(remoteSignal::ConnectModbus);
        remoteStep eth = step(remoteSignal::ConnectEthernet, request.nEthMode);
        eth.strAddress = request.strAddress;
        eth.nPort = nPort;
        plan.steps << eth;
        plan.after.bEthernetConnected = true;
        plan.after.nEthLinkMode = request.nEthMode;
        break;
    }
    }
    return plan;
}

remotePlan planRemoteClick(const remoteLinkState &state, const remoteRequest &request)
{
    if (isRemoteSourceConnected(state, request.nSource))
        return planDisconnect(state, request);
    return planConnect(state, request);
}

QString remoteStepText(const remoteStep &s)
{
    switch (s.sig) {
    case remoteSignal::ConnectModbus:
        return QStringLiteral("connectRemoteModbus()");
    case remoteSignal::ConnectUSB:
        return QStringLiteral("connectRemoteUSB(%1)").arg(s.nArg);
    case remoteSignal::ConnectEthernet:
        return QStringLiteral("connectRemoteEthernet(%1,%2,%3)").arg(s.nArg).arg(s.strAddress).arg(s.nPort);
    case remoteSignal::ConnectAnalog:
        return QStringLiteral("connectRemoteAnalog(%1)").arg(s.nArg);
    case remoteSignal::DisconnectModbus:
        return QStringLiteral("disconnectRemoteModbus()");
    case remoteSignal::DisconnectUSB:
        return QStringLiteral("disconnectRemoteUSB()");
    case remoteSignal::DisconnectEthernet:
        return QStringLiteral("disconnectRemoteEthernet()");
    case remoteSignal::DisconnectAnalog:
        return QStringLiteral("disconnectRemoteAnalog()");
    }
    return QString();
}
