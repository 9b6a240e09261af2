#include "app/statusStickyRules.h"

statusMarkers statusMarkers::untranslated()
{
    statusMarkers m;
    m.listScript = QStringList{QStringLiteral("Script")};
    m.listTabChanged = QStringList{QStringLiteral("Script Tab changed")};
    m.listRtc = QStringList{QStringLiteral("Real Time Clock not working")};
    m.strRtc = QStringLiteral("Real Time Clock not working");
    m.strScriptRtcSuffix = QStringLiteral("\nReal Time Clock not working");
    return m;
}

bool containsAnyOf(const QString &strText, const QStringList &listMarkers)
{
    for (const QString &strMarker : listMarkers)
        if (!strMarker.isEmpty() && strText.contains(strMarker, Qt::CaseSensitive))
            return true;
    return false;
}

statusTexts applyStatusText(const statusTexts &current, const QString &strStatus, const statusMarkers &markers)
{
    statusTexts next = current;
    const bool bScript = containsAnyOf(strStatus, markers.listScript);
    const bool bRtcSticky = containsAnyOf(current.strSticky, markers.listRtc);

    if (bScript) {
        if (containsAnyOf(strStatus, markers.listTabChanged))
            next.strSticky = bRtcSticky ? markers.strRtc : QString();
        else
            next.strSticky = bRtcSticky ? strStatus + markers.strScriptRtcSuffix : strStatus;
    } else if (containsAnyOf(strStatus, markers.listRtc)) {
        next.strSticky = strStatus;
    } else {
        next.strMotor = strStatus;
    }
    return next;
}

QString statusLabelText(const statusTexts &texts)
{
    if (texts.strSticky.isEmpty())
        return texts.strMotor;
    return texts.strSticky + QLatin1Char('\n') + texts.strMotor;
}
