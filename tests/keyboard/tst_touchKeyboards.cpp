// The on-screen keyboard of every touch field of the program, as the real
// main window, its dialogs and prompts ask for it on the 800 x 479 panel: the
// keyboard lies wholly on the screen and leaves the field it types into
// uncovered. The fields are found by walking the window and the program's
// boxes, so a field added later is checked without touching this test. The
// keyboard program is the fake runner's: nothing real starts.
#include "app/MainWindow.h"
#include "app/formStatusWidget.h"
#include "app/keyboardPlacement.h"
#include "app/onScreenKeyboard.h"
#include "app/promptKeyboard.h"
#include "app/qLvLineEdit.h"
#include "app/qLvTextEdit.h"
#include "manual/formCurrentState.h"
#include "settings/formSettingsTab.h"
#include "settings/lvSensorDlg.h"
#include "settings/panelAdministration.h"
#include "valve/settingsKeyTable.h"
#include "controllerSim.h"
#include "fakeProcessRunner.h"
#include "modalAnswerer.h"
#include "programBoxes.h"
#include "testWorkDir.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int WAIT_MS = 20000;

struct keyboardCall
{
    bool bFound = false;
    int nMode = KEYBOARD_NONE;
    QPoint pos;
    QRect rect() const { return QRect(pos, keyboardSize(nMode)); }
};

// The last keyboard the runner was asked to start.
keyboardCall lastKeyboard(const fakeProcessRunner &runner)
{
    static const QRegularExpression geometry(QStringLiteral("^\\+(-?\\d+)\\+(-?\\d+)$"));
    keyboardCall found;
    for (const fakeProcessRunner::call &c : runner.keyboardCalls()) {
        found.bFound = true;
        found.nMode = c.args.contains(QStringLiteral("-keypad")) ? KEYBOARD_KEYPAD : KEYBOARD_FULL;
        const int nAt = c.args.indexOf(QStringLiteral("-geometry"));
        const QRegularExpressionMatch m = geometry.match(c.args.value(nAt + 1));
        found.pos = m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-100000, -100000);
    }
    return found;
}

QRect globalRect(const QWidget *pWidget)
{
    return QRect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
}

// A field that starts a keyboard: a touch field in a mode with one, or a
// plain line edit of a dialog with the prompt keyboard.
bool startsKeyboard(QWidget *pWidget)
{
    if (auto *pEdit = qobject_cast<qLvLineEdit *>(pWidget))
        return pEdit->keyboardMode() != KEYBOARD_NONE;
    if (auto *pPane = qobject_cast<qLvTextEdit *>(pWidget))
        return pPane->keyboardMode() != KEYBOARD_NONE;
    return qobject_cast<QLineEdit *>(pWidget) && pWidget->findChild<promptKeyboard *>(QString(), Qt::FindDirectChildrenOnly);
}

QList<QWidget *> keyboardFieldsBelow(QWidget *pTop)
{
    QList<QWidget *> fields;
    for (QWidget *pWidget : pTop->findChildren<QWidget *>())
        if (startsKeyboard(pWidget))
            fields << pWidget;
    return fields;
}

// Shows the page that holds the widget: the tab of a tab widget as the
// operator picks it, a page of a stack (the Settings tab's pages, the Remote
// tab's sources) as its selector would.
void showPagesOf(QWidget *pWidget)
{
    for (QWidget *pChild = pWidget; pChild && pChild->parentWidget(); pChild = pChild->parentWidget()) {
        auto *pStack = qobject_cast<QStackedWidget *>(pChild->parentWidget());
        if (!pStack)
            continue;
        if (auto *pTabs = qobject_cast<QTabWidget *>(pStack->parentWidget())) {
            pTabs->setCurrentWidget(pChild);
        } else {
            const QSignalBlocker quiet(pStack);
            pStack->setCurrentWidget(pChild);
        }
    }
}

void writeScriptFiles(const testWorkDir &work)
{
    work.writeFile(QStringLiteral("scripts/Leak test.kfxscript"),
                   "0;GOTOPOS;-1000000;999999;\n1;WAIT;1000;1;\n2;GOTODATA;1000000;1;\n");
    work.writeFile(QStringLiteral("scripts/Second.kfxscript"), "0;WAIT;1000;1;\n");
}

