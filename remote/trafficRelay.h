#ifndef TRAFFICRELAY_H
#define TRAFFICRELAY_H

#include "valve/pendingDelivery.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// Carries a traffic stream from the drive's thread to a pane in the GUI
// thread in batches. Queued one signal per message, a master that asks as
// fast as it can (thousands of requests a second) outruns the GUI thread,
// whose every pane insertion lays the text out again, and the queue of
// undelivered messages grows without end. Here at most one delivery waits
// in the GUI thread; what arrives meanwhile joins it.
//
// Each chunk is turned into pane text on its own (remotePaneText), so a
// batch shows exactly what the chunks one by one would have shown. A batch
// keeps only its last trafficPaneMaxChars characters: a pane never shows
// more than those of one insertion.
class trafficRelay : public QObject
{
    Q_OBJECT

public:
    explicit trafficRelay(QObject *parent = nullptr);

    // Any thread. The first chunk after a delivery posts the next delivery
    // to this object's thread.
    void push(const QByteArray &chunk);

signals:
    // In this object's thread: the pane text of every chunk since the last
    // delivery, as UTF-8 bytes holding no zero byte.
    void delivered(QByteArray data);

private:
    void deliver();

    pendingDelivery<QString> pending;
};

#endif // TRAFFICRELAY_H
