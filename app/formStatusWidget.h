#ifndef FORMSTATUSWIDGET_H
#define FORMSTATUSWIDGET_H

#include "app/onScreenKeyboard.h"
#include "app/statusStickyRules.h"

#include <QPoint>
#include <QString>
#include <QWidget>

class QAction;
class QMenu;
class QTimer;
class Ui_formStatusWidget;
class analogData;
class lvExternalFeedback;
class runningProcess;

// The status strip above the tabs: valve position, the drive's status with a
// sticky script or clock message above it, the process value, the inputs,
// output 1, the limit switch and a clock; Stop, power-off and the help menu.
// It holds no valve state: it shows, logs and asks, and its requests leave
// as signals.
class formStatusWidget : public QWidget
{
    Q_OBJECT

public:
    explicit formStatusWidget(QWidget *parent = nullptr);
    ~formStatusWidget() override;

    // Not owned; both belong to the main window and must outlive the strip.
    void setExtFeedback(lvExternalFeedback *pFeedback);
    void setAnalogData(analogData *pData);

signals:
    void onStop();
    void onCalibrate();
    void onClearError();
    void onWriteLog(QString strLogMessage);
    void onForceMotorPositionToGUI();
    // Power-off confirmed: whoever keeps the counters stores them with this
    // position (-1 before the first report) before the panel goes down.
    void storeShutdownState(int nPosition);

public slots:
    void setPosition(int nPos);
    void setPositionSteps(int nPosSteps);
    void setStatus(QString strStatus);
    void setStatusCtrl(int nStatusCtrl);
    void statForceMotorPositionToGUI();
    void setMeasureGUI(bool bMeasure);
    void on_pushBtnStop_clicked();
    void onCloseKeyboard();
    void onUpdateInputs(double dblInput1, double dblInput2, double dblInput3);
    void onUpdateOutput1(bool pbIsOn);
    void onUpdateLimitSwitch(bool pbIsOn);
    void on_pushBtnIO_clicked();
    void on_pushButtonVarnix_clicked();
    void on_lblPosName_linkActivated(QString link);
    void on_widget_customContextMenuRequested(QPoint pos);
    void slotWhatsThis();
    void slotHelp();
    void slotShowKeyboard();
    void onShowFullStatus();
    void updateClock();
    void onBlinkData();
    void slotClockStartSimulate();

public:
    // Reached through the label menus. Plain functions rather than slots: the
    // form has no buttons of these names, and as slots their names would make
    // the form's connect-by-name warn at every start.
    void on_pushBtnCalibrate_clicked();
    void on_pushBtnClearError_clicked();

private:
    statusMarkers markers() const;
    QStringList mustCalibrateMarkers() const;
    void askMustCalibrate(const QString &strStatus);
    // The main window: the strip's boxes are its dialogs.
    QWidget *boxParent();

    Ui_formStatusWidget *ui;
    int nPosition = -1;
    QMenu *menuHelp = nullptr;
    QAction *actionHelp = nullptr;
    QAction *actionWhatsThis = nullptr;
    runningProcess *procAssistant = nullptr;
    runningProcess *procSimulate = nullptr;
    statusTexts texts;
    QTimer *timerClock = nullptr;
    lvExternalFeedback *pExtFeedback = nullptr;
    analogData *pAnalogData = nullptr;
    bool bMeasuring = false;
    // A second "Must Calibrate" while the question is open must not stack a
    // second question on top of it.
    bool bCalibrateQuestionOpen = false;
    onScreenKeyboard procKeyboard;
};

#endif // FORMSTATUSWIDGET_H
