#ifndef LOCKEDVALUE_H
#define LOCKEDVALUE_H

#include <QMutex>
#include <QMutexLocker>

// A value written by one thread and read by another (the main window sets a
// few public members of the motor thread's worker directly). Plain assignment
// and conversion keep the call sites as simple as for a bare member; every
// access takes the lock, and a read returns a consistent copy.
template <typename T>
class lockedValue
{
public:
    lockedValue() = default;
    explicit lockedValue(const T &initial) : value(initial) {}
    lockedValue(const lockedValue &) = delete;
    lockedValue &operator=(const lockedValue &) = delete;

    lockedValue &operator=(const T &newValue)
    {
        set(newValue);
        return *this;
    }
    operator T() const { return get(); }

    T get() const
    {
        QMutexLocker locker(&mtx);
        return value;
    }
    void set(const T &newValue)
    {
        QMutexLocker locker(&mtx);
        value = newValue;
    }
    // Changes the value in place under the lock: fn(T &).
    template <typename F>
    void update(F fn)
    {
        QMutexLocker locker(&mtx);
        fn(value);
    }

private:
    mutable QMutex mtx;
    T value{};
};

#endif // LOCKEDVALUE_H
