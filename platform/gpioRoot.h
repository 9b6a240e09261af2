#ifndef GPIOROOT_H
#define GPIOROOT_H

#include <QString>

// The sysfs GPIO root, "/sys/class/gpio" on the panel. $VALVE_GPIO_ROOT or
// setGpioRoot() redirect it (tests use a temporary folder).
QString gpioRoot();
void setGpioRoot(const QString &strRoot); // empty: back to the default

#endif // GPIOROOT_H
