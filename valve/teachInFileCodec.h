#ifndef TEACHINFILECODEC_H
#define TEACHINFILECODEC_H

#include "valve/lvTeachInData.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The teach-in file: a version line, three sensor lines, a column header and
// one line per point, every field followed by ";" and every line by "\n".
// Readers split the whole text at ";", so each line end opens the next field.

// One point as the file holds it. For a "D" point the channel columns carry
// the data value and the set value.
struct teachInFilePoint
{
    int nSteps = 0;
    double dblTime = 0.0;
    double dblCh1 = 0.0;
    double dblCh2 = 0.0;
    int nCurveType = CURVE_CLOSE;
};

struct teachInFileContent
{
    bool bVersionMatches = false;
    // How many of the three sensor lines (name, formula, data name) the text
    // holds; only those are meaningful below.
    int nSensorFields = 0;
    QString strSensorName;
    QString strSensorFormula;
    QString strSensorDataName;
    QVector<teachInFilePoint> points;
};

// Decodes the text; fields are taken by position and bounds-checked, a number
// that does not convert reads as 0, a point line is taken only when its last
// ";" is there.
teachInFileContent decodeTeachInFile(const QString &strText);

// UTF-8 bytes of a whole file for these points (points of an unknown curve
// type are left out). A ";" in a sensor text would shift every field after
// it, so it is written as ",".
QByteArray encodeTeachInFile(const QString &strSensorName, const QString &strSensorFormula,
                             const QString &strSensorDataName, const QVector<lvTeachInData> &points);

// One number as the file writes it: six significant digits, 'g'.
QString formatTeachInNumber(double dblValue);

#endif // TEACHINFILECODEC_H