void storeValue(const QString &strGroup, const QString &strKey, const QVariant &value)
{
    QSettings settings(QString::fromLatin1(g_pszSettingsOrganisation), QString::fromLatin1(g_pszSettingsApplication));
    settings.beginGroup(strGroup);
    settings.setValue(strKey, value);
    settings.endGroup();
}

} // namespace

class tst_touchKeyboards : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void everyTouchField_data();
    void everyTouchField();
    void sensorDialogTypesSlash_data();
    void sensorDialogTypesSlash();
    void promptsStartAndEndKeyboard_data();
    void promptsStartAndEndKeyboard();

private:
    // One place that starts a keyboard: open() shows it and starts the
    // keyboard, returning the widget the keyboard must leave uncovered;
    // close() puts everything back.
    struct touchCase
    {
        QString strName;
        std::function<QWidget *()> open;
        std::function<void()> close;
    };
    void collectCases();
    void addWindowField(const QString &strPage, QWidget *pField);
    void addCellEditor(const QString &strName, const QString &strView, int nRow, int nColumn);
    void addBoxFields(const programBox &box);
    QWidget *focusField(QWidget *pField);
    void leaveField();

    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<controllerSim> sim;
    std::unique_ptr<fakeProcessRunner> runner;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<modalAnswerer> unexpected;
    QStringList unexpectedBoxes;
    // A box or prompt the test shows or answers itself.
    std::unique_ptr<QWidget> pBox;
    bool bAnsweringPrompts = false;
    QList<touchCase> cases;
};

void tst_touchKeyboards::initTestCase()
{
    work = std::make_unique<testWorkDir>();
    QVERIFY(work->isValid());
    qputenv("VALVE_DEV_DIR", work->filePath(QStringLiteral("dev")).toLocal8Bit());
    runner = std::make_unique<fakeProcessRunner>();
    // A clean previous shutdown: no start-up box.
    QVERIFY(work->writeFile(QStringLiteral("log/qVarnixLeakvalve.log"),
                            QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1()
                                + " 10:00:00.000 ### Shutdown\n"));
    writeScriptFiles(*work);

    QDir().mkpath(work->filePath(QStringLiteral("dev")));
    sim = std::make_unique<controllerSim>(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(sim->start(work->filePath(QStringLiteral("dev/ttyUSB0"))));
    storeValue(QStringLiteral("motor driver"), QStringLiteral("position"), 0);
    storeValue(QStringLiteral("motor driver"), QStringLiteral("type"), QStringLiteral("BergerLahr"));
    storeValue(QStringLiteral("motor driver"), QStringLiteral("motor port"), QStringLiteral("ttyUSB0"));

    // A box nobody expects would stop the test in its event loop: noted and
    // rejected.
    unexpected = std::make_unique<modalAnswerer>(
        [this](QWidget *pModal) {
            auto *pMessage = qobject_cast<QMessageBox *>(pModal);
            unexpectedBoxes << (pMessage ? pMessage->text() : QString::fromLatin1(pModal->metaObject()->className()));
            qWarning("box shown: %s", qPrintable(unexpectedBoxes.last()));
            if (auto *pDialog = qobject_cast<QDialog *>(pModal))
                pDialog->reject();
        },
        modalAnswerer::MODAL, modalAnswerer::EVERY_ONE);
    unexpected->leaveAlone = [this](QWidget *pModal) { return pModal == pBox.get() || bAnsweringPrompts; };

    // As the program shows it.
    window = std::make_unique<MainWindow>(nullptr);
    window->setFixedSize(800, 479);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    window->move(0, 0);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get(), WAIT_MS));
    // The start-up notes (such as a teach-in of another sensor) come and go.
    auto *pSettings = window->findChild<formSettingsTab *>(QStringLiteral("widgetSettings"));
    QVERIFY(pSettings);
    QTRY_VERIFY_WITH_TIMEOUT(pSettings->bWindowLoaded && !QApplication::activeModalWidget(), WAIT_MS);
    unexpectedBoxes.clear();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get(), WAIT_MS));
    collectCases();
}

void tst_touchKeyboards::cleanupTestCase()
{
    pBox.reset();
    unexpected.reset();
    window.reset();
    sim.reset();
    runner.reset();
    work.reset();
    qunsetenv("VALVE_DEV_DIR");
}

void tst_touchKeyboards::cleanup()
{
    // Also after a failed check.
    pBox.reset();
    bAnsweringPrompts = false;
}

