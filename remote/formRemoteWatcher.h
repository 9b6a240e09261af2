#ifndef FORMREMOTEWATCHER_H
#define FORMREMOTEWATCHER_H

#include <QWidget>

namespace Ui {
class formRemoteWatcher;
}

// A small stand-alone monitor of a remote link: the master's traffic on the
// left, the valve's on the right, and one button that alternates between
// connecting and disconnecting. It does not wait for any reply: the button
// only says what the next press asks for.
class formRemoteWatcher : public QWidget
{
    Q_OBJECT

public:
    explicit formRemoteWatcher(QWidget *parent = nullptr);
    ~formRemoteWatcher() override;

signals:
    void connectRemote();
    void disconnectRemote();
    void sigClearDataReadMotor();
    void sigClearDataReadPc();

public slots:
    void on_pushBtnConnect_clicked();
    void receivedFromPc(const char *data);
    void receivedFromMotor(const char *data);

private:
    Ui::formRemoteWatcher *ui;
    bool bNextPressConnects = true;
};

#endif // FORMREMOTEWATCHER_H
