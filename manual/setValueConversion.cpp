#include "manual/setValueConversion.h"

#include <QLocale>

#include <cmath>

std::optional<double> parseSetValue(const QString &strText)
{
    bool bOk = false;
    const double dblValue = QLocale::c().toDouble(strText, &bOk);
    if (!bOk || !std::isfinite(dblValue))
        return std::nullopt;
    return dblValue;
}

int parseSetSteps(const QString &strText)
{
    return strText.toInt(nullptr, 10);
}
