// The real program, offscreen, from its entry function: the splash from the
// working directory comes first, with "Init GUI..." on it while the main
// window is built; the main window comes up frameless, 800 x 479 and fixed,
// at (0, 0), with the frameless hint already in the native window it was
// created with; then the splash goes.
#include "programUnderTest.h"
#include "testWorkDir.h"

#include <QDateTime>
#include <QImage>
#include <QUrl>
#include <QtTest>

class tst_programStartup : public QObject
{
    Q_OBJECT

private slots:
    void splashThenFramelessWindowThenSplashGone();
};

void tst_programStartup::splashThenFramelessWindowThenSplashGone()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    // A splash of another size than the window, so the two cannot be mixed up.
    QImage splash(640, 400, QImage::Format_RGB32);
    splash.fill(Qt::darkGreen);
    QVERIFY(splash.save(wd.filePath(QStringLiteral("icon/splash.png"))));
    // A clean last shutdown: no box after the start.
    QVERIFY(wd.writeFile(QStringLiteral("log/qVarnixLeakvalve.log"),
                         QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz")).toUtf8()
                             + " ### Shutdown\n"));

    programUnderTest program;
    QVERIFY(program.start(wd));
    QVERIFY(program.waitReady());
    const QString strReply = program.request(QStringLiteral("startup"));
    QVERIFY2(strReply.startsWith(QLatin1String("ok ")), qPrintable(strReply));
    const QStringList steps = QUrl::fromPercentEncoding(strReply.mid(3).toUtf8()).split(QLatin1Char('|'));

    const QStringList expected{
        QStringLiteral("splash shown 640x400"),
        QStringLiteral("window shown 0,0 800x479 min 800x479 max 800x479 frameless 1 native 1 splash Init GUI..."),
        QStringLiteral("splash hidden 640x400"),
    };
    QCOMPARE(steps, expected);
    QVERIFY(program.quit());
}

QTEST_GUILESS_MAIN(tst_programStartup)
#include "tst_programStartup.moc"
