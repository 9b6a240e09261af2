#include "app/MainWindow.h"
#include "app/lvMessageHandler.h"
#include "app/qVarnixLeakvalveApp.h"
#include "valve/settingsStore.h"
#include "app/translationChoice.h"

#include <QPixmap>
#include <QSplashScreen>
#include <QTranslator>

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
    window.setWindowFlags(window.windowFlags() | Qt::FramelessWindowHint);
    window.move(0, 0);
    window.show();
    splash.close();

    return app.exec();
}
