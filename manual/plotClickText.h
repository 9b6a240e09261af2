#ifndef PLOTCLICKTEXT_H
#define PLOTCLICKTEXT_H

#include <QString>

// Text written into the set-value field when a curve point is touched:
// exponent form with two decimals for an exponential sensor ("2.50E-07"),
// otherwise at most six significant digits ("2.5e-07", "0.00025").
QString plotClickValueText(double dblData, bool bExponential);

#endif // PLOTCLICKTEXT_H
