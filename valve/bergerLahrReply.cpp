#include "valve/bergerLahrReply.h"

bergerLahrReply bergerLahrReply::parse(const QByteArray &strText)
{
    bergerLahrReply r;
    r.bLimitReached = strText.contains("IP");
    r.bLimitClear = strText.contains("RP");
    if (r.isStatus()) {
        bool bOk = false;
        const int n = strText.mid(strText.lastIndexOf('P') + 1).toInt(&bOk, 10);
        r.nPosition = bOk ? n : 0;
    }
    return r;
}
