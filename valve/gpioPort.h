#ifndef GPIOPORT_H
#define GPIOPORT_H

#include <string>

// One general-purpose I/O line of the panel computer, through the kernel's
// sysfs GPIO files (gpioRoot(), "/sys/class/gpio" on the panel). Every
// operation opens its file, does one transfer, closes it and returns 0.
class gpioPort
{
public:
    gpioPort();
    explicit gpioPort(std::string strPinNumber);

    int exportPin();
    int unexportPin();
    int setDirection(std::string strDirection);
    int setValue(std::string strValue);
    // Reads one word of the value file into strValue, which then becomes "0"
    // when it is "0" and "1" otherwise (an unreadable file keeps its text).
    int getValue(std::string &strValue);
    std::string getPinNumber();

private:
    std::string pinPath(const char *pszFile) const;

    std::string strPin;
};

#endif // GPIOPORT_H
