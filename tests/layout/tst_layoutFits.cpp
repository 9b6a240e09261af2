// Every text of the panel fits its widget at 800 x 479: the real main window
// with every tab page, the status strip at its widest (valve fully open, every
// status line, inputs at full scale), and every box and dialog of the program.
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
#include "platform/analogFrameSource.h"
#include "programBoxes.h"
#include "testWorkDir.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

constexpr int WAIT_MS = 20000;

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
    void comboMeasuredAsDrawn();
    void tabPages_data();
    void tabPages();
    void boxes_data();
    void boxes();
    void longPressNote();

private:
    void fillStatusStripWidest();
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

void tst_layoutFits::fillStatusStripWidest()
{
    auto *pStrip = window->findChild<formStatusWidget *>(QStringLiteral("widgetStatus"));
    QVERIFY(pStrip);
    auto *pPos = pStrip->findChild<QLabel *>(QStringLiteral("lblPos"));
    // The drive reports the open valve.
    QTRY_COMPARE_WITH_TIMEOUT(pPos->text(), QStringLiteral("%L1").arg(1000000).replace(QLatin1Char('.'), QLatin1Char(' ')),
                              WAIT_MS);
    pStrip->setStatus(QCoreApplication::translate("formStatusWidget", "Real Time Clock not working"));
    pStrip->setStatus(widestMotorStatus());
    pStrip->setPositionSteps(sim->fullTravel());
    pStrip->onUpdateInputs(10.0, 10.0, 10.0);
    pStrip->onUpdateOutput1(true);
    pStrip->onUpdateLimitSwitch(false);
    waitMs(50);
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
    auto *pTabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QWidget *pManual = window->findChild<QWidget *>(QStringLiteral("widgetManual"));
    pTabs->setCurrentWidget(pManual);
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
