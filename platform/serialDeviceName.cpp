#include "platform/serialDeviceName.h"

#include <QByteArray>
#include <QtGlobal>

QString resolveSerialDeviceName(const QString &strName)
{
    if (strName.isEmpty() || strName.startsWith(QLatin1Char('/')))
        return strName;
    QString strDir = qEnvironmentVariable("VALVE_DEV_DIR");
    if (strDir.isEmpty())
        strDir = QStringLiteral("/dev");
    while (strDir.size() > 1 && strDir.endsWith(QLatin1Char('/')))
        strDir.chop(1);
    return strDir + QLatin1Char('/') + strName;
}
