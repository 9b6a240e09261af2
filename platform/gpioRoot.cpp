#include "platform/gpioRoot.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex rootLock;
QString strOverride;
} // namespace

QString gpioRoot()
{
    QMutexLocker lock(&rootLock);
    if (!strOverride.isEmpty())
        return strOverride;
    const QString strEnv = qEnvironmentVariable("VALVE_GPIO_ROOT");
    return strEnv.isEmpty() ? QStringLiteral("/sys/class/gpio") : strEnv;
}

void setGpioRoot(const QString &strRoot)
{
    QMutexLocker lock(&rootLock);
    strOverride = strRoot;
}
