#include "script/scriptTableIcons.h"

namespace {

QString iconFile(const char *pszName, bool bHighlighted)
{
    return QStringLiteral("./icon/") + QLatin1String(pszName) + (bHighlighted ? QStringLiteral("-black.png")
                                                                              : QStringLiteral(".png"));
}

} // namespace

QString scriptTableIconFile(int nColumn, bool bSelectedRow)
{
    switch (nColumn) {
    case 0:
        return iconFile("Play", bSelectedRow);
    case 1:
        return iconFile("Stop", bSelectedRow);
    case 3:
        return iconFile("Plus", bSelectedRow);
    case 4:
        return iconFile("Minus", bSelectedRow);
    case 5:
        return iconFile("save", false);
    default:
        return QString();
    }
}

QString commandTableIconFile(int nColumn, bool bSelectedRow)
{
    switch (nColumn) {
    case 3:
        return iconFile("Plus", bSelectedRow);
    case 4:
        return iconFile("Minus", bSelectedRow);
    case 5:
        return iconFile("Pfeil-oben", bSelectedRow);
    case 6:
        return iconFile("Pfeil-unten", bSelectedRow);
    default:
        return QString();
    }
}
