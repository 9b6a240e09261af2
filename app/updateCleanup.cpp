#include "app/updateCleanup.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isSameFile(const QFileInfo &a, const QFileInfo &b)
{
    if (a.absoluteFilePath() == b.absoluteFilePath())
        return true;
    // A link or another spelling of the running program's path counts as the
    // program itself.
    const QString strA = a.canonicalFilePath();
    return !strA.isEmpty() && strA == b.canonicalFilePath();
}

} // namespace

updateCleanupResult runUpdateCleanup(const QString &strRecordedPath, const QString &strRunningProgram)
{
    updateCleanupResult result;
    if (strRecordedPath.isEmpty())
        return result;
    const QFileInfo recorded(strRecordedPath);
    // exists() follows links; a dangling link is still a left-over file.
    if (!recorded.exists() && !recorded.isSymLink())
        return result;
    result.bSoftwareUpdated = true;
    if (!strRunningProgram.isEmpty() && isSameFile(recorded, QFileInfo(strRunningProgram)))
        return result;
    if (recorded.isDir())
        return result;
    result.bDeleted = QFile::remove(strRecordedPath);
    return result;
}
