#ifndef KEYBOARDPLACEMENT_H
#define KEYBOARDPLACEMENT_H

#include <QRect>
#include <QSize>

// The panel's screen: the program's window, 800 x 479 at (0, 0).
QRect panelScreenRect();

// How large the on-screen keyboard of a keyboardMode value draws itself
// (xvkbd on the panel's X server); empty for a mode without keyboard.
QSize keyboardSize(int nMode);

// Where the keyboard of nMode goes for a field at rField (screen coordinates):
// wholly on rScreen, below the field where it fits, else above it, else beside
// it, so that it never covers the field the operator types into. Across, the
// full keyboard starts at the field's left edge, or ends at its right edge for
// a field right of x 300; the keypad starts at the field's left edge; both are
// then pushed back onto the screen. Only a field that leaves no room on any
// side is partly covered. An empty rectangle for a mode without keyboard.
QRect keyboardGeometry(int nMode, const QRect &rField, const QRect &rScreen);

// Where the full keyboard goes for the text field at rField of a prompt (a
// password prompt, a file dialog) at rPrompt: beside the whole prompt where
// the screen leaves room, so that its buttons stay free, else beside the
// field alone.
QRect promptKeyboardGeometry(const QRect &rField, const QRect &rPrompt, const QRect &rScreen);

#endif // KEYBOARDPLACEMENT_H
