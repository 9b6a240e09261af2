// Every text of the panel fits its widget at 800 x 479: the real main window
// with every tab page, the status strip at its widest (an active sensor with
// the widest leak rate, valve fully open, a running script's line above the
// drive's status, inputs at full scale), the Script tab with scripts holding
// the widest values of their ranges in every cell and every editor, and every
// box and dialog of the program.
// A page, box or dialog added later is checked without touching this test:
// the pages are walked from the tab widget, the boxes come from the table of
// the program's boxes.
#include "app/MainWindow.h"
#include "app/comboWidthFit.h"
#include "app/formStatusWidget.h"
#include "valve/settingsKeyTable.h"
#include "controllerSim.h"
#include "fakeProcessRunner.h"
#include "layoutCheck.h"
#include "modalAnswerer.h"
#include "manual/qLvCustomPlot.h"
#include "panelValues.h"
#include "platform/analogFrameSource.h"
#include "programBoxes.h"
#include "script/formScriptTab.h"
#include "script/qTblViewScript.h"
#include "testWorkDir.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTabWidget>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

constexpr int WAIT_MS = 20000;

// The widest leak rate a sensor shows: a minus sign, and three exponent digits
// after a plus sign, wider than a minus.
const char *const szWidestLeakRate = "-8.88E+307";

// Every channel at 1023 counts: 10 V, the widest reading.
class fullScaleSource : public analogFrameSource
{
public:
    QByteArray readFrame() override
    {
        QByteArray frame(FRAME_SIZE, '\0');
        for (int i = 0; i < 5; ++i) {
            frame[1 + 2 * i] = char(0xff);
            frame[2 + 2 * i] = char(0x03);
        }
        return frame;
    }
};

void storeValue(const QString &strGroup, const QString &strKey, const QVariant &value)
{
    QSettings settings(QString::fromLatin1(g_pszSettingsOrganisation), QString::fromLatin1(g_pszSettingsApplication));
    settings.beginGroup(strGroup);
    settings.setValue(strKey, value);
    settings.endGroup();
}

void waitMs(int nMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < nMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

class tst_layoutFits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void theCheckSeesACutText();
    void theCheckSeesHiddenValues_data();
    void theCheckSeesHiddenValues();
    void comboMeasuredAsDrawn();
    void tabPages_data();
    void tabPages();
    void statusLines_data();
    void statusLines();
    void scriptEditors_data();
    void scriptEditors();
    void boxes_data();
    void boxes();
    void longPressNote();

private:
    formStatusWidget *statusStrip() const;
    void fillStatusStripWidest();
    void showPage(const QString &strPage);
    void verifyNoProblems(const QList<layoutProblem> &problems);

    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<controllerSim> sim;
    std::unique_ptr<fakeProcessRunner> runner;
    fullScaleSource analogSource;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<modalAnswerer> unexpected;
    QStringList unexpectedBoxes;
    QPointer<QWidget> pBoxUnderCheck;
    layoutCheck check;
};

