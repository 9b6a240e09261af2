#ifndef MODALHELPER_H
#define MODALHELPER_H

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts on the next modal dialog or popup menu once it is shown, from inside
// its own event loop. Polls instead of sleeping, and gives up after a
// generous time so that a missing dialog fails the test instead of hanging.
class modalAnswer : public QObject
{
public:
    enum kind { MODAL, POPUP };

    // pIgnore: a dialog already open that this answer must leave alone.
    modalAnswer(kind eKind, std::function<void(QWidget *)> fnAct, int nTimeoutMs = 20000, QWidget *pIgnore = nullptr)
        : eKind(eKind), fnAct(std::move(fnAct)), nTimeoutMs(nTimeoutMs), pIgnore(pIgnore)
    {
        elapsed.start();
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start();
    }

    bool bActed = false;
    QPointer<QWidget> pSeen;

private:
    void poll()
    {
        QWidget *pWidget = eKind == MODAL ? QApplication::activeModalWidget() : QApplication::activePopupWidget();
        if (pWidget && pWidget != pIgnore && pWidget->isVisible()) {
            timer.stop();
            pSeen = pWidget;
            bActed = true;
            fnAct(pWidget);
            return;
        }
        if (elapsed.elapsed() > nTimeoutMs)
            timer.stop();
    }

    kind eKind;
    std::function<void(QWidget *)> fnAct;
    int nTimeoutMs;
    QPointer<QWidget> pIgnore;
    QElapsedTimer elapsed;
    QTimer timer;
};

#endif // MODALHELPER_H
