// The Remote tab on its own: form, loading, the connect button for every
// source and mode, the terminal, the traffic panes and the Analog page.
#include "remote/formRemoteTab.h"
#include "remote/formTrafficPane.h"
#include "ui_formRemoteTab.h"
#include "valve/analogData.h"

#include "fakeProcessRunner.h"
#include "remoteTabFixture.h"
#include "testWorkDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QtTest>

namespace {

QSettings store()
{
    return QSettings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
}

// All keys and values of the store, for "nothing was written" checks.
QMap<QString, QVariant> storeContents()
{
    QSettings s = store();
    QMap<QString, QVariant> map;
    for (const QString &key : s.allKeys())
        map.insert(key, s.value(key));
    return map;
}

template<typename T>
T *child(QWidget *pTab, const char *pszName)
{
    T *p = pTab->findChild<T *>(QLatin1String(pszName));
    if (!p)
        qFatal("no widget %s", pszName);
    return p;
}

// The operator finishing an edit: text typed (so the field counts as edited),
// then the field's editingFinished.
void typeInto(QLineEdit *pField, const QString &strText)
{
    pField->clear();
    QTest::keyClicks(pField, strText);
    emit pField->editingFinished();
}

} // namespace

class tst_formRemoteTab : public QObject
{
    Q_OBJECT

private slots:
    void formAsBuilt();
    void bandHeightIsBounded();
    void loadsStore_data();
    void loadsStore();
    void loadingNeverMovesPointsBetweenInputs();
    void noRemoteInputKeepsPage();
    void connectButton_data();
    void connectButton();
    void leaveWarningTexts_data();
    void leaveWarningTexts();
    void terminalSendsOnlyWhileConnected();
    void panesShowTheStreamOfTheShownSource();
    void panesAreCleared();
    void paneStaysBounded_data();
    void paneStaysBounded();
    void paneCutKeepsCursor();
    void analogPageSavesOnlyEdits();
    void analogPageRefusesFeedbackInput();
    void choosingInputBeforeLoadedDoesNothing();
    void choosingInputWhenLoaded_data();
    void choosingInputWhenLoaded();
    void fieldsAreStored();
    void localAddressesAndDiagram();

private:
    fakeProcessRunner runner; // the touch fields would start the keyboard
};

void tst_formRemoteTab::formAsBuilt()
{
    testWorkDir wd;
    QWidget host;
    Ui::formRemoteTab ui;
    ui.setupUi(&host);
    // The form itself leaves the Analog page up; the tab class picks page 0.
    QCOMPARE(ui.stackedWidget->currentIndex(), 1);
    QCOMPARE(ui.cmbSource->currentIndex(), 0);

    const QStringList modes = {QStringLiteral("Direct Connection"), QStringLiteral("varnix 2.7.2"), QStringLiteral("Modbus")};
    for (QComboBox *pCombo : {ui.cmbUSBRemoteMode, ui.cmbEthernetRemoteMode}) {
        QCOMPARE(pCombo->count(), 3);
        for (int n = 0; n < 3; ++n)
            QCOMPARE(pCombo->itemText(n), modes.at(n));
    }
    QCOMPARE(ui.cmbRemoteSource->count(), 3);
    QCOMPARE(ui.cmbRemoteSource->itemText(2), QStringLiteral("Input 3"));
    const QStringList sources = {QStringLiteral("USB"), QStringLiteral("Analog"), QStringLiteral("Ethernet"), QStringLiteral("Terminal")};
    QCOMPARE(ui.cmbSource->count(), 4);
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(ui.cmbSource->itemText(n), sources.at(n));
        QCOMPARE(!ui.cmbSource->itemIcon(n).isNull(), n < 2);
    }
    const QList<QWidget *> pages = {ui.stackedWidgetPage1, ui.stackedWidgetPage2, ui.stackedWidgetPage3, ui.page};
    const QList<QWidget *> panes = {ui.plTextEditUSB, ui.plTextEditAnalog, ui.plTextEditEthernet, ui.plTextEditTerminal};
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(ui.stackedWidget->widget(n), pages.at(n));
        QVERIFY(pages.at(n)->isAncestorOf(panes.at(n)));
    }
    QVERIFY(ui.pushBtnConnect->isCheckable());
    QVERIFY(!ui.pushBtnConnect->isChecked());
    QVERIFY(ui.pushBtnConnect->text().isEmpty());

    host.resize(800, 440);
    host.show();
    ui.stackedWidget->setCurrentIndex(2);
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    // The minimum width wins over the smaller maximum of the address fields.
    QTRY_VERIFY2(ui.lineEditIpAddress->width() >= 110, qPrintable(QString::number(ui.lineEditIpAddress->width())));
    QTRY_VERIFY(ui.lineEditEthernetPort->width() >= 80);
    ui.stackedWidget->setCurrentIndex(1);
    for (QWidget *pField : {static_cast<QWidget *>(ui.lineEditSampling), static_cast<QWidget *>(ui.lineEditLowerBoundary)}) {
        QTRY_VERIFY2(pField->isVisible() && pField->width() >= 50 && pField->width() <= 60,
                     qPrintable(QString::number(pField->width())));
    }
    // A step field holds the widest position, 1000000, at the panel's font.
    for (QWidget *pField : {static_cast<QWidget *>(ui.lineEditLowerBoundarySteps),
                            static_cast<QWidget *>(ui.lineEditUpperBoundarySteps)}) {
        QTRY_VERIFY2(pField->isVisible() && pField->width() >= 70 && pField->width() <= 76,
                     qPrintable(QString::number(pField->width())));
    }
}

