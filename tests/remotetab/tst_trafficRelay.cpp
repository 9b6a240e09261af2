// The relay between the drive's thread and the traffic panes: batches show
// what the chunks one by one would show, at most one delivery waits, and a
// batch never holds more than a pane can show.
#include "remote/formTrafficPane.h"
#include "remote/remotePaneText.h"
#include "remote/trafficRelay.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

class tst_trafficRelay : public QObject
{
    Q_OBJECT
private slots:
    void batchShowsEachChunkAsItsOwn_data();
    void batchShowsEachChunkAsItsOwn();
    void oneDeliveryWaitsWhileAnotherThreadPushes();
    void batchKeepsTheNewestText();
};

void tst_trafficRelay::batchShowsEachChunkAsItsOwn_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::newRow("plain replies") << QList<QByteArray>{"S\r", "RP20000", "G10000\r"};
    // Text after a zero byte is cut from its own chunk only.
    QTest::newRow("zero byte") << QList<QByteArray>{QByteArray("ab\0cd", 5), "ef"};
    // A character split between two chunks shows as two replacement marks.
    QTest::newRow("split UTF-8") << QList<QByteArray>{"x\xc3", "\xa4y"};
    QTest::newRow("empty chunks") << QList<QByteArray>{"", QByteArray("\0", 1), "z"};
}

void tst_trafficRelay::batchShowsEachChunkAsItsOwn()
{
    QFETCH(QList<QByteArray>, chunks);
    trafficRelay relay;
    QSignalSpy spy(&relay, &trafficRelay::delivered);
    QString strOneByOne;
    for (const QByteArray &chunk : chunks) {
        relay.push(chunk);
        strOneByOne += remotePaneText(chunk);
    }
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(spy.count(), strOneByOne.isEmpty() ? 0 : 1);
    if (!strOneByOne.isEmpty())
        QCOMPARE(remotePaneText(spy.at(0).at(0).toByteArray()), strOneByOne);
}

void tst_trafficRelay::oneDeliveryWaitsWhileAnotherThreadPushes()
{
    trafficRelay relay;
    QString strReceived;
    connect(&relay, &trafficRelay::delivered, this,
            [&strReceived](const QByteArray &data) { strReceived += remotePaneText(data); });
    const int nChunks = 5000;
    QThread *pPusher = QThread::create([&relay] {
        for (int n = 0; n < nChunks; ++n)
            relay.push(QByteArray::number(n % 10));
    });
    pPusher->start();
    QVERIFY(pPusher->wait(60000));
    delete pPusher;
    // However many chunks came, one delivery is posted and it carries them all.
    QCOMPARE(strReceived, QString());
    QCoreApplication::sendPostedEvents(&relay);
    QString strExpected;
    for (int n = 0; n < nChunks; ++n)
        strExpected += QString::number(n % 10);
    QCOMPARE(strReceived, strExpected);
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(strReceived.size(), nChunks);
}

void tst_trafficRelay::batchKeepsTheNewestText()
{
    trafficRelay relay;
    QSignalSpy spy(&relay, &trafficRelay::delivered);
    relay.push(QByteArray(trafficPaneMaxChars, 'a'));
    relay.push(QByteArray(100, 'b'));
    // A character outside the basic plane right at the cut stays whole or goes.
    relay.push(QByteArray("\xf0\x9f\x98\x80") + QByteArray(trafficPaneMaxChars - 1, 'c'));
    QCoreApplication::sendPostedEvents(&relay);
    QCOMPARE(spy.count(), 1);
    const QString strText = remotePaneText(spy.at(0).at(0).toByteArray());
    QVERIFY(!strText.at(0).isLowSurrogate());
    QVERIFY(strText.size() <= trafficPaneMaxChars);
    QCOMPARE(strText.right(trafficPaneMaxChars - 1), QString(trafficPaneMaxChars - 1, QLatin1Char('c')));
}

QTEST_GUILESS_MAIN(tst_trafficRelay)
#include "tst_trafficRelay.moc"