void tst_layoutFits::initTestCase()
{
    // Measuring against a missing font would pass anything.
    const QFontInfo info(QApplication::font());
    QVERIFY2(!QFontDatabase().families().isEmpty() && QFontDatabase().isScalable(info.family()),
             "no scalable font found: install fonts-dejavu-core (tools/install-deps.sh)");

    // The panel's X server gives the program the generic default font of 9
    // points that the tables and the editors without a style-sheet font
    // use; the offscreen platform's default is 12 points.
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));

    work = std::make_unique<testWorkDir>();
    QVERIFY(work->isValid());
    qputenv("VALVE_DEV_DIR", work->filePath(QStringLiteral("dev")).toLocal8Bit());
    runner = std::make_unique<fakeProcessRunner>();
    analogFrameSource::setInstance(&analogSource);
    // A clean previous shutdown: no start-up box.
    QVERIFY(work->writeFile(QStringLiteral("log/qVarnixLeakvalve.log"),
                            QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1()
                                + " 10:00:00.000 ### Shutdown\n"));

    // The language list shows the translation files of the working folder.
    QVERIFY(work->writeFile(QStringLiteral("languages/qlvZENTU_en.ts"), QByteArray("<TS/>\n")));

    // The valve stands fully open, the store agrees.
    QDir().mkpath(work->filePath(QStringLiteral("dev")));
    sim = std::make_unique<controllerSim>(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(sim->start(work->filePath(QStringLiteral("dev/ttyUSB0"))));
    sim->setPosition(sim->fullTravel());
    storeValue(QStringLiteral("motor driver"), QStringLiteral("position"), 1000000);
    storeValue(QStringLiteral("motor driver"), QStringLiteral("type"), QStringLiteral("BergerLahr"));
    storeValue(QStringLiteral("motor driver"), QStringLiteral("motor port"), QStringLiteral("ttyUSB0"));

    // An active sensor: the built-in leak rate's name and unit, and a value
    // as wide as its presentation gets.
    const QString strFeedback = QStringLiteral("external feedback");
    storeValue(strFeedback, QStringLiteral("sensor name"), QStringLiteral("LeakDetector"));
    storeValue(strFeedback, QStringLiteral("sensor data name"), QStringLiteral("Leakrate"));
    storeValue(strFeedback, QStringLiteral("sensor unit"), QStringLiteral("mbar*l/sec"));
    storeValue(strFeedback, QStringLiteral("sensor formula"), QString::fromLatin1(szWidestLeakRate));

    // Scripts with the widest values of their ranges.
    QVERIFY(layWidestScripts());

    // A box nobody expects would stop the test in its event loop: noted and
    // rejected; the box under check is left alone.
    unexpected = std::make_unique<modalAnswerer>(
        [this](QWidget *pModal) {
            auto *pBox = qobject_cast<QMessageBox *>(pModal);
            const QString strWhat = pBox ? pBox->text() : layoutCheck::widgetPath(pModal);
            if (!unexpectedBoxes.contains(strWhat))
                unexpectedBoxes << strWhat;
            if (auto *pDialog = qobject_cast<QDialog *>(pModal))
                pDialog->reject();
        },
        modalAnswerer::MODAL, modalAnswerer::EVERY_ONE);
    unexpected->leaveAlone = [this](QWidget *pModal) { return pModal == pBoxUnderCheck; };

    // As the program shows it.
    window = std::make_unique<MainWindow>(nullptr);
    window->setFixedSize(800, 479);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    window->move(0, 0);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The start-up notes (such as a teach-in of another sensor) come and go.
    waitMs(500);
    unexpectedBoxes.clear();

    // lblStatus keeps the form's fixed width; its whole text is in the
    // "Full Status" box, which is checked with the boxes.
    // The file dialog's folder combo shows the whole folder path in the
    // dialog's fixed size; the folder's own name is in its list too.
    check.setCutByDesign({QStringLiteral("lblStatus"), QStringLiteral("lookInCombo")});
}

void tst_layoutFits::cleanupTestCase()
{
    unexpected.reset();
    window.reset();
    analogFrameSource::setInstance(nullptr);
    sim.reset();
    runner.reset();
    work.reset();
    qunsetenv("VALVE_DEV_DIR");
}

void tst_layoutFits::verifyNoProblems(const QList<layoutProblem> &problems)
{
    // One line each: a long list would be cut in a single failure message.
    for (const QString &strProblem : layoutCheck::describe(problems))
        qWarning("%s", qPrintable(strProblem));
    QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("%1 texts or widgets do not fit (listed above)").arg(problems.size())));
    QVERIFY2(unexpectedBoxes.isEmpty(), qPrintable(QStringLiteral("unexpected box: ") + unexpectedBoxes.join(", ")));
}

formStatusWidget *tst_layoutFits::statusStrip() const
{
    return window->findChild<formStatusWidget *>(QStringLiteral("widgetStatus"));
}