void tst_formRemoteTab::bandHeightIsBounded()
{
    testWorkDir wd;
    formRemoteTab tab;
    auto *pStack = child<QStackedWidget>(&tab, "stackedWidget");
    auto *pDiagram = child<QWidget>(&tab, "widgetCurrentState");
    tab.resize(750, 900);
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));
    QTRY_VERIFY(pStack->height() <= 120);
    QTRY_VERIFY(pDiagram->height() >= 900 - 2 * 120);
}

void tst_formRemoteTab::loadsStore_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<int>("usbMode");
    QTest::addColumn<int>("ethMode");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("source");

    QTest::newRow("empty store") << QVariantMap() << 0 << 0 << "" << "0" << 0;
    QTest::newRow("stored") << QVariantMap{{"remote/usb mode", 2}, {"remote/eth mode", 1}, {"remote/eth address", "10.0.0.7"},
                                           {"remote/eth port", 5020}, {"remote/remote mode", 2}}
                            << 2 << 1 << "10.0.0.7" << "5020" << 2;
    // A terminal session of an older version stored 3, a cleared combo -1:
    // both come back as a mode the drive knows.
    QTest::newRow("stale terminal usb mode") << QVariantMap{{"remote/usb mode", 3}} << 0 << 0 << "" << "0" << 0;
    QTest::newRow("usb mode -1") << QVariantMap{{"remote/usb mode", -1}, {"remote/eth mode", 7}, {"remote/remote mode", 9}}
                                 << 0 << 0 << "" << "0" << 0;
    QTest::newRow("terminal page") << QVariantMap{{"remote/remote mode", 3}} << 0 << 0 << "" << "0" << 3;
}

void tst_formRemoteTab::loadsStore()
{
    QFETCH(QVariantMap, stored);
    QFETCH(int, usbMode);
    QFETCH(int, ethMode);
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(int, source);

    testWorkDir wd;
    {
        QSettings s = store();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            s.setValue(it.key(), it.value());
    }
    formRemoteTab tab;
    QCOMPARE(tab.nUsbMode, usbMode);
    QCOMPARE(child<QComboBox>(&tab, "cmbUSBRemoteMode")->currentIndex(), usbMode);
    QCOMPARE(tab.nEthMode, ethMode);
    QCOMPARE(child<QComboBox>(&tab, "cmbEthernetRemoteMode")->currentIndex(), ethMode);
    QCOMPARE(tab.strEthAddress, address);
    QCOMPARE(child<QLineEdit>(&tab, "lineEditIpAddress")->text(), address);
    QCOMPARE(child<QLineEdit>(&tab, "lineEditEthernetPort")->text(), port);
    QCOMPARE(tab.nEthPort, port.toInt());
    QCOMPARE(child<QComboBox>(&tab, "cmbSource")->currentIndex(), source);
    QCOMPARE(child<QStackedWidget>(&tab, "stackedWidget")->currentIndex(), source);
    QCOMPARE(child<QComboBox>(&tab, "cmbRemoteSource")->currentIndex(), 0);
    QVERIFY(!tab.isRemoteConnected());
    QVERIFY(!child<QPushButton>(&tab, "pushBtnConnect")->isChecked());
}

