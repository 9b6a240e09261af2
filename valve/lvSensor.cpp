#include "valve/lvSensor.h"

#include "valve/lvFormulaEvaluator.h"
#include "valve/recordFiles.h"
#include "valve/sensorFileCodec.h"

#include <QFile>

#include <limits>

lvSensor::lvSensor()
    : strName(QStringLiteral("not defined"))
    , strFormula(QStringLiteral("not defined"))
    , strDataName(QStringLiteral("not defined"))
    , strUnit(QStringLiteral("not defined"))
    , bExponential(true)
    , dblResult(std::numeric_limits<double>::quiet_NaN())
{
}

bool lvSensor::readSensorFromFile(const QString &strSensorName)
{
    if (!isValidName(strSensorName))
        return false;
    strFileName = strSensorName;
    QByteArray data;
    if (!readRecordFile(sensorFilePath(strSensorName), data))
        return false;
    return decodeSensorFile(QString::fromUtf8(data.constData(), data.size()), *this) == 6;
}

bool lvSensor::saveSensorToFile(const QString &strSensorName) const
{
    if (!isValidName(strSensorName) || !isStorable())
        return false;
    return writeRecordFile(sensorFilePath(strSensorName), encodeSensorFile(*this));
}

bool lvSensor::deleteFile(const QString &strSensorName) const
{
    if (!isValidName(strSensorName))
        return false;
    const QString strPath = sensorFilePath(strSensorName);
    return QFile::exists(strPath) && QFile::remove(strPath);
}

void lvSensor::calcData(double val1, double val2)
{
    dblResult = evaluate(val1, val2);
    strResult = formatSensorResult(dblResult, bExponential);
}

double lvSensor::evaluate(double val1, double val2) const
{
    return lvFormulaEvaluator::evaluate(substituteSensorFormula(strFormula, val1, val2));
}

bool lvSensor::isValidName(const QString &strName)
{
    return isValidRecordName(strName);
}

bool lvSensor::isStorable() const
{
    for (const QString *pField : {&strName, &strDataName, &strUnit, &strFormula, &strInputMask})
        if (pField->contains(QLatin1Char(';')))
            return false;
    return true;
}

QString lvSensor::sensorDirectory()
{
    return workingSubdirectory(QStringLiteral("sensor"));
}

QString lvSensor::sensorFilePath(const QString &strSensorName)
{
    return sensorDirectory() + strSensorName + QStringLiteral(".kfxsensor");
}
