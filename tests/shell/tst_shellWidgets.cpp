#include "app/keyboardPlacement.h"
#include "app/onScreenKeyboard.h"
#include "app/qLvLabel.h"
#include "app/qLvLineEdit.h"
#include "app/qLvTextEdit.h"
#include "app/qlvMessageBox.h"
#include "app/qlvMessageDialog.h"

#include "fakeProcessRunner.h"
#include "modalAnswerer.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A frameless top-level at the screen origin, so that a child's position is
// also its global position.
class panel : public QWidget
{
public:
    panel()
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setFocusPolicy(Qt::StrongFocus);
        resize(800, 479);
        move(0, 0);
    }
};

// Shows the panel with the focus on the panel itself, so that no field gets
// it (and starts a keyboard) before the test gives it.
bool showActive(QWidget &w)
{
    w.setFocus();
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w, 10000) && QTest::qWaitFor([&w] { return w.hasFocus(); }, 10000);
}

} // namespace

class tst_shellWidgets : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void keyboardPlacement_data();
    void keyboardPlacement();
    void promptKeyboardPlacement_data();
    void promptKeyboardPlacement();
    void cancelKeysOfEachMode_data();
    void cancelKeysOfEachMode();

    void lineEditStartsKeyboardAtField_data();
    void lineEditStartsKeyboardAtField();
    void endKeysLeaveTheField_data();
    void endKeysLeaveTheField();
    void returnAcceptsAndLeaves();
    void keypadRestoresOnlyAFreshPreset();
    void keyboardNoneStartsNothing();
    void destroyedFieldEndsKeyboard();
    void missingKeyboardProgramLeavesFieldUsable();

    void terminalPaneKeys_data();
    void terminalPaneKeys();
    void terminalPaneKeyboard();

    void labelMenu_data();
    void labelMenu();
    void labelWithoutTextsIgnoresPress();

    void messageBoxIsModalWindow();
    void messageDialog_data();
    void messageDialog();
};

void tst_shellWidgets::commandLine_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("line");
    QTest::newRow("full") << int(KEYBOARD_FULL) << 12 << 340
                          << "xvkbd -compact -modal -geometry +12+340 -always-on-top";
    QTest::newRow("keypad") << int(KEYBOARD_KEYPAD) << 0 << 0 << "xvkbd -keypad -modal -geometry +0+0 -always-on-top";
    // written as given; keyboardGeometry keeps real positions on the screen
    QTest::newRow("negative x") << int(KEYBOARD_FULL) << -59 << 40
                                << "xvkbd -compact -modal -geometry +-59+40 -always-on-top";
    QTest::newRow("none") << int(KEYBOARD_NONE) << 1 << 2 << QString();
    QTest::newRow("unknown") << 7 << 1 << 2 << QString();
}

void tst_shellWidgets::commandLine()
{
    QFETCH(int, mode);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QString, line);
    QCOMPARE(keyboardCommandLine(mode, x, y), line);
}