void tst_formRemoteTab::loadingNeverMovesPointsBetweenInputs()
{
    testWorkDir wd;
    {
        QSettings s = store();
        s.setValue("inputs/sampling", "1500");
        s.setValue("inputs/input1 type", 1);
        s.setValue("inputs/input1 lower boundary", 100);
        s.setValue("inputs/input1 upper boundary", 9000);
        s.setValue("inputs/input2 type", 0);
        s.setValue("inputs/input2 lower boundary", 500);
        s.setValue("inputs/input2 lower boundary steps", 1000);
        s.setValue("inputs/input2 upper boundary", 9500);
        s.setValue("inputs/input2 upper boundary steps", 990000);
        s.setValue("inputs/input3 type", 2);
    }
    modalAnswerer boxes(QStringList(), true);
    analogData data;
    formRemoteTab tab;
    remoteTabLog log(&tab);
    tab.setAnalogData(&data);
    QCOMPARE(child<QComboBox>(&tab, "cmbRemoteSource")->currentIndex(), 1);
    QCOMPARE(child<QLineEdit>(&tab, "lineEditLowerBoundary")->text(), QStringLiteral("500"));
    QCOMPARE(child<QLineEdit>(&tab, "lineEditLowerBoundarySteps")->text(), QStringLiteral("1000"));
    QCOMPARE(child<QLineEdit>(&tab, "lineEditUpperBoundary")->text(), QStringLiteral("9500"));
    QCOMPARE(child<QLineEdit>(&tab, "lineEditUpperBoundarySteps")->text(), QStringLiteral("990000"));
    QCOMPARE(child<QLineEdit>(&tab, "lineEditSampling")->text(), QStringLiteral("1500"));

    // Loaded window, page showing another input's points, store giving input 3
    // now: the next entry selects input 3 and shows its points, and stores
    // nothing while doing so.
    tab.bWindowLoaded = true;
    {
        QSignalBlocker block(child<QComboBox>(&tab, "cmbRemoteSource"));
        child<QComboBox>(&tab, "cmbRemoteSource")->setCurrentIndex(0);
    }
    {
        QSettings s = store();
        s.setValue("inputs/input2 type", 1);
        s.setValue("inputs/input3 type", 0);
        s.setValue("inputs/input3 lower boundary", 0);
        s.setValue("inputs/input3 upper boundary", 10000);
        s.setValue("inputs/input3 upper boundary steps", 1000000);
    }
    const auto beforeReload = storeContents();
    tab.readSettingsToGUI();
    QCOMPARE(child<QComboBox>(&tab, "cmbRemoteSource")->currentIndex(), 2);
    QCOMPARE(child<QLineEdit>(&tab, "lineEditUpperBoundary")->text(), QStringLiteral("10000"));
    QCOMPARE(child<QLineEdit>(&tab, "lineEditLowerBoundarySteps")->text(), QString());
    QCOMPARE(storeContents(), beforeReload);
    for (int n = 0; n < 3; ++n)
        QCOMPARE(data.getUpperBoundaryValue(n), 0.0);
    QVERIFY(boxes.texts.isEmpty());
    QVERIFY2(log.entries.isEmpty(), qPrintable(log.joined()));
}

void tst_formRemoteTab::noRemoteInputKeepsPage()
{
    testWorkDir wd;
    {
        QSettings s = store();
        s.setValue("inputs/input1 type", 1);
        s.setValue("inputs/input2 type", 2);
        s.setValue("inputs/input3 type", 1);
        s.setValue("inputs/input3 lower boundary", 123);
    }
    formRemoteTab tab;
    auto *pInput = child<QComboBox>(&tab, "cmbRemoteSource");
    {
        QSignalBlocker block(pInput);
        pInput->setCurrentIndex(2);
    }
    child<QLineEdit>(&tab, "lineEditLowerBoundary")->setText(QStringLiteral("77"));
    QTest::ignoreMessage(QtDebugMsg, "ERROR no Input is defined as remote one");
    tab.readSettingsToGUI();
    QCOMPARE(pInput->currentIndex(), 2);
    QCOMPARE(child<QLineEdit>(&tab, "lineEditLowerBoundary")->text(), QStringLiteral("77"));
}

