#ifndef ONSCREENKEYBOARD_H
#define ONSCREENKEYBOARD_H

#include <QPoint>
#include <QSize>
#include <QString>

class runningProcess;

// On-screen keyboard mode of the touch input widgets (stored as a plain int).
enum keyboardMode {
    KEYBOARD_FULL = 0,   // compact full keyboard (the default)
    KEYBOARD_KEYPAD = 1, // numeric keypad
    KEYBOARD_NONE = 2    // no keyboard; cancel and accept keys are ignored
};

// The full keyboard is taken to be this wide when it is aligned with the
// right edge of a field.
constexpr int nFullKeyboardWidth = 460;

// The command line that starts the keyboard of a mode with its top-left
// corner at (nX, nY); empty for KEYBOARD_NONE and unknown modes.
QString keyboardCommandLine(int nMode, int nX, int nY);

// Where a line edit puts its keyboard: just below the field; a full keyboard
// for a field right of x 300 is aligned with the field's right edge so that it
// stays on the 800-pixel screen.
QPoint lineEditKeyboardPos(int nMode, const QPoint &globalTopLeft, const QSize &fieldSize);

// Where the terminal pane puts its keyboard: below the pane in its parent's
// coordinates, 60 pixels further down to clear the window's status strip.
QPoint textEditKeyboardPos(const QPoint &posInParent, int nHeight);

// The one keyboard process a touch field may own. The process runs through
// processRunner; a keyboard program that cannot be started is not noticed.
// Ending the owner ends the keyboard, so none is left behind on screen.
class onScreenKeyboard
{
public:
    onScreenKeyboard() = default;
    ~onScreenKeyboard();
    onScreenKeyboard(const onScreenKeyboard &) = delete;
    onScreenKeyboard &operator=(const onScreenKeyboard &) = delete;

    // Ends a keyboard still referenced, then starts the one of nMode.
    void start(int nMode, const QPoint &pos);
    void end();
    bool isReferenced() const { return pKeyboardProcess != nullptr; }

private:
    runningProcess *pKeyboardProcess = nullptr;
};

#endif // ONSCREENKEYBOARD_H
