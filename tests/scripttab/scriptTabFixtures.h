#ifndef SCRIPTTABFIXTURES_H
#define SCRIPTTABFIXTURES_H

#include "script/lvScriptCommand.h"
#include "script/scriptCommandType.h"

#include "modalAnswerer.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

// A command from its keyword and numbers.
inline lvScriptCommand scriptCmd(int nNr, const char *pszKeyword, int nValue, int nRepeat)
{
    lvScriptCommand cmd;
    cmd.setCommand(nNr, QString::fromLatin1(pszKeyword), nValue, nRepeat);
    return cmd;
}

// The commands as "KEYWORD value repeat" joined by ", " (numbers left out
// unless bWithNumbers, then "nr:KEYWORD value repeat").
inline QString commandsText(const QList<lvScriptCommand> &list, bool bWithNumbers = false)
{
    QStringList parts;
    for (const lvScriptCommand &cmd : list) {
        const QString strCmd = QStringLiteral("%1 %2 %3").arg(cmd.getCmdName()).arg(cmd.nValue).arg(cmd.nRepeat);
        parts << (bWithNumbers ? QStringLiteral("%1:").arg(cmd.nCmdNr) + strCmd : strCmd);
    }
    return parts.join(QStringLiteral(", "));
}

// An icon file of the given square size below the working directory's
// icon/ folder, so a test can tell which file a cell shows by its size.
inline bool writeIcon(const QString &strPath, int nSize)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32);
    image.fill(QColor(0, 128, 255));
    return image.save(strPath, "PNG");
}

// The text of a standard button as the boxes show it.
inline QString buttonText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Save:
        return QStringLiteral("Save");
    case QMessageBox::Discard:
        return QStringLiteral("Discard");
    case QMessageBox::Cancel:
        return QStringLiteral("Cancel");
    case QMessageBox::Yes:
        return QStringLiteral("&Yes");
    case QMessageBox::No:
        return QStringLiteral("&No");
    default:
        return QStringLiteral("OK");
    }
}

#endif // SCRIPTTABFIXTURES_H