void tst_formRemoteTab::connectButton_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("usbMode");

    // Actions: "src N", "usb N", "eth N", "in N", "addr A", "port P", "click".
    QTest::newRow("usb direct") << "src 0;usb 0;click;click" << "connectRemoteUSB(0) disconnectRemoteUSB()" << 0 << false << false << 0;
    QTest::newRow("usb parser connected") << "src 0;usb 1;click" << "connectRemoteUSB(1)" << 0 << true << true << 1;
    QTest::newRow("usb modbus")
        << "src 0;usb 2;click;click"
        << "connectRemoteModbus() connectRemoteUSB(2) disconnectRemoteModbus() disconnectRemoteUSB()" << 0 << false << false << 2;
    QTest::newRow("usb direct, combo to modbus, disconnect")
        << "src 0;usb 0;click;usb 2;click" << "connectRemoteUSB(0) disconnectRemoteModbus() disconnectRemoteUSB()"
        << 0 << false << false << 2;
    QTest::newRow("usb modbus, combo to direct, disconnect")
        << "src 0;usb 2;click;usb 0;click"
        << "connectRemoteModbus() connectRemoteUSB(2) disconnectRemoteModbus() disconnectRemoteUSB()" << 0 << false << false << 0;
    QTest::newRow("ethernet direct")
        << "src 2;eth 0;addr 127.0.0.1;port 5020;click;click" << "connectRemoteEthernet(0,127.0.0.1,5020) disconnectRemoteEthernet()"
        << 0 << false << false << 0;
    QTest::newRow("ethernet parser connected, not holding the tab")
        << "src 2;eth 1;addr 127.0.0.1;port 5020;click" << "connectRemoteEthernet(1,127.0.0.1,5020)" << 0 << false << true << 0;
    QTest::newRow("ethernet modbus")
        << "src 2;eth 2;addr 127.0.0.1;port 1502;click;click"
        << "connectRemoteModbus() connectRemoteEthernet(2,127.0.0.1,1502) disconnectRemoteModbus() disconnectRemoteEthernet()"
        << 0 << false << false << 0;
    QTest::newRow("ethernet empty port refused") << "src 2;eth 1;addr 127.0.0.1;port ;click" << "" << 1 << false << false << 0;
    QTest::newRow("ethernet host name refused") << "src 2;eth 2;addr localhost;port 502;click" << "" << 1 << false << false << 0;
    QTest::newRow("analog input 3") << "src 1;in 2;click" << "connectRemoteAnalog(2)" << 0 << true << true << 0;
    QTest::newRow("analog connect and disconnect") << "src 1;in 0;click;click" << "connectRemoteAnalog(0) disconnectRemoteAnalog()"
                                                   << 0 << false << false << 0;
    QTest::newRow("terminal keeps usb mode")
        << "usb 1;src 3;click;click" << "connectRemoteUSB(3) disconnectRemoteUSB()" << 0 << false << false << 1;
    QTest::newRow("terminal holds the tab") << "src 3;click" << "connectRemoteUSB(3)" << 0 << true << true << 0;
    QTest::newRow("usb page disconnects the terminal")
        << "src 3;click;src 0;click" << "connectRemoteUSB(3) disconnectRemoteUSB()" << 0 << false << false << 0;
    QTest::newRow("terminal page disconnects usb modbus")
        << "src 0;usb 2;click;src 3;click"
        << "connectRemoteModbus() connectRemoteUSB(2) disconnectRemoteModbus() disconnectRemoteUSB()" << 0 << false << false << 2;
    // The drive has one remote mode: a second source is refused, the first
    // stays as it is and the button of the shown page says "not connected".
    QTest::newRow("analog refused while usb") << "src 0;click;src 1;click" << "connectRemoteUSB(0)" << 1 << true << false << 0;
    QTest::newRow("usb refused while ethernet")
        << "src 2;addr 127.0.0.1;port 5020;click;src 0;usb 2;click" << "connectRemoteEthernet(0,127.0.0.1,5020)" << 1 << false << false << 2;
    QTest::newRow("back on the connected page")
        << "src 1;click;src 2;src 1" << "connectRemoteAnalog(0)" << 0 << true << true << 0;
}

void tst_formRemoteTab::connectButton()
{
    QFETCH(QString, actions);
    QFETCH(QString, emitted);
    QFETCH(int, boxes);
    QFETCH(bool, connected);
    QFETCH(bool, checked);
    QFETCH(int, usbMode);

    testWorkDir wd;
    modalAnswerer answerer(QStringList(), true);
    analogData data;
    formRemoteTab tab;
    tab.setAnalogData(&data);
    remoteTabLog log(&tab);
    auto *pButton = child<QPushButton>(&tab, "pushBtnConnect");
    for (const QString &strAction : actions.split(QLatin1Char(';'))) {
        const QString strVerb = strAction.section(QLatin1Char(' '), 0, 0);
        const QString strArg = strAction.section(QLatin1Char(' '), 1);
        if (strVerb == QLatin1String("src"))
            child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(strArg.toInt());
        else if (strVerb == QLatin1String("usb"))
            child<QComboBox>(&tab, "cmbUSBRemoteMode")->setCurrentIndex(strArg.toInt());
        else if (strVerb == QLatin1String("eth"))
            child<QComboBox>(&tab, "cmbEthernetRemoteMode")->setCurrentIndex(strArg.toInt());
        else if (strVerb == QLatin1String("in"))
            child<QComboBox>(&tab, "cmbRemoteSource")->setCurrentIndex(strArg.toInt());
        else if (strVerb == QLatin1String("addr"))
            child<QLineEdit>(&tab, "lineEditIpAddress")->setText(strArg);
        else if (strVerb == QLatin1String("port"))
            child<QLineEdit>(&tab, "lineEditEthernetPort")->setText(strArg);
        else if (strVerb == QLatin1String("click"))
            QTest::mouseClick(pButton, Qt::LeftButton);
        else
            QFAIL(qPrintable(strAction));
    }
    QCOMPARE(log.joined(), emitted);
    QCOMPARE(answerer.texts.size(), boxes);
    QCOMPARE(tab.isRemoteConnected(), connected);
    QCOMPARE(pButton->isChecked(), checked);
    QCOMPARE(tab.nUsbMode, usbMode);
    QCOMPARE(store().value("remote/usb mode", 0).toInt(), usbMode);
}

void tst_formRemoteTab::leaveWarningTexts_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("box");
    QTest::newRow("usb") << 0 << "Remote is connected|USB Remote is still connected. First disconnect it.";
    QTest::newRow("terminal") << 3 << "Remote is connected|USB Remote is still connected. First disconnect it.";
    QTest::newRow("analog") << 1 << "Remote is connected|Analog Remote is still connected. First disconnect it.";
}

