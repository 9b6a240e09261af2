#include "remote/formRemoteWatcher.h"
#include "ui_formRemoteWatcher.h"

#include "remote/formTrafficPane.h"

#include <QDebug>

formRemoteWatcher::formRemoteWatcher(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::formRemoteWatcher)
{
    ui->setupUi(this);
}

formRemoteWatcher::~formRemoteWatcher()
{
    delete ui;
}

void formRemoteWatcher::on_pushBtnConnect_clicked()
{
    // The two button texts are states of the link, not language, so they stay
    // as they are in every translation.
    if (bNextPressConnects) {
        ui->pushBtnConnect->setText(QStringLiteral("Disconnect"));
        bNextPressConnects = false;
        qDebug() << "remoteWatcher connect";
        emit connectRemote();
    } else {
        ui->pushBtnConnect->setText(QStringLiteral("Connect"));
        bNextPressConnects = true;
        qDebug() << "remoteWatcher disconnect";
        emit disconnectRemote();
    }
}

void formRemoteWatcher::receivedFromPc(const char *data)
{
    qDebug() << "remoteWatcher receivedFromPc " << data;
    insertTrafficText(ui->plTextEditPC, QString::fromUtf8(data ? data : ""), false);
    // Shown, so the supplier may drop what it has buffered.
    emit sigClearDataReadPc();
}

void formRemoteWatcher::receivedFromMotor(const char *data)
{
    qDebug() << "remoteWatcher receivedFromMotor " << data;
    insertTrafficText(ui->plTextEditValve, QString::fromUtf8(data ? data : ""), false);
    emit sigClearDataReadMotor();
}
