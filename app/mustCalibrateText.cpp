#include "app/mustCalibrateText.h"

namespace {

// The text from nFrom up to the first strEnd after it, or to the end.
QString textUpTo(const QString &strText, int nFrom, const QString &strEnd)
{
    const int nEnd = strText.indexOf(strEnd, nFrom);
    return nEnd < 0 ? strText.mid(nFrom) : strText.mid(nFrom, nEnd - nFrom);
}

} // namespace

mustCalibrateValues parseMustCalibrate(const QString &strStatus)
{
    static const QString strPos = QStringLiteral("Pos: ");
    mustCalibrateValues values;

    const int nLast = strStatus.lastIndexOf(strPos);
    if (nLast >= 0)
        values.strMotor = textUpTo(strStatus, nLast + strPos.size(), QStringLiteral("\n"));

    const int nFirst = strStatus.indexOf(strPos);
    if (nFirst >= 0)
        values.strSettings = textUpTo(strStatus, nFirst + strPos.size(), QStringLiteral(" <-->"));
    return values;
}