void tst_formRemoteTab::leaveWarningTexts()
{
    QFETCH(int, source);
    QFETCH(QString, box);
    testWorkDir wd;
    modalAnswerer answerer(QStringList(), true);
    QWidget window;
    formRemoteTab tab;
    tab.pMainWindow = &window;
    child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(source);
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    QVERIFY(tab.isRemoteConnected());
    tab.showRemoteConnectedWarning();
    QCOMPARE(answerer.texts, QStringList{box});
}

void tst_formRemoteTab::terminalSendsOnlyWhileConnected()
{
    testWorkDir wd;
    formRemoteTab tab;
    remoteTabLog log(&tab);
    auto *pTerminal = child<QPlainTextEdit>(&tab, "plTextEditTerminal");
    child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(3);

    QTest::keyClicks(pTerminal, QStringLiteral("s"));
    QCOMPARE(pTerminal->toPlainText(), QStringLiteral("s"));
    QVERIFY(log.entries.isEmpty());

    // A USB link is not the terminal: typing still goes nowhere.
    child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(0);
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    QTest::keyClicks(pTerminal, QStringLiteral("x"));
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    log.entries.clear();

    child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(3);
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    QTest::keyClicks(pTerminal, QStringLiteral("s"));
    QTest::keyClick(pTerminal, Qt::Key_Return);
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    QTest::keyClicks(pTerminal, QStringLiteral("p"));
    QCOMPARE(log.joined(), QStringLiteral("connectRemoteUSB(3) sendDataUSB(73) sendDataUSB(0d) disconnectRemoteUSB()"));
    // The terminal is a link, not a mode: nothing stores 3 as "usb mode".
    QCOMPARE(tab.nUsbMode, 0);
    QCOMPARE(store().value("remote/usb mode", 0).toInt(), 0);
}

void tst_formRemoteTab::panesShowTheStreamOfTheShownSource()
{
    testWorkDir wd;
    formRemoteTab tab;
    auto *pSource = child<QComboBox>(&tab, "cmbSource");
    auto *pEth = child<QPlainTextEdit>(&tab, "plTextEditEthernet");
    auto *pEthValve = child<QPlainTextEdit>(&tab, "plTextEditValveEth");

    // Connected on USB, Ethernet page shown: the traffic lands where the
    // operator looks.
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    pSource->setCurrentIndex(2);
    tab.receivedFromPc(QByteArray("Connection established\n"));
    tab.receivedFromPc(QByteArray("S\r"));
    tab.receivedFromMotor(QByteArray("P=1\0garbage", 11));
    QCOMPARE(pEth->toPlainText(), QStringLiteral("Connection established\nS\n"));
    QCOMPARE(pEthValve->toPlainText(), QStringLiteral("P=1"));
    QVERIFY(child<QPlainTextEdit>(&tab, "plTextEditUSB")->toPlainText().isEmpty());

    // At the cursor the operator set, not appended.
    QTextCursor cursor = pEthValve->textCursor();
    cursor.setPosition(0);
    pEthValve->setTextCursor(cursor);
    tab.receivedFromMotor(QByteArray(">"));
    QCOMPARE(pEthValve->toPlainText(), QStringLiteral(">P=1"));

    // Scrolled to the end after each arrival.
    tab.resize(700, 450);
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));
    for (int n = 0; n < 200; ++n)
        tab.receivedFromPc(QByteArray("line\n"));
    QScrollBar *pBar = pEth->verticalScrollBar();
    QVERIFY(pBar->maximum() > 0);
    QCOMPARE(pBar->value(), pBar->maximum());
}

void tst_formRemoteTab::panesAreCleared()
{
    testWorkDir wd;
    formRemoteTab tab;
    auto *pSource = child<QComboBox>(&tab, "cmbSource");
    auto fillAll = [&] {
        for (int n = 0; n < 4; ++n) {
            QSignalBlocker block(pSource);
            pSource->setCurrentIndex(n);
            tab.receivedFromPc(QByteArray("pc"));
            tab.receivedFromMotor(QByteArray("valve"));
        }
        QSignalBlocker block(pSource);
        pSource->setCurrentIndex(0);
    };
    const char *panes[] = {"plTextEditUSB", "plTextEditValveUSB", "plTextEditAnalog", "plTextEditValveAnalog",
                           "plTextEditEthernet", "plTextEditValveEth", "plTextEditTerminal", "plTextEditValveTerminal"};
    auto emptyPanes = [&] {
        QStringList list;
        for (const char *pszName : panes)
            if (child<QPlainTextEdit>(&tab, pszName)->toPlainText().isEmpty())
                list << QLatin1String(pszName);
        return list.join(QLatin1Char(' '));
    };

    fillAll();
    child<QComboBox>(&tab, "cmbUSBRemoteMode")->setCurrentIndex(1);
    QCOMPARE(emptyPanes(), QStringLiteral("plTextEditUSB plTextEditValveUSB"));
    fillAll();
    child<QComboBox>(&tab, "cmbEthernetRemoteMode")->setCurrentIndex(2);
    QCOMPARE(emptyPanes(), QStringLiteral("plTextEditEthernet plTextEditValveEth"));
    fillAll();
    pSource->setCurrentIndex(1);
    QCOMPARE(emptyPanes().split(QLatin1Char(' ')).size(), 8);
}

