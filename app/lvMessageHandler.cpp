#include "app/lvMessageHandler.h"

#include <cstdio>

namespace {

const char *labelFor(QtMsgType type)
{
    switch (type) {
    case QtInfoMsg:
        return "Info";
    case QtWarningMsg:
        return "Warning";
    case QtCriticalMsg:
        return "Critical";
    case QtFatalMsg:
        return "Fatal";
    case QtDebugMsg:
        break;
    }
    return nullptr;
}

const char *orPlaceholder(const char *psz)
{
    return psz ? psz : "unknown";
}

} // namespace

QByteArray formatMessageLine(QtMsgType type, const char *pszFile, int nLine,
                             const char *pszFunction, const QString &strMessage)
{
    const char *pszLabel = labelFor(type);
    if (!pszLabel)
        return QByteArray();
    return QByteArray(pszLabel) + ": " + strMessage.toLocal8Bit() + " (" + orPlaceholder(pszFile) + ':'
        + QByteArray::number(static_cast<unsigned int>(nLine)) + ", " + orPlaceholder(pszFunction) + ")\n";
}

void lvMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &strMessage)
{
    const QByteArray line = formatMessageLine(type, context.file, context.line, context.function, strMessage);
    if (line.isEmpty())
        return;
    // One write per message, so lines of different threads never interleave.
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}
