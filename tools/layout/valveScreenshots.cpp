// Shows the program's main window as the program does and writes a PNG of the
// screen for every tab page and every box of the program, into the folder
// named by $VALVE_SCREENSHOT_DIR (default "screenshots"), and of the Script
// tab with its widest script and each of its editors open, under the status of
// a running script. Runs in the working directory it is started in, like the
// program, and lays out the widest scripts there where no script of their
// names exists; tools/screenshots.sh starts it under a virtual X server with
// the controller simulator.
#include "app/MainWindow.h"
#include "app/formStatusWidget.h"
#include "app/lvMessageHandler.h"
#include "app/qVarnixLeakvalveApp.h"
#include "valve/settingsKeyTable.h"
#include "app/translationChoice.h"
#include "layoutCheck.h"
#include "panelValues.h"
#include "programBoxes.h"
#include "script/formScriptTab.h"
#include "script/lvScript.h"
#include "script/mdlScriptTable.h"
#include "script/qTblViewScript.h"

#include <QAbstractButton>
#include <QAbstractItemDelegate>
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

// The Script tab with the widest script current, under a running script's
// status, and then with each editor open on its widest value.
bool shootScriptTab(QWidget *pWindow, QTabWidget *pTabs)
{
    auto *pTab = pWindow->findChild<formScriptTab *>(QStringLiteral("widgetScript"));
    auto *pStrip = pWindow->findChild<formStatusWidget *>(QStringLiteral("widgetStatus"));
    if (!pTab || !pStrip)
        return false;
    pTabs->setCurrentWidget(pTab);
    waitMs(500);
    const QString strWidest = widestScripts().last().strName;
    for (int i = 0; i < pTab->scripts().size(); ++i)
        if (pTab->scripts().at(i).strName == strWidest)
            pTab->on_tblViewScripts_clicked(pTab->scriptModel()->index(i, 2));
    for (const QString &strStatus : runningScriptStatus())
        pStrip->setStatus(strStatus);
    waitMs(500);
    bool bShot = shoot(QStringLiteral("script-widest"));
    reportLayout(QStringLiteral("script-widest"), pWindow);

    const struct
    {
        const char *pszName;
        qTblViewScript *pTable;
        int nColumn;
    } editors[] = {{"keyword", pTab->commandTable(), 0},
                   {"value", pTab->commandTable(), 1},
                   {"repeat", pTab->commandTable(), 2},
                   {"name", pTab->scriptTable(), 2}};
    for (const auto &editor : editors) {
        const QModelIndex index = editor.pTable->model()->index(editor.pTable->model()->rowCount() - 1, editor.nColumn);
        editor.pTable->scrollTo(index);
        editor.pTable->edit(index);
        waitMs(500);
        const QString strName = QStringLiteral("script-editor-") + QLatin1String(editor.pszName);
        bShot = shoot(strName) && bShot;
        reportLayout(strName, pWindow);
        // Closed without committing: the script stays as stored.
        if (QWidget *pEditor = editor.pTable->indexWidget(index))
            QMetaObject::invokeMethod(editor.pTable, "closeEditor", Q_ARG(QWidget *, pEditor),
                                      Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
        waitMs(200);
    }
    return bShot;
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

    if (!layWidestScripts())
        std::fprintf(stderr, "could not lay out the widest scripts in %s\n", qPrintable(lvScript::scriptDirectory()));

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
        if (!shootScriptTab(window.get(), pTabs))
            nResult = 1;
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
