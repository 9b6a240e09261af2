#ifndef REMOTETEXTPROTOCOL_H
#define REMOTETEXTPROTOCOL_H

#include <QByteArray>
#include <QList>

// The single-letter text protocol a remote PC speaks over the PC serial port or
// TCP. Positions on this protocol are 40000ths of full travel. Everything here
// is free of ports so it can be checked with tables.

struct remoteTextCommand
{
    enum kind {
        CMD_STATUS,      // "S": reply with "IP"/"RP" and the position
        CMD_GOTO,        // "G<n>": go to n 40000ths (only when n converts)
        CMD_PLUS,        // "P": one 40000th towards open
        CMD_MINUS,       // "M": one 40000th towards closed
        CMD_HALT,        // "H"
        CMD_CALIBRATE,   // "N"
        CMD_INFO,        // "I", "X", "T": fixed texts
        CMD_UNKNOWN      // echoed only
    };

    kind eKind = CMD_UNKNOWN;
    bool bValid = true;   // CMD_GOTO: the number converted
    int nPpm = 0;         // CMD_GOTO: target in ppm; CMD_PLUS/CMD_MINUS: +25 / -25
    QByteArray reply;     // what goes back to the PC; empty for CMD_STATUS (built from the state)
};

// Step of "P" and "M" in ppm: one 40000th of the travel.
constexpr int REMOTE_TEXT_STEP_PPM = 25;
// Longest line the protocol accepts, "\r" included.
constexpr int REMOTE_TEXT_MAX_LINE = 256;

// One line, as split off by splitRemoteLines (ends with "\r"). Upper-cased
// first; the echo is the upper-cased line.
remoteTextCommand parseRemoteTextLine(const QByteArray &line);

// "IP<pos>" with the limit switch reached, "RP<pos>" otherwise; no "\r", as
// existing PC programs expect.
QByteArray remoteStatusReply(bool bLimitSwitch, qint64 nPosition40k);

struct remoteLineSplit
{
    QList<QByteArray> lines;   // complete commands in arrival order, each ending with "\r"
    int nDroppedLines = 0;     // lines longer than the limit, thrown away whole
};

// Takes every complete "\r"-terminated line off the front of buffer, in order;
// an incomplete tail stays for the next chunk. A line feed that starts a line
// (left over from a PC sending "\r\n") is ignored. A line that grows beyond
// nMaxLine bytes is discarded up to and including its "\r" (bDiscarding keeps
// that state between chunks), so the buffer never grows without bound.
remoteLineSplit splitRemoteLines(QByteArray &buffer, bool &bDiscarding,
                                 int nMaxLine = REMOTE_TEXT_MAX_LINE);

#endif // REMOTETEXTPROTOCOL_H
