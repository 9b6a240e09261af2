#ifndef STATUSSTRIPTEXTS_H
#define STATUSSTRIPTEXTS_H

#include <QString>

// Valve position in ppm with the default locale's digit grouping, a "."
// group separator shown as a blank (1 000 000).
QString positionText(int nPos);
// An input voltage with two decimals and "." whatever the locale.
QString inputVoltText(double dblVolt);
// Output 1 is shown as the voltage it drives.
QString output1Text(bool bIsOn);
// The limit switch is wired active-low: on reads 0 V.
QString limitSwitchText(bool bIsOn);
// The controller's raw status value in base-2 digits.
QString statusCtrlText(int nStatusCtrl);

#endif // STATUSSTRIPTEXTS_H