void tst_layoutFits::fillStatusStripWidest()
{
    formStatusWidget *pStrip = statusStrip();
    QVERIFY(pStrip);
    auto *pPos = pStrip->findChild<QLabel *>(QStringLiteral("lblPos"));
    // The drive reports the open valve.
    QTRY_COMPARE_WITH_TIMEOUT(pPos->text(), QStringLiteral("%L1").arg(1000000).replace(QLatin1Char('.'), QLatin1Char(' ')),
                              WAIT_MS);
    for (const QString &strStatus : runningScriptStatus())
        pStrip->setStatus(strStatus);
    pStrip->setPositionSteps(sim->fullTravel());
    pStrip->onUpdateInputs(10.0, 10.0, 10.0);
    pStrip->onUpdateOutput1(true);
    pStrip->onUpdateLimitSwitch(false);
    QCOMPARE(pStrip->findChild<QLabel *>(QStringLiteral("lblSensorData"))->text(), QString::fromLatin1(szWidestLeakRate));
    QCOMPARE(pStrip->findChild<QLabel *>(QStringLiteral("lblDataUnit"))->text(), QStringLiteral("mbar*l/sec"));
    waitMs(50);
}

void tst_layoutFits::showPage(const QString &strPage)
{
    auto *pTabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QWidget *pPage = window->findChild<QWidget *>(strPage);
    QVERIFY(pTabs && pPage);
    pTabs->setCurrentWidget(pPage);
    QTRY_VERIFY_WITH_TIMEOUT(pPage->isVisible(), WAIT_MS);
}

void tst_layoutFits::theCheckSeesACutText()
{
    // The check itself: a label too narrow for its text is named with its
    // text, and a window beyond the screen's right edge is reported.
    QWidget host;
    host.resize(300, 100);
    auto *pLabel = new QLabel(QStringLiteral("1,000,000"), &host);
    pLabel->setObjectName(QStringLiteral("lblNarrow"));
    pLabel->setGeometry(0, 0, 30, 30);
    host.move(0, 0);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QList<layoutProblem> problems = check.problemsBelow(&host);
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems.first().strWidget, QStringLiteral("QWidget/lblNarrow"));
    QCOMPARE(problems.first().strText, QStringLiteral("1,000,000"));

    host.move(700, 0);
    waitMs(50);
    QVERIFY(!check.problemsBelow(&host).isEmpty());
}

void tst_layoutFits::theCheckSeesHiddenValues_data()
{
    QTest::addColumn<int>("nCase");
    QTest::addColumn<QString>("strHidden");
    QTest::newRow("cell narrower than its text") << 0 << QStringLiteral("-1000000");
    QTest::newRow("column beyond the table's edge") << 1 << QString();
    QTest::newRow("label laid over its neighbour") << 2 << QStringLiteral("mbar*l/sec");
    QTest::newRow("status losing its first line") << 3 << QStringLiteral("Script Finished\nOK\nBusy\nPos Error");
}

void tst_layoutFits::theCheckSeesHiddenValues()
{
    // What a table hides in a narrow cell or beyond its edge, a label drawn
    // under its neighbour, and a status cut at its start are all named.
    QFETCH(int, nCase);
    QFETCH(QString, strHidden);
    QWidget host;
    host.resize(400, 200);
    QStandardItemModel model(1, 2);
    model.setItem(0, 0, new QStandardItem(QStringLiteral("-1000000")));
    auto *pTable = new QTableView(&host);
    pTable->setModel(&model);
    pTable->setGeometry(0, 0, 300, 150);
    switch (nCase) {
    case 0:
        pTable->setColumnWidth(0, 30);
        break;
    case 1:
        pTable->setColumnWidth(0, 200);
        pTable->setColumnWidth(1, 200);
        break;
    case 2: {
        pTable->hide();
        auto *pUnit = new QLabel(QStringLiteral("mbar*l/sec"), &host);
        pUnit->setGeometry(0, 0, 100, 20);
        auto *pInput = new QLabel(QStringLiteral("I1"), &host);
        pInput->setGeometry(40, 0, 30, 20);
        break;
    }
    default: {
        pTable->hide();
        auto *pStatus = new QLabel(strHidden, &host);
        pStatus->setObjectName(QStringLiteral("lblStatus"));
        pStatus->setFrameShape(QFrame::Panel);
        pStatus->setGeometry(0, 0, 200, 30);
        break;
    }
    }
    host.move(0, 0);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    waitMs(50);
    const QList<layoutProblem> problems = check.problemsBelow(&host);
    QVERIFY2(!problems.isEmpty(), "nothing found");
    bool bNamed = false;
    for (const layoutProblem &problem : problems)
        bNamed = bNamed || problem.strText == strHidden;
    QVERIFY2(bNamed, qPrintable(layoutCheck::describe(problems).join(QLatin1Char('\n'))));
}

