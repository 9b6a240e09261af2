#ifndef SCRIPTMEASUREMENT_H
#define SCRIPTMEASUREMENT_H

#include "valve/lvTeachIn.h"
#include "valve/lvTeachInData.h"

#include <QString>

// The measurement record a script fills, one point per analog sample.

// The volts of the input with this index (0..2); 0.0 for any other index.
double feedbackChannel(double dblData1, double dblData2, double dblData3, int nIndex);

// Appends the point and widens the record's ranges (strict comparisons).
// From the second point on, the point's sensitivity is the data change over
// the position change to the previous point; at standstill (same position)
// or for a value that is no number it stays 0, so the record never holds an
// infinite or undefined sensitivity. The caller holds the record's lock when
// another thread may read it.
void appendMeasurementPoint(lvTeachIn &record, lvTeachInData point);

// Removes every point, takes the sensor the points are evaluated with from
// now on and resets the five ranges (minimum 1000000.0, maximum 0.0). Name and
// folder stay.
void resetMeasurementRecord(lvTeachIn &record, const lvSensor &sensor);

// Progress of a WAIT: "time: <elapsed s>/<wait s>", both as %g.
QString waitProgressText(qint64 nElapsedMs, int nWaitMs);
// Progress of a data wait: "reached: <n>/3".
QString reachedProgressText(int nReachedCount);

#endif // SCRIPTMEASUREMENT_H
