#ifndef DEMOWORLD_H
#define DEMOWORLD_H

#include "valve/lvSensor.h"
#include "valve/lvTeachInData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The world in which ./run.sh shows the valve at work without hardware: the
// leak detector of the demo plant (gaugePlant) as a sensor definition, a
// teach-in of the plant recorded with it through the analog card, the
// settings that make it the active sensor and teach-in on the inputs the
// plant feeds, and a log whose last run ended cleanly.
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
