#ifndef SCRIPTMEASURINGRELAY_H
#define SCRIPTMEASURINGRELAY_H

#include "valve/pendingDelivery.h"

#include <QObject>
#include <QVector>

class scriptExecutor;

// Carries the executor's measuring requests (setMeasurement()) from the script
// thread to the main window with at most one delivery waiting. A loop that
// switches measuring off and on again asks twice a pass; queued one signal
// per request, millions of them pile up in the GUI thread. Here the requests
// that come while a delivery waits are merged into it, keeping what the
// chain of requests does: an "off" ends a regulation even when "on" follows,
// so a delivery first switches off when an off was asked since the last one,
// then to the last state asked.
class scriptMeasuringRelay : public QObject
{
    Q_OBJECT

public:
    // What waits for one delivery.
    struct asked
    {
        bool bOff = false;    // an off was asked since the last delivery
        bool bLastOn = false; // the last state asked was on
        void ask(bool bOn);
        // The states to switch to, in order.
        QVector<bool> toApply() const;
    };

    explicit scriptMeasuringRelay(QObject *parent = nullptr);

    // Joins (true) or releases (false) the executor's setMeasurement(),
    // directly, so the requests reach the relay in the script thread. A
    // delivery already waiting still comes.
    void follow(scriptExecutor *pExec, bool bFollow);

    // Any thread.
    void onSetMeasurement(bool bOn);

signals:
    // In the relay's thread, for one delivery in this order.
    void setMeasurement(bool bOn);

private:
    void deliver();

    pendingDelivery<asked> pending;
};

#endif // SCRIPTMEASURINGRELAY_H