void tst_shellWidgets::keyboardPlacement_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("field");
    QTest::addColumn<QRect>("expected");
    const QSize full = keyboardSize(KEYBOARD_FULL);
    const QSize pad = keyboardSize(KEYBOARD_KEYPAD);
    QCOMPARE(full, QSize(480, 160));
    QCOMPARE(pad, QSize(148, 160));

    // below the field, from its left edge up to x 300, else ending at its right edge
    QTest::newRow("full, left at 300") << int(KEYBOARD_FULL) << QRect(300, 50, 150, 30) << QRect(QPoint(300, 80), full);
    QTest::newRow("full, left at 301") << int(KEYBOARD_FULL) << QRect(301, 50, 499, 30)
                                       << QRect(QPoint(301 + 499 - 480, 80), full);
    // a narrow field right of 300 (the sensor dialog's mask field, "Times"):
    // pushed right onto the screen instead of starting left of it
    QTest::newRow("full, narrow right field") << int(KEYBOARD_FULL) << QRect(420, 120, 60, 30)
                                              << QRect(QPoint(0, 150), full);
    QTest::newRow("full, wide field from 200") << int(KEYBOARD_FULL) << QRect(200, 10, 600, 30)
                                               << QRect(QPoint(200, 40), full);
    QTest::newRow("full, left part beyond the screen") << int(KEYBOARD_FULL) << QRect(-30, 10, 100, 30)
                                                       << QRect(QPoint(0, 40), full);
    // the keypad keeps the field's left edge until the screen ends
    QTest::newRow("keypad, left") << int(KEYBOARD_KEYPAD) << QRect(600, 50, 80, 30) << QRect(QPoint(600, 80), pad);
    QTest::newRow("keypad, right edge") << int(KEYBOARD_KEYPAD) << QRect(700, 50, 80, 30)
                                        << QRect(QPoint(800 - 148, 80), pad);
    // just fits below; one pixel lower goes above
    QTest::newRow("full, fits below") << int(KEYBOARD_FULL) << QRect(10, 289, 100, 30) << QRect(QPoint(10, 319), full);
    QTest::newRow("full, above") << int(KEYBOARD_FULL) << QRect(10, 290, 100, 30) << QRect(QPoint(10, 130), full);
    QTest::newRow("keypad, above") << int(KEYBOARD_KEYPAD) << QRect(500, 440, 80, 30) << QRect(QPoint(500, 280), pad);
    // a pane taller than the room above and below it: beside it, right first
    QTest::newRow("full, tall pane, right") << int(KEYBOARD_FULL) << QRect(10, 100, 300, 250)
                                            << QRect(QPoint(310, 100), full);
    QTest::newRow("full, tall pane, left") << int(KEYBOARD_FULL) << QRect(500, 100, 300, 250)
                                           << QRect(QPoint(20, 100), full);
    QTest::newRow("keypad, tall pane") << int(KEYBOARD_KEYPAD) << QRect(100, 150, 300, 320)
                                       << QRect(QPoint(400, 150), pad);
    // no room on any side: on the screen, over the field's lower part
    QTest::newRow("full, whole screen") << int(KEYBOARD_FULL) << QRect(0, 0, 800, 479) << QRect(QPoint(0, 319), full);
    QTest::newRow("none") << int(KEYBOARD_NONE) << QRect(10, 10, 100, 30) << QRect();
}

void tst_shellWidgets::keyboardPlacement()
{
    QFETCH(int, mode);
    QFETCH(QRect, field);
    QFETCH(QRect, expected);
    const QRect placed = keyboardGeometry(mode, field, panelScreenRect());
    QCOMPARE(placed, expected);
}

void tst_shellWidgets::promptKeyboardPlacement_data()
{
    QTest::addColumn<QRect>("field");
    QTest::addColumn<QRect>("prompt");
    QTest::addColumn<QRect>("expected");
    const QSize full = keyboardSize(KEYBOARD_FULL);
    // the file dialog at the top left: below it, its buttons left free
    QTest::newRow("file dialog") << QRect(100, 236, 200, 24) << QRect(20, 20, 340, 260)
                                 << QRect(QPoint(20, 280), full);
    // a password prompt in the middle of the window: no room below, above it
    QTest::newRow("centred prompt") << QRect(260, 240, 280, 24) << QRect(250, 180, 300, 150)
                                    << QRect(QPoint(250, 20), full);
    // a prompt that leaves no room: beside its field as any field
    QTest::newRow("whole screen") << QRect(10, 200, 300, 30) << QRect(0, 0, 800, 479)
                                  << QRect(QPoint(10, 230), full);
}

void tst_shellWidgets::promptKeyboardPlacement()
{
    QFETCH(QRect, field);
    QFETCH(QRect, prompt);
    QFETCH(QRect, expected);
    QCOMPARE(promptKeyboardGeometry(field, prompt, panelScreenRect()), expected);
}

void tst_shellWidgets::cancelKeysOfEachMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("cancels");
    QTest::newRow("full, escape") << int(KEYBOARD_FULL) << int(Qt::Key_Escape) << true;
    QTest::newRow("full, down") << int(KEYBOARD_FULL) << int(Qt::Key_Down) << true;
    QTest::newRow("full, slash") << int(KEYBOARD_FULL) << int(Qt::Key_Slash) << false;
    QTest::newRow("keypad, escape") << int(KEYBOARD_KEYPAD) << int(Qt::Key_Escape) << true;
    QTest::newRow("keypad, down") << int(KEYBOARD_KEYPAD) << int(Qt::Key_Down) << true;
    QTest::newRow("keypad, slash") << int(KEYBOARD_KEYPAD) << int(Qt::Key_Slash) << true;
    QTest::newRow("keypad, return") << int(KEYBOARD_KEYPAD) << int(Qt::Key_Return) << false;
    QTest::newRow("keypad, up") << int(KEYBOARD_KEYPAD) << int(Qt::Key_Up) << false;
    QTest::newRow("none, escape") << int(KEYBOARD_NONE) << int(Qt::Key_Escape) << false;
    QTest::newRow("none, slash") << int(KEYBOARD_NONE) << int(Qt::Key_Slash) << false;
}

