#ifndef NANOTECREPLY_H
#define NANOTECREPLY_H

#include <QByteArray>

// A NanoTec reply line (text without its "\r"). The controller echoes the
// command without its "#"; one line may match several of the forms below and
// every match is reported.
struct nanoTecReply
{
    struct position
    {
        bool bPresent = false;
        char cSign = 0;         // the character after the command letter
        bool bUnknown = false;  // the controller answered "?"
        int nMagnitude = 0;     // the value text as a number, 0 when none
        // The controller counts the other way round: "-" is a valve position
        // above 0. Only meaningful when bPresent and not bUnknown.
        int valveSteps() const;
    };

    position encoder;     // "1I" sign value
    position stepCounter; // "1C" sign value
    bool bStatus = false;
    int nStatus = 0;      // "$" value
    bool bErrorNumber = false;
    int nErrorNumber = 0; // "Z" ... "E" sign value
    bool bErrorIndex = false;
    int nErrorIndex = 0;  // "E" sign value, without "Z"
    bool bInputWord = false;
    int nInputWord = 0;   // "Y" sign value

    static nanoTecReply parse(const QByteArray &strText);
};

#endif // NANOTECREPLY_H
