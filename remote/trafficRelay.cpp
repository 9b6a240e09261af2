#include "remote/trafficRelay.h"

#include "remote/formTrafficPane.h"
#include "remote/remotePaneText.h"

trafficRelay::trafficRelay(QObject *parent)
    : QObject(parent)
{
}

void trafficRelay::push(const QByteArray &chunk)
{
    const QString strText = remotePaneText(chunk);
    if (strText.isEmpty())
        return;
    const bool bPost = pending.put([&strText](QString &strPending) {
        strPending += strText;
        if (strPending.size() > trafficPaneMaxChars) {
            int nCut = strPending.size() - trafficPaneMaxChars;
            // Never leave half of a surrogate pair at the front.
            if (strPending.at(nCut).isLowSurrogate())
                ++nCut;
            strPending.remove(0, nCut);
        }
    });
    if (bPost)
        QMetaObject::invokeMethod(this, &trafficRelay::deliver, Qt::QueuedConnection);
}

void trafficRelay::deliver()
{
    const QString strText = pending.take();
    if (!strText.isEmpty())
        emit delivered(strText.toUtf8());
}
