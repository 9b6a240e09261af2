// The Remote tab inside the main window: the join of the analog samples to the
// drive, the leave rule, loading on entry, the Analog page saved on leaving
// the Manual tab, and the remote keys written at close.
#include "app/MainWindow.h"
#include "remote/formRemoteTab.h"
#include "valve/analogData.h"

#include "fakeProcessRunner.h"
#include "remoteTabFixture.h"
#include "testWorkDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {

constexpr int nWaitMs = 30000;

// A loopback port nothing listens on.
QString freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QString::number(probe.serverPort());
}

QSettings store()
{
    return QSettings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
}

// The number of connections of analogData::sampleInputs: the status strip's
// is always there, the drive's only while a remote needs the samples. Read
// through a member pointer formed in a derived class, which reaches the
// protected QObject::receivers of any object without a cast.
struct sampleReceivers : QObject {
    static int count(analogData *pData)
    {
        const auto receiversOf = &sampleReceivers::receivers;
        return (pData->*receiversOf)(SIGNAL(sampleInputs(double, double, double)));
    }
};

} // namespace

class tst_remoteTabWiring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void analogSamplesJoinedWhileNeeded_data();
    void analogSamplesJoinedWhileNeeded();
    void leaveRule_data();
    void leaveRule();
    void enteringReloadsTheStore();
    void leavingManualSavesOnlyEdits();
    void closeStoresTheRemoteFields();

private:
    // Shows the window and waits until it has handed itself to the tab.
    void showLoaded();
    template<typename T>
    T *remoteChild(const char *pszName)
    {
        return remote()->findChild<T *>(QLatin1String(pszName));
    }
    formRemoteTab *remote() { return window->findChild<formRemoteTab *>(QStringLiteral("widgetRemote")); }
    QTabWidget *tabs() { return window->findChild<QTabWidget *>(QStringLiteral("tabWidget")); }
    analogData *analog() { return window->findChild<analogData *>(); }

    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<fakeProcessRunner> runner;
    std::unique_ptr<modalAnswerer> answerer;
    std::unique_ptr<MainWindow> window;
};

void tst_remoteTabWiring::init()
{
    work = std::make_unique<testWorkDir>();
    QVERIFY(work->isValid());
    // No port of this machine is ever opened: the drive looks in an empty folder.
    qputenv("VALVE_DEV_DIR", work->filePath(QStringLiteral("dev")).toLocal8Bit());
    runner = std::make_unique<fakeProcessRunner>();
    answerer = std::make_unique<modalAnswerer>(QStringList(), true);
}

void tst_remoteTabWiring::cleanup()
{
    window.reset();
    answerer.reset();
    runner.reset();
    work.reset();
    qunsetenv("VALVE_DEV_DIR");
}

void tst_remoteTabWiring::showLoaded()
{
    window = std::make_unique<MainWindow>();
    QVERIFY(remote());
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(remote()->bWindowLoaded && remote()->pMainWindow == window.get()
                                 && !QApplication::activeModalWidget(),
                             nWaitMs);
    answerer->texts.clear();
}

void tst_remoteTabWiring::analogSamplesJoinedWhileNeeded_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("joined");
    QTest::newRow("analog") << 1 << 0 << true;
    QTest::newRow("usb modbus") << 0 << 2 << true;
    QTest::newRow("ethernet modbus") << 2 << 2 << true;
    QTest::newRow("usb direct") << 0 << 0 << false;
    QTest::newRow("ethernet parser") << 2 << 1 << false;
    QTest::newRow("terminal") << 3 << 0 << false;
}

void tst_remoteTabWiring::analogSamplesJoinedWhileNeeded()
{
    QFETCH(int, source);
    QFETCH(int, mode);
    QFETCH(bool, joined);
    showLoaded();
    QCOMPARE(tabs()->currentIndex(), 1);
    tabs()->setCurrentIndex(0);
    QCOMPARE(tabs()->currentIndex(), 0);
    remoteChild<QComboBox>("cmbSource")->setCurrentIndex(source);
    remoteChild<QComboBox>("cmbUSBRemoteMode")->setCurrentIndex(mode);
    remoteChild<QComboBox>("cmbEthernetRemoteMode")->setCurrentIndex(mode);
    remoteChild<QLineEdit>("lineEditIpAddress")->setText(QStringLiteral("127.0.0.1"));
    remoteChild<QLineEdit>("lineEditEthernetPort")->setText(freePort());

    const int nBefore = sampleReceivers::count(analog());
    auto *pButton = remoteChild<QPushButton>("pushBtnConnect");
    QTest::mouseClick(pButton, Qt::LeftButton);
    QVERIFY(pButton->isChecked());
    QCOMPARE(sampleReceivers::count(analog()), nBefore + (joined ? 1 : 0));
    // Asked again (a second Modbus join), the samples still arrive once.
    if (joined) {
        QMetaObject::invokeMethod(window.get(), "connectRemoteModbus");
        QCOMPARE(sampleReceivers::count(analog()), nBefore + 1);
    }
    QTest::mouseClick(pButton, Qt::LeftButton);
    QVERIFY(!pButton->isChecked());
    QCOMPARE(sampleReceivers::count(analog()), nBefore);
    QVERIFY(answerer->texts.isEmpty());
}

void tst_remoteTabWiring::leaveRule_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("warning");
    QTest::newRow("usb holds") << 0 << "Remote is connected|USB Remote is still connected. First disconnect it.";
    QTest::newRow("terminal holds") << 3 << "Remote is connected|USB Remote is still connected. First disconnect it.";
    QTest::newRow("analog holds") << 1 << "Remote is connected|Analog Remote is still connected. First disconnect it.";
    QTest::newRow("ethernet lets go") << 2 << "";
}

