#include "remote/remoteTextProtocol.h"

#include "valve/positionUnits.h"

namespace {

const QByteArray INFO_REPLY = QByteArrayLiteral("varnix 2.7.2 Remote Parser\r");
const QByteArray RESOLUTION_REPLY = QByteArrayLiteral("Resolution: 40k. All Commands must send enter\r");
const QByteArray TIMER_REPLY = QByteArrayLiteral("Timer: 5s\r");

} // namespace

QByteArray remoteStatusReply(bool bLimitSwitch, qint64 nPosition40k)
{
    return (bLimitSwitch ? QByteArrayLiteral("IP") : QByteArrayLiteral("RP"))
           + QByteArray::number(nPosition40k);
}

remoteTextCommand parseRemoteTextLine(const QByteArray &line)
{
    remoteTextCommand cmd;
    const QByteArray upper = line.toUpper();
    cmd.reply = upper;
    const char cLetter = upper.isEmpty() ? '\0' : upper.at(0);
    switch (cLetter) {
    case 'S':
        cmd.eKind = remoteTextCommand::CMD_STATUS;
        cmd.reply.clear();
        break;
    case 'G': {
        cmd.eKind = remoteTextCommand::CMD_GOTO;
        int nEnd = upper.indexOf('\r');
        if (nEnd < 0)
            nEnd = upper.size();
        bool bOk = false;
        const int n40k = upper.mid(1, nEnd - 1).toInt(&bOk, 10);
        cmd.bValid = bOk;
        if (bOk)
            cmd.nPpm = positionUnits::remoteToPpm(n40k);
        break;
    }
    case 'P':
        cmd.eKind = remoteTextCommand::CMD_PLUS;
        cmd.nPpm = REMOTE_TEXT_STEP_PPM;
        break;
    case 'M':
        cmd.eKind = remoteTextCommand::CMD_MINUS;
        cmd.nPpm = -REMOTE_TEXT_STEP_PPM;
        break;
    case 'H':
        cmd.eKind = remoteTextCommand::CMD_HALT;
        break;
    case 'N':
        cmd.eKind = remoteTextCommand::CMD_CALIBRATE;
        break;
    case 'I':
        cmd.eKind = remoteTextCommand::CMD_INFO;
        cmd.reply = INFO_REPLY;
        break;
    case 'X':
        cmd.eKind = remoteTextCommand::CMD_INFO;
        cmd.reply = RESOLUTION_REPLY;
        break;
    case 'T':
        cmd.eKind = remoteTextCommand::CMD_INFO;
        cmd.reply = TIMER_REPLY;
        break;
    default:
        cmd.eKind = remoteTextCommand::CMD_UNKNOWN;
        break;
    }
    return cmd;
}

remoteLineSplit splitRemoteLines(QByteArray &buffer, remoteLineState &state, int nMaxLine)
{
    remoteLineSplit split;
    int nStart = 0;
    while (nStart < buffer.size()) {
        const int nCr = buffer.indexOf('\r', nStart);
        if (state.bDiscarding) {
            if (nCr < 0) {
                nStart = buffer.size();   // still inside the overlong line
                break;
            }
            state.bDiscarding = false;
            nStart = nCr + 1;
            continue;
        }
        if (buffer.at(nStart) == '\n') {
            if (state.bLineEndOpen)
                split.lines.append(QByteArrayLiteral("\n"));
            state.bLineEndOpen = false;
            ++nStart;
            continue;
        }
        state.bLineEndOpen = false;
        if (nCr < 0) {
            if (buffer.size() - nStart > nMaxLine) {
                // No terminator within the limit: the line is lost anyway, so
                // stop collecting it now instead of growing the buffer.
                ++split.nDroppedLines;
                state.bDiscarding = true;
                nStart = buffer.size();
            }
            break;
        }
        int nEnd = nCr + 1;
        const bool bOverlong = nEnd - nStart > nMaxLine;
        if (nEnd < buffer.size() && buffer.at(nEnd) == '\n')
            ++nEnd;
        else if (nEnd == buffer.size() && !bOverlong)
            state.bLineEndOpen = true;
        if (bOverlong)
            ++split.nDroppedLines;
        else
            split.lines.append(buffer.mid(nStart, nEnd - nStart));
        nStart = nEnd;
    }
    buffer.remove(0, nStart);
    return split;
}
