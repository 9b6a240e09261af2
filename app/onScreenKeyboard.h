#ifndef ONSCREENKEYBOARD_H
#define ONSCREENKEYBOARD_H

#include <QPoint>
#include <QString>

class QWidget;
class runningProcess;

// On-screen keyboard mode of the touch input widgets (stored as a plain int).
enum keyboardMode {
    KEYBOARD_FULL = 0,   // compact full keyboard (the default)
    KEYBOARD_KEYPAD = 1, // numeric keypad
    KEYBOARD_NONE = 2    // no keyboard; cancel and accept keys are ignored
};

// The command line that starts the keyboard of a mode with its top-left
// corner at (nX, nY); empty for KEYBOARD_NONE and unknown modes.
QString keyboardCommandLine(int nMode, int nX, int nY);

// Whether a released key cancels the entry of a touch field in nMode: Escape
// and Down in every mode with a keyboard; "/" only on the keypad, whose "/"
// key serves as its cancel key, while the full keyboard types it (units such
// as "mbar*l/sec", formulas such as "val1/val2").
bool isKeyboardCancelKey(int nMode, int nKey);

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
    // The same, placed on the panel's screen beside the field
    // (keyboardGeometry).
    void startBeside(int nMode, const QWidget *pField);
    // The full keyboard for the text field of a prompt, beside the whole
    // prompt where the screen has room (promptKeyboardGeometry).
    void startBesidePrompt(const QWidget *pField);
    void end();
    bool isReferenced() const { return pKeyboardProcess != nullptr; }

private:
    runningProcess *pKeyboardProcess = nullptr;
};

#endif // ONSCREENKEYBOARD_H
