#include "remote/formRemoteTab.h"
#include "ui_formRemoteTab.h"

#include "app/qlvMessageBox.h"
#include "remote/formTrafficPane.h"
#include "remote/remotePaneText.h"
#include "valve/analogData.h"
#include "valve/lvTeachIn.h"
#include "valve/settingsStore.h"

#include <QDebug>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QSignalBlocker>

namespace {

// A decimal whole number, 0 when the text is not one.
int wholeNumber(const QString &strText)
{
    return strText.toInt(nullptr, 10);
}

int clampIndex(int nValue, int nMax)
{
    return nValue >= 0 && nValue <= nMax ? nValue : 0;
}

} // namespace

formRemoteTab::formRemoteTab(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::formRemoteTab)
{
    ui->setupUi(this);
    // The Ethernet row (caption, mode, address and port fields of fixed
    // width) is wider than the page at the panel's font: the caption takes
    // two lines instead of losing its end.
    ui->lblRemotSource_3->setWordWrap(true);

    ui->lblIPAddress->strAction1 = tr("show local IP adresses");
    connect(ui->lblIPAddress, SIGNAL(startAction1()), this, SLOT(onShowLocalIPAddresses()));
    connect(ui->plTextEditTerminal, SIGNAL(sendData(QByteArray)), this, SLOT(getData(QByteArray)));

    // Only what the operator types marks the Analog page as edited; loading
    // the fields with setText does not.
    for (QLineEdit *pField : {static_cast<QLineEdit *>(ui->lineEditLowerBoundary),
                              static_cast<QLineEdit *>(ui->lineEditLowerBoundarySteps),
                              static_cast<QLineEdit *>(ui->lineEditUpperBoundary),
                              static_cast<QLineEdit *>(ui->lineEditUpperBoundarySteps)})
        connect(pField, &QLineEdit::textEdited, this, &formRemoteTab::onAnalogFieldEdited);

    link = remoteLinkState();
    ui->cmbUSBRemoteMode->setCurrentIndex(0);
    ui->stackedWidget->setCurrentIndex(0);
    ui->cmbSource->setCurrentIndex(0);

    readSettingsToGUI();

    connect(ui->widgetCurrentState, SIGNAL(setNewTeachIn(QString)), this, SLOT(onSetNewTeachIn(QString)));
}

formRemoteTab::~formRemoteTab()
{
    delete ui;
}

void formRemoteTab::setAnalogData(analogData *pData)
{
    pAnalogData = pData;
}

void formRemoteTab::setTeachIn(lvTeachIn *pTeach)
{
    pTeachIn = pTeach;
    ui->widgetCurrentState->onDiagramMenuClearData();
    ui->widgetCurrentState->setTeachIn(pTeachIn);
}

void formRemoteTab::readSettingsToGUI()
{
    const settingsStore settings;
    // A stored value outside the combos (an old "usb mode" of 3 from a
    // terminal session, or -1) would leave a combo without an item and make
    // the next connect one the drive does not know.
    nUsbMode = clampIndex(settings.number(settingKey::UsbMode), REMOTE_LINK_MODBUS);
    ui->cmbUSBRemoteMode->setCurrentIndex(nUsbMode);
    nEthMode = clampIndex(settings.number(settingKey::EthMode), REMOTE_LINK_MODBUS);
    ui->cmbEthernetRemoteMode->setCurrentIndex(nEthMode);
    strEthAddress = settings.text(settingKey::EthAddress);
    ui->lineEditIpAddress->setText(strEthAddress);
    nEthPort = settings.number(settingKey::EthPort);
    ui->lineEditEthernetPort->setText(QString::number(nEthPort));
    nRemoteMode = clampIndex(settings.number(settingKey::RemoteMode), REMOTE_SOURCE_TERMINAL);
    ui->cmbSource->setCurrentIndex(nRemoteMode);

    ui->lineEditSampling->setText(settings.text(settingKey::Sampling));
    int nRemoteInput = -1;
    for (int n = 1; n <= 3 && nRemoteInput < 0; ++n) {
        if (settings.number(settingKey::InputType, n - 1) == 0)
            nRemoteInput = n - 1;
    }

    if (nRemoteInput < 0) {
        qDebug() << "ERROR no Input is defined as remote one";
    } else {
        // Fill before selecting, and select without the change handling:
        // loading must never store one input's points under another.
        fillAnalogFields(nRemoteInput);
        const QSignalBlocker block(ui->cmbRemoteSource);
        ui->cmbRemoteSource->setCurrentIndex(nRemoteInput);
        nAppliedInput = nRemoteInput;
    }
    bAnalogPageEdited = false;
    syncConnectButton();
}

