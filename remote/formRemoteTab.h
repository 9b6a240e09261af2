#ifndef FORMREMOTETAB_H
#define FORMREMOTETAB_H

#include "remote/remoteLinkPlan.h"

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <QWidget>

class analogData;
class lvTeachIn;
class QPlainTextEdit;

namespace Ui {
class formRemoteTab;
}

// The Remote tab: hands the valve to a remote master (a PC on the USB serial
// line or on Ethernet, an analog input voltage, or the panel's own terminal)
// and shows the traffic. It opens no port itself; its signals put the drive
// into a remote mode and make the main window join the analog samples to the
// drive. It also chooses the analog remote input and edits that input's two
// boundary points, and keeps the remote settings in the settings store.
class formRemoteTab : public QWidget
{
    Q_OBJECT

public:
    explicit formRemoteTab(QWidget *parent = nullptr);
    ~formRemoteTab() override;

    // Written by the main window into "remote" when it closes. nUsbMode is
    // always a USB mode 0..2: the terminal is a link state, not a mode.
    int nUsbMode = 0;
    int nEthMode = 0;
    QString strEthAddress;
    int nEthPort = 0;

    // The main window, parent of the tab's message boxes; null until the main
    // window is loaded. Kept as a widget so the tab does not depend on the
    // window's header (the window includes the tab through its form).
    QWidget *pMainWindow = nullptr;
    // Set by the main window once it is shown; until then choosing another
    // analog input stores nothing and asks nothing.
    bool bWindowLoaded = false;

    void setAnalogData(analogData *pData);
    void setTeachIn(lvTeachIn *pTeach);
    void readSettingsToGUI();
    // The USB (or terminal) link or the analog remote keeps the operator on the
    // tab; an Ethernet link may stay open while other tabs are used.
    bool isRemoteConnected();
    void showRemoteConnectedWarning();
    // Applies and stores the Analog page, but only when it holds edits that are
    // not stored yet; an input with a feedback role is never made the remote
    // one.
    void saveRemoteAnalogInput();

    // Declared for the page model; no widget of these names exists, so nothing
    // connects them.
    void on_pushBtnConnectAnalog_clicked();
    void on_pushBtnConnectUSB_clicked();
    void on_tabWidget_currentChanged(int index);

signals:
    void connectRemoteUSB(int pnRemoteModeUSB);
    void disconnectRemoteUSB();
    void connectRemoteEthernet(int pnRemoteModeEthernet, QString strIPADdress, int nIPPort);
    void disconnectRemoteEthernet();
    void connectRemoteAnalog(int pnInput);
    void disconnectRemoteAnalog();
    void connectRemoteModbus();
    void disconnectRemoteModbus();
    void sendDataUSB(QByteArray data);
    void setNewTeachIn(QString strTeachInFile);
    void getAnalogValue();
    void sigClearDataReadMotor();
    void sigClearDataReadPc();
    void sigReceivedFromPc(const char *data);
    void sigReceivedFromMotor(const char *data);
    void toggleMeasurement();

public slots:
    void receivedFromPc(QByteArray data);
    void receivedFromMotor(QByteArray data);
    void getData(QByteArray data);
    void onSetNewTeachIn(QString strTeachInFile);
    void onShowLocalIPAddresses();
    void setLongPressTime(int pnLongPressTimeMs);
    void measureTimerElapsed();
    void onConnectRemote();
    void onDisconnectRemote();
    void onClearDataReadMotor();
    void onClearDataReadPc();

private slots:
    void on_cmbSource_currentIndexChanged(int index);
    void on_pushBtnConnect_clicked();
    void on_cmbUSBRemoteMode_currentIndexChanged(int index);
    void on_cmbEthernetRemoteMode_currentIndexChanged(int index);
    void on_lineEditIpAddress_editingFinished();
    void on_lineEditEthernetPort_editingFinished();
    void on_lineEditSampling_editingFinished();
    void on_cmbRemoteSource_currentIndexChanged(int index);
    void on_lineEditLowerBoundary_editingFinished();
    void on_lineEditLowerBoundarySteps_editingFinished();
    void on_lineEditUpperBoundary_editingFinished();
    void on_lineEditUpperBoundarySteps_editingFinished();
    void onAnalogFieldEdited();

private:
    void showBox(const QString &strText, const QString &strInfo);
    void showRefusal(const remotePlan &plan);
    void syncConnectButton();
    void emitStep(const remoteStep &step);
    QPlainTextEdit *remotePane(int nSource) const;
    QPlainTextEdit *valvePane(int nSource) const;
    int inputType(int nInput) const;
    bool applyAnalogPage();
    void fillAnalogFields(int nInput);

    Ui::formRemoteTab *ui;
    int nRemoteMode = 0;
    analogData *pAnalogData = nullptr;
    lvTeachIn *pTeachIn = nullptr;
    remoteLinkState link;
    QTimer measureTimer;
    // The analog input whose points the page stands for, as loaded or last
    // stored; a refused choice goes back to it.
    int nAppliedInput = 0;
    // The boundary fields were typed into since they were last loaded or
    // stored.
    bool bAnalogPageEdited = false;
    int nRememberedPage = 0;
};

#endif // FORMREMOTETAB_H
