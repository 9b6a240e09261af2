#ifndef SENSORFILECODEC_H
#define SENSORFILECODEC_H

#include <QByteArray>
#include <QString>

class lvSensor;

// The sensor file: one line of six fields, each followed by ";", no line end:
// name; data name; unit; formula; "exp" or "no_exp"; input mask;

// UTF-8 bytes of the line.
QByteArray encodeSensorFile(const lvSensor &sensor);

// Fills the definition from the file's text, fields taken by position; a field
// the text does not have leaves its member alone. Returns the number of the
// six fields that were present.
int decodeSensorFile(const QString &strText, lvSensor &sensor);

#endif // SENSORFILECODEC_H
