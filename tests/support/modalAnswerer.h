#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <QtTest/qtestcase.h>

#include <functional>
#include <memory>

// Answers modal dialogs, message boxes and popup menus from the event loop,
// so it also works while the code under test sits in their exec(). The only
// answerer the tests use.
//
// An answer can be lost (a file dialog accepted before it has taken the typed
// name stays open), so the answer is given again as long as the dialog is
// still open and on top. A dialog that is still open after giveUpMs fails the
// running test and is closed, so that no test hangs on it.
//
// Header only: the support library itself has no widgets.
class modalAnswerer : public QObject
{
public:
    enum kind { MODAL, POPUP, MODAL_OR_POPUP };
    enum scope { FIRST_ONLY, EVERY_ONE };
    using action = std::function<void(QWidget *)>;

    // Runs fnAct with the first (FIRST_ONLY) or each (EVERY_ONE) dialog that
    // shows while this object lives. FIRST_ONLY stops looking after nWaitMs
    // without a dialog (the test then sees bActed false) and leaves every
    // later dialog alone. pIgnore: a dialog already open to leave alone.
    explicit modalAnswerer(action fnAct, kind eKind = MODAL, scope eScope = FIRST_ONLY, int nWaitMs = 20000,
                           QWidget *pIgnore = nullptr)
        : fnAct(std::move(fnAct))
        , eKind(eKind)
        , eScope(eScope)
        , nWaitMs(nWaitMs)
        , pIgnore(pIgnore)
    {
        sinceStart.start();
        connect(&poll, &QTimer::timeout, this, [this] { look(); });
        poll.start(10);
    }

    // Message boxes, every one while this object lives: keeps its text (with
    // bInformative "text|informative text"), then clicks the button with the
    // next planned text (see answerNext), else the default button, else
    // rejects it. Any other dialog is rejected.
    explicit modalAnswerer(QStringList plan = {}, bool bInformative = false)
        : modalAnswerer(nullptr, MODAL, EVERY_ONE)
    {
        this->plan = std::move(plan);
        this->bInformative = bInformative;
    }

    QStringList texts;
    // Runs while a box is open, before it is answered.
    std::function<void(const QString &)> onOpen;
    void answerNext(const QString &strButton) { plan << strButton; }

    // Dialogs this answerer must not touch (a box the test itself shows).
    std::function<bool(QWidget *)> leaveAlone;
    // Runs once for every dialog when it is first seen, before its first
    // answer (the answer itself may be given again, see above).
    std::function<void(QWidget *)> onFirstSight;

    bool bActed = false;
    QPointer<QWidget> pSeen;
    // How long a dialog may stay open while it is being answered.
    int nGiveUpMs = 30000;
    int nRetryMs = 250;

private:
    struct openDialog
    {
        QPointer<QWidget> pWidget;
        QElapsedTimer since;
        QElapsedTimer sinceAnswer;
        bool bFirstAnswer = true;
        QString strButton;
    };
    using openPtr = std::shared_ptr<openDialog>;

    QWidget *top() const
    {
        QWidget *pWidget = nullptr;
        if (eKind != MODAL)
            pWidget = QApplication::activePopupWidget();
        if (!pWidget && eKind != POPUP)
            pWidget = QApplication::activeModalWidget();
        if (!pWidget || pWidget == pIgnore || !pWidget->isVisible() || (leaveAlone && leaveAlone(pWidget)))
            return nullptr;
        return pWidget;
    }

    void look()
    {
        for (int i = open.size() - 1; i >= 0; --i)
            if (!open.at(i)->pWidget || !open.at(i)->pWidget->isVisible())
                open.removeAt(i);
        for (const openPtr &dialog : open)
            if (dialog->since.elapsed() > nGiveUpMs)
                giveUp(dialog);
        if (eScope == FIRST_ONLY && bActed && open.isEmpty()) {
            poll.stop();
            return;
        }
        QWidget *pTop = top();
        if (!pTop) {
            if (eScope == FIRST_ONLY && !bActed && sinceStart.elapsed() > nWaitMs)
                poll.stop();
            return;
        }
        for (const openPtr &dialog : open) {
            if (dialog->pWidget == pTop) {
                // Still open and on top: the answer was lost, give it again.
                if (dialog->sinceAnswer.elapsed() >= nRetryMs)
                    answer(dialog);
                return;
            }
        }
        if (eScope == FIRST_ONLY && bActed)
            return;
        auto dialog = std::make_shared<openDialog>();
        dialog->pWidget = pTop;
        dialog->since.start();
        open << dialog;
        pSeen = pTop;
        bActed = true;
        if (onFirstSight)
            onFirstSight(pTop);
        answer(dialog);
    }

    // From the event loop, not from inside this poll: an answer that opens a
    // further dialog must not block the poll that answers that one.
    void answer(const openPtr &dialog)
    {
        dialog->sinceAnswer.start();
        QTimer::singleShot(0, this, [this, dialog] {
            QWidget *pWidget = dialog->pWidget;
            if (!pWidget || !pWidget->isVisible())
                return;
            if (fnAct)
                fnAct(pWidget);
            else
                answerBox(*dialog);
        });
    }

    void answerBox(openDialog &dialog)
    {
        auto *pBox = qobject_cast<QMessageBox *>(dialog.pWidget.data());
        if (!pBox) {
            if (auto *pDialog = qobject_cast<QDialog *>(dialog.pWidget.data()))
                pDialog->reject();
            return;
        }
        if (dialog.bFirstAnswer) {
            dialog.bFirstAnswer = false;
            texts << (bInformative ? pBox->text() + QLatin1Char('|') + pBox->informativeText() : pBox->text());
            dialog.strButton = plan.isEmpty() ? QString() : plan.takeFirst();
            if (onOpen)
                onOpen(pBox->text());
            if (!dialog.pWidget)
                return;
        }
        QAbstractButton *pButton = nullptr;
        for (QAbstractButton *pCandidate : pBox->buttons())
            if (!dialog.strButton.isEmpty() && pCandidate->text() == dialog.strButton)
                pButton = pCandidate;
        if (!pButton)
            pButton = pBox->defaultButton();
        if (pButton)
            pButton->click();
        else
            pBox->reject();
    }

    void giveUp(const openPtr &dialog)
    {
        QPointer<QWidget> pStuck = dialog->pWidget;
        open.removeAll(dialog);
        if (!pStuck)
            return;
        QTest::qFail((QByteArray(pStuck->metaObject()->className()) + " still open: the answer did not close it").constData(),
                     __FILE__, __LINE__);
        if (auto *pDialog = qobject_cast<QDialog *>(pStuck.data()))
            pDialog->reject();
        if (pStuck)
            pStuck->close();
    }

    action fnAct;
    kind eKind;
    scope eScope;
    int nWaitMs;
    QPointer<QWidget> pIgnore;
    QList<openPtr> open;
    QStringList plan;
    bool bInformative = false;
    QElapsedTimer sinceStart;
    QTimer poll;
};

#endif // MODALANSWERER_H
