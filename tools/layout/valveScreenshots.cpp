// Shows the program's main window as the program does and writes a PNG of the
// screen for every tab page and every box of the program, into the folder
// named by $VALVE_SCREENSHOT_DIR (default "screenshots"). Runs in the working
// directory it is started in, like the program; tools/screenshots.sh starts it
// under a virtual X server with the controller simulator.
#include "app/MainWindow.h"
#include "app/lvMessageHandler.h"
#include "app/qVarnixLeakvalveApp.h"
#include "valve/settingsKeyTable.h"
#include "app/translationChoice.h"
#include "layoutCheck.h"
#include "programBoxes.h"

#include <QAbstractButton>
#include <QDir>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

QString outputFolder;
int nNoteCount = 0;
// The box on show for its own picture: not one to answer.
QPointer<QWidget> pOwnBox;

void waitMs(int nMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < nMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// What the layout check finds on the real X server, next to the picture.
void reportLayout(const QString &strName, QWidget *pWindow)
{
    layoutCheck check;
    check.setCutByDesign({QStringLiteral("lblStatus"), QStringLiteral("lookInCombo")});
    for (const QString &strProblem : layoutCheck::describe(check.problemsBelow(pWindow)))
        std::fprintf(stderr, "%s: %s\n", qPrintable(strName), qPrintable(strProblem));
}

bool shoot(const QString &strName)
{
    const QString strFile = QDir(outputFolder).filePath(strName + QStringLiteral(".png"));
    // Window 0 is the whole screen: what the X server really shows.
    const QPixmap pixmap = QGuiApplication::primaryScreen()->grabWindow(0);
    if (pixmap.isNull() || !pixmap.save(strFile)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(strFile));
        return false;
    }
    std::printf("%s\n", qPrintable(strFile));
    std::fflush(stdout);
    return true;
}

// A box the program opens by itself (at start, or on a tab change) is shot
// and answered with its default button, so the run goes on.
void answerOpenBoxes()
{
    QWidget *pModal = QApplication::activeModalWidget();
    if (!pModal || !pModal->isVisible() || pModal == pOwnBox)
        return;
    waitMs(300);
    shoot(QStringLiteral("note-%1").arg(++nNoteCount));
    auto *pBox = qobject_cast<QMessageBox *>(pModal);
    if (pBox && pBox->defaultButton())
        pBox->defaultButton()->click();
    else if (pBox && !pBox->buttons().isEmpty())
        pBox->buttons().first()->click();
    else if (auto *pDialog = qobject_cast<QDialog *>(pModal))
        pDialog->reject();
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(lvMessageHandler);
    qVarnixLeakvalveApp app(argc, argv);
    outputFolder = QString::fromLocal8Bit(qgetenv("VALVE_SCREENSHOT_DIR"));
    if (outputFolder.isEmpty())
        outputFolder = QStringLiteral("screenshots");
    if (!QDir().mkpath(outputFolder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(outputFolder));
        return 1;
    }

    QTranslator translator;
    QSettings settings(QString::fromLatin1(g_pszSettingsOrganisation), QString::fromLatin1(g_pszSettingsApplication));
    translator.load(translationToLoad(settings.value(QStringLiteral("controller/language file")).toString()));
    app.installTranslator(&translator);

    auto window = std::make_unique<MainWindow>(nullptr);
    window->setFixedSize(800, 479);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    window->move(0, 0);
    window->show();

    int nResult = 0;
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, &answerOpenBoxes);
    boxWatch.start(100);

    QTimer::singleShot(0, [&] {
        // Start-up checks, the first position and samples.
        waitMs(3000);
        auto *pTabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
        const int nStartPage = pTabs->currentIndex();
        for (int i = 0; i < pTabs->count(); ++i) {
            pTabs->setCurrentIndex(i);
            waitMs(800);
            const QString strTab = QStringLiteral("tab-%1-%2").arg(i).arg(pTabs->widget(i)->objectName());
            if (!shoot(strTab))
                nResult = 1;
            reportLayout(strTab, window.get());
            // The pages a tab switches between (the Remote tab's sources).
            for (QStackedWidget *pStack : pTabs->widget(i)->findChildren<QStackedWidget *>()) {
                if (!pStack->isVisible())
                    continue;
                const int nShown = pStack->currentIndex();
                for (int j = 0; j < pStack->count(); ++j) {
                    if (j == nShown)
                        continue;
                    {
                        const QSignalBlocker quiet(pStack);
                        pStack->setCurrentIndex(j);
                    }
                    waitMs(500);
                    if (!shoot(strTab + QLatin1Char('-') + pStack->widget(j)->objectName()))
                        nResult = 1;
                    reportLayout(strTab + QLatin1Char('-') + pStack->widget(j)->objectName(), window.get());
                }
                const QSignalBlocker quiet(pStack);
                pStack->setCurrentIndex(nShown);
            }
        }
        pTabs->setCurrentIndex(nStartPage);
        waitMs(300);
        for (const programBox &box : programBoxes()) {
            std::unique_ptr<QWidget> pBox(box.build(window.get()));
            pOwnBox = pBox.get();
            pBox->show();
            waitMs(500);
            if (!shoot(QStringLiteral("box-") + box.strName))
                nResult = 1;
            reportLayout(QStringLiteral("box-") + box.strName, pBox.get());
            pBox->hide();
        }
        // The on-screen keyboard (the real xvkbd) beside a narrow field near
        // the right edge: "Times" on the Settings tab's feedback page.
        if (QStandardPaths::findExecutable(QStringLiteral("xvkbd")).isEmpty())
            std::fprintf(stderr, "xvkbd is not installed: the keyboard picture shows no keyboard\n");
        if (auto *pField = window->findChild<QLineEdit *>(QStringLiteral("lineEditRecalcTimes"))) {
            // The page as the operator picks it, with the page selector.
            QWidget *pSettings = window->findChild<QWidget *>(QStringLiteral("widgetSettings"));
            auto *pFeedback = pSettings->findChild<QWidget *>(QStringLiteral("pageFeedback"));
            auto *pStack = qobject_cast<QStackedWidget *>(pFeedback->parentWidget());
            pTabs->setCurrentWidget(pSettings);
            pSettings->findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentIndex(pStack->indexOf(pFeedback));
            // The window again takes the input the boxes had, as a touch
            // on it would give it.
            window->activateWindow();
            QApplication::setActiveWindow(window.get());
            waitMs(500);
            pField->setFocus(Qt::MouseFocusReason);
            // xvkbd maps its window on its own time.
            waitMs(2000);
            if (!shoot(QStringLiteral("keyboard-right-field")))
                nResult = 1;
            window->setFocus(Qt::OtherFocusReason);
            pTabs->setCurrentIndex(nStartPage);
            waitMs(300);
        }
        boxWatch.stop();
        window.reset();
        QApplication::exit(nResult);
    });
    return app.exec();
}
