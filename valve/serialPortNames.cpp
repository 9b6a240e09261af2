#include "valve/serialPortNames.h"

#include <QDir>
#include <QSerialPortInfo>

QStringList availableSerialPortNames()
{
    const QString strDevDir = qEnvironmentVariable("VALVE_DEV_DIR");
    if (!strDevDir.isEmpty())
        return QDir(strDevDir).entryList(QStringList{QStringLiteral("tty*")}, QDir::System | QDir::Files, QDir::Name);
    QStringList names;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        names << port.portName();
    return names;
}
