#ifndef STATUSSTICKYRULES_H
#define STATUSSTICKYRULES_H

#include <QString>
#include <QStringList>

// The two texts the status label is made of: a sticky message (script
// progress, a failed real-time clock) above the valve drive's last status.
struct statusTexts
{
    QString strSticky;
    QString strMotor;

    bool operator==(const statusTexts &o) const { return strSticky == o.strSticky && strMotor == o.strMotor; }
};

// The markers looked for in a status text. Each may come in several forms
// (the untranslated text and its translation), since senders translate in
// their own contexts or not at all.
struct statusMarkers
{
    QStringList listScript;        // "Script"
    QStringList listTabChanged;    // "Script Tab changed"
    QStringList listRtc;           // "Real Time Clock not working"
    QString strRtc;                // what remains sticky after "Script Tab changed"
    QString strScriptRtcSuffix;    // appended to a script message while the clock has failed

    static statusMarkers untranslated();
};

bool containsAnyOf(const QString &strText, const QStringList &listMarkers);

// The status label's texts after strStatus arrived.
statusTexts applyStatusText(const statusTexts &current, const QString &strStatus, const statusMarkers &markers);

// Sticky message and status on two lines, or the status alone.
QString statusLabelText(const statusTexts &texts);

#endif // STATUSSTICKYRULES_H
