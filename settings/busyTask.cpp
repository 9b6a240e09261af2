#include "settings/busyTask.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <memory>

QProgressDialog *busyTask::makeNote(QWidget *pParent, const QString &strText)
{
    auto *pDlg = new QProgressDialog(strText, QString(), 0, 0, pParent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    pDlg->setObjectName(QStringLiteral("busyTaskDialog"));
    pDlg->setWindowModality(Qt::ApplicationModal);
    pDlg->setCancelButton(nullptr);
    pDlg->setMinimumDuration(0);
    pDlg->setAutoClose(false);
    pDlg->setAutoReset(false);
    return pDlg;
}

void busyTask::run(QWidget *pParent, const QString &strText, const std::function<void()> &work)
{
    const std::unique_ptr<QProgressDialog> pNote(makeNote(pParent, strText));
    QProgressDialog &dlg = *pNote;

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
