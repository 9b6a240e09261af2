#ifndef FORMSETTINGSTAB_H
#define FORMSETTINGSTAB_H

#include "valve/lvSensor.h"

#include <QList>
#include <QString>
#include <QWidget>

class MainWindow;
class analogData;
class lvExternalFeedback;
class qLvLineEdit;
class settingsStore;
class QComboBox;
class QLineEdit;

namespace Ui {
class formSettingsTab;
}

// The Settings tab: shows every setting of the valve, the feedback loop and
// the diagrams from the settings store, lets the operator edit them with the
// touch fields, and saves them back into the store and into the main
// window's live analogData and lvExternalFeedback (edited in place). It also
// keeps the sensor definitions of the sensor folder.
class formSettingsTab : public QWidget
{
    Q_OBJECT

public:
    explicit formSettingsTab(QWidget *parent = nullptr);
    ~formSettingsTab() override;

    void setAnalogData(analogData *pData) { pAnalogData = pData; }
    void setExtFeedback(lvExternalFeedback *pFeedback) { pExtFeedback = pFeedback; }

    // Fills the page from the store.
    void readSettingsToGUI();
    // Saves the page into the store and the live objects. False (nothing
    // saved, the operator told) when a field holds a value that cannot be
    // used.
    bool saveSettingsFromGUI();
    // Fills sensorList and the sensor combo from the sensor folder.
    void readSensorData();

    // Set by the main window once it has finished loading.
    MainWindow *pMainWindow;
    bool bWindowLoaded;

    // The sensor definitions of the sensor folder, in listing order (each
    // with the file it was read from), and the active one from the store when
    // no file holds it; the sensor combo lists them entry for entry.
    QList<lvSensor> sensorList;

signals:
    void setOutput1Mode(int pnOutputMode);
    void setNewTeachIn(QString strTeachInFile);
    void btnCalibrateClicked();
    void btnClearErrorClicked();
    void updateSensorData();
    void shutdownRequest(bool bReboot);
    void setLongPressTime(int pnLongPressTime);
    void setContSpeed(int nSpped);
    void setDebug(bool bDebug);
    void setDebugAnalogValue(double dblData1, double dblData2, double dblData3, int nIsFeeadbackk1, int nIsFeedback2);
    void setDebugData(int nVal1, int nVal2, double dblActualDebugData);

public slots:
    void setDebugMotorBuffer(QString strBuffer);

private slots:
    void on_buttonBox_accepted();

    // Page choice and the valve page.
    void on_comboBox_currentIndexChanged(int index);
    void on_lineEditSampling_editingFinished();
    void on_lineEditContSpeed_editingFinished();
    void on_cmbOutput1Config_currentIndexChanged(int index);
    void on_checkBoxCalibrateOnStart_clicked(bool checked);
    void on_checkBoxCalibrateOnStart_stateChanged(int arg1);
    void on_pushBtnCalibrate_clicked();
    void on_pushBtnClearError_clicked();

    // The feedback page.
    void on_lineEditPropValue_editingFinished();
    void on_lineEditDiffValue_editingFinished();
    void on_lineEditRelativeDifference_editingFinished();
    void on_lineEditNumOfIntVal_editingFinished();
    void on_cmbFeedbackInput1_currentIndexChanged(int index);
    void on_cmbFeedbackInput2_currentIndexChanged(int index);
    void on_lineEditFeedbackInput1Upper_editingFinished();
    void on_lineEditFeedbackInput1Lower_editingFinished();
    void on_cmbInput1IfUpperThen_currentIndexChanged(int index);
    void on_cmbInput1IfLowerThen_currentIndexChanged(int index);
    void on_lineEditFeedbackInput2Upper_editingFinished();
    void on_lineEditFeedbackInput2Lower_editingFinished();
    void on_cmbInput2IfUpperThen_currentIndexChanged(int index);
    void on_cmbInput2IfLowerThen_currentIndexChanged(int index);

    // Sensor definitions.
    void on_pushBtnAddSensor_clicked();
    void on_pushBtnChangeSensor_clicked();
    void on_pushBtnDeleteSensor_clicked();
    void on_cmbFeedbackType_currentTextChanged(const QString &arg1);

