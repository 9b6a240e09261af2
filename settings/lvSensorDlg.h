#ifndef LVSENSORDLG_H
#define LVSENSORDLG_H

#include "valve/lvSensor.h"

#include <QDialog>

namespace Ui {
class lvSensorDlg;
}

// Edits one sensor definition: name, formula, unit, data name, exponential
// presentation and input mask, with a field to try the mask out. It checks
// nothing itself; the settings page decides what a definition may be.
class lvSensorDlg : public QDialog
{
    Q_OBJECT

public:
    explicit lvSensorDlg(QWidget *parent = nullptr);
    ~lvSensorDlg() override;

    void setSensor(lvSensor pSensor);
    lvSensor getSensor();

    // The dialog's own style without its border rule, for adding a sensor.
    static QString styleSheetWithoutBorder();

    lvSensor sensor;

private slots:
    void on_buttonBox_accepted();
    void on_lineEditInputMask_editingFinished();

private:
    void copyFieldsToSensor();

    Ui::lvSensorDlg *ui;
};

#endif // LVSENSORDLG_H