void tst_formRemoteTab::paneStaysBounded_data()
{
    QTest::addColumn<bool>("pcSide");
    QTest::newRow("master side") << true;
    QTest::newRow("valve side") << false;
}

void tst_formRemoteTab::paneStaysBounded()
{
    QFETCH(bool, pcSide);
    testWorkDir wd;
    formRemoteTab tab;
    auto *pPane = child<QPlainTextEdit>(&tab, pcSide ? "plTextEditUSB" : "plTextEditValveUSB");
    auto deliver = [&](const QByteArray &data) {
        if (pcSide)
            tab.receivedFromPc(data);
        else
            tab.receivedFromMotor(data);
    };
    const QByteArray chunk(4000, 'a');
    for (int n = 0; n < 3 * trafficPaneMaxChars / 4000; ++n)
        deliver(chunk);
    deliver(QByteArray("last"));
    const QString strText = pPane->toPlainText();
    QVERIFY2(strText.size() <= trafficPaneMaxChars && strText.size() >= trafficPaneKeepChars - 1,
             qPrintable(QString::number(strText.size())));
    QVERIFY(strText.endsWith(QLatin1String("last")));
    // Nothing of what was cut off stays behind as undo history.
    QCOMPARE(pPane->document()->availableUndoSteps(), 0);
    QVERIFY(!pPane->document()->isUndoRedoEnabled());
}

void tst_formRemoteTab::paneCutKeepsCursor()
{
    // The operator put the cursor mid-text: after a cut the pane shows exactly
    // the tail, and text still arrives where the cursor was.
    QPlainTextEdit pane;
    QString strAll;
    for (int n = 0; strAll.size() < trafficPaneMaxChars - 2000; ++n)
        strAll += QStringLiteral("line %1\n").arg(n);
    insertTrafficText(&pane, strAll, true);
    QCOMPARE(pane.toPlainText(), strAll);
    const int nMark = strAll.size() - 500;
    QTextCursor cursor = pane.textCursor();
    cursor.setPosition(nMark);
    pane.setTextCursor(cursor);
    const QString strBlock(3000, QLatin1Char('b'));
    insertTrafficText(&pane, strBlock, false);
    strAll.insert(nMark, strBlock);
    const QString strKept = strAll.right(trafficPaneKeepChars - 1);
    QCOMPARE(pane.toPlainText(), strKept);
    const int nCursor = nMark + strBlock.size() - (strAll.size() - strKept.size());
    QCOMPARE(pane.textCursor().position(), nCursor);
    insertTrafficText(&pane, QStringLiteral("X"), false);
    QCOMPARE(pane.toPlainText().at(nCursor), QLatin1Char('X'));
    QCOMPARE(pane.document()->availableUndoSteps(), 0);
}

void tst_formRemoteTab::analogPageSavesOnlyEdits()
{
    testWorkDir wd;
    {
        QSettings s = store();
        s.setValue("inputs/input1 type", 1);
        s.setValue("inputs/input2 type", 0);
        s.setValue("inputs/input2 lower boundary", 1000);
        s.setValue("inputs/input2 lower boundary steps", 0);
        s.setValue("inputs/input2 upper boundary", 9000);
        s.setValue("inputs/input2 upper boundary steps", 1000000);
    }
    analogData data;
    data.setInputType(0, INPUT_FEEDBACK_1);
    formRemoteTab tab;
    tab.setAnalogData(&data);
    tab.bWindowLoaded = true;

    // Leaving Manual or Remote with nothing typed stores nothing.
    const auto before = storeContents();
    tab.saveRemoteAnalogInput();
    QCOMPARE(storeContents(), before);
    QCOMPARE(data.getInputType(1), 0);
    QCOMPARE(data.getUpperBoundarySteps(1), 0);

    // Typed but not finished (the leave step finds it): stored for input 2.
    auto *pUpper = child<QLineEdit>(&tab, "lineEditUpperBoundary");
    pUpper->clear();
    QTest::keyClicks(pUpper, QStringLiteral("8000"));
    tab.saveRemoteAnalogInput();
    QSettings s = store();
    QCOMPARE(s.value("inputs/input2 type").toInt(), 0);
    QCOMPARE(s.value("inputs/input2 upper boundary").toInt(), 8000);
    QCOMPARE(s.value("inputs/input2 upper boundary steps").toInt(), 1000000);
    QCOMPARE(s.value("inputs/input2 lower boundary").toInt(), 1000);
    QCOMPARE(s.value("inputs/input1 type").toInt(), 1);
    QVERIFY(!s.contains("inputs/input2 upper boundary action"));
    QCOMPARE(data.getUpperBoundaryValue(1), 8000.0);
    QCOMPARE(data.getUpperBoundarySteps(1), 1000000);
    QCOMPARE(data.getLowerBoundaryValue(1), 1000.0);
    QCOMPARE(data.getLowerBoundaryAction(1), int(ACTION_CLOSE));
    QCOMPARE(data.getInputType(0), int(INPUT_FEEDBACK_1));

    // Finishing an edit stores at once; text that is no number is 0.
    typeInto(child<QLineEdit>(&tab, "lineEditLowerBoundarySteps"), QStringLiteral("abc"));
    QCOMPARE(store().value("inputs/input2 lower boundary steps", -1).toInt(), 0);
    typeInto(child<QLineEdit>(&tab, "lineEditLowerBoundarySteps"), QStringLiteral("25000"));
    QCOMPARE(store().value("inputs/input2 lower boundary steps").toInt(), 25000);
    QCOMPARE(data.getLowerBoundarySteps(1), 25000);
}

