#ifndef SENSORFOLDER_H
#define SENSORFOLDER_H

#include "valve/lvSensor.h"

#include <QList>
#include <QString>

// The sensor folder as the Settings tab edits it. A definition is the file it
// was read from (lvSensor::strFileName), whatever name is written inside: a
// change rewrites that file, a delete removes it, and nothing writes over or
// removes a file that holds another definition. Files renamed or copied on
// the panel's share therefore never cost another definition.

// Every "*.kfxsensor" of the folder (the ending compared case-sensitively) in
// listing order, each read with strFileName set. A file whose own name or
// inner name breaks the record-name rule is left out: a name read from a file
// must pass the rule a typed one does.
QList<lvSensor> readSensorFolder();

// The file (base name) a definition belongs in after an edit: the file it was
// read from while it keeps its name (strFromFile, empty for a new definition
// or one without a file), otherwise the file named after it.
QString sensorTargetFile(const QString &strNewName, const QString &strOldName, const QString &strFromFile);

enum class sensorWriteResult {
    WRITTEN,
    TAKEN,  // the target file exists and is not the definition's own: nothing written
    FAILED  // the file could not be written: nothing changed
};

// Writes an edited definition to sensorTargetFile. Once the new file is
// complete, the file it came from is removed when the definition moved to
// another one (a rename).
sensorWriteResult writeSensorDefinition(const lvSensor &edited, const QString &strOldName, const QString &strFromFile);

// Removes the file the definition was read from; false when there is none or
// it could not be removed.
bool removeSensorDefinition(const lvSensor &sensor);

#endif // SENSORFOLDER_H
