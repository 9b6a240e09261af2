#include "app/onScreenKeyboard.h"

#include "app/keyboardPlacement.h"
#include "platform/processRunner.h"

#include <QWidget>

QString keyboardCommandLine(int nMode, int nX, int nY)
{
    switch (nMode) {
    case KEYBOARD_FULL:
        return QStringLiteral("xvkbd -compact -modal -geometry +%1+%2 -always-on-top").arg(nX).arg(nY);
    case KEYBOARD_KEYPAD:
        return QStringLiteral("xvkbd -keypad -modal -geometry +%1+%2 -always-on-top").arg(nX).arg(nY);
    default:
        return QString();
    }
}

bool isKeyboardCancelKey(int nMode, int nKey)
{
    switch (nKey) {
    case Qt::Key_Escape:
    case Qt::Key_Down:
        return nMode == KEYBOARD_FULL || nMode == KEYBOARD_KEYPAD;
    case Qt::Key_Slash:
        return nMode == KEYBOARD_KEYPAD;
    default:
        return false;
    }
}

onScreenKeyboard::~onScreenKeyboard()
{
    end();
}

void onScreenKeyboard::start(int nMode, const QPoint &pos)
{
    const QString strLine = keyboardCommandLine(nMode, pos.x(), pos.y());
    if (strLine.isEmpty())
        return;
    end();
    pKeyboardProcess = processRunner::instance().startCommandLine(strLine);
}

namespace {

QRect screenRect(const QWidget *pWidget)
{
    return QRect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
}

} // namespace

void onScreenKeyboard::startBeside(int nMode, const QWidget *pField)
{
    start(nMode, keyboardGeometry(nMode, screenRect(pField), panelScreenRect()).topLeft());
}

void onScreenKeyboard::startBesidePrompt(const QWidget *pField)
{
    start(KEYBOARD_FULL,
          promptKeyboardGeometry(screenRect(pField), screenRect(pField->window()), panelScreenRect()).topLeft());
}

void onScreenKeyboard::end()
{
    if (!pKeyboardProcess)
        return;
    pKeyboardProcess->kill();
    delete pKeyboardProcess;
    pKeyboardProcess = nullptr;
}
