#include "app/statusStripTexts.h"

QString positionText(int nPos)
{
    return QStringLiteral("%L1").arg(nPos).replace(QLatin1Char('.'), QLatin1Char(' '));
}

QString inputVoltText(double dblVolt)
{
    return QString::number(dblVolt, 'f', 2);
}

QString output1Text(bool bIsOn)
{
    return bIsOn ? QStringLiteral("5,00") : QStringLiteral("0,00");
}

QString limitSwitchText(bool bIsOn)
{
    return bIsOn ? QStringLiteral("0,00") : QStringLiteral("5,00");
}

QString statusCtrlText(int nStatusCtrl)
{
    return QString::number(nStatusCtrl, 2);
}
