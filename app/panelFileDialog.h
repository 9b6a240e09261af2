#ifndef PANELFILEDIALOG_H
#define PANELFILEDIALOG_H

#include <QString>

class QFileDialog;
class QWidget;

// The file dialog of the panel: Qt's own dialog (a native one neither fits
// the 800 x 479 screen nor takes touch), frameless at the top left, with the
// on-screen keyboard for its name field, since the panel has no keyboard and
// a new file (an export, a printed diagram) is named there. The caller sets
// the file and accept modes and owns the dialog.
QFileDialog *makePanelFileDialog(QWidget *pParent, const QString &strCaption, const QString &strFolder,
                                 const QString &strFilter);

#endif // PANELFILEDIALOG_H
