#ifndef PENDINGDELIVERY_H
#define PENDINGDELIVERY_H

#include <QMutex>
#include <QMutexLocker>

#include <utility>

// What a busy thread hands to the GUI thread, with at most one delivery
// waiting there. One queued signal per message lets a producer that runs
// faster than the GUI thread fill the GUI thread's queue without end; here
// the messages that arrive while a delivery waits are merged into it.
//
// The producer calls put() with a function that merges its message into the
// waiting value; put() says whether the producer must post a delivery (the
// first message since the last take()). The delivery, in the receiver's
// thread, take()s the value. While closed, put() drops every message.
template <typename T>
class pendingDelivery
{
public:
    // Any thread. fnMerge(T &) runs under the lock.
    template <typename F>
    bool put(F &&fnMerge)
    {
        QMutexLocker lock(&mutex);
        if (!bOpen)
            return false;
        fnMerge(value);
        if (bPosted)
            return false;
        bPosted = true;
        return true;
    }

    // The value merged since the last take(); the next put() posts again.
    T take()
    {
        QMutexLocker lock(&mutex);
        bPosted = false;
        return std::exchange(value, T());
    }

    // Closing drops what waits; a delivery already posted then finds nothing.
    void setOpen(bool bOpenNow)
    {
        QMutexLocker lock(&mutex);
        bOpen = bOpenNow;
        if (!bOpen)
            value = T();
    }

private:
    QMutex mutex;
    T value{};            // guarded by mutex
    bool bPosted = false; // guarded by mutex
    bool bOpen = true;    // guarded by mutex
};

#endif // PENDINGDELIVERY_H