void tst_layoutFits::comboMeasuredAsDrawn()
{
    // A sheet that borders the combo but pads nothing sizes it by its own
    // field, while the item is drawn in the base style's narrower one: at its
    // size hint the combo cuts its item, which the check sees and the fit
    // mends.
    QWidget host;
    host.setStyleSheet(QStringLiteral("QComboBox { border: 1px solid #1e1e1e; font-size: 14px; }"
                                      "QComboBox::drop-down { width: 15px; }"));
    host.resize(400, 100);
    auto *pCombo = new QComboBox(&host);
    pCombo->setObjectName(QStringLiteral("cmbMode"));
    pCombo->addItems({QStringLiteral("Direct Connection"), QStringLiteral("Modbus")});
    host.move(0, 0);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    pCombo->resize(pCombo->sizeHint());
    waitMs(20);
    const QList<layoutProblem> problems = check.problemsBelow(&host);
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems.first().strText, QStringLiteral("Direct Connection"));

    comboWidthFit::fit(pCombo);
    waitMs(20);
    QVERIFY2(check.problemsBelow(&host).isEmpty(),
             qPrintable(layoutCheck::describe(check.problemsBelow(&host)).join(QLatin1Char('\n'))));
}

void tst_layoutFits::tabPages_data()
{
    QTest::addColumn<int>("nPage");
    auto *pTabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QVERIFY(pTabs);
    for (int i = 0; i < pTabs->count(); ++i)
        QTest::newRow(qPrintable(pTabs->widget(i)->objectName())) << i;
}

void tst_layoutFits::tabPages()
{
    QFETCH(int, nPage);
    auto *pTabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    pTabs->setCurrentIndex(nPage);
    QTRY_COMPARE_WITH_TIMEOUT(pTabs->currentIndex(), nPage, WAIT_MS);
    fillStatusStripWidest();
    QList<layoutProblem> problems = check.problemsBelow(window.get());
    // Pages the page switches between (its sources, inner tabs) are checked
    // one by one; the page shown when the operator comes back stays.
    for (QStackedWidget *pStack : pTabs->widget(nPage)->findChildren<QStackedWidget *>()) {
        if (!pStack->isVisible())
            continue;
        const int nShown = pStack->currentIndex();
        for (int i = 0; i < pStack->count(); ++i) {
            if (i == nShown)
                continue;
            {
                const QSignalBlocker quiet(pStack);
                pStack->setCurrentIndex(i);
            }
            waitMs(50);
            problems += check.problemsBelow(pStack->widget(i));
        }
        const QSignalBlocker quiet(pStack);
        pStack->setCurrentIndex(nShown);
    }
    verifyNoProblems(problems);
}

void tst_layoutFits::statusLines_data()
{
    QTest::addColumn<QStringList>("statusTexts");
    QTest::newRow("script line above two drive lines") << runningScriptStatus();
    QTest::newRow("script line above every drive line")
        << QStringList{runningScriptStatus().first(), widestMotorStatus()};
}

void tst_layoutFits::statusLines()
{
    // The operator reads the script's line and the drive's first two lines
    // whole; whatever follows may be cut at the end (the "Show Full Status"
    // box has it all).
    QFETCH(QStringList, statusTexts);
    showPage(QStringLiteral("widgetManual"));
    fillStatusStripWidest();
    formStatusWidget *pStrip = statusStrip();
    for (const QString &strStatus : statusTexts)
        pStrip->setStatus(strStatus);
    waitMs(50);
    auto *pStatus = pStrip->findChild<QLabel *>(QStringLiteral("lblStatus"));
    const QStringList lines = pStatus->text().split(QLatin1Char('\n'));
    QVERIFY(lines.size() >= 3);
    const QRect rectRoom = layoutCheck::textRoom(pStatus);
    const QSize sizeFirstLines = layoutCheck::neededSize(pStatus, lines.mid(0, 3).join(QLatin1Char('\n')), rectRoom);
    QVERIFY2(sizeFirstLines.height() <= rectRoom.height(),
             qPrintable(QStringLiteral("three status lines need height %1, the label has %2")
                            .arg(sizeFirstLines.height())
                            .arg(rectRoom.height())));
    verifyNoProblems(check.problemsBelow(pStrip));
}

