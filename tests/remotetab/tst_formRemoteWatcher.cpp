// The stand-alone traffic monitor: the toggle, and traffic landing at each
// pane's cursor.
#include "remote/formRemoteWatcher.h"
#include "fakeProcessRunner.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class tst_formRemoteWatcher : public QObject
{
    Q_OBJECT

private slots:
    void toggleDoesNotWaitForReplies();
    void trafficGoesInAtTheCursor_data();
    void trafficGoesInAtTheCursor();
};

void tst_formRemoteWatcher::toggleDoesNotWaitForReplies()
{
    formRemoteWatcher watcher;
    auto *pButton = watcher.findChild<QPushButton *>(QStringLiteral("pushBtnConnect"));
    QVERIFY(pButton);
    QCOMPARE(pButton->text(), QStringLiteral("Connect"));
    QSignalSpy connectSpy(&watcher, &formRemoteWatcher::connectRemote);
    QSignalSpy disconnectSpy(&watcher, &formRemoteWatcher::disconnectRemote);

    const QStringList expected = {QStringLiteral("Disconnect"), QStringLiteral("Connect"),
                                  QStringLiteral("Disconnect")};
    for (int n = 0; n < expected.size(); ++n) {
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(pButton->text(), expected.at(n));
        QCOMPARE(connectSpy.count(), n / 2 + 1);
        QCOMPARE(disconnectSpy.count(), (n + 1) / 2);
    }
}

void tst_formRemoteWatcher::trafficGoesInAtTheCursor_data()
{
    QTest::addColumn<bool>("pcSide");
    QTest::newRow("master side") << true;
    QTest::newRow("valve side") << false;
}

void tst_formRemoteWatcher::trafficGoesInAtTheCursor()
{
    QFETCH(bool, pcSide);
    formRemoteWatcher watcher;
    auto *pPane = watcher.findChild<QPlainTextEdit *>(pcSide ? QStringLiteral("plTextEditPC")
                                                              : QStringLiteral("plTextEditValve"));
    auto *pOther = watcher.findChild<QPlainTextEdit *>(pcSide ? QStringLiteral("plTextEditValve")
                                                               : QStringLiteral("plTextEditPC"));
    QVERIFY(pPane && pOther);
    QSignalSpy clearSpy(&watcher, pcSide ? &formRemoteWatcher::sigClearDataReadPc
                                         : &formRemoteWatcher::sigClearDataReadMotor);
    auto deliver = [&](const char *data) {
        if (pcSide)
            watcher.receivedFromPc(data);
        else
            watcher.receivedFromMotor(data);
    };

    deliver("S\r");
    deliver("P=1");
    QCOMPARE(pPane->toPlainText(), QStringLiteral("S\nP=1"));

    // The operator touched the pane: what comes next lands there.
    QTextCursor cursor = pPane->textCursor();
    cursor.setPosition(1);
    pPane->setTextCursor(cursor);
    deliver("<x>");
    QCOMPARE(pPane->toPlainText(), QStringLiteral("S<x>\nP=1"));

    // Nothing to show still tells the supplier it may drop its buffer.
    deliver("");
    deliver(nullptr);
    QCOMPARE(pPane->toPlainText(), QStringLiteral("S<x>\nP=1"));
    QCOMPARE(clearSpy.count(), 5);
    QVERIFY(pOther->toPlainText().isEmpty());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    fakeProcessRunner runner; // the touch fields would start a keyboard
    tst_formRemoteWatcher test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_formRemoteWatcher.moc"
