#ifndef UPDATECLEANUP_H
#define UPDATECLEANUP_H

#include <QString>

// A software update records the path of the program file that ran it; at the
// next start the existence of that file tells that an update finished. The
// recorded file is removed, except when it is the program now running (the
// updated program may be installed at the same path).
struct updateCleanupResult
{
    bool bSoftwareUpdated = false;  // report the update once the window is shown
    bool bDeleted = false;          // the recorded file was removed
};

// strRecordedPath: "controller"/"update cleanup"; strRunningProgram: the file
// of the running program. Empty paths mean nothing to clean up.
updateCleanupResult runUpdateCleanup(const QString &strRecordedPath, const QString &strRunningProgram);

#endif // UPDATECLEANUP_H