QWidget *tst_touchKeyboards::focusField(QWidget *pField)
{
    QWidget *pWindow = pField->window();
    pWindow->activateWindow();
    QApplication::setActiveWindow(pWindow);
    if (!QTest::qWaitFor([pField] { return pField->isVisible(); }, WAIT_MS))
        return nullptr;
    pField->setFocus(Qt::MouseFocusReason);
    return pField;
}

void tst_touchKeyboards::leaveField()
{
    window->setFocus(Qt::OtherFocusReason);
}

void tst_touchKeyboards::addWindowField(const QString &strPage, QWidget *pField)
{
    QPointer<QWidget> pSafe = pField;
    auto pWasEnabled = std::make_shared<bool>(true);
    cases << touchCase{strPage + QLatin1Char('/') + pField->objectName(),
                       [this, pSafe, pWasEnabled]() -> QWidget * {
                           if (!pSafe)
                               return nullptr;
                           showPagesOf(pSafe);
                           // Where it stands does not depend on whether the
                           // field takes input now (a remote link, a script).
                           *pWasEnabled = pSafe->isEnabled();
                           pSafe->setEnabled(true);
                           return focusField(pSafe);
                       },
                       [this, pSafe, pWasEnabled] {
                           leaveField();
                           if (pSafe)
                               pSafe->setEnabled(*pWasEnabled);
                       }};
}

void tst_touchKeyboards::addCellEditor(const QString &strName, const QString &strView, int nRow, int nColumn)
{
    cases << touchCase{strName,
                       [this, strView, nRow, nColumn]() -> QWidget * {
                           auto *pView = window->findChild<QTableView *>(strView);
                           if (!pView)
                               return nullptr;
                           showPagesOf(pView);
                           if (!QTest::qWaitFor([pView] { return pView->isVisible(); }, WAIT_MS))
                               return nullptr;
                           const QModelIndex index = pView->model()->index(nRow, nColumn);
                           pView->setCurrentIndex(index);
                           pView->edit(index);
                           auto *pEditor = qobject_cast<qLvLineEdit *>(pView->indexWidget(index));
                           if (!pEditor)
                               pEditor = pView->viewport()->findChild<qLvLineEdit *>();
                           return pEditor ? focusField(pEditor) : nullptr;
                       },
                       [this, strView] {
                           // Closed unchanged, without committing anything.
                           if (auto *pView = window->findChild<QTableView *>(strView)) {
                               if (auto *pEditor = pView->viewport()->findChild<qLvLineEdit *>())
                                   emit pView->itemDelegate()->closeEditor(pEditor, QAbstractItemDelegate::NoHint);
                           }
                           leaveField();
                       }};
}

void tst_touchKeyboards::addBoxFields(const programBox &box)
{
    std::unique_ptr<QWidget> pProbe(box.build(window.get()));
    const QList<QWidget *> fields = keyboardFieldsBelow(pProbe.get());
    for (int i = 0; i < fields.size(); ++i) {
        const QString strField = fields.at(i)->objectName().isEmpty() ? QStringLiteral("field%1").arg(i)
                                                                       : fields.at(i)->objectName();
        cases << touchCase{box.strName + QLatin1Char('/') + strField,
                           [this, box, i]() -> QWidget * {
                               pBox.reset(box.build(window.get()));
                               pBox->show();
                               if (!QTest::qWaitForWindowExposed(pBox.get(), WAIT_MS))
                                   return nullptr;
                               const QList<QWidget *> shown = keyboardFieldsBelow(pBox.get());
                               return i < shown.size() ? focusField(shown.at(i)) : nullptr;
                           },
                           [this] { pBox.reset(); }};
    }
}

void tst_touchKeyboards::collectCases()
{
    auto *pTabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QVERIFY(pTabs);
    for (int i = 0; i < pTabs->count(); ++i) {
        QWidget *pPage = pTabs->widget(i);
        for (QWidget *pField : keyboardFieldsBelow(pPage))
            addWindowField(pPage->objectName(), pField);
    }
    // The cell editors of the Script tab's tables: the script's name, the
    // command's value and repeat count.
    addCellEditor(QStringLiteral("widgetScript/script name editor"), QStringLiteral("tblViewScripts"), 0, 2);
    addCellEditor(QStringLiteral("widgetScript/value editor"), QStringLiteral("tblViewCommands"), 0, 1);
    addCellEditor(QStringLiteral("widgetScript/repeat editor"), QStringLiteral("tblViewCommands"), 0, 2);
    // The sensor dialog, the password prompts, the file dialogs.
    for (const programBox &box : programBoxes())
        addBoxFields(box);
    // The status strip's keyboard slot.
    cases << touchCase{QStringLiteral("widgetStatus"),
                       [this]() -> QWidget * {
                           auto *pStrip = window->findChild<formStatusWidget *>(QStringLiteral("widgetStatus"));
                           if (pStrip)
                               pStrip->slotShowKeyboard();
                           return pStrip;
                       },
                       [] {}};
}

