#include "valve/sensorFolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {
const QString strSensorSuffix = QStringLiteral(".kfxsensor");
}

QList<lvSensor> readSensorFolder()
{
    QList<lvSensor> sensors;
    const QDir folder(lvSensor::sensorDirectory());
    for (const QString &strFile : folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (!strFile.endsWith(strSensorSuffix))
            continue;
        const QString strBase = strFile.left(strFile.size() - strSensorSuffix.size());
        lvSensor sensor;
        if (!lvSensor::isValidName(strBase)) {
            qWarning() << "sensor file not listed, its file name is no sensor name:" << strFile;
            continue;
        }
        sensor.readSensorFromFile(strBase);
        if (!lvSensor::isValidName(sensor.strName)) {
            qWarning() << "sensor file not listed, the name inside is no sensor name:" << strFile;
            continue;
        }
        sensors.append(sensor);
    }
    return sensors;
}

QString sensorTargetFile(const QString &strNewName, const QString &strOldName, const QString &strFromFile)
{
    return !strFromFile.isEmpty() && strNewName == strOldName ? strFromFile : strNewName;
}

sensorWriteResult writeSensorDefinition(const lvSensor &edited, const QString &strOldName, const QString &strFromFile)
{
    const QString strTarget = sensorTargetFile(edited.strName, strOldName, strFromFile);
    // Any entry of that name counts, a folder or a file whose inner name the
    // list does not show included: none of them is this definition's.
    if (strTarget != strFromFile && QFileInfo::exists(lvSensor::sensorFilePath(strTarget)))
        return sensorWriteResult::TAKEN;
    if (!edited.saveSensorToFile(strTarget))
        return sensorWriteResult::FAILED;
    if (!strFromFile.isEmpty() && strFromFile != strTarget)
        edited.deleteFile(strFromFile);
    return sensorWriteResult::WRITTEN;
}

bool removeSensorDefinition(const lvSensor &sensor)
{
    return !sensor.strFileName.isEmpty() && sensor.deleteFile(sensor.strFileName);
}
