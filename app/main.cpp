#include "app/MainWindow.h"
#include "app/lvMessageHandler.h"
#include "app/qVarnixLeakvalveApp.h"
#include "valve/settingsStore.h"
#include "app/translationChoice.h"

#include <QPixmap>
#include <QSplashScreen>
#include <QTranslator>

namespace {

// setWindowFlags() on a window that has no native window yet re-parents it,
// and re-parenting applies the style sheet again to every widget below it: a
// quarter of the start-up with the four tabs built. The flags of a window not
// yet created are read when show() creates it, so recording them is enough.
void addWindowFlag(QWidget &window, Qt::WindowType flag)
{
    if (window.testAttribute(Qt::WA_WState_Created))
        window.setWindowFlags(window.windowFlags() | flag);
    else
        window.overrideWindowFlags(window.windowFlags() | flag);
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(lvMessageHandler);
    qVarnixLeakvalveApp app(argc, argv);

    // A file, not a resource, so the panel's splash can be exchanged.
    QPixmap pixmap(QStringLiteral("./icon/splash.png"));
    QSplashScreen splash(pixmap);
    splash.show();
    // Lets the splash be painted before the long construction below.
    for (int i = 0; i < 1000; ++i)
        app.processEvents();
    // Shown before the translator is installed, so always in English.
    splash.showMessage(QObject::tr("Init GUI..."), Qt::AlignLeft | Qt::AlignBottom, Qt::black);

    QTranslator translator;
    const QString strLanguageFile = settingsStore().text(settingKey::LanguageFile);
    translator.load(translationToLoad(strLanguageFile));
    app.installTranslator(&translator);

    MainWindow window(nullptr);
    window.setFixedSize(800, 479);
    addWindowFlag(window, Qt::FramelessWindowHint);
    window.move(0, 0);
    window.show();
    splash.close();

    return app.exec();
}