void tst_shellWidgets::cancelKeysOfEachMode()
{
    QFETCH(int, mode);
    QFETCH(int, key);
    QFETCH(bool, cancels);
    QCOMPARE(isKeyboardCancelKey(mode, key), cancels);
}

void tst_shellWidgets::lineEditStartsKeyboardAtField_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("fieldX");
    QTest::addColumn<QString>("line");
    QTest::newRow("full left") << int(KEYBOARD_FULL) << 300 << "xvkbd -compact -modal -geometry +300+90 -always-on-top";
    // aligned with the field's right edge would start left of the screen
    QTest::newRow("full right") << int(KEYBOARD_FULL) << 301
                                << "xvkbd -compact -modal -geometry +0+90 -always-on-top";
    QTest::newRow("keypad right") << int(KEYBOARD_KEYPAD) << 500
                                  << "xvkbd -keypad -modal -geometry +500+90 -always-on-top";
}

void tst_shellWidgets::lineEditStartsKeyboardAtField()
{
    QFETCH(int, mode);
    QFETCH(int, fieldX);
    QFETCH(QString, line);

    fakeProcessRunner runner;
    panel w;
    qLvLineEdit edit(&w);
    edit.setGeometry(fieldX, 60, 120, 30);
    edit.setKeyboardMode(mode);
    edit.setText(QStringLiteral("42"));
    QVERIFY(showActive(w));
    QCOMPARE(edit.mapToGlobal(QPoint(0, 0)), QPoint(fieldX, 60));

    QSignalSpy spyFocus(&edit, &qLvLineEdit::focussed);
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QCOMPARE(runner.keyboardCommandLines(), QStringList{line});
    QCOMPARE(runner.keyboardCalls().first().eKind, fakeProcessRunner::START);
    QCOMPARE(runner.runningCount(), 1);
    QCOMPARE(edit.strSavedText, QStringLiteral("42"));
    QCOMPARE(edit.selectedText(), QStringLiteral("42"));
    QCOMPARE(spyFocus.count(), 1);
    QCOMPARE(spyFocus.at(0).at(0).toBool(), true);

    w.setFocus();
    QTRY_VERIFY(!edit.hasFocus());
    QCOMPARE(runner.runningCount(), 0);
    QCOMPARE(spyFocus.count(), 2);
    QCOMPARE(spyFocus.at(1).at(0).toBool(), false);
}

void tst_shellWidgets::endKeysLeaveTheField_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    // the cancel keys bring back the text of the focus-in
    QTest::newRow("full, escape") << int(KEYBOARD_FULL) << "345" << int(Qt::Key_Escape) << "12";
    QTest::newRow("full, down") << int(KEYBOARD_FULL) << "345" << int(Qt::Key_Down) << "12";
    QTest::newRow("keypad, slash") << int(KEYBOARD_KEYPAD) << "345" << int(Qt::Key_Slash) << "12";
    QTest::newRow("keypad, escape") << int(KEYBOARD_KEYPAD) << "345" << int(Qt::Key_Escape) << "12";
    // the full keyboard types "/" like any character
    QTest::newRow("full, unit, return") << int(KEYBOARD_FULL) << "mbar*l/sec" << int(Qt::Key_Return) << "mbar*l/sec";
    QTest::newRow("full, formula, escape") << int(KEYBOARD_FULL) << "val1/val2" << int(Qt::Key_Escape) << "12";
    // a name rule refuses it later; the field does not cut it short
    QTest::newRow("full, path, return") << int(KEYBOARD_FULL) << "../evil" << int(Qt::Key_Return) << "../evil";
}

void tst_shellWidgets::endKeysLeaveTheField()
{
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, expected);

    fakeProcessRunner runner;
    panel w;
    qLvLineEdit edit(&w);
    edit.setGeometry(10, 10, 200, 30);
    edit.setKeyboardMode(mode);
    edit.setText(QStringLiteral("12"));
    QVERIFY(showActive(w));
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());

    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), typed);
    QVERIFY(edit.hasFocus());
    QCOMPARE(runner.runningCount(), 1);
    QTest::keyClick(&edit, Qt::Key(key));
    QCOMPARE(edit.text(), expected);
    QTRY_VERIFY(w.hasFocus());
    QCOMPARE(runner.runningCount(), 0);
}