void tst_formRemoteTab::analogPageRefusesFeedbackInput()
{
    testWorkDir wd;
    {
        QSettings s = store();
        s.setValue("inputs/input1 type", 2);
        s.setValue("inputs/input2 type", 1);
        s.setValue("inputs/input3 type", 2);
    }
    modalAnswerer answerer(QStringList(), true);
    analogData data;
    data.setInputType(0, INPUT_FEEDBACK_2);
    data.setInputType(1, INPUT_FEEDBACK_1);
    data.setInputType(2, INPUT_FEEDBACK_2);
    QWidget window;
    QTest::ignoreMessage(QtDebugMsg, "ERROR no Input is defined as remote one");
    formRemoteTab tab;
    tab.setAnalogData(&data);
    tab.pMainWindow = &window;
    tab.bWindowLoaded = true;
    remoteTabLog log(&tab);
    const auto before = storeContents();

    // Typed on a page whose input is a feedback input: the leave step refuses.
    QTest::keyClicks(child<QLineEdit>(&tab, "lineEditUpperBoundary"), QStringLiteral("5000"));
    tab.saveRemoteAnalogInput();
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts.at(0).startsWith(QLatin1String("Feedback input|Input 1 is configured as Feedback 2")));
    // Asked once: leaving again does not ask again.
    tab.saveRemoteAnalogInput();
    QCOMPARE(answerer.texts.size(), 1);

    // Choosing another feedback input is refused and the choice goes back.
    auto *pInput = child<QComboBox>(&tab, "cmbRemoteSource");
    pInput->setCurrentIndex(1);
    QCOMPARE(pInput->currentIndex(), 0);
    QCOMPARE(answerer.texts.size(), 2);

    // And it cannot steer the valve either.
    child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(1);
    QTest::mouseClick(child<QPushButton>(&tab, "pushBtnConnect"), Qt::LeftButton);
    QCOMPARE(answerer.texts.size(), 3);
    QVERIFY(answerer.texts.at(2).startsWith(QLatin1String("Feedback input|")));
    QVERIFY(!tab.isRemoteConnected());

    QCOMPARE(storeContents().value("inputs/input1 type"), before.value("inputs/input1 type"));
    QCOMPARE(storeContents().value("inputs/input2 type"), before.value("inputs/input2 type"));
    QVERIFY(!storeContents().contains("inputs/input1 upper boundary"));
    QCOMPARE(data.getInputType(0), int(INPUT_FEEDBACK_2));
    QCOMPARE(data.getInputType(1), int(INPUT_FEEDBACK_1));
    QVERIFY2(log.entries.isEmpty(), qPrintable(log.joined()));
}

void tst_formRemoteTab::choosingInputBeforeLoadedDoesNothing()
{
    testWorkDir wd;
    modalAnswerer answerer(QStringList(), true);
    analogData data;
    formRemoteTab tab;
    tab.setAnalogData(&data);
    const auto before = storeContents();
    child<QComboBox>(&tab, "cmbRemoteSource")->setCurrentIndex(2);
    QCOMPARE(storeContents(), before);
    QVERIFY(answerer.texts.isEmpty());
}

void tst_formRemoteTab::choosingInputWhenLoaded_data()
{
    QTest::addColumn<int>("oldType");
    QTest::newRow("input 2 was remote too") << 0;
    QTest::newRow("input 2 stored without type") << -1;
}

