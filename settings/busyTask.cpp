#include "settings/busyTask.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

void busyTask::run(QWidget *pParent, const QString &strText, const std::function<void()> &work)
{
    QProgressDialog dlg(strText, QString(), 0, 0, pParent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    dlg.setObjectName(QStringLiteral("busyTaskDialog"));
    dlg.setWindowModality(Qt::ApplicationModal);
    dlg.setCancelButton(nullptr);
    dlg.setMinimumDuration(0);
    dlg.setAutoClose(false);
    dlg.setAutoReset(false);

    QThread *pThread = QThread::create(work);
    QEventLoop loop;
    QObject::connect(pThread, &QThread::finished, &loop, &QEventLoop::quit);
    dlg.show();
    pThread->start();
    // Input goes nowhere but to the note while the work runs.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    pThread->wait();
    delete pThread;
    dlg.close();
}
