#include "app/logFileScan.h"

#include <QBuffer>

namespace {

QString lineText(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

} // namespace

QDate logFileScan::logDate() const
{
    return QDate::fromString(strFirstLine.left(10), QStringLiteral("dd.MM.yyyy"));
}

bool logFileScan::cleanShutdown() const
{
    return isCleanShutdownLine(strLastLine);
}

bool isCleanShutdownLine(const QString &strLine)
{
    return strLine.right(8) == QLatin1String("Shutdown");
}

logFileScan scanLog(QIODevice &device)
{
    logFileScan scan;
    bool bFirst = true;
    QByteArray lastLine;
    while (!device.atEnd()) {
        const QByteArray line = device.readLine();
        if (line.isEmpty())
            break;
        scan.bEmpty = false;
        if (bFirst) {
            scan.strFirstLine = lineText(line);
            bFirst = false;
        }
        lastLine = line;
    }
    scan.strLastLine = lineText(lastLine);
    return scan;
}

logFileScan scanLog(const QByteArray &content)
{
    QByteArray data(content);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return scanLog(buffer);
}
