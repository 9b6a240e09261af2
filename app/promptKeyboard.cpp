#include "app/promptKeyboard.h"

#include <QEvent>
#include <QLineEdit>

promptKeyboard *promptKeyboard::attach(QLineEdit *pField)
{
    return new promptKeyboard(pField);
}

promptKeyboard::promptKeyboard(QLineEdit *pField)
    : QObject(pField)
    , pField(pField)
{
    pField->installEventFilter(this);
}

bool promptKeyboard::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == pField) {
        switch (pEvent->type()) {
        case QEvent::FocusIn:
            keyboard.startBesidePrompt(pField);
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            keyboard.end();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(pWatched, pEvent);
}