void tst_touchKeyboards::everyTouchField_data()
{
    QTest::addColumn<int>("nCase");
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(qPrintable(cases.at(i).strName)) << i;
}

void tst_touchKeyboards::everyTouchField()
{
    QFETCH(int, nCase);
    const touchCase &c = cases.at(nCase);
    runner->clear();
    unexpectedBoxes.clear();
    QWidget *pField = c.open();
    QVERIFY2(pField, "the field could not be shown");
    QTRY_VERIFY_WITH_TIMEOUT(lastKeyboard(*runner).bFound, WAIT_MS);
    const keyboardCall keyboard = lastKeyboard(*runner);
    const QRect rField = globalRect(pField);
    const QRect rKeyboard = keyboard.rect();
    c.close();

    const QString strWhere = QStringLiteral("field %1,%2 %3x%4, keyboard %5,%6 %7x%8")
                                 .arg(rField.x()).arg(rField.y()).arg(rField.width()).arg(rField.height())
                                 .arg(rKeyboard.x()).arg(rKeyboard.y()).arg(rKeyboard.width()).arg(rKeyboard.height());
    QVERIFY2(panelScreenRect().contains(rField), qPrintable(QStringLiteral("field off the screen: ") + strWhere));
    QVERIFY2(panelScreenRect().contains(rKeyboard), qPrintable(QStringLiteral("keyboard off the screen: ") + strWhere));
    QVERIFY2(!rKeyboard.intersects(rField), qPrintable(QStringLiteral("keyboard over the field: ") + strWhere));
    QVERIFY2(unexpectedBoxes.isEmpty(), qPrintable(QStringLiteral("unexpected box: ") + unexpectedBoxes.join(", ")));
}

void tst_touchKeyboards::sensorDialogTypesSlash_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("unit") << "lineEditSensorUnit" << "mbar*l/sec";
    QTest::newRow("formula") << "lineEditSensorFormula" << "val1/val2";
}

void tst_touchKeyboards::sensorDialogTypesSlash()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);

    // As the Settings tab runs it to change a sensor, with the program's
    // default unit.
    lvSensorDlg dialog(nullptr);
    dialog.setParent(window.get(), Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    lvSensor sensor;
    sensor.strName = QStringLiteral("Gauge");
    sensor.strUnit = QStringLiteral("mbar*l/sec");
    sensor.strFormula = QStringLiteral("val1");
    dialog.setSensor(sensor);
    auto *pEdit = dialog.findChild<qLvLineEdit *>(field);
    QVERIFY(pEdit);
    const QString strSaved = pEdit->text();
    runner->clear();
    const int nBefore = runner->runningCount();
    QSignalSpy spyFinished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, WAIT_MS));

    // Typed key by key, as the keyboard sends it: "/" is one of the keys.
    QVERIFY(focusField(pEdit));
    QTRY_VERIFY_WITH_TIMEOUT(pEdit->hasFocus(), WAIT_MS);
    QCOMPARE(runner->runningCount(), nBefore + 1);
    QTest::keyClicks(pEdit, typed);
    QCOMPARE(pEdit->text(), typed);
    QVERIFY(pEdit->hasFocus());
    QCOMPARE(runner->runningCount(), nBefore + 1);

    // Escape brings back what the field held when it was entered, and only
    // that: the dialog stays open with the other fields as they are.
    QTest::keyClick(pEdit, Qt::Key_Escape);
    QCOMPARE(pEdit->text(), strSaved);
    QTRY_VERIFY_WITH_TIMEOUT(!pEdit->hasFocus(), WAIT_MS);
    QCOMPARE(runner->runningCount(), nBefore);
    QVERIFY(dialog.isVisible());
    QCOMPARE(spyFinished.count(), 0);

    // Typed again and accepted with Return.
    QVERIFY(focusField(pEdit));
    QTRY_VERIFY_WITH_TIMEOUT(pEdit->hasFocus(), WAIT_MS);
    pEdit->clear();
    QTest::keyClicks(pEdit, typed);
    QTest::keyClick(pEdit, Qt::Key_Return);
    QCOMPARE(pEdit->text(), typed);
    QTRY_VERIFY_WITH_TIMEOUT(!pEdit->hasFocus(), WAIT_MS);
    QCOMPARE(runner->runningCount(), nBefore);
    const lvSensor edited = dialog.getSensor();
    QCOMPARE(field == QLatin1String("lineEditSensorUnit") ? edited.strUnit : edited.strFormula, typed);
}

