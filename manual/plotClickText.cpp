#include "manual/plotClickText.h"

QString plotClickValueText(double dblData, bool bExponential)
{
    if (bExponential)
        return QString::number(dblData, 'E', 2);
    return QString::number(dblData, 'g', 6);
}