void tst_formRemoteTab::choosingInputWhenLoaded()
{
    QFETCH(int, oldType);
    testWorkDir wd;
    {
        QSettings s = store();
        s.setValue("inputs/input1 type", 0);
        s.setValue("inputs/input1 lower boundary", 200);
        s.setValue("inputs/input1 lower boundary steps", 5000);
        s.setValue("inputs/input1 upper boundary", 9800);
        s.setValue("inputs/input1 upper boundary steps", 995000);
        if (oldType >= 0)
            s.setValue("inputs/input2 type", oldType);
    }
    modalAnswerer answerer(QStringList(), true);
    analogData data;
    formRemoteTab tab;
    tab.setAnalogData(&data);
    tab.bWindowLoaded = true;

    // The shown points move with the choice to the new input.
    child<QComboBox>(&tab, "cmbRemoteSource")->setCurrentIndex(1);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral(
                                 "Possible Input Type Conflicts|Please chekc the feedback inputs in the setting tab for possible conflicts.")});
    QSettings s = store();
    QCOMPARE(s.value("inputs/input2 type", -1).toInt(), 0);
    QCOMPARE(s.value("inputs/input2 lower boundary").toInt(), 200);
    QCOMPARE(s.value("inputs/input2 upper boundary steps").toInt(), 995000);
    QCOMPARE(data.getLowerBoundarySteps(1), 5000);
    // The input that was the remote one keeps its type.
    QCOMPARE(s.value("inputs/input1 type", -1).toInt(), 0);

    // Next entry: input 1 is found first again and shown with its own points;
    // nothing moves back onto it.
    typeInto(child<QLineEdit>(&tab, "lineEditLowerBoundary"), QStringLiteral("300"));
    QCOMPARE(store().value("inputs/input2 lower boundary").toInt(), 300);
    const auto before = storeContents();
    tab.readSettingsToGUI();
    QCOMPARE(child<QComboBox>(&tab, "cmbRemoteSource")->currentIndex(), 0);
    QCOMPARE(child<QLineEdit>(&tab, "lineEditLowerBoundary")->text(), QStringLiteral("200"));
    QCOMPARE(storeContents(), before);
    QCOMPARE(answerer.texts.size(), 1);
}

void tst_formRemoteTab::fieldsAreStored()
{
    testWorkDir wd;
    analogData data;
    data.nSampling = 1000;
    formRemoteTab tab;
    tab.setAnalogData(&data);

    typeInto(child<QLineEdit>(&tab, "lineEditSampling"), QStringLiteral("2500"));
    QCOMPARE(store().value("inputs/sampling").toString(), QStringLiteral("2500"));
    QCOMPARE(data.nSampling, 2500);
    QCOMPARE(data.readPeriodMs(), -1); // the running period is not touched
    typeInto(child<QLineEdit>(&tab, "lineEditSampling"), QStringLiteral("fast"));
    QCOMPARE(store().value("inputs/sampling").toString(), QStringLiteral("fast"));
    QCOMPARE(data.nSampling, 0);

    typeInto(child<QLineEdit>(&tab, "lineEditIpAddress"), QStringLiteral("192.168.1.20"));
    QCOMPARE(tab.strEthAddress, QStringLiteral("192.168.1.20"));
    QCOMPARE(store().value("remote/eth address").toString(), QStringLiteral("192.168.1.20"));
    typeInto(child<QLineEdit>(&tab, "lineEditEthernetPort"), QStringLiteral("502"));
    QCOMPARE(tab.nEthPort, 502);
    QCOMPARE(store().value("remote/eth port").toInt(), 502);
    typeInto(child<QLineEdit>(&tab, "lineEditEthernetPort"), QStringLiteral("x"));
    QCOMPARE(tab.nEthPort, 0);
    QCOMPARE(store().value("remote/eth port", -1).toInt(), 0);

    child<QComboBox>(&tab, "cmbEthernetRemoteMode")->setCurrentIndex(2);
    QCOMPARE(tab.nEthMode, 2);
    QCOMPARE(store().value("remote/eth mode").toInt(), 2);
    child<QComboBox>(&tab, "cmbSource")->setCurrentIndex(3);
    QCOMPARE(store().value("remote/remote mode").toInt(), 3);
    QCOMPARE(child<QStackedWidget>(&tab, "stackedWidget")->currentIndex(), 3);
}

void tst_formRemoteTab::localAddressesAndDiagram()
{
    testWorkDir wd;
    modalAnswerer answerer(QStringList(), true);
    formRemoteTab tab;
    remoteTabLog log(&tab);
    tab.onShowLocalIPAddresses();
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.at(0).startsWith(QLatin1String("Local IP Addresses|Yopur local IP addresses are:\n")),
             qPrintable(answerer.texts.at(0)));
    QVERIFY(answerer.texts.at(0).contains(QLatin1String("127.0.0.1\n")));

    // A file chosen in the embedded diagram goes on to the main window.
    QVERIFY(QMetaObject::invokeMethod(child<QWidget>(&tab, "widgetCurrentState"), "setNewTeachIn",
                                      Q_ARG(QString, QStringLiteral("/x/curve1.kfxteachin"))));
    QCOMPARE(log.joined(), QStringLiteral("setNewTeachIn(/x/curve1.kfxteachin)"));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_formRemoteTab test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_formRemoteTab.moc"
