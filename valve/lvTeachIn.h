#ifndef LVTEACHIN_H
#define LVTEACHIN_H

#include "valve/lvSensor.h"
#include "valve/lvTeachInData.h"

#include <QMetaType>
#include <QMutexLocker>
#include <QRecursiveMutex>
#include <QString>
#include <QVector>

// Which curve calcStepsFromData interpolates on ("external feedback"/"curve use").
enum curveUse {
    CURVE_USE_OPEN = 0,  // the open curve
    CURVE_USE_CLOSE = 1, // the close curve
    CURVE_USE_BOTH = 2   // close when the set value lies below the actual value, else open
};

// One teach-in: its name, its points, the range of every quantity, the sensor
// the points were measured with and the curve the interpolation uses.
// Stored as "<name>.kfxteachin" in "teachIn/" below the working directory.
//
// Threads: the main window's teach-in is re-read in the GUI thread while the
// motor thread interpolates on it; the executor's is filled in the script
// thread while the GUI thread draws it. Every operation of the class takes the
// object's own lock, and so do copying and assignment: a copy is a consistent
// snapshot of the source at one instant. The public fields themselves are not
// guarded: a reader in another thread than the writer takes a copy (or
// snapshot()) and reads that, and a writer that changes the fields directly
// does so inside withLock(). Evaluate the embedded sensor from another thread
// with calcSensorData(), not through sensor.calcData().
// A record's ranges start inverted, so that its first point sets both ends.
namespace teachInRange {
constexpr double dblMinStart = 1000000.0;
constexpr double dblMaxStart = 0.0;
inline void widen(double dblValue, double &dblMin, double &dblMax)
{
    if (dblValue < dblMin)
        dblMin = dblValue;
    if (dblValue > dblMax)
        dblMax = dblValue;
}
} // namespace teachInRange

class lvTeachIn
{
public:
    lvTeachIn();
    lvTeachIn(const lvTeachIn &other);
    lvTeachIn &operator=(const lvTeachIn &other);
    ~lvTeachIn() = default;

    // Loads "<name>.kfxteachin": an empty or unsafe name does nothing at all.
    // Otherwise the name and folder are taken, the points are replaced by the
    // file's (none when the file cannot be read) and the ranges of position,
    // data, time and sensitivity are recomputed; the set-value range is kept.
    // The sensor's name, formula and data name come from the file. Returns
    // whether the file could be read.
    bool readTeachInFromFile(const QString &strFileName);
    // Writes "<name>.kfxteachin" (empty when there are fewer than two points).
    // The previous file is replaced only once the new one is complete; an
    // empty or unsafe name writes nothing. Returns whether it was written.
    bool saveTeachInToFile(const QString &strFileName);
    // Position (parts per million) at which the chosen curve gives the wanted
    // process value dblSetData, given the actual value dblActualData (curve
    // use 2); dblCorrectSensitivity is not used. -1 when none is found.
    int calcStepsFromData(double dblSetData, double dblActualData, double dblCorrectSensitivity) const;
    // Evaluates the sensor on vecChannel1/vecChannel2 at nIndex and appends the
    // result to vecDataValues (widening the data range).
    void calcDataAt(int nIndex);

    // Evaluates the embedded sensor under the lock (its dblResult and
    // strResult are left as calcData leaves them) and returns the result.
    double calcSensorData(double val1, double val2);
    // A consistent copy, the same as copy construction.
    lvTeachIn snapshot() const { return lvTeachIn(*this); }
    // Runs f(*this) under the object's lock (the lock is recursive, so the
    // operations above may be called inside f) and returns what f returns.
    template <typename F>
    decltype(auto) withLock(F &&f)
    {
        QMutexLocker lock(&mutex);
        return f(*this);
    }
    template <typename F>
    decltype(auto) withLock(F &&f) const
    {
        QMutexLocker lock(&mutex);
        return f(*this);
    }

    // A name that may become a file name in the teach-in folder: the one rule of
    // every record file (isValidRecordName).
    static bool isValidName(const QString &strName);
    // "<working directory>/teachIn/" and the full path of a teach-in's file.
    static QString teachInDirectory();
    static QString teachInFilePath(const QString &strFileName);

    QString strTeachInFile;
    QVector<double> vecDataValues;
    QVector<double> vecChannel1;
    QVector<double> vecChannel2;
    QVector<lvTeachInData> vecTeachInData;
    double dblMinSteps;
    double dblMaxSteps;
    double dblMinData;
    double dblMaxData;
    double dblMinTime;
    double dblMaxTime;
    double dblMinSens;
    double dblMaxSens;
    double dblMinSetpoint;
    double dblMaxSetpoint;
    lvSensor sensor;
    int nCurveUse;
    QString strTeachInDir;

private:
    void copyFieldsFrom(const lvTeachIn &other);

    mutable QRecursiveMutex mutex;
};

Q_DECLARE_METATYPE(lvTeachIn)
Q_DECLARE_METATYPE(lvTeachIn *)

#endif // LVTEACHIN_H
