#ifndef LVTEACHINDATA_H
#define LVTEACHINDATA_H

#include <QMetaType>

// Which curve a teach-in point belongs to; the letter is its mark in the
// teach-in file.
enum curveType {
    CURVE_OPEN = 0,  // "O": recorded while the valve opened
    CURVE_CLOSE = 1, // "C": recorded while the valve closed
    CURVE_DATA = 2   // "D": time series of data and set value
};

// One teach-in or measurement point.
class lvTeachInData
{
public:
    lvTeachInData();

    double dblTime;     // s since the recording started
    int nSteps;         // position, parts per million of full travel
    double dblCh1;      // feedback channel 1, V
    double dblCh2;      // feedback channel 2, V
    double dblData;     // process value
    double dblSens;     // sensitivity
    double dblSetpoint; // set value active when the point was taken
    int nCurveType;     // curveType
};

Q_DECLARE_METATYPE(lvTeachInData)

#endif // LVTEACHINDATA_H
