#ifndef REMOTETABFIXTURE_H
#define REMOTETABFIXTURE_H

#include "modalAnswerer.h"
#include "signalLog.h"
#include "remote/formRemoteTab.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// The tab's boxes: modalAnswerer(QStringList(), true) answers each with its
// default button and keeps "text|informative text".

// Every signal of the tab, in the order emitted: "connectRemoteUSB(2)".
class remoteTabLog : public signalLog
{
public:
    explicit remoteTabLog(formRemoteTab *pTab)
    {
        follow(pTab, &formRemoteTab::connectRemoteUSB, "connectRemoteUSB");
        follow(pTab, &formRemoteTab::disconnectRemoteUSB, "disconnectRemoteUSB");
        follow(pTab, &formRemoteTab::connectRemoteEthernet, "connectRemoteEthernet");
        follow(pTab, &formRemoteTab::disconnectRemoteEthernet, "disconnectRemoteEthernet");
        follow(pTab, &formRemoteTab::connectRemoteAnalog, "connectRemoteAnalog");
        follow(pTab, &formRemoteTab::disconnectRemoteAnalog, "disconnectRemoteAnalog");
        follow(pTab, &formRemoteTab::connectRemoteModbus, "connectRemoteModbus");
        follow(pTab, &formRemoteTab::disconnectRemoteModbus, "disconnectRemoteModbus");
        follow(pTab, &formRemoteTab::sendDataUSB, "sendDataUSB");
        follow(pTab, &formRemoteTab::setNewTeachIn, "setNewTeachIn");
        follow(pTab, &formRemoteTab::getAnalogValue, "getAnalogValue");
        follow(pTab, &formRemoteTab::sigClearDataReadMotor, "sigClearDataReadMotor");
        follow(pTab, &formRemoteTab::sigClearDataReadPc, "sigClearDataReadPc");
    }
};

#endif // REMOTETABFIXTURE_H
