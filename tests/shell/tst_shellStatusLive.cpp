// The status strip wired to a live motorDriver in its own thread, on the
// serial line of the controller simulator, as the main window wires them.
#include "app/formStatusWidget.h"
#include "app/qlvLogFile.h"
#include "app/statusStripTexts.h"
#include "valve/motorDriver.h"

#include "driveRig.h"
#include "modalAnswerer.h"
#include "testWorkDir.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr int WAIT_MS = 30000;

QAbstractButton *buttonWithText(QWidget *pBox, const QString &strText)
{
    for (QAbstractButton *pButton : pBox->findChildren<QAbstractButton *>())
        if (pButton->text() == strText)
            return pButton;
    return nullptr;
}

} // namespace

class tst_shellStatusLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false")); }
    void stripFollowsTheValve();
};

void tst_shellStatusLive::stripFollowsTheValve()
{
    testWorkDir work;
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    auto *pCentral = new QWidget(&window);
    auto *pStrip = new formStatusWidget(pCentral);
    window.resize(800, 479);
    pStrip->setGeometry(0, 0, 800, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 10000));
    auto label = [pStrip](const char *szName) {
        return pStrip->findChild<QLabel *>(QString::fromLatin1(szName))->text();
    };

    qlvLogFile log;
    // After the strip and the log: the drive stops before they go.
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    controllerSim &sim = rig.sim;
    sim.setPosition(20000);
    QVERIFY(rig.startSim());

    // the main window's connections between the drive, the strip and the log,
    // made before the drive's thread starts
    rig.startDriver(motorDriver::BergerLahr, nullptr, nullptr, [&](motorDriver *pDriver) {
        connect(pDriver, SIGNAL(setMotorPosition(int)), pStrip, SLOT(setPosition(int)));
        connect(pDriver, SIGNAL(setMotorPositionSteps(int)), pStrip, SLOT(setPositionSteps(int)));
        connect(pDriver, SIGNAL(setMotorStatus(QString)), pStrip, SLOT(setStatus(QString)));
        connect(pDriver, SIGNAL(setMotorStatusCtrl(int)), pStrip, SLOT(setStatusCtrl(int)));
        connect(pDriver, SIGNAL(onUpdateLimitSwitch(bool)), pStrip, SLOT(onUpdateLimitSwitch(bool)));
        connect(pDriver, SIGNAL(onUpdateOutput1(bool)), pStrip, SLOT(onUpdateOutput1(bool)));
        connect(pStrip, SIGNAL(onStop()), pDriver, SLOT(onMotorHalt()));
        connect(pStrip, SIGNAL(onCalibrate()), pDriver, SLOT(onMotorCalibrate()));
        connect(pStrip, SIGNAL(onClearError()), pDriver, SLOT(clearMotorError()));
        connect(pStrip, SIGNAL(onWriteLog(QString)), &log, SLOT(writeToLog(QString)));
    });
    motorDriver *pDriver = rig.drv;

    // the position the controller reports at start
    QTRY_COMPARE_WITH_TIMEOUT(label("lblPos"), positionText(500000), WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(label("lblSteps"), QStringLiteral("500000"), WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(label("lblStatus").startsWith(QLatin1String("OK\nWaiting for Command")), WAIT_MS);

    // Stop on the strip halts a running move
    sim.setSpeed(2000);
    QMetaObject::invokeMethod(pDriver, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, 1000000));
    QTRY_VERIFY_WITH_TIMEOUT(sim.isMoving(), WAIT_MS);
    QTest::ignoreMessage(QtDebugMsg, "on stop");
    pStrip->findChild<QPushButton *>(QStringLiteral("pushBtnStop"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("h"), WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(!sim.isMoving(), WAIT_MS);
    QVERIFY(sim.position() < 40000);
    const int nHaltedPpm = rig.simPpm();
    QTRY_COMPARE_WITH_TIMEOUT(label("lblPos"), positionText(nHaltedPpm), WAIT_MS);

    // to the open end
    sim.setSpeed(40000);
    QMetaObject::invokeMethod(pDriver, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, 1000000));
    QTRY_COMPARE_WITH_TIMEOUT(label("lblPos"), positionText(1000000), WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(label("lblStatus").contains(QLatin1String("Limit Switch (LS) Reached")), WAIT_MS);

    // a stored position that differs: the strip asks, "Calibrate" closes the valve
    QString strInformative;
    modalAnswerer answer([&](QWidget *pBox) {
        strInformative = qobject_cast<QMessageBox *>(pBox)->informativeText();
        buttonWithText(pBox, QStringLiteral("Calibrate"))->click();
    }, modalAnswerer::MODAL, modalAnswerer::FIRST_ONLY, WAIT_MS);
    QMetaObject::invokeMethod(pDriver, "forceMotorPosition", Qt::QueuedConnection, Q_ARG(int, 250000),
                              Q_ARG(bool, false));
    QTRY_VERIFY_WITH_TIMEOUT(answer.bActed, WAIT_MS);
    QVERIFY2(strInformative.endsWith(QLatin1String("\nMotor Position = 1000000\nSettings Position = 250000")),
             qPrintable(strInformative));
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("n"), WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(sim.position(), 0, WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(label("lblPos"), positionText(0), WAIT_MS);

    // every status the strip received is in the log, one line each
    const QByteArray logged = work.readFile(QStringLiteral("log/qVarnixLeakvalve.log"));
    QVERIFY(logged.contains(" ### OK\tWaiting for Command\n"));
    QVERIFY(logged.contains("Must Calibrate Settings Pos: 250000 <--> Motor Pos: 1000000"));
}

QTEST_MAIN(tst_shellStatusLive)
#include "tst_shellStatusLive.moc"
