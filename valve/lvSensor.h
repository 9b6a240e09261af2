#ifndef LVSENSOR_H
#define LVSENSOR_H

#include <QMetaType>
#include <QString>

// One sensor definition: the formula in val1 and val2 that turns the two
// feedback voltages into the process value, with the name, unit, presentation
// and input mask of that value. Stored as "<name>.kfxsensor" in "sensor/"
// below the working directory: one line of six fields, each followed by ";".
//
// A plain value class: copying copies every field. One object is used by one
// thread at a time; evaluations in different threads share nothing (every
// thread evaluates with a script engine of its own).
class lvSensor
{
public:
    lvSensor();

    // File operations. An empty or unsafe name (see isValidName) does nothing
    // at all. They report nothing to the operator; the result only tells the
    // caller whether the file was read, written or removed.
    //
    // Reads "<name>.kfxsensor": strFileName becomes the name first, then the
    // six fields fill strName, strDataName, strUnit, strFormula, bExponential
    // ("exp" exactly) and strInputMask. Fields missing from a short file keep
    // their values; strResult and dblResult are never touched.
    bool readSensorFromFile(const QString &strSensorName);
    // Writes the definition under the given name, replacing the file only once
    // the new content is complete. Refused (previous file kept) when the name
    // is unsafe or a field holds ";", which the format cannot store.
    bool saveSensorToFile(const QString &strSensorName) const;
    // Removes "<name>.kfxsensor" if it exists.
    bool deleteFile(const QString &strSensorName) const;

    // Replaces "val1" and "val2" in the formula by the arguments (six
    // significant digits), evaluates the text and leaves the number in
    // dblResult (NaN when it is not a number, fails or runs too long) and its
    // text with two decimals ('E' or 'F' after bExponential) in strResult.
    void calcData(double val1, double val2);
    // The same evaluation without touching the object.
    double evaluate(double val1, double val2) const;

    // A name that may become a file name in the sensor folder: the one rule of
    // every record file (isValidRecordName).
    static bool isValidName(const QString &strName);
    // True when every stored field can be written without shifting the others.
    bool isStorable() const;
    // "<working directory>/sensor/" and the full path of a sensor's file.
    static QString sensorDirectory();
    static QString sensorFilePath(const QString &strSensorName);

    QString strFileName;
    QString strName;
    QString strFormula;
    QString strDataName;
    QString strUnit;
    bool bExponential;
    QString strInputMask;
    QString strResult;
    double dblResult; // NaN until the first evaluation
};

Q_DECLARE_METATYPE(lvSensor)

#endif // LVSENSOR_H