void formRemoteTab::fillAnalogFields(int nInput)
{
    const settingsStore settings;
    ui->lineEditUpperBoundary->setText(settings.text(settingKey::UpperBoundary, nInput));
    ui->lineEditUpperBoundarySteps->setText(settings.text(settingKey::UpperBoundarySteps, nInput));
    ui->lineEditLowerBoundary->setText(settings.text(settingKey::LowerBoundary, nInput));
    ui->lineEditLowerBoundarySteps->setText(settings.text(settingKey::LowerBoundarySteps, nInput));
}

bool formRemoteTab::isRemoteConnected()
{
    return link.bUsbConnected || link.bAnalogConnected;
}

void formRemoteTab::showRemoteConnectedWarning()
{
    QString strInfo;
    if (link.bUsbConnected)
        strInfo = tr("USB Remote is still connected. First disconnect it.");
    if (link.bAnalogConnected)
        strInfo = tr("Analog Remote is still connected. First disconnect it.");
    showBox(tr("Remote is connected"), strInfo);
}

void formRemoteTab::saveRemoteAnalogInput()
{
    if (!bAnalogPageEdited)
        return;
    applyAnalogPage();
}

int formRemoteTab::inputType(int nInput) const
{
    if (pAnalogData)
        return pAnalogData->getInputType(nInput);
    return settingsStore().number(settingKey::InputType, nInput);
}

bool formRemoteTab::applyAnalogPage()
{
    const int n = ui->cmbRemoteSource->currentIndex();
    if (n < 0 || n > 2)
        return false;
    bAnalogPageEdited = false;

    const int nType = inputType(n);
    if (nType == INPUT_FEEDBACK_1 || nType == INPUT_FEEDBACK_2) {
        // Making it the remote input would take the feedback away from the
        // regulation without a word; the settings page is where roles change.
        showBox(tr("Feedback input"),
                tr("Input %1 is configured as Feedback %2, so it was not made the remote input. "
                   "Choose another input or change its type on the settings page.")
                    .arg(n + 1)
                    .arg(nType));
        return false;
    }

    const int nLowerPos = wholeNumber(ui->lineEditLowerBoundarySteps->text());
    const int nLowerValue = wholeNumber(ui->lineEditLowerBoundary->text());
    const int nUpperPos = wholeNumber(ui->lineEditUpperBoundarySteps->text());
    const int nUpperValue = wholeNumber(ui->lineEditUpperBoundary->text());

    if (pAnalogData) {
        pAnalogData->setInputType(n, INPUT_REMOTE_ANALOG);
        pAnalogData->setLowerBoundary(n, double(nLowerValue), nLowerPos, ACTION_CLOSE);
        pAnalogData->setUpperBoundary(n, double(nUpperValue), nUpperPos, ACTION_CLOSE);
    }

    settingsStore settings;
    settings.setValue(settingKey::InputType, 0, n);
    settings.setValue(settingKey::LowerBoundary, nLowerValue, n);
    settings.setValue(settingKey::LowerBoundarySteps, nLowerPos, n);
    settings.setValue(settingKey::UpperBoundary, nUpperValue, n);
    settings.setValue(settingKey::UpperBoundarySteps, nUpperPos, n);
    nAppliedInput = n;
    return true;
}

void formRemoteTab::onAnalogFieldEdited()
{
    bAnalogPageEdited = true;
}

void formRemoteTab::on_cmbRemoteSource_currentIndexChanged(int index)
{
    if (!bWindowLoaded)
        return;
    if (index < 0)
        return;
    if (applyAnalogPage()) {
        showBox(tr("Possible Input Type Conflicts"),
                tr("Please chekc the feedback inputs in the setting tab for possible conflicts."));
        return;
    }
    // Refused: the page goes back to the input that is in effect.
    const QSignalBlocker block(ui->cmbRemoteSource);
    ui->cmbRemoteSource->setCurrentIndex(nAppliedInput);
}

void formRemoteTab::on_lineEditLowerBoundary_editingFinished()
{
    saveRemoteAnalogInput();
}

void formRemoteTab::on_lineEditLowerBoundarySteps_editingFinished()
{
    saveRemoteAnalogInput();
}

void formRemoteTab::on_lineEditUpperBoundary_editingFinished()
{
    saveRemoteAnalogInput();
}

void formRemoteTab::on_lineEditUpperBoundarySteps_editingFinished()
{
    saveRemoteAnalogInput();
}

void formRemoteTab::on_lineEditSampling_editingFinished()
{
    const QString strSampling = ui->lineEditSampling->text();
    settingsStore().setValue(settingKey::Sampling, strSampling);
    // The running sampling timer keeps its period; the stored value applies
    // from the next start.
    if (pAnalogData)
        pAnalogData->nSampling = wholeNumber(strSampling);
}

