#include "app/promptKeyboard.h"

#include "app/keyboardPlacement.h"

#include <QEvent>
#include <QLineEdit>

namespace {

QRect globalRect(const QWidget *pWidget)
{
    return QRect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
}

} // namespace

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
            keyboard.start(KEYBOARD_FULL,
                           promptKeyboardGeometry(globalRect(pField), globalRect(pField->window()), panelScreenRect())
                               .topLeft());
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
