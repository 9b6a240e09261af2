#include "app/onScreenKeyboard.h"

#include "platform/processRunner.h"

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

QPoint lineEditKeyboardPos(int nMode, const QPoint &globalTopLeft, const QSize &fieldSize)
{
    int nX = globalTopLeft.x();
    if (nMode == KEYBOARD_FULL && nX > 300)
        nX = nX + fieldSize.width() - nFullKeyboardWidth;
    return QPoint(nX, globalTopLeft.y() + fieldSize.height());
}

QPoint textEditKeyboardPos(const QPoint &posInParent, int nHeight)
{
    return QPoint(posInParent.x(), posInParent.y() + nHeight + 60);
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

void onScreenKeyboard::end()
{
    if (!pKeyboardProcess)
        return;
    pKeyboardProcess->kill();
    delete pKeyboardProcess;
    pKeyboardProcess = nullptr;
}
