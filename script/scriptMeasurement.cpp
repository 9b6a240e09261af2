#include "script/scriptMeasurement.h"

#include <QCoreApplication>

#include <cmath>

namespace {

using teachInRange::widen;
constexpr double rangeMinStart = teachInRange::dblMinStart;
constexpr double rangeMaxStart = teachInRange::dblMaxStart;

} // namespace

double feedbackChannel(double dblData1, double dblData2, double dblData3, int nIndex)
{
    switch (nIndex) {
    case 0:
        return dblData1;
    case 1:
        return dblData2;
    case 2:
        return dblData3;
    default:
        return 0.0;
    }
}

void appendMeasurementPoint(lvTeachIn &record, lvTeachInData point)
{
    widen(double(point.nSteps), record.dblMinSteps, record.dblMaxSteps);
    widen(point.dblData, record.dblMinData, record.dblMaxData);
    widen(point.dblTime, record.dblMinTime, record.dblMaxTime);
    widen(point.dblSetpoint, record.dblMinSetpoint, record.dblMaxSetpoint);
    if (!record.vecTeachInData.isEmpty()) {
        const lvTeachInData &previous = record.vecTeachInData.constLast();
        const qint64 nDistance = qint64(previous.nSteps) - qint64(point.nSteps);
        point.dblSens = 0.0;
        if (nDistance != 0) {
            const double dblSens = (previous.dblData - point.dblData) / double(nDistance);
            if (std::isfinite(dblSens))
                point.dblSens = dblSens;
        }
        widen(point.dblSens, record.dblMinSens, record.dblMaxSens);
    }
    record.vecTeachInData.append(point);
}

void resetMeasurementRecord(lvTeachIn &record, const lvSensor &sensor)
{
    record.vecTeachInData.clear();
    record.sensor = sensor;
    record.dblMinSteps = record.dblMinData = record.dblMinTime = record.dblMinSens = record.dblMinSetpoint =
        rangeMinStart;
    record.dblMaxSteps = record.dblMaxData = record.dblMaxTime = record.dblMaxSens = record.dblMaxSetpoint =
        rangeMaxStart;
}

QString waitProgressText(qint64 nElapsedMs, int nWaitMs)
{
    return QCoreApplication::translate("scriptExecutor", "time: %1/%2")
        .arg(QString::number(nElapsedMs / 1000.0, 'g', 6), QString::number(nWaitMs / 1000.0, 'g', 6));
}

QString reachedProgressText(int nReachedCount)
{
    return QCoreApplication::translate("scriptExecutor", "reached: %1/3").arg(nReachedCount);
}