void tst_shellWidgets::returnAcceptsAndLeaves()
{
    fakeProcessRunner runner;
    panel w;
    qLvLineEdit edit(&w);
    edit.setGeometry(10, 10, 120, 30);
    QSignalSpy spyReturn(&edit, &QLineEdit::returnPressed);
    QVERIFY(showActive(w));
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());

    QTest::keyClicks(&edit, QStringLiteral("7.5"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), QStringLiteral("7.5"));
    QCOMPARE(spyReturn.count(), 1);
    QTRY_VERIFY(w.hasFocus());
    QCOMPARE(runner.runningCount(), 0);

    // the keypad's Enter is another key and leaves the field as it is
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QTest::keyClick(&edit, Qt::Key_Enter);
    QVERIFY(edit.hasFocus());
    QCOMPARE(runner.runningCount(), 1);
}

void tst_shellWidgets::keypadRestoresOnlyAFreshPreset()
{
    fakeProcessRunner runner;
    panel w;
    // as a table cell editor is made: preset right after construction
    qLvLineEdit edit(&w);
    edit.setGeometry(10, 10, 120, 30);
    edit.setKeyboardMode(KEYBOARD_KEYPAD);
    edit.strSavedText = QStringLiteral("250");
    QVERIFY(showActive(w));

    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QCOMPARE(edit.text(), QStringLiteral("250"));
    QCOMPARE(edit.strSavedText, QStringLiteral("250"));

    QTest::keyClicks(&edit, QStringLiteral("300"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QTRY_VERIFY(w.hasFocus());
    QCOMPARE(edit.text(), QStringLiteral("300"));

    // the accepted value survives the next visit ...
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QCOMPARE(edit.text(), QStringLiteral("300"));
    QCOMPARE(edit.strSavedText, QStringLiteral("300"));
    w.setFocus();
    QTRY_VERIFY(!edit.hasFocus());

    // ... and so does a value the program set meanwhile
    edit.setText(QStringLiteral("75"));
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QCOMPARE(edit.text(), QStringLiteral("75"));
    QTest::keyClick(&edit, Qt::Key_Escape);
    QCOMPARE(edit.text(), QStringLiteral("75"));
}

void tst_shellWidgets::keyboardNoneStartsNothing()
{
    fakeProcessRunner runner;
    panel w;
    qLvLineEdit edit(&w);
    edit.setGeometry(10, 10, 120, 30);
    edit.setKeyboardMode(KEYBOARD_NONE);
    edit.setText(QStringLiteral("a"));
    QSignalSpy spyFocus(&edit, &qLvLineEdit::focussed);
    QVERIFY(showActive(w));

    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QTest::keyClicks(&edit, QStringLiteral("b"));
    QTest::keyClick(&edit, Qt::Key_Escape);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), QStringLiteral("ab"));
    QVERIFY(edit.hasFocus());
    w.setFocus();
    QTRY_VERIFY(!edit.hasFocus());

    QVERIFY(runner.keyboardCalls().isEmpty());
    QVERIFY(runner.calls().isEmpty());
    QCOMPARE(spyFocus.count(), 2);
    QCOMPARE(spyFocus.at(0).at(0).toBool(), true);
    QCOMPARE(spyFocus.at(1).at(0).toBool(), false);
}

void tst_shellWidgets::destroyedFieldEndsKeyboard()
{
    fakeProcessRunner runner;
    panel w;
    auto *pEdit = new qLvLineEdit(&w);
    auto *pPane = new qLvTextEdit(&w);
    pEdit->setGeometry(10, 10, 120, 30);
    pPane->setGeometry(10, 100, 300, 100);
    QVERIFY(showActive(w));

    pEdit->setFocus();
    QTRY_VERIFY(pEdit->hasFocus());
    QCOMPARE(runner.runningCount(), 1);
    delete pEdit;
    QCOMPARE(runner.runningCount(), 0);

    pPane->setFocus();
    QTRY_VERIFY(pPane->hasFocus());
    QCOMPARE(runner.runningCount(), 1);
    delete pPane;
    QCOMPARE(runner.runningCount(), 0);
}

void tst_shellWidgets::missingKeyboardProgramLeavesFieldUsable()
{
    // the real runner with an empty PATH: xvkbd cannot be found
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", "/nonexistent-for-this-test");
    panel w;
    qLvLineEdit edit(&w);
    edit.setGeometry(10, 10, 120, 30);
    edit.setText(QStringLiteral("1"));
    QVERIFY(showActive(w));
    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    QTest::keyClicks(&edit, QStringLiteral("9"));
    QTest::keyClick(&edit, Qt::Key_Escape);
    qputenv("PATH", oldPath);
    QCOMPARE(edit.text(), QStringLiteral("1"));
    QTRY_VERIFY(w.hasFocus());
}

