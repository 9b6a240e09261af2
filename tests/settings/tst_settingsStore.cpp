// The settings module names every setting through the key table; the store
// it writes must be byte for byte the one the program wrote with spelled-out
// groups and keys, so panels in the field keep their settings.
#include "testWorkDir.h"

#include "valve/settingsStore.h"

#include <QFile>
#include <QSet>
#include <QtTest>

namespace {

QByteArray storeBytes(const testWorkDir &wd)
{
    QFile f(wd.configPath() + QStringLiteral("/varnix/Pendrosix.conf"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void clearStore()
{
    settingsStore store;
    store.store().clear();
}

// One value of every setting, of the type its writer uses, spelled the way
// the stores on the panels spell it.
struct spelledValue {
    const char *pszPath;
    settingKey eKey;
    int nInput;
    QVariant value;
};

QVector<spelledValue> spelledValues()
{
    return {
        {"controller/language file", settingKey::LanguageFile, 0, QStringLiteral("qlvZENTU_de.ts")},
        {"controller/uptime in sec", settingKey::UptimeInSec, 0, qlonglong(12345678901LL)},
        {"controller/total steps", settingKey::TotalSteps, 0, qlonglong(-5)},
        {"controller/update cleanup", settingKey::UpdateCleanup, 0, QString()},
        {"controller/Analog Card Type", settingKey::AnalogCardType, 0, 1},
        {"controller/RTC Type", settingKey::RtcType, 0, 0},
        {"controller/long press time", settingKey::LongPressTime, 0, 1500},
        {"controller/remote port", settingKey::RemotePort, 0, QStringLiteral("ttyUSB1")},
        {"motor driver/type", settingKey::MotorType, 0, QStringLiteral("BergerLahr")},
        {"motor driver/position", settingKey::Position, 0, 250000},
        {"motor driver/calibrate on start", settingKey::CalibrateOnStart, 0, true},
        {"motor driver/continious speed", settingKey::ContinuousSpeed, 0, 40},
        {"motor driver/motor port", settingKey::MotorPort, 0, QStringLiteral("ttyUSB0")},
        {"teachIn/teachInFile", settingKey::TeachInFile, 0, QStringLiteral("run.2024.a")},
        {"external feedback/sensor name", settingKey::SensorName, 0, QStringLiteral("Pirani")},
        {"external feedback/sensor data name", settingKey::SensorDataName, 0, QStringLiteral("Leak rate")},
        {"external feedback/sensor formula", settingKey::SensorFormula, 0, QStringLiteral("pow(10,val1-5.5)")},
        {"external feedback/sensor unit", settingKey::SensorUnit, 0, QStringLiteral("mbar l/s")},
        {"external feedback/sensor inputmask", settingKey::SensorInputMask, 0, QStringLiteral("#.##E##;_")},
        {"external feedback/Prop-Value", settingKey::PropValue, 0, 0.1},
        {"external feedback/Relative Difference", settingKey::RelativeDifference, 0, 0.05},
        {"external feedback/Differential Value", settingKey::DifferentialValue, 0, 1000.0},
        {"external feedback/Integral Value", settingKey::IntegralValue, 0, -2.5},
        {"external feedback/Integral Quantity", settingKey::IntegralQuantity, 0, 20.0},
        {"external feedback/Correct Sensitivity Value", settingKey::CorrectSensitivity, 0, 1.25},
        {"external feedback/relative difference new calc", settingKey::RelativeRecalc, 0, 0.2},
        {"external feedback/number of retries new calc", settingKey::RecalcTimes, 0, 3},
        {"external feedback/curve use", settingKey::CurveUse, 0, 2},
        {"inputs/sampling", settingKey::Sampling, 0, QStringLiteral("100")},
        {"inputs/input1 type", settingKey::InputType, 0, 1},
        {"inputs/input2 upper boundary", settingKey::UpperBoundary, 1, QStringLiteral("9500")},
        {"inputs/input2 upper boundary steps", settingKey::UpperBoundarySteps, 1, 1000000},
        {"inputs/input2 upper boundary action", settingKey::UpperBoundaryAction, 1, 2},
        {"inputs/input3 lower boundary", settingKey::LowerBoundary, 2, 500.0},
        {"inputs/input3 lower boundary steps", settingKey::LowerBoundarySteps, 2, 0},
        {"inputs/input3 lower boundary action", settingKey::LowerBoundaryAction, 2, 1},
        {"outputs/output1 config", settingKey::Output1Config, 0, 3},
        {"remote/usb mode", settingKey::UsbMode, 0, 1},
        {"remote/eth mode", settingKey::EthMode, 0, 2},
        {"remote/eth address", settingKey::EthAddress, 0, QStringLiteral("192.168.1.20")},
        {"remote/eth port", settingKey::EthPort, 0, 502},
        {"remote/remote mode", settingKey::RemoteMode, 0, 3},
        {"diagram/pen width", settingKey::PenWidth, 0, 2},
        {"diagram/show sensitivity", settingKey::ShowSensitivity, 0, false},
    };
}

} // namespace

class tst_settingsStore : public QObject
{
    Q_OBJECT

private slots:
    void writesTheBytesOfTheSpelledOutKeys();
    void readsWhatTheSpelledOutKeysHold();
    void missingKeysReadWithoutDefault();
    void everyInputSettingHasOneKeyPerInput();
};

void tst_settingsStore::writesTheBytesOfTheSpelledOutKeys()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());

    {
        QSettings literal(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        for (const spelledValue &v : spelledValues())
            literal.setValue(QString::fromLatin1(v.pszPath), v.value);
    }
    const QByteArray spelled = storeBytes(wd);
    QVERIFY(!spelled.isEmpty());

    QFile::remove(wd.configPath() + QStringLiteral("/varnix/Pendrosix.conf"));
    {
        settingsStore store;
        for (const spelledValue &v : spelledValues())
            store.setValue(v.eKey, v.value, v.nInput);
    }
    QCOMPARE(storeBytes(wd), spelled);
}

void tst_settingsStore::readsWhatTheSpelledOutKeysHold()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    clearStore();
    {
        QSettings literal(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        for (const spelledValue &v : spelledValues())
            literal.setValue(QString::fromLatin1(v.pszPath), v.value);
    }
    const settingsStore store;
    for (const spelledValue &v : spelledValues()) {
        QVERIFY2(store.contains(v.eKey, v.nInput), v.pszPath);
        QCOMPARE(store.text(v.eKey, v.nInput), v.value.toString());
        QCOMPARE(settingsStore::path(v.eKey, v.nInput), QString::fromLatin1(v.pszPath));
    }
    QCOMPARE(store.bigNumber(settingKey::UptimeInSec), 12345678901LL);
    QCOMPARE(store.real(settingKey::PropValue), 0.1);
    QCOMPARE(store.number(settingKey::Sampling), 100);
    QCOMPARE(store.flag(settingKey::CalibrateOnStart), true);
    QCOMPARE(store.flag(settingKey::ShowSensitivity), false);
}

void tst_settingsStore::missingKeysReadWithoutDefault()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    clearStore();
    const settingsStore store;
    QVERIFY(!store.contains(settingKey::LongPressTime));
    QCOMPARE(store.text(settingKey::SensorName), QString());
    QCOMPARE(store.number(settingKey::LongPressTime), 0);
    QCOMPARE(store.real(settingKey::PropValue), 0.0);
    QCOMPARE(store.flag(settingKey::CalibrateOnStart), false);
}

void tst_settingsStore::everyInputSettingHasOneKeyPerInput()
{
    // Every entry of the table is reachable by its name, and the input
    // settings of inputs 0..2 are the keys "input1".."input3".
    QSet<QString> reached;
    for (const settingsKeyInfo &info : settingsKeyTable()) {
        const QString strPath = settingsStore::path(info.eKey, info.nInput);
        QCOMPARE(strPath, info.path());
        reached.insert(strPath);
        if (isInputSetting(info.eKey))
            QVERIFY2(QString::fromLatin1(info.pszKey).startsWith(QStringLiteral("input%1 ").arg(info.nInput + 1)),
                     info.pszKey);
    }
    QCOMPARE(reached.size(), settingsKeyTable().size());
}

QTEST_GUILESS_MAIN(tst_settingsStore)
#include "tst_settingsStore.moc"
