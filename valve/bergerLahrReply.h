#ifndef BERGERLAHRREPLY_H
#define BERGERLAHRREPLY_H

#include <QByteArray>

// A BergerLahr reply line (text without its "\r"). Only status lines carry
// information: "IP<pos>" (limit switch reached) and "RP<pos>" (clear); every
// other line only counts as an answer.
struct bergerLahrReply
{
    bool bLimitReached = false; // the line holds "IP"
    bool bLimitClear = false;   // the line holds "RP"
    // The text after the last "P" as a decimal integer; 0 when it is no number.
    int nPosition = 0;

    bool isStatus() const { return bLimitReached || bLimitClear; }

    static bergerLahrReply parse(const QByteArray &strText);
};

#endif // BERGERLAHRREPLY_H