void tst_shellWidgets::terminalPaneKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    QTest::newRow("letter") << int(Qt::Key_A) << "a" << 0 << true << QByteArray("a") << "xa";
    QTest::newRow("return") << int(Qt::Key_Return) << "\r" << 0 << true << QByteArray("\r") << "x\n";
    QTest::newRow("shift alone") << int(Qt::Key_Shift) << "" << int(Qt::ShiftModifier) << true << QByteArray() << "x";
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << 0 << false << QByteArray() << "x";
    QTest::newRow("left") << int(Qt::Key_Left) << "" << 0 << false << QByteArray() << "x";
    QTest::newRow("up") << int(Qt::Key_Up) << "" << 0 << false << QByteArray() << "x";
    QTest::newRow("right") << int(Qt::Key_Right) << "" << 0 << false << QByteArray() << "x";
    QTest::newRow("down") << int(Qt::Key_Down) << "" << 0 << false << QByteArray() << "x";
}

void tst_shellWidgets::terminalPaneKeys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(bool, sent);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);

    fakeProcessRunner runner;
    panel w;
    qLvTextEdit pane(&w);
    pane.setGeometry(10, 100, 300, 100);
    QVERIFY(showActive(w));
    pane.setFocus();
    QTRY_VERIFY(pane.hasFocus());
    QTest::keyClicks(&pane, QStringLiteral("x"));

    QSignalSpy spy(&pane, &qLvTextEdit::sendData);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(&pane, &press);
    QCOMPARE(spy.count(), sent ? 1 : 0);
    if (sent)
        QCOMPARE(spy.at(0).at(0).toByteArray(), bytes);
    QCOMPARE(pane.toPlainText(), shown);
}

void tst_shellWidgets::terminalPaneKeyboard()
{
    fakeProcessRunner runner;
    panel w;
    qLvTextEdit pane(&w);
    pane.setGeometry(20, 30, 300, 100);
    QSignalSpy spyFocus(&pane, &qLvTextEdit::focussed);
    QVERIFY(showActive(w));

    pane.setFocus();
    QTRY_VERIFY(pane.hasFocus());
    // just below the pane on the screen
    QCOMPARE(runner.keyboardCommandLines(), QStringList{QStringLiteral("xvkbd -compact -modal -geometry +20+130 -always-on-top")});

    // "/" is typed and sent like any other character
    QSignalSpy spySent(&pane, &qLvTextEdit::sendData);
    QTest::keyClick(&pane, Qt::Key_Slash);
    QCOMPARE(spySent.count(), 1);
    QCOMPARE(spySent.at(0).at(0).toByteArray(), QByteArray("/"));
    QVERIFY(pane.hasFocus());
    QCOMPARE(runner.runningCount(), 1);

    QTest::keyClick(&pane, Qt::Key_Escape);
    QTRY_VERIFY(w.hasFocus());
    QCOMPARE(runner.runningCount(), 0);

    // Return does not leave the pane
    pane.setFocus();
    QTRY_VERIFY(pane.hasFocus());
    QTest::keyClick(&pane, Qt::Key_Return);
    QVERIFY(pane.hasFocus());
    QCOMPARE(runner.runningCount(), 1);
    w.setFocus();
    QTRY_COMPARE(runner.runningCount(), 0);
    QCOMPARE(spyFocus.count(), 4);
}

void tst_shellWidgets::labelMenu_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("signal");

    QTest::newRow("second only") << QStringList{"", "Calibrate", ""} << 1 << QStringList{"Calibrate"} << 2;
    QTest::newRow("third of three") << QStringList{"Clear Error", "Show Full Status", "Extra"} << 3
                                    << QStringList{"Clear Error", "Show Full Status", "Extra"} << 3;
    QTest::newRow("first of two") << QStringList{"Play Simulate", "", "Other"} << 1
                                  << QStringList{"Play Simulate", "Other"} << 1;
    QTest::newRow("closed outside") << QStringList{"Calibrate", "", ""} << 0 << QStringList{"Calibrate"} << 0;
}

