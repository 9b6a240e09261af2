#include "valve/lvTeachIn.h"

#include "valve/lvFormulaEvaluator.h"
#include "valve/recordFiles.h"
#include "valve/teachInFileCodec.h"

#include <QDebug>

#include <cmath>
#include <limits>

namespace {

using teachInRange::widen;
constexpr double rangeMinStart = teachInRange::dblMinStart;
constexpr double rangeMaxStart = teachInRange::dblMaxStart;

// A computed position as int; -1 (nothing found) when it is not a number.
int positionFromDouble(double dblValue)
{
    if (!std::isfinite(dblValue))
        return -1;
    if (dblValue >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (dblValue <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(dblValue);
}

// Position differences of two points, wide enough for any pair of ints.
double stepsBetween(int nFrom, int nTo)
{
    return double(qint64(nFrom) - qint64(nTo));
}

} // namespace

lvTeachIn::lvTeachIn()
    : dblMinSteps(rangeMinStart)
    , dblMaxSteps(rangeMaxStart)
    , dblMinData(rangeMinStart)
    , dblMaxData(rangeMaxStart)
    , dblMinTime(rangeMinStart)
    , dblMaxTime(rangeMaxStart)
    , dblMinSens(rangeMinStart)
    , dblMaxSens(rangeMaxStart)
    , dblMinSetpoint(rangeMinStart)
    , dblMaxSetpoint(rangeMaxStart)
    , nCurveUse(CURVE_USE_OPEN)
{
}

lvTeachIn::lvTeachIn(const lvTeachIn &other)
{
    QMutexLocker lock(&other.mutex);
    copyFieldsFrom(other);
}

lvTeachIn &lvTeachIn::operator=(const lvTeachIn &other)
{
    if (this == &other)
        return *this;
    // Never hold both locks: two threads assigning crosswise would deadlock.
    const lvTeachIn copy(other);
    QMutexLocker lock(&mutex);
    copyFieldsFrom(copy);
    return *this;
}

void lvTeachIn::copyFieldsFrom(const lvTeachIn &other)
{
    strTeachInFile = other.strTeachInFile;
    vecDataValues = other.vecDataValues;
    vecChannel1 = other.vecChannel1;
    vecChannel2 = other.vecChannel2;
    vecTeachInData = other.vecTeachInData;
    dblMinSteps = other.dblMinSteps;
    dblMaxSteps = other.dblMaxSteps;
    dblMinData = other.dblMinData;
    dblMaxData = other.dblMaxData;
    dblMinTime = other.dblMinTime;
    dblMaxTime = other.dblMaxTime;
    dblMinSens = other.dblMinSens;
    dblMaxSens = other.dblMaxSens;
    dblMinSetpoint = other.dblMinSetpoint;
    dblMaxSetpoint = other.dblMaxSetpoint;
    sensor = other.sensor;
    nCurveUse = other.nCurveUse;
    strTeachInDir = other.strTeachInDir;
}

bool lvTeachIn::readTeachInFromFile(const QString &strFileName)
{
    if (!isValidName(strFileName))
        return false;
    const QString strDir = teachInDirectory();
    QByteArray data;
    const bool bRead = readRecordFile(strDir + strFileName + QStringLiteral(".kfxteachin"), data);

    // The file is decoded and evaluated without the lock, so the motor thread
    // keeps interpolating on the previous points meanwhile.
    lvSensor fileSensor = withLock([](const lvTeachIn &self) { return self.sensor; });
    QVector<lvTeachInData> points;
    double dblMinS = rangeMinStart, dblMaxS = rangeMaxStart;
    double dblMinD = rangeMinStart, dblMaxD = rangeMaxStart;
    double dblMinT = rangeMinStart, dblMaxT = rangeMaxStart;
    double dblMinSe = rangeMinStart, dblMaxSe = rangeMaxStart;
    teachInFileContent content;
    bool bEvaluated = false;
    double dblLastResult = std::numeric_limits<double>::quiet_NaN();

    if (bRead) {
        content = decodeTeachInFile(QString::fromUtf8(data.constData(), data.size()));
        if (!content.bVersionMatches)
            qDebug() << "teachIn has different software version";
        if (content.nSensorFields > 0)
            fileSensor.strName = content.strSensorName;
        if (content.nSensorFields > 1)
            fileSensor.strFormula = content.strSensorFormula;
        if (content.nSensorFields > 2)
            fileSensor.strDataName = content.strSensorDataName;

        // One evaluation per open or close point, all in one go.
        QStringList programs;
        for (const teachInFilePoint &filePoint : qAsConst(content.points))
            if (filePoint.nCurveType != CURVE_DATA)
                programs.append(substituteSensorFormula(fileSensor.strFormula, filePoint.dblCh1, filePoint.dblCh2));
        const QVector<double> values = lvFormulaEvaluator::evaluateAll(programs);
        int nNextValue = 0;

        points.reserve(content.points.size());
        for (const teachInFilePoint &filePoint : qAsConst(content.points)) {
            lvTeachInData point;
            point.nSteps = filePoint.nSteps;
            point.dblTime = filePoint.dblTime;
            point.dblCh1 = filePoint.dblCh1;
            point.dblCh2 = filePoint.dblCh2;
            point.nCurveType = filePoint.nCurveType;
            if (point.nCurveType == CURVE_DATA) {
                // The channel columns of a data point carry its value and set value.
                point.dblData = point.dblCh1;
                point.dblSetpoint = point.dblCh2;
            } else {
                point.dblData = values.at(nNextValue++);
                dblLastResult = point.dblData;
                bEvaluated = true;
            }
            widen(point.dblData, dblMinD, dblMaxD);
            widen(point.dblTime, dblMinT, dblMaxT);
            widen(double(point.nSteps), dblMinS, dblMaxS);

            const int nCount = points.size();
            if (nCount >= 2) {
                const lvTeachInData &a = points.at(nCount - 2);
                lvTeachInData &b = points[nCount - 1];
                if (a.nSteps == point.nSteps)
                    b.dblSens = a.dblSens;
                else
                    b.dblSens = ((a.dblData - point.dblData) / a.dblData) / stepsBetween(a.nSteps, point.nSteps);
                widen(b.dblSens, dblMinSe, dblMaxSe);
            }
            points.append(point);
        }
    }

    QMutexLocker lock(&mutex);
    strTeachInFile = strFileName;
    strTeachInDir = strDir;
    vecTeachInData = points;
    dblMinSteps = dblMinS;
    dblMaxSteps = dblMaxS;
    dblMinData = dblMinD;
    dblMaxData = dblMaxD;
    dblMinTime = dblMinT;
    dblMaxTime = dblMaxT;
    dblMinSens = dblMinSe;
    dblMaxSens = dblMaxSe;
    if (bRead) {
        if (content.nSensorFields > 0)
            sensor.strName = fileSensor.strName;
        if (content.nSensorFields > 1)
            sensor.strFormula = fileSensor.strFormula;
        if (content.nSensorFields > 2)
            sensor.strDataName = fileSensor.strDataName;
        if (bEvaluated) {
            sensor.dblResult = dblLastResult;
            sensor.strResult = formatSensorResult(dblLastResult, sensor.bExponential);
        }
    }
    return bRead;
}

bool lvTeachIn::saveTeachInToFile(const QString &strFileName)
{
    if (!isValidName(strFileName))
        return false;
    QByteArray data;
    QString strDir;
    {
        QMutexLocker lock(&mutex);
        strTeachInFile = strFileName;
        strTeachInDir = strDir = teachInDirectory();
        if (vecTeachInData.size() > 1)
            data = encodeTeachInFile(sensor.strName, sensor.strFormula, sensor.strDataName, vecTeachInData);
    }
    return writeRecordFile(strDir + strFileName + QStringLiteral(".kfxteachin"), data);
}

int lvTeachIn::calcStepsFromData(double dblSetData, double dblActualData, double dblCorrectSensitivity) const
{
    Q_UNUSED(dblCorrectSensitivity)
    QMutexLocker lock(&mutex);
    if (vecTeachInData.size() < 2)
        return -1;

    int nCurve = CURVE_OPEN;
    if (nCurveUse == CURVE_USE_CLOSE || (nCurveUse == CURVE_USE_BOTH && dblSetData < dblActualData))
        nCurve = CURVE_CLOSE;

    if (dblSetData <= dblMinData)
        return positionFromDouble(dblMinSteps);
    if (dblSetData >= dblMaxData)
        return positionFromDouble(dblMaxSteps);

    for (int i = 1; i < vecTeachInData.size(); ++i) {
        const lvTeachInData &p = vecTeachInData.at(i - 1);
        const lvTeachInData &q = vecTeachInData.at(i);
        if (p.nCurveType != nCurve || q.nCurveType != nCurve)
            continue;
        const bool bRising = p.dblData < dblSetData && dblSetData <= q.dblData;
        const bool bFalling = p.dblData > dblSetData && dblSetData >= q.dblData;
        if (bRising || bFalling)
            return positionFromDouble(p.nSteps
                                      + (dblSetData - p.dblData) * stepsBetween(p.nSteps, q.nSteps)
                                          / (p.dblData - q.dblData));
    }
    return -1;
}

void lvTeachIn::calcDataAt(int nIndex)
{
    QMutexLocker lock(&mutex);
    if (nIndex < 0 || nIndex >= vecChannel1.size() || nIndex >= vecChannel2.size())
        return;
    if (vecDataValues.size() < nIndex + 1)
        vecDataValues.resize(nIndex + 1);
    sensor.calcData(vecChannel1.at(nIndex), vecChannel2.at(nIndex));
    vecDataValues.append(sensor.dblResult);
    widen(sensor.dblResult, dblMinData, dblMaxData);
}

double lvTeachIn::calcSensorData(double val1, double val2)
{
    QMutexLocker lock(&mutex);
    sensor.calcData(val1, val2);
    return sensor.dblResult;
}

bool lvTeachIn::isValidName(const QString &strName)
{
    return isValidRecordName(strName);
}

QString lvTeachIn::teachInDirectory()
{
    return workingSubdirectory(QStringLiteral("teachIn"));
}

QString lvTeachIn::teachInFilePath(const QString &strFileName)
{
    return teachInDirectory() + strFileName + QStringLiteral(".kfxteachin");
}