void formRemoteTab::on_cmbUSBRemoteMode_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    nUsbMode = index;
    settingsStore().setValue(settingKey::UsbMode, index);
    ui->plTextEditUSB->clear();
    ui->plTextEditValveUSB->clear();
}

void formRemoteTab::on_cmbEthernetRemoteMode_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    nEthMode = index;
    settingsStore().setValue(settingKey::EthMode, index);
    ui->plTextEditEthernet->clear();
    ui->plTextEditValveEth->clear();
}

void formRemoteTab::on_lineEditIpAddress_editingFinished()
{
    strEthAddress = ui->lineEditIpAddress->text();
    settingsStore().setValue(settingKey::EthAddress, strEthAddress);
}

void formRemoteTab::on_lineEditEthernetPort_editingFinished()
{
    nEthPort = wholeNumber(ui->lineEditEthernetPort->text());
    settingsStore().setValue(settingKey::EthPort, nEthPort);
}

void formRemoteTab::on_cmbSource_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    ui->stackedWidget->setCurrentIndex(index);
    settingsStore().setValue(settingKey::RemoteMode, ui->cmbSource->currentIndex());
    for (QPlainTextEdit *pPane : {ui->plTextEditUSB, ui->plTextEditValveUSB,
                                  ui->plTextEditAnalog, ui->plTextEditValveAnalog,
                                  ui->plTextEditEthernet, ui->plTextEditValveEth,
                                  static_cast<QPlainTextEdit *>(ui->plTextEditTerminal),
                                  ui->plTextEditValveTerminal})
        pPane->clear();
    // A connected source stays connected while another one is shown; the
    // button tells the state of the page on display.
    syncConnectButton();
}

void formRemoteTab::on_pushBtnConnect_clicked()
{
    remoteRequest request;
    request.nSource = ui->cmbSource->currentIndex();
    request.nUsbMode = ui->cmbUSBRemoteMode->currentIndex();
    request.nEthMode = ui->cmbEthernetRemoteMode->currentIndex();
    request.nAnalogInput = ui->cmbRemoteSource->currentIndex();
    request.nAnalogInputType = request.nAnalogInput >= 0 ? inputType(request.nAnalogInput) : -1;
    request.strAddress = ui->lineEditIpAddress->text();
    request.strPort = ui->lineEditEthernetPort->text();

    const remotePlan plan = planRemoteClick(link, request);
    if (plan.refusal != remoteRefusal::None) {
        syncConnectButton();
        showRefusal(plan);
        return;
    }
    // The new state stands before the signals go out, so a slot reached
    // directly (the main window's) already sees the tab as it will be.
    link = plan.after;
    if (plan.bConnect && request.nSource == REMOTE_SOURCE_USB)
        nUsbMode = request.nUsbMode;
    syncConnectButton();
    for (const remoteStep &step : plan.steps)
        emitStep(step);
}

void formRemoteTab::emitStep(const remoteStep &step)
{
    qDebug() << "remoteTab" << remoteStepText(step);
    switch (step.sig) {
    case remoteSignal::ConnectModbus:
        emit connectRemoteModbus();
        break;
    case remoteSignal::ConnectUSB:
        emit connectRemoteUSB(step.nArg);
        break;
    case remoteSignal::ConnectEthernet:
        emit connectRemoteEthernet(step.nArg, step.strAddress, step.nPort);
        break;
    case remoteSignal::ConnectAnalog:
        emit connectRemoteAnalog(step.nArg);
        break;
    case remoteSignal::DisconnectModbus:
        emit disconnectRemoteModbus();
        break;
    case remoteSignal::DisconnectUSB:
        emit disconnectRemoteUSB();
        break;
    case remoteSignal::DisconnectEthernet:
        emit disconnectRemoteEthernet();
        break;
    case remoteSignal::DisconnectAnalog:
        emit disconnectRemoteAnalog();
        break;
    }
}

