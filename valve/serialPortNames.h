#ifndef SERIALPORTNAMES_H
#define SERIALPORTNAMES_H

#include <QStringList>

// Names of the serial ports the panel offers now ("ttyUSB0", without a
// folder), in the order the system reports them. With $VALVE_DEV_DIR set the
// devices are that folder's "tty" entries instead, the same folder that
// resolveSerialDeviceName looks names up in, so a test's pseudo-terminal
// links are offered like real ports.
QStringList availableSerialPortNames();

#endif // SERIALPORTNAMES_H
