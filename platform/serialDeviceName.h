#ifndef SERIALDEVICENAME_H
#define SERIALDEVICENAME_H

#include <QString>

// The panel names its serial devices "ttyUSB0", "ttyAMA0", ... A name that
// does not start with "/" is looked up in $VALVE_DEV_DIR (default "/dev"),
// which lets a test point the program at pseudo-terminal links.
QString resolveSerialDeviceName(const QString &strName);

#endif // SERIALDEVICENAME_H
