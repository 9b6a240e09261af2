#include "app/keyboardPlacement.h"

#include "app/onScreenKeyboard.h"

#include <algorithm>

QRect panelScreenRect()
{
    return QRect(0, 0, 800, 479);
}

QSize keyboardSize(int nMode)
{
    switch (nMode) {
    case KEYBOARD_FULL:
        return QSize(480, 160);
    case KEYBOARD_KEYPAD:
        return QSize(148, 160);
    default:
        return QSize();
    }
}

namespace {

// The start of a span of nLength inside [nLow, nHigh), as close to nWanted
// as the span allows.
int pushedInside(int nWanted, int nLength, int nLow, int nHigh)
{
    return std::max(nLow, std::min(nWanted, nHigh - nLength));
}

} // namespace

QRect keyboardGeometry(int nMode, const QRect &rField, const QRect &rScreen)
{
    const QSize size = keyboardSize(nMode);
    if (size.isEmpty())
        return QRect();
    const int nScreenRight = rScreen.x() + rScreen.width();
    const int nScreenBottom = rScreen.y() + rScreen.height();
    const int nFieldRight = rField.x() + rField.width();
    const int nFieldBottom = rField.y() + rField.height();

    int nX = rField.x();
    if (nMode == KEYBOARD_FULL && rField.x() > 300)
        nX = nFieldRight - size.width();
    nX = pushedInside(nX, size.width(), rScreen.x(), nScreenRight);

    if (nFieldBottom + size.height() <= nScreenBottom)
        return QRect(QPoint(nX, nFieldBottom), size);
    if (rField.y() - size.height() >= rScreen.y())
        return QRect(QPoint(nX, rField.y() - size.height()), size);

    // A tall field: beside it, level with its top as far as the screen allows.
    const int nY = pushedInside(rField.y(), size.height(), rScreen.y(), nScreenBottom);
    if (nFieldRight + size.width() <= nScreenRight)
        return QRect(QPoint(nFieldRight, nY), size);
    if (rField.x() - size.width() >= rScreen.x())
        return QRect(QPoint(rField.x() - size.width(), nY), size);
    return QRect(QPoint(nX, nScreenBottom - size.height()), size);
}

QRect promptKeyboardGeometry(const QRect &rField, const QRect &rPrompt, const QRect &rScreen)
{
    const QRect rBesidePrompt = keyboardGeometry(KEYBOARD_FULL, rPrompt, rScreen);
    if (!rBesidePrompt.intersects(rPrompt))
        return rBesidePrompt;
    return keyboardGeometry(KEYBOARD_FULL, rField, rScreen);
}
