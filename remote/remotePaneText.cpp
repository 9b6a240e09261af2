#include "remote/remotePaneText.h"

QString remotePaneText(const QByteArray &data)
{
    const int nZero = data.indexOf('\0');
    const int nLen = nZero < 0 ? data.size() : nZero;
    return QString::fromUtf8(data.constData(), nLen);
}