void formRemoteTab::showRefusal(const remotePlan &plan)
{
    switch (plan.refusal) {
    case remoteRefusal::OtherSourceConnected:
        showBox(tr("Remote is connected"),
                tr("%1 Remote is still connected. The valve follows one remote source at a time: "
                   "first disconnect it.")
                    .arg(ui->cmbSource->itemText(plan.nBlockingSource)));
        break;
    case remoteRefusal::BadMode:
        showBox(tr("No remote mode"), tr("Choose a remote mode first."));
        break;
    case remoteRefusal::BadAddress:
        showBox(tr("Invalid IP address"),
                tr("\"%1\" is not an IP address. Enter one of the panel's addresses, such as 192.168.0.10.")
                    .arg(ui->lineEditIpAddress->text()));
        break;
    case remoteRefusal::BadPort:
        showBox(tr("Invalid port"), tr("Enter a port number from 1 to 65535."));
        break;
    case remoteRefusal::FeedbackInput: {
        const int n = ui->cmbRemoteSource->currentIndex();
        showBox(tr("Feedback input"),
                tr("Input %1 is configured as Feedback %2 and cannot steer the valve. "
                   "Choose another input or change its type on the settings page.")
                    .arg(n + 1)
                    .arg(inputType(n)));
        break;
    }
    case remoteRefusal::BadSource:
    case remoteRefusal::BadInput:
    case remoteRefusal::None:
        break;
    }
}

void formRemoteTab::syncConnectButton()
{
    ui->pushBtnConnect->setChecked(isRemoteSourceConnected(link, ui->cmbSource->currentIndex()));
}

QPlainTextEdit *formRemoteTab::remotePane(int nSource) const
{
    switch (nSource) {
    case REMOTE_SOURCE_USB:
        return ui->plTextEditUSB;
    case REMOTE_SOURCE_ANALOG:
        return ui->plTextEditAnalog;
    case REMOTE_SOURCE_ETHERNET:
        return ui->plTextEditEthernet;
    case REMOTE_SOURCE_TERMINAL:
        return ui->plTextEditTerminal;
    default:
        return nullptr;
    }
}

QPlainTextEdit *formRemoteTab::valvePane(int nSource) const
{
    switch (nSource) {
    case REMOTE_SOURCE_USB:
        return ui->plTextEditValveUSB;
    case REMOTE_SOURCE_ANALOG:
        return ui->plTextEditValveAnalog;
    case REMOTE_SOURCE_ETHERNET:
        return ui->plTextEditValveEth;
    case REMOTE_SOURCE_TERMINAL:
        return ui->plTextEditValveTerminal;
    default:
        return nullptr;
    }
}

void formRemoteTab::receivedFromPc(QByteArray data)
{
    qDebug() << "remoteTab sigReceivedFromPC " << data;
    insertTrafficText(remotePane(ui->cmbSource->currentIndex()), remotePaneText(data), true);
}

void formRemoteTab::receivedFromMotor(QByteArray data)
{
    qDebug() << "remoteTab sigReceivedFromMotor " << data;
    insertTrafficText(valvePane(ui->cmbSource->currentIndex()), remotePaneText(data), true);
}

void formRemoteTab::getData(QByteArray data)
{
    if (link.bUsbConnected && link.nUsbLinkMode == REMOTE_LINK_TERMINAL)
        emit sendDataUSB(data);
}

void formRemoteTab::onSetNewTeachIn(QString strTeachInFile)
{
    emit setNewTeachIn(strTeachInFile);
}

void formRemoteTab::onShowLocalIPAddresses()
{
    QString strList;
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : addresses)
        strList += address.toString() + QLatin1Char('\n');
    showBox(tr("Local IP Addresses"), tr("Yopur local IP addresses are:\n%1").arg(strList));
    qDebug() << strList;
}

void formRemoteTab::setLongPressTime(int pnLongPressTimeMs)
{
    ui->widgetCurrentState->setLongPressTime(pnLongPressTimeMs);
}

void formRemoteTab::measureTimerElapsed()
{
    emit getAnalogValue();
    measureTimer.start(wholeNumber(ui->lineEditSampling->text()));
}

void formRemoteTab::onConnectRemote()
{
    qDebug() << "remoteTab onConnectRemote";
}

void formRemoteTab::onDisconnectRemote()
{
    qDebug() << "remoteTab onDisconnectRemote";
}

void formRemoteTab::onClearDataReadMotor()
{
    qDebug() << "remoteTab onClearDataReadMotor";
}

void formRemoteTab::onClearDataReadPc()
{
    qDebug() << "remoteTab onClearDataReadPc";
}

void formRemoteTab::on_pushBtnConnectAnalog_clicked()
{
}

void formRemoteTab::on_pushBtnConnectUSB_clicked()
{
}

void formRemoteTab::on_tabWidget_currentChanged(int index)
{
    if (isRemoteConnected()) {
        showRemoteConnectedWarning();
        ui->stackedWidget->setCurrentIndex(nRememberedPage);
    } else {
        nRememberedPage = index;
    }
}

void formRemoteTab::showBox(const QString &strText, const QString &strInfo)
{
    qlvMessageBox box(pMainWindow);
    box.setText(strText);
    box.setInformativeText(strInfo);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}
