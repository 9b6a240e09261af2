#include "valve/teachInFileCodec.h"

#include <QVector>

namespace {

double readNumber(const QStringRef &field)
{
    const QStringRef trimmed = field.trimmed();
    if (!trimmed.contains(QLatin1Char(',')))
        return trimmed.toDouble();
    QString strCopy = trimmed.toString();
    strCopy.replace(QLatin1Char(','), QLatin1Char('.'));
    return strCopy.toDouble();
}

int readCurveLetter(const QStringRef &field)
{
    if (field == QLatin1String("O"))
        return CURVE_OPEN;
    if (field == QLatin1String("C"))
        return CURVE_CLOSE;
    if (field == QLatin1String("D"))
        return CURVE_DATA;
    return CURVE_CLOSE;
}

QString sensorText(const QString &strText)
{
    QString strSafe = strText;
    strSafe.replace(QLatin1Char(';'), QLatin1Char(','));
    return strSafe;
}

} // namespace

teachInFileContent decodeTeachInFile(const QString &strText)
{
    teachInFileContent content;
    const QVector<QStringRef> fields = strText.splitRef(QLatin1Char(';'), Qt::KeepEmptyParts);
    const int nFields = fields.size();

    content.bVersionMatches = fields.at(0).right(3).left(2).toInt() == 10;

    // Each sensor field starts with the line end before its label.
    if (nFields > 1)
        content.strSensorName = fields.at(1).mid(14).toString();
    if (nFields > 2)
        content.strSensorFormula = fields.at(2).mid(17).toString();
    if (nFields > 3)
        content.strSensorDataName = fields.at(3).mid(19).toString();
    content.nSensorFields = qBound(0, nFields - 1, 3);

    if (nFields > 14)
        content.points.reserve((nFields - 9) / 5);
    for (int i = 9; i < nFields - 5; i += 5) {
        teachInFilePoint point;
        point.nSteps = fields.at(i).trimmed().toInt();
        point.dblTime = readNumber(fields.at(i + 1));
        point.dblCh1 = readNumber(fields.at(i + 2));
        point.dblCh2 = readNumber(fields.at(i + 3));
        point.nCurveType = readCurveLetter(fields.at(i + 4));
        content.points.append(point);
    }
    return content;
}

QString formatTeachInNumber(double dblValue)
{
    return QString::number(dblValue, 'g', 6);
}

QByteArray encodeTeachInFile(const QString &strSensorName, const QString &strSensorFormula,
                             const QString &strSensorDataName, const QVector<lvTeachInData> &points)
{
    QString strText;
    strText.reserve(160 + points.size() * 40);
    strText += QStringLiteral("Version: 103;\n");
    strText += QStringLiteral("sensor name: ") + sensorText(strSensorName) + QStringLiteral(";\n");
    strText += QStringLiteral("sensor formula: ") + sensorText(strSensorFormula) + QStringLiteral(";\n");
    strText += QStringLiteral("sensor data name: ") + sensorText(strSensorDataName) + QStringLiteral(";\n");
    strText += QStringLiteral("Steps; Time [s]; Channel1 [V]; Channel2 [V]; CurveType;\n");
    for (const lvTeachInData &point : points) {
        const QChar semicolon(QLatin1Char(';'));
        QString strLetter;
        double dblFirst = point.dblCh1;
        double dblSecond = point.dblCh2;
        switch (point.nCurveType) {
        case CURVE_OPEN:
            strLetter = QStringLiteral("O");
            break;
        case CURVE_CLOSE:
            strLetter = QStringLiteral("C");
            break;
        case CURVE_DATA:
            strLetter = QStringLiteral("D");
            dblFirst = point.dblData;
            dblSecond = point.dblSetpoint;
            break;
        default:
            continue;
        }
        strText += QString::number(point.nSteps) + semicolon + formatTeachInNumber(point.dblTime) + semicolon
            + formatTeachInNumber(dblFirst) + semicolon + formatTeachInNumber(dblSecond) + semicolon + strLetter
            + semicolon + QLatin1Char('\n');
    }
    return strText.toUtf8();
}
