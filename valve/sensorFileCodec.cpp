#include "valve/sensorFileCodec.h"

#include "valve/lvSensor.h"

#include <QStringList>

QByteArray encodeSensorFile(const lvSensor &sensor)
{
    QString strLine;
    for (const QString &strField : {sensor.strName, sensor.strDataName, sensor.strUnit, sensor.strFormula,
                                    sensor.bExponential ? QStringLiteral("exp") : QStringLiteral("no_exp"),
                                    sensor.strInputMask}) {
        strLine += strField;
        strLine += QLatin1Char(';');
    }
    return strLine.toUtf8();
}

int decodeSensorFile(const QString &strText, lvSensor &sensor)
{
    if (strText.isEmpty())
        return 0;
    const QStringList fields = strText.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    // Whatever follows the sixth ";" (a line end, say) is ignored.
    const int nFields = qMin(6, fields.size());
    QString *const targets[] = {&sensor.strName, &sensor.strDataName, &sensor.strUnit, &sensor.strFormula,
                                nullptr, &sensor.strInputMask};
    for (int i = 0; i < nFields; ++i) {
        if (targets[i])
            *targets[i] = fields.at(i);
        else
            sensor.bExponential = fields.at(i) == QLatin1String("exp");
    }
    return nFields;
}
