#include "remote/trafficRelay.h"

#include "remote/formTrafficPane.h"
#include "remote/remotePaneText.h"

#include <QMutexLocker>

trafficRelay::trafficRelay(QObject *parent)
    : QObject(parent)
{
}

void trafficRelay::push(const QByteArray &chunk)
{
    const QString strText = remotePaneText(chunk);
    if (strText.isEmpty())
        return;
    QMutexLocker lock(&mutex);
    strPending += strText;
    if (strPending.size() > trafficPaneMaxChars) {
        int nCut = strPending.size() - trafficPaneMaxChars;
        // Never leave half of a surrogate pair at the front.
        if (strPending.at(nCut).isLowSurrogate())
            ++nCut;
        strPending.remove(0, nCut);
    }
    if (!bPosted) {
        bPosted = true;
        QMetaObject::invokeMethod(this, &trafficRelay::deliver, Qt::QueuedConnection);
    }
}

void trafficRelay::deliver()
{
    QString strText;
    {
        QMutexLocker lock(&mutex);
        strText.swap(strPending);
        bPosted = false;
    }
    if (!strText.isEmpty())
        emit delivered(strText.toUtf8());
}