    // The diagram page.
    void on_lineEditPenWidth_editingFinished();
    void on_checkBoxShowSens_clicked(bool checked);
    void on_lineEditLongPressTime_editingFinished();
    void on_pushBtnChooseColorOpenGraph_clicked();

    // Panel administration.
    void on_pushBtnChoose_clicked();
    void on_pushBtnExport_clicked();
    void on_pushBtnUpdate_clicked();
    void on_pushBtnRestart_clicked();
    void on_pushBtnChangeSMBPassword_clicked();
    void on_pushBtnExecuteScript_clicked();
    void on_cmbBoxLanguage_currentIndexChanged(QString arg1);
    void on_pushBtnExportSettings_clicked();
    void on_pushBtnImportSettings_clicked();

    // The test and debug page.
    void on_chekcBoxDebug_stateChanged(int arg1);
    void on_lineEditDebugInput1_editingFinished();
    void on_lineEditDebugInput2_editingFinished();
    void on_lineEditDebugVal1_editingFinished();
    void on_lineEditDebugVal2_editingFinished();
    void on_pushBtnDebugSetData_clicked();
    void on_lineEditDebugSendToMotor_editingFinished();
    void debugTimerElapsed();

private:
    // Gives widgets at fixed positions the room their texts need on the panel.
    void fitFixedPlaces();
    friend class tst_formSettingsTab;

    enum boundarySide { UPPER, LOWER };
    // One boundary field of a feedback role: stores it under the input the
    // role's combo names and passes it on to analogData.
    void boundaryEdited(int nRole, boundarySide eSide);
    void boundaryActionEdited(int nRole, boundarySide eSide, int nAction);
    // A field's text as a number, or false after telling the operator and
    // putting the stored text back.
    bool usableNumber(QLineEdit *pField, const QString &strCaption, const QString &strStored, double &dblValue);
    // The first field of the page holding a value that cannot be used, with
    // its caption; null when every field is usable.
    qLvLineEdit *firstUnusableField(QString &strCaption) const;
    void showBox(const QString &strText, const QString &strInformation);
    // The test page: the active sensor on inputs 1 and 2 into "actual"; the
    // three inputs as a sample; the set value of Val1 and Val2.
    void debugSensorTest();
    void debugFeedInputs();
    void debugSendSetValue();
    // The three simulated voltages, or false (nothing to send) when one of
    // them is refused.
    bool debugInputVolts(double adblVolts[3]);
    // The stored ports as the current entries of the port combos.
    void showStoredMotorPort(const settingsStore &settings);
    void showStoredRemotePort(const settingsStore &settings);
    void selectPort(QComboBox *pCombo, const QString &strPort);
    void showSensor(const lvSensor &sensor);
    // The labels show the combo's current entry, or nothing.
    void showCurrentSensor();
    int sensorIndex(const QString &strName) const;
    QStringList sensorNames() const;
    // Lists the sensor folder again, so the page shows what is on disk after
    // an action, and selects the definition of file strFile (the one without
    // a file named strName when strFile is empty), otherwise row nRow.
    void relistSensors(int nRow, const QString &strFile = QString(), const QString &strName = QString());
    // The dialog editing one definition; true when the operator chose OK.
    bool runSensorDialog(lvSensor &sensor, bool bWithBorder);
    // False, the operator told why, when the name cannot be used
    // (strOwnName: the name being changed; bChange: a change, not an add).
    bool acceptSensorName(const QString &strName, const QString &strOwnName, bool bChange);
    void showSensorExists(bool bChange);
    // Writes an added or changed definition (writeSensorDefinition) and
    // lists the folder; tells the operator when it did not.
    bool writeSensor(const lvSensor &sensor, const QString &strOldName, const QString &strFromFile, bool bChange);

    Ui::formSettingsTab *ui;
    analogData *pAnalogData;
    lvExternalFeedback *pExtFeedback;
    // Set while the page is filled: its combo changes are not the operator's.
    bool bFilling;
    // Set once the port combos list the ports present.
    bool bPortsListed;
    // The last state of the test page's debug switch.
    bool bDebugOn;
    // The test page's input texts last sent, put back over a refused one.
    QString astrDebugInputSent[3];
};

#endif // FORMSETTINGSTAB_H