void tst_remoteTabWiring::leaveRule()
{
    QFETCH(int, source);
    QFETCH(QString, warning);
    showLoaded();
    tabs()->setCurrentIndex(0);
    remoteChild<QComboBox>("cmbSource")->setCurrentIndex(source);
    remoteChild<QLineEdit>("lineEditIpAddress")->setText(QStringLiteral("127.0.0.1"));
    remoteChild<QLineEdit>("lineEditEthernetPort")->setText(freePort());
    QTest::mouseClick(remoteChild<QPushButton>("pushBtnConnect"), Qt::LeftButton);

    tabs()->setCurrentIndex(1);
    if (warning.isEmpty()) {
        QCOMPARE(tabs()->currentIndex(), 1);
        QVERIFY(answerer->texts.isEmpty());
        // Still connected while the other tabs are used.
        QVERIFY(remoteChild<QPushButton>("pushBtnConnect")->isChecked());
        return;
    }
    QCOMPARE(tabs()->currentIndex(), 0);
    QCOMPARE(answerer->texts, QStringList{warning});
    // Disconnected, the operator may go.
    QTest::mouseClick(remoteChild<QPushButton>("pushBtnConnect"), Qt::LeftButton);
    tabs()->setCurrentIndex(1);
    QCOMPARE(tabs()->currentIndex(), 1);
    QCOMPARE(answerer->texts.size(), 1);
}

void tst_remoteTabWiring::enteringReloadsTheStore()
{
    showLoaded();
    {
        QSettings s = store();
        s.setValue("remote/eth port", 5020);
        s.setValue("remote/eth address", "10.1.2.3");
    }
    QCOMPARE(remoteChild<QLineEdit>("lineEditEthernetPort")->text(), QStringLiteral("0"));
    tabs()->setCurrentIndex(0);
    QCOMPARE(remoteChild<QLineEdit>("lineEditEthernetPort")->text(), QStringLiteral("5020"));
    QCOMPARE(remote()->strEthAddress, QStringLiteral("10.1.2.3"));
}

void tst_remoteTabWiring::leavingManualSavesOnlyEdits()
{
    {
        QSettings s = store();
        s.setValue("inputs/input1 type", 0);
        s.setValue("inputs/input1 upper boundary", 9000);
        s.setValue("inputs/input2 type", 1);
        s.setValue("inputs/input3 type", 2);
    }
    showLoaded();
    // The settings page has since made input 1 a feedback input.
    analog()->setInputType(0, INPUT_FEEDBACK_1);

    // Manual to the next tab with nothing typed on the Analog page: the
    // feedback input stays what it is.
    tabs()->setCurrentIndex(2);
    QCOMPARE(analog()->getInputType(0), int(INPUT_FEEDBACK_1));
    QCOMPARE(store().value("inputs/input1 type").toInt(), 0);
    QVERIFY(answerer->texts.isEmpty());

    // Typed on the Analog page and left from Manual: the edit is refused for a
    // feedback input, with a word to the operator.
    tabs()->setCurrentIndex(1);
    QTest::keyClicks(remoteChild<QLineEdit>("lineEditUpperBoundary"), QStringLiteral("5"));
    tabs()->setCurrentIndex(2);
    QCOMPARE(analog()->getInputType(0), int(INPUT_FEEDBACK_1));
    QCOMPARE(store().value("inputs/input1 upper boundary").toInt(), 9000);
    QCOMPARE(answerer->texts.size(), 1);
    QVERIFY(answerer->texts.at(0).startsWith(QLatin1String("Feedback input|")));

    // A remote input edited and left from Manual is stored.
    analog()->setInputType(0, INPUT_REMOTE_ANALOG);
    tabs()->setCurrentIndex(1);
    auto *pUpper = remoteChild<QLineEdit>("lineEditUpperBoundary");
    pUpper->clear();
    QTest::keyClicks(pUpper, QStringLiteral("8500"));
    tabs()->setCurrentIndex(2);
    QCOMPARE(store().value("inputs/input1 upper boundary").toInt(), 8500);
    QCOMPARE(analog()->getUpperBoundaryValue(0), 8500.0);
}

void tst_remoteTabWiring::closeStoresTheRemoteFields()
{
    showLoaded();
    tabs()->setCurrentIndex(0);
    remoteChild<QComboBox>("cmbUSBRemoteMode")->setCurrentIndex(1);
    remoteChild<QComboBox>("cmbEthernetRemoteMode")->setCurrentIndex(2);
    auto *pAddress = remoteChild<QLineEdit>("lineEditIpAddress");
    pAddress->setText(QStringLiteral("192.168.7.7"));
    emit pAddress->editingFinished();
    auto *pPort = remoteChild<QLineEdit>("lineEditEthernetPort");
    pPort->setText(QStringLiteral("1502"));
    emit pPort->editingFinished();
    // A terminal session leaves the USB mode as chosen.
    remoteChild<QComboBox>("cmbSource")->setCurrentIndex(3);
    QTest::mouseClick(remoteChild<QPushButton>("pushBtnConnect"), Qt::LeftButton);
    QTest::mouseClick(remoteChild<QPushButton>("pushBtnConnect"), Qt::LeftButton);
    {
        QSettings s = store();
        s.clear();
    }
    window->close();
    QSettings s = store();
    QCOMPARE(s.value("remote/usb mode", -1).toInt(), 1);
    QCOMPARE(s.value("remote/eth mode", -1).toInt(), 2);
    QCOMPARE(s.value("remote/eth address").toString(), QStringLiteral("192.168.7.7"));
    QCOMPARE(s.value("remote/eth port", -1).toInt(), 1502);
    // The source is stored by its own combo only.
    QVERIFY(!s.contains("remote/remote mode"));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_remoteTabWiring test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_remoteTabWiring.moc"