void tst_layoutFits::scriptEditors_data()
{
    QTest::addColumn<bool>("bScriptTable");
    QTest::addColumn<int>("nColumn");
    QTest::newRow("keyword") << false << 0;
    QTest::newRow("value") << false << 1;
    QTest::newRow("repeat") << false << 2;
    QTest::newRow("script name") << true << 2;
}

void tst_layoutFits::scriptEditors()
{
    // The editor of a cell holding the widest value of its range shows it
    // whole; its table stays as the check wants it while the editor is open.
    QFETCH(bool, bScriptTable);
    QFETCH(int, nColumn);
    showPage(QStringLiteral("widgetScript"));
    fillStatusStripWidest();
    auto *pTab = window->findChild<formScriptTab *>(QStringLiteral("widgetScript"));
    QVERIFY(pTab);
    qTblViewScript *pTable = bScriptTable ? pTab->scriptTable() : pTab->commandTable();
    // The last row: the widest name, and a command with the widest numbers
    // (the keyword list holds every keyword whatever the row).
    const QModelIndex index = pTable->model()->index(pTable->model()->rowCount() - 1, nColumn);
    QVERIFY(index.isValid());
    pTable->scrollTo(index);
    pTable->edit(index);
    QTRY_VERIFY_WITH_TIMEOUT(pTable->indexWidget(index) && pTable->indexWidget(index)->isVisible(), WAIT_MS);
    QWidget *pEditor = pTable->indexWidget(index);
    waitMs(50);
    const QList<layoutProblem> problems = check.problemsBelow(pTable);
    // Closed without committing: the script stays unchanged, so leaving the
    // tab asks nothing.
    QVERIFY(QMetaObject::invokeMethod(pTable, "closeEditor", Q_ARG(QWidget *, pEditor),
                                      Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint)));
    QTRY_VERIFY_WITH_TIMEOUT(!pTable->indexWidget(index), WAIT_MS);
    QVERIFY(!pTab->isScriptChanged());
    verifyNoProblems(problems);
}

void tst_layoutFits::boxes_data()
{
    QTest::addColumn<int>("nBox");
    const QList<programBox> boxes = programBoxes();
    for (int i = 0; i < boxes.size(); ++i)
        QTest::newRow(qPrintable(boxes.at(i).strName)) << i;
}

void tst_layoutFits::boxes()
{
    QFETCH(int, nBox);
    std::unique_ptr<QWidget> pBox(programBoxes().at(nBox).build(window.get()));
    pBoxUnderCheck = pBox.get();
    // The panel's X theme gives the box buttons icons (the offscreen
    // platform does not): give them one, so their room is measured with it.
    for (QPushButton *pButton : pBox->findChildren<QPushButton *>())
        if (pButton->icon().isNull() && !pButton->text().isEmpty())
            pButton->setIcon(pButton->style()->standardIcon(QStyle::SP_DialogYesButton));
    verifyNoProblems(check.problemsOfShown(pBox.get()));
}

void tst_layoutFits::longPressNote()
{
    // The note that counts down to the diagram's menu, at the middle of the
    // diagram.
    showPage(QStringLiteral("widgetManual"));
    QWidget *pManual = window->findChild<QWidget *>(QStringLiteral("widgetManual"));
    auto *pPlot = pManual->findChild<qLvCustomPlot *>();
    QVERIFY(pPlot);
    QTRY_VERIFY_WITH_TIMEOUT(pPlot->isVisible(), WAIT_MS);
    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, pPlot->rect().center());
    QTRY_VERIFY_WITH_TIMEOUT(pPlot->longPressDialog()->isVisible(), WAIT_MS);
    waitMs(50);
    const QList<layoutProblem> problems = check.problemsBelow(pPlot->longPressDialog());
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, pPlot->rect().center());
    verifyNoProblems(problems);
}

QTEST_MAIN(tst_layoutFits)
#include "tst_layoutFits.moc"
