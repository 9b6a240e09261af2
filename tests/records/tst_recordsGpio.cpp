#include "platform/gpioRoot.h"
#include "valve/gpioPort.h"
#include "valve/i2cPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_recordsGpio : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void writesGoToTheirFiles();
    void getValue_data();
    void getValue();
    void unexportedPinReadsAsOne();

private:
    QByteArray read(const QString &strRelative) const
    {
        QFile file(root->filePath(strRelative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const QString &strRelative, const QByteArray &data) const
    {
        QDir(root->path()).mkpath(QFileInfo(root->filePath(strRelative)).path());
        QFile file(root->filePath(strRelative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QScopedPointer<QTemporaryDir> root;
};

void tst_recordsGpio::init()
{
    root.reset(new QTemporaryDir);
    QVERIFY(root->isValid());
    setGpioRoot(root->path());
}

void tst_recordsGpio::cleanup()
{
    setGpioRoot(QString());
    root.reset();
}

void tst_recordsGpio::writesGoToTheirFiles()
{
    gpioPort defaultPin;
    QCOMPARE(defaultPin.getPinNumber(), std::string("4"));
    QCOMPARE(defaultPin.exportPin(), 0);
    QCOMPARE(read(QStringLiteral("export")), QByteArray("4"));

    QVERIFY(QDir(root->path()).mkdir(QStringLiteral("gpio17")));
    gpioPort pin("17");
    QCOMPARE(pin.getPinNumber(), std::string("17"));
    QCOMPARE(pin.exportPin(), 0);
    QCOMPARE(read(QStringLiteral("export")), QByteArray("17")); // replaced, no line end
    QCOMPARE(pin.setDirection("out"), 0);
    QCOMPARE(read(QStringLiteral("gpio17/direction")), QByteArray("out"));
    QCOMPARE(pin.setValue("1"), 0);
    QCOMPARE(read(QStringLiteral("gpio17/value")), QByteArray("1"));
    QCOMPARE(pin.unexportPin(), 0);
    QCOMPARE(read(QStringLiteral("unexport")), QByteArray("17"));

    // A pin that is not exported: nothing is written, nothing fails.
    gpioPort absent("99");
    QCOMPARE(absent.setDirection("in"), 0);
    QCOMPARE(absent.setValue("0"), 0);
    QVERIFY(!QFile::exists(root->filePath(QStringLiteral("gpio99"))));

    i2cPort bus; // has nothing of its own to do
    QCOMPARE(bus.parent(), nullptr);
}

void tst_recordsGpio::getValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0 with line end") << QByteArray("0\n") << "x" << "0";
    QTest::newRow("1 with line end") << QByteArray("1\n") << "x" << "1";
    QTest::newRow("other word") << QByteArray("high\n") << "0" << "1";
    QTest::newRow("leading blanks") << QByteArray("  0 1") << "x" << "0";
    QTest::newRow("00 is not 0") << QByteArray("00") << "0" << "1";
    QTest::newRow("empty file keeps a 0") << QByteArray() << "0" << "0";
    QTest::newRow("empty file turns text into 1") << QByteArray() << "" << "1";
}

void tst_recordsGpio::getValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, before);
    QFETCH(QString, expected);
    write(QStringLiteral("gpio4/value"), content);
    gpioPort pin;
    std::string strValue = before.toStdString();
    QCOMPARE(pin.getValue(strValue), 0);
    QCOMPARE(QString::fromStdString(strValue), expected);
}

void tst_recordsGpio::unexportedPinReadsAsOne()
{
    gpioPort pin("23");
    std::string strValue;
    QCOMPARE(pin.getValue(strValue), 0);
    QCOMPARE(strValue, std::string("1"));
    strValue = "0";
    pin.getValue(strValue);
    QCOMPARE(strValue, std::string("0"));
}

QTEST_GUILESS_MAIN(tst_recordsGpio)
#include "tst_recordsGpio.moc"
