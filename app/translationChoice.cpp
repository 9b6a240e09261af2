#include "app/translationChoice.h"

#include <QFileInfo>

QString translationToLoad(const QString &strLanguageFile)
{
    const QString strDir = QStringLiteral("./languages/");
    if (QFileInfo::exists(strDir + strLanguageFile))
        return strDir + strLanguageFile.left(qMax(0, strLanguageFile.size() - 3));
    return strDir + QStringLiteral("qlvZENTU_en");
}
