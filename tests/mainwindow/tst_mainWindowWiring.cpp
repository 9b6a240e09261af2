// The main window's wiring as the framework sees it: building, showing, using
// and destroying the window must not make the framework complain about a
// connection. A signal or slot that does not exist on one side, arguments that
// cannot cross a thread, or a slot named like an automatic connection without
// its object are only ever reported as a warning at run time.
#include "app/MainWindow.h"

#include "app/formStatusWidget.h"
#include "fakeProcessRunner.h"
#include "modalAnswerer.h"
#include "manual/formManualTab.h"
#include "remote/formRemoteTab.h"
#include "testWorkDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QMessageBox>
#include <QPushButton>
#include <QMutex>
#include <QSettings>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

// Messages of every thread, collected while a test runs; everything is still
// passed on to the test framework's own handler.
QMutex g_mutex;
QStringList g_wiringWarnings;
QtMessageHandler g_previousHandler = nullptr;

bool isWiringWarning(const QString &strMessage)
{
    static const char *const prefixes[] = {
        "QObject::connect", "QObject::disconnect", "QMetaObject::connectSlotsByName", "QMetaObject::invokeMethod",
        "QMetaMethod::invoke",
    };
    for (const char *pszPrefix : prefixes)
        if (strMessage.contains(QLatin1String(pszPrefix)))
            return true;
    return false;
}

void collectingHandler(QtMsgType type, const QMessageLogContext &context, const QString &strMessage)
{
    if (type != QtDebugMsg && isWiringWarning(strMessage)) {
        QMutexLocker lock(&g_mutex);
        g_wiringWarnings << strMessage;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, strMessage);
}

QStringList takeWarnings()
{
    QMutexLocker lock(&g_mutex);
    QStringList warnings = g_wiringWarnings;
    g_wiringWarnings.clear();
    return warnings;
}

// Runs everything queued to an object's thread so far.
void flushThreadOf(QObject *pObject)
{
    QMetaObject::invokeMethod(pObject, [] {}, Qt::BlockingQueuedConnection);
}

// The slots of the status strip that are named like automatically connected
// slots although the strip has no widgets of those names (they are reached
// through its labels' menu entries).
} // namespace

class tst_mainWindowWiring : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(collectingHandler); }
    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }
    void init() { takeWarnings(); }

    void noConnectionWarnings_data();
    void noConnectionWarnings();
};

void tst_mainWindowWiring::noConnectionWarnings_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("fresh store") << QString();
    QTest::newRow("BergerLahr") << QStringLiteral("BergerLahr");
    QTest::newRow("NanoTec") << QStringLiteral("NanoTec");
}

void tst_mainWindowWiring::noConnectionWarnings()
{
    QFETCH(QString, type);
    testWorkDir work;
    QVERIFY(work.isValid());
    qputenv("VALVE_DEV_DIR", work.filePath(QStringLiteral("dev")).toLocal8Bit());
    const auto restoreDevDir = qScopeGuard([] { qunsetenv("VALVE_DEV_DIR"); });
    // The last run went down properly, so no start-up box waits for an answer.
    QVERIFY(work.writeFile(QStringLiteral("log/qVarnixLeakvalve.log"),
                           QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1()
                               + " 10:00:00.000 ### Shutdown\n"));
    if (!type.isEmpty()) {
        QSettings settings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        settings.setValue(QStringLiteral("motor driver/type"), type);
    }
    fakeProcessRunner runner;
    // Answers whatever box opens (a panel without teach-in is told that the
    // sensors differ) with its default button.
    modalAnswerer boxCloser;

    {
        auto pWindow = std::make_unique<MainWindow>();
        MainWindow &window = *pWindow;
        window.show();
        auto *pManual = window.findChild<formManualTab *>(QStringLiteral("widgetManual"));
        auto *pRemote = window.findChild<formRemoteTab *>(QStringLiteral("widgetRemote"));
        auto *pStatus = window.findChild<formStatusWidget *>(QStringLiteral("widgetStatus"));
        auto *pTabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
        QVERIFY(pManual && pRemote && pStatus && pTabs);
        QTRY_VERIFY_WITH_TIMEOUT(pManual->pMainWindow == &window && !QApplication::activeModalWidget(), 20000);

        // Every page entered and left once, ending where the window started.
        for (int nTab : {0, 2, 3, 1})
            pTabs->setCurrentIndex(nTab);
        QCOMPARE(pTabs->currentIndex(), 1);

        // The connections that slots make and remove while the program runs.
        window.onSetMeasurement(true);
        window.onSetMeasurement(false);
        window.connectRemoteAnalog(0);
        window.disconnectRemoteAnalog();
        window.connectRemoteModbus();
        window.disconnectRemoteModbus();

        // Traffic across the motor thread in both directions, with each kind
        // of argument the permanent connections carry.
        emit pStatus->onStop();
        emit pStatus->onWriteLog(QStringLiteral("wiring test"));
        emit pManual->onGotoLeakClicked(1.5, 1000);
        emit pManual->onPlusContPressed(false, 1);
        emit pRemote->sendDataUSB(QByteArray("x"));
        emit pRemote->connectRemoteEthernet(0, QStringLiteral("127.0.0.1"), 0);
        emit pRemote->disconnectRemoteEthernet();
        window.setData(1000, 0, 0.0);
        // Let the worker threads run what was queued to them, and the window
        // what they answered.
        for (QThread *pThread : window.findChildren<QThread *>()) {
            auto *pProbe = new QObject;
            pProbe->moveToThread(pThread);
            flushThreadOf(pProbe);
            pProbe->deleteLater();
        }
        QCoreApplication::processEvents();
        // The window goes down with its workers and threads.
    }
    QCoreApplication::processEvents();

    QStringList warnings = takeWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_mainWindowWiring)
#include "tst_mainWindowWiring.moc"
