#ifndef LVMESSAGEHANDLER_H
#define LVMESSAGEHANDLER_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The process-wide message handler: debug messages are dropped, every other
// message becomes one line on standard error naming its source.

// The line written for one message; empty for a debug message. A context
// without file or function name (release builds leave them unset) prints a
// placeholder instead of a null string.
QByteArray formatMessageLine(QtMsgType type, const char *pszFile, int nLine,
                             const char *pszFunction, const QString &strMessage);

// Installed with qInstallMessageHandler before anything else; keeps no state
// and may be called from any thread.
void lvMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &strMessage);

#endif // LVMESSAGEHANDLER_H
