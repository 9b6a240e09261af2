#ifndef DEMOWORLD_H
#define DEMOWORLD_H

#include "script/lvScriptCommand.h"
#include "valve/lvSensor.h"
#include "valve/lvTeachInData.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The world in which ./run.sh shows the valve at work without hardware: the
// leak detector of the demo plant (gaugePlant) as a sensor definition, a
// teach-in of the plant recorded with it through the analog card, the
// settings that make it the active sensor and teach-in on the inputs the
// plant feeds, a script that records a teach-in of its own on the plant, and
// a log whose last run ended cleanly.
namespace demoWorld {

// The leak detector: mantissa on input 1 (Feedback 1), exponent on input 2
// (Feedback 2).
lvSensor sensor();
QString teachInName();

// The plant opened from closed to full travel and closed again, one point
// per percent of travel, with the voltages the card would have given (noise
// and 10-bit quantisation included) and the leak rate the formula makes of
// them.
QVector<lvTeachInData> teachInPoints();

// The script that records a teach-in on the plant: from the closed valve it
// opens in nine steps of a tenth of the travel, recording the opening curve,
// then closes in nine steps, recording the closing curve, each step followed
// by a wait long enough for a sample at rest (the inputs are sampled once a
// second); SAVE writes the teach-in under the script's name.
QString scriptName();
QList<lvScriptCommand> teachInScript();

struct setting
{
    QString strGroup;
    QString strKey;
    QVariant value;
};
// Keys of the settings store: the sensor and regulation parameters, the
// active teach-in, the three inputs and the analog card.
QVector<setting> settings();

// A log whose last line says the previous run was shut down properly.
QByteArray cleanLog(const QDateTime &dtNow);

struct layoutResult
{
    bool bOk = true;
    QStringList laidOut; // files and keys written
    QStringList kept;    // already there, left as they were
    QString strError;
};

// Lays the world out below strWorkDir and in the settings store
// ("varnix"/"Pendrosix", native format), only where a file or key is absent:
// whatever an operator has put there is never replaced.
layoutResult layOut(const QString &strWorkDir, const QDateTime &dtNow = QDateTime::currentDateTime());

} // namespace demoWorld

#endif // DEMOWORLD_H