void tst_shellWidgets::labelMenu()
{
    QFETCH(QStringList, texts);
    QFETCH(int, downs);
    QFETCH(QStringList, entries);
    QFETCH(int, signal);

    panel w;
    qLvLabel label(&w);
    label.setGeometry(10, 10, 100, 30);
    label.strAction1 = texts.at(0);
    label.strAction2 = texts.at(1);
    label.strAction3 = texts.at(2);
    QVERIFY(showActive(w));

    QSignalSpy spy1(&label, &qLvLabel::startAction1);
    QSignalSpy spy2(&label, &qLvLabel::startAction2);
    QSignalSpy spy3(&label, &qLvLabel::startAction3);

    QStringList shown;
    modalAnswerer answer([&](QWidget *pPopup) {
        auto *pMenu = qobject_cast<QMenu *>(pPopup);
        QVERIFY(pMenu);
        for (QAction *pAction : pMenu->actions())
            shown << pAction->text();
        if (downs == 0) {
            pMenu->close();
            return;
        }
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(pMenu, Qt::Key_Down);
        QTest::keyClick(pMenu, Qt::Key_Return);
    }, modalAnswerer::POPUP);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));

    QVERIFY(answer.bActed);
    QCOMPARE(shown, entries);
    QCOMPARE(spy1.count(), signal == 1 ? 1 : 0);
    QCOMPARE(spy2.count(), signal == 2 ? 1 : 0);
    QCOMPARE(spy3.count(), signal == 3 ? 1 : 0);
    // closed menus do not pile up on the label
    QTRY_COMPARE(label.findChildren<QMenu *>().size(), 0);
}

void tst_shellWidgets::labelWithoutTextsIgnoresPress()
{
    panel w;
    qLvLabel label(&w);
    label.setGeometry(10, 10, 100, 30);
    QVERIFY(showActive(w));
    // a menu shown by mistake would block the press; close it and note it
    modalAnswerer answer([](QWidget *pPopup) { pPopup->close(); }, modalAnswerer::POPUP, modalAnswerer::FIRST_ONLY, 2000);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(!answer.bActed);
    QVERIFY(label.findChildren<QMenu *>().isEmpty());
}

void tst_shellWidgets::messageBoxIsModalWindow()
{
    panel w;
    QPushButton behind(QStringLiteral("behind"), &w);
    QSignalSpy spyBehind(&behind, &QPushButton::clicked);
    QVERIFY(showActive(w));

    qlvMessageBox box(&w);
    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(box.isWindow());
    QVERIFY(box.styleSheet().contains(QStringLiteral("background-color: #323232")));

    box.setText(QStringLiteral("Shutdown"));
    box.setInformativeText(QStringLiteral("Do you want to shutdown the valve?"));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);

    modalAnswerer answer([&](QWidget *pModal) {
        // a touch on the window behind, through the window system as a real
        // one comes, is not delivered while the question is open
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, Qt::NoModifier, behind.geometry().center());
        QTest::keyClick(pModal, Qt::Key_Return);  // the default button
    });
    QCOMPARE(box.exec(), int(QMessageBox::No));
    QVERIFY(answer.bActed);
    QCOMPARE(answer.pSeen.data(), static_cast<QWidget *>(&box));
    QCOMPARE(spyBehind.count(), 0);
    // the same touch reaches the button once the box is gone
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, Qt::NoModifier, behind.geometry().center());
    QCOMPARE(spyBehind.count(), 1);
}

void tst_shellWidgets::messageDialog_data()
{
    QTest::addColumn<bool>("withParent");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("no parent, ok") << false << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
    QTest::newRow("no parent, cancel") << false << int(QDialogButtonBox::Cancel) << int(QDialog::Rejected);
    QTest::newRow("parent, ok") << true << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
}

void tst_shellWidgets::messageDialog()
{
    QFETCH(bool, withParent);
    QFETCH(int, button);
    QFETCH(int, result);

    panel w;
    qlvMessageDialog dlg(withParent ? &w : nullptr);
    QVERIFY(dlg.isWindow());
    QVERIFY(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(dlg.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(dlg.size(), QSize(380, 279));
    auto *pLabel = dlg.findChild<QLabel *>(QStringLiteral("qlblTextMessage"));
    QVERIFY(pLabel);
    QCOMPARE(pLabel->text(), QStringLiteral("some Text"));
    auto *pButtons = dlg.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(pButtons);

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg, 10000));
    QSignalSpy spyFinished(&dlg, &QDialog::finished);
    pButtons->button(QDialogButtonBox::StandardButton(button))->click();
    QCOMPARE(spyFinished.count(), 1);
    QCOMPARE(dlg.result(), result);
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(tst_shellWidgets)
#include "tst_shellWidgets.moc"
