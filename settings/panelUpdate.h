#ifndef PANELUPDATE_H
#define PANELUPDATE_H

#include "platform/processRunner.h"

#include <QString>

// Installs a software update package: empties the update folder (so nothing
// of an earlier package is unpacked over or run again), copies the package
// there as <base name>.zip, unpacks it and runs its update script. Each step
// runs only when the one before it worked.
class panelUpdate
{
public:
    enum step { EMPTY_FOLDER, COPY, UNZIP, FIND_SCRIPT, RUN_SCRIPT, DONE };

    struct outcome {
        step eFailedAt = DONE;      // DONE: the update script reported success
        processRunner::result last; // the last command run
        bool succeeded() const { return eFailedAt == DONE; }
    };

    // The panel's update folder: "/update/", or VALVE_UPDATE_DIR when set.
    static QString defaultFolder();

    static outcome install(const QString &strPackage, const QString &strFolder, processRunner &runner);
    // A line for the operator that says which step failed.
    static QString failureReason(const outcome &res);
};

#endif // PANELUPDATE_H
