#include "settings/debugPageValues.h"

#include "valve/lvSensor.h"

double debugPageValues::volts(const QString &strText)
{
    return strText.toDouble();
}

int debugPageValues::millivolts(const QString &strText)
{
    return strText.toInt(nullptr, 10);
}

QString debugPageValues::sensorText(lvSensor &sensor, double dblVal1, double dblVal2)
{
    sensor.calcData(dblVal1, dblVal2);
    return QStringLiteral("%1").arg(sensor.dblResult);
}

QString debugPageValues::setValueText(lvSensor &sensor, int nVal1, int nVal2)
{
    return sensorText(sensor, nVal1 / 1000.0, nVal2 / 1000.0);
}

QString debugPageValues::controllerReply(const QString &strText)
{
    return strText + QLatin1Char('\r');
}
