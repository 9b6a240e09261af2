#include "valve/nanoTecReply.h"

#include "valve/positionUnits.h"

namespace {

int numberOrZero(const QByteArray &strValue)
{
    bool bOk = false;
    const int n = strValue.toInt(&bOk, 10);
    return bOk ? n : 0;
}

nanoTecReply::position readPosition(const QByteArray &strText, char cLetter)
{
    nanoTecReply::position p;
    if (strText.size() < 2 || strText.at(1) != cLetter)
        return p;
    p.bPresent = true;
    p.cSign = strText.size() > 2 ? strText.at(2) : 0;
    const QByteArray strValue = strText.mid(3);
    if (strValue == "?")
        p.bUnknown = true;
    else
        p.nMagnitude = numberOrZero(strValue);
    return p;
}

} // namespace

int nanoTecReply::position::valveSteps() const
{
    return cSign == '-' ? nMagnitude : positionUnits::saturateToInt(-qint64(nMagnitude));
}

nanoTecReply nanoTecReply::parse(const QByteArray &strText)
{
    nanoTecReply r;
    r.encoder = readPosition(strText, 'I');
    r.stepCounter = readPosition(strText, 'C');

    const int nDollar = strText.indexOf('$');
    if (nDollar >= 0) {
        r.bStatus = true;
        r.nStatus = numberOrZero(strText.mid(nDollar + 1));
    }

    // The character right after "E" is the sign and is skipped.
    const int nE = strText.indexOf('E');
    if (nE >= 0) {
        const int nValue = numberOrZero(strText.mid(nE + 2));
        if (strText.contains('Z')) {
            r.bErrorNumber = true;
            r.nErrorNumber = nValue;
        } else {
            r.bErrorIndex = true;
            r.nErrorIndex = nValue;
        }
    }

    const int nY = strText.indexOf('Y');
    if (nY >= 0) {
        r.bInputWord = true;
        r.nInputWord = numberOrZero(strText.mid(nY + 2));
    }
    return r;
}
