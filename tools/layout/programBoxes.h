#ifndef PROGRAMBOXES_H
#define PROGRAMBOXES_H

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// Every question, note and dialog the program shows, built with its own texts
// (in their translation contexts) and the widest values they can carry, so the
// layout check and the screenshot tool see each one the way the operator does.
// A dialog that joins the program joins here with one line.
struct programBox
{
    QString strName;                            // file-name friendly
    std::function<QWidget *(QWidget *)> build;  // parent: the main window; caller deletes
};

QList<programBox> programBoxes();

// The status text with every line the drive can show at once (without the
// "Must Calibrate" line, which opens a question of its own).
QString widestMotorStatus();

#endif // PROGRAMBOXES_H