void tst_touchKeyboards::promptsStartAndEndKeyboard_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("prompts");
    QTest::newRow("Samba password") << "samba" << 2;
    QTest::newRow("teach-in export") << "teach-in export" << 1;
    QTest::newRow("settings export") << "settings export" << 1;
    QTest::newRow("update package") << "update" << 1;
    QTest::newRow("diagram print") << "diagram print" << 1;
    QTest::newRow("diagram export") << "diagram export" << 1;
}

void tst_touchKeyboards::promptsStartAndEndKeyboard()
{
    QFETCH(QString, action);
    QFETCH(int, prompts);

    runner->clear();
    const int nBefore = runner->runningCount();
    bAnsweringPrompts = true;
    // Each prompt is answered once its keyboard runs: cancelled, or for the
    // first password prompt given a password so that the second one comes.
    QList<QRect> fieldRects;
    QList<QRect> promptRects;
    QList<keyboardCall> keyboards;
    int nShown = 0;
    modalAnswerer answer(
        [&](QWidget *pModal) {
            QLineEdit *pField = nullptr;
            if (auto *pFile = qobject_cast<QFileDialog *>(pModal))
                pField = pFile->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            else if (qobject_cast<QInputDialog *>(pModal))
                pField = pModal->findChild<QLineEdit *>();
            if (!pField) {
                if (auto *pDialog = qobject_cast<QDialog *>(pModal))
                    pDialog->reject();
                return;
            }
            // Not yet: the answer comes again while the prompt stays open.
            if (runner->runningCount() != nBefore + 1)
                return;
            ++nShown;
            fieldRects << globalRect(pField);
            promptRects << globalRect(pModal);
            keyboards << lastKeyboard(*runner);
            auto *pInput = qobject_cast<QInputDialog *>(pModal);
            if (pInput && nShown == 1) {
                pInput->setTextValue(QStringLiteral("secret"));
                pInput->done(QDialog::Accepted);
            } else {
                qobject_cast<QDialog *>(pModal)->reject();
            }
        },
        modalAnswerer::MODAL, modalAnswerer::EVERY_ONE);

    QWidget *pTab = window->findChild<QWidget *>(QStringLiteral("widgetSettings"));
    QVERIFY(pTab);
    auto *pDiagram = window->findChild<formCurrentState *>();
    QVERIFY(pDiagram);
    if (action == QLatin1String("diagram print"))
        pDiagram->onDiagramMenuPrint();
    else if (action == QLatin1String("diagram export"))
        pDiagram->onDiagramExport();
    else if (action == QLatin1String("samba"))
        panelAdministration::changeSambaPassword(pTab, window.get());
    else if (action == QLatin1String("teach-in export"))
        panelAdministration::exportTeachIn(pTab, window.get(), QStringLiteral("curve"));
    else if (action == QLatin1String("settings export"))
        panelAdministration::exportSettings(pTab, window.get());
    else
        panelAdministration::installUpdate(pTab, window.get());
    bAnsweringPrompts = false;

    QCOMPARE(nShown, prompts);
    // Ended with its prompt: nothing left on the screen.
    QCOMPARE(runner->runningCount(), nBefore);
    for (int i = 0; i < nShown; ++i) {
        QVERIFY(keyboards.at(i).bFound);
        QCOMPARE(keyboards.at(i).nMode, int(KEYBOARD_FULL));
        QVERIFY(panelScreenRect().contains(keyboards.at(i).rect()));
        QVERIFY(!keyboards.at(i).rect().intersects(fieldRects.at(i)));
        // The prompt's buttons stay free too: the screen has room beside it.
        QVERIFY(!keyboards.at(i).rect().intersects(promptRects.at(i)));
    }
    // Nothing else ran: every prompt was cancelled.
    QVERIFY(runner->calls().isEmpty());
}

QTEST_MAIN(tst_touchKeyboards)
#include "tst_touchKeyboards.moc"
