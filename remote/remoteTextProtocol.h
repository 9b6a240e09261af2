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

// One line, as split off by splitRemoteLines (ends with "\r" or "\r\n").
// Upper-cased first; the echo is the whole upper-cased line.
remoteTextCommand parseRemoteTextLine(const QByteArray &line);

// "IP<pos>" with the limit switch reached, "RP<pos>" otherwise; no "\r", as
// existing PC programs expect.
QByteArray remoteStatusReply(bool bLimitSwitch, qint64 nPosition40k);

struct remoteLineSplit
{
    // Complete commands in arrival order, each ending with "\r", or with
    // "\r\n" when the PC's line feed came with it. A line of just "\n" is the
    // line feed of the previous line, arrived in a later chunk.
    QList<QByteArray> lines;
    int nDroppedLines = 0;     // lines longer than the limit, thrown away whole
};

// What the splitter carries from one chunk to the next.
struct remoteLineState
{
    bool bDiscarding = false;   // inside a line that grew beyond the limit
    bool bLineEndOpen = false;  // the last line ended the buffer with "\r"
};

// Takes every complete "\r"-terminated line off the front of buffer, in order,
// together with a line feed that directly follows its "\r"; an incomplete
// tail stays for the next chunk. Any other line feed at the start of a line
// is ignored. A line that grows beyond nMaxLine bytes ("\r" included) is
// discarded up to and including its "\r", so the buffer never grows without
// bound.
remoteLineSplit splitRemoteLines(QByteArray &buffer, remoteLineState &state,
                                 int nMaxLine = REMOTE_TEXT_MAX_LINE);

#endif // REMOTETEXTPROTOCOL_H
