#ifndef REMOTETABFIXTURE_H
#define REMOTETABFIXTURE_H

#include "modalAnswerer.h"
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

// Every signal of the tab, in the order emitted, written as the signal and its
// arguments: "connectRemoteUSB(2)".
class signalLog : public QObject
{
    Q_OBJECT
public:
    explicit signalLog(formRemoteTab *pTab)
    {
        auto add = [this](const QString &s) { entries << s; };
        connect(pTab, &formRemoteTab::connectRemoteUSB, this, [add](int n) { add(QStringLiteral("connectRemoteUSB(%1)").arg(n)); });
        connect(pTab, &formRemoteTab::disconnectRemoteUSB, this, [add] { add(QStringLiteral("disconnectRemoteUSB()")); });
        connect(pTab, &formRemoteTab::connectRemoteEthernet, this, [add](int n, const QString &a, int p) {
            add(QStringLiteral("connectRemoteEthernet(%1,%2,%3)").arg(n).arg(a).arg(p));
        });
        connect(pTab, &formRemoteTab::disconnectRemoteEthernet, this, [add] { add(QStringLiteral("disconnectRemoteEthernet()")); });
        connect(pTab, &formRemoteTab::connectRemoteAnalog, this, [add](int n) { add(QStringLiteral("connectRemoteAnalog(%1)").arg(n)); });
        connect(pTab, &formRemoteTab::disconnectRemoteAnalog, this, [add] { add(QStringLiteral("disconnectRemoteAnalog()")); });
        connect(pTab, &formRemoteTab::connectRemoteModbus, this, [add] { add(QStringLiteral("connectRemoteModbus()")); });
        connect(pTab, &formRemoteTab::disconnectRemoteModbus, this, [add] { add(QStringLiteral("disconnectRemoteModbus()")); });
        connect(pTab, &formRemoteTab::sendDataUSB, this, [add](const QByteArray &d) {
            add(QStringLiteral("sendDataUSB(%1)").arg(QString::fromLatin1(d.toHex())));
        });
        connect(pTab, &formRemoteTab::setNewTeachIn, this, [add](const QString &s) { add(QStringLiteral("setNewTeachIn(%1)").arg(s)); });
        connect(pTab, &formRemoteTab::getAnalogValue, this, [add] { add(QStringLiteral("getAnalogValue()")); });
        connect(pTab, &formRemoteTab::sigClearDataReadMotor, this, [add] { add(QStringLiteral("sigClearDataReadMotor()")); });
        connect(pTab, &formRemoteTab::sigClearDataReadPc, this, [add] { add(QStringLiteral("sigClearDataReadPc()")); });
    }
    QStringList entries;
    QString joined() const { return entries.join(QLatin1Char(' ')); }
};

#endif // REMOTETABFIXTURE_H
