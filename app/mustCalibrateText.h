#ifndef MUSTCALIBRATETEXT_H
#define MUSTCALIBRATETEXT_H

#include <QString>

// The two positions of the drive's line
// "Must Calibrate Settings Pos: %1 <--> Motor Pos: %2", which may stand
// among other status lines joined by "\n".
struct mustCalibrateValues
{
    QString strSettings;   // after the first "Pos: ", up to " <-->"
    QString strMotor;      // after the last "Pos: ", up to the next "\n"
};

mustCalibrateValues parseMustCalibrate(const QString &strStatus);

#endif // MUSTCALIBRATETEXT_H
