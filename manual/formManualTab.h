#ifndef FORMMANUALTAB_H
#define FORMMANUALTAB_H

#include "valve/lvExternalFeedback.h"

#include <QTimer>
#include <QWidget>

class MainWindow;
class formCurrentState;
class lvTeachIn;

namespace Ui {
class formManualTab;
}

// The Manual tab: moves the valve by hand (one step, fast and faster while a
// button is held, fully open or closed, to a typed position) and starts and
// ends set-data runs, in which the valve reaches and holds a typed process
// value. The tab never talks to the valve itself: every request leaves as a
// signal that the main window connects to the motor driver. Touching a curve
// point of the embedded diagram copies its value and position into the two
// input fields.
class formManualTab : public QWidget
{
    Q_OBJECT

public:
    explicit formManualTab(QWidget *parent = nullptr);
    ~formManualTab() override;

    // Set by the main window once it has been shown; parent of the tab's
    // message box.
    MainWindow *pMainWindow = nullptr;
    // True while a set-data run is active.
    bool bSetDataRunning = false;

    // Keeps the active teach-in (not owned), redraws the diagram from it and
    // asks the valve for its position and to clear its error.
    void setTeachIn(lvTeachIn *pTeachIn);
    // Keeps a copy of the sensor and regulation parameters: label, unit and
    // input mask of the set-value field follow the sensor.
    void setExtFeedback(lvExternalFeedback feedback);
    // Prints the embedded diagram to a JPG file.
    void printDiagram();

    formCurrentState *currentState() const;

signals:
    void onPlusPressed();
    void onPlusContPressed(bool bPressed, int nFast = 1);
    void onMinusPressed();
    void onMinusContPressed(bool bPressed, int nFast = 1);
    void onOpenClicked();
    void onCloseClicked();
    void onHaltClicked();
    void onGotoStepClicked(int nStep);
    void onGotoLeakClicked(double dblData, int nSteps);
    void updateDiagram(lvTeachIn *pTeachIn);
    void readPosition();
    void clearMotorError();
    void setDataFromPlotClick(double dblData);
    void setMeasurement(bool pbMeasure);
    void getAnalogValue();
    void setNewTeachIn(QString strTeachInFile);

public slots:
    void getDataFromPlotClick(double dblData);
    void getStepFromPlotClick(int nStep);
    void setPositionSteps(int nPosSteps);
    void setDataFromMeasurement(double plvTeachInData);
    void onSetNewTeachIn(QString strTeachInFile);
    void stopSetData();
    void setLongPressTime(int pnLongPressTimeMs);

private slots:
    void on_pushBtnOneStepClose_clicked();
    void on_pushBtnOneStepOpen_clicked();
    void on_pushBtnFastOpen_pressed();
    void on_pushBtnFastOpen_released();
    void on_pushBtnFastClose_pressed();
    void on_pushBtnFastClose_released();
    void on_pushBtnOpen_clicked();
    void on_pushBtnClose_clicked();
    void on_pushBtnSetStepsGo_clicked();
    void on_pushBtnSetStepsStop_clicked();
    void on_pushBtnSetLeakrateStop_clicked();
    void on_pushBtnSetLeakrateGo_clicked();

public slots:
    void onUpdateDiagram(lvTeachIn *pTeachIn);

private slots:
    void on_pushBtnFasterOpen_pressed();
    void on_pushBtnFasterOpen_released();
    void on_pushBtnFasterClose_pressed();
    void on_pushBtnFasterClose_released();
    void measureTimerElapsed();

private:
    // The form has no measure button; kept out of the slots so that the
    // connection by name does not warn about it at every start.
    void on_pushBtnMeasure_clicked();
    void setRunning(bool bRunning);

    Ui::formManualTab *ui;
    lvExternalFeedback extFeedback;
    lvTeachIn *pTeachIn = nullptr;
    QTimer measureTimer;
    // No value has been measured before the first sample arrives; a Go before
    // then looks the curve up from 0.
    double dblActualData = 0.0;
};

#endif // FORMMANUALTAB_H
