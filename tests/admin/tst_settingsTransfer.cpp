// The settings store copied into an INI file and back: every key with its
// value, a merge into an existing settings file, and files that are refused
// without changing anything.

#include "settings/settingsTransfer.h"
#include "valve/settingsStore.h"

#include "testWorkDir.h"

#include <QFile>
#include <QtTest>

namespace {

// A store as a panel has it, with values of every kind the program stores.
void fillStore(QSettings &store)
{
    store.clear();
    store.setValue("controller/language file", "qlvZENTU_de.ts");
    store.setValue("controller/uptime in sec", qint64(123456789012LL));
    store.setValue("controller/update cleanup", "");
    store.setValue("controller/long press time", 1500);
    store.setValue("motor driver/type", "NanoTec");
    store.setValue("motor driver/position", 987654);
    store.setValue("motor driver/calibrate on start", true);
    store.setValue("external feedback/sensor formula", "val1*1e-3 + (val2 / 2)");
    store.setValue("external feedback/Prop-Value", 0.125);
    store.setValue("external feedback/sensor name", QString::fromUtf8("Drucksensor \"Ü\"; a=b, [x] #1"));
    store.setValue("inputs/sampling", "250");   // a field's text stays text
    store.setValue("inputs/input1 upper boundary", 9500.5);
    store.setValue("teachIn/teachInFile", "curve 1");
    store.setValue("remote/eth address", "192.168.0.10");
    store.setValue("diagram/show sensitivity", false);
    store.setValue("outputs/output1 config", 2);
    store.sync();
}

QMap<QString, QVariant> contents(QSettings &s)
{
    QMap<QString, QVariant> map;
    for (const QString &strKey : s.allKeys())
        map.insert(strKey, s.value(strKey));
    return map;
}

// Values compared as the program reads them back (the INI file keeps texts,
// which the import reads as such: a number as a number, a flag as a flag).
void compareAsRead(QSettings &actual, const QMap<QString, QVariant> &expected)
{
    QCOMPARE(actual.allKeys().size(), expected.size());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant got = actual.value(it.key());
        QVERIFY2(got.toString() == it.value().toString(), qPrintable(it.key()));
        if (it.value().type() == QVariant::Bool)
            QVERIFY2(got.toBool() == it.value().toBool(), qPrintable(it.key()));
        else if (it.value().canConvert<double>())
            QCOMPARE(got.toDouble(), it.value().toDouble());
    }
}

} // namespace

class tst_settingsTransfer : public QObject
{
    Q_OBJECT

private slots:
    void exportThenImportRestoresEveryKey()
    {
        testWorkDir work;
        settingsStore access;
        QSettings &store = access.store();
        fillStore(store);
        QMap<QString, QVariant> before = contents(store);

        const QString strIni = work.filePath("teachIn/panel settings");   // no extension is added
        QCOMPARE(settingsTransfer::exportTo(store, strIni), settingsTransfer::OK);
        QVERIFY(QFile::exists(strIni));
        QVERIFY(!QFile::exists(strIni + ".ini"));

        // Everything changed or gone, then the file brings it back; all but
        // "update cleanup", which is this panel's own.
        before.remove("controller/update cleanup");
        store.clear();
        store.setValue("controller/language file", "other.ts");
        store.setValue("motor driver/position", 1);
        store.sync();
        QCOMPARE(settingsTransfer::importFrom(strIni, store), settingsTransfer::OK);
        compareAsRead(store, before);

        // And again through a fresh store object: the import was synced.
        settingsStore fresh;
        compareAsRead(fresh.store(), before);
    }

    void exportMergesIntoAnExistingSettingsFile()
    {
        testWorkDir work;
        QVERIFY(work.writeFile("old.ini", "[controller]\nlanguage file=old.ts\nown key=kept\n"
                                          "[somewhere else]\nnote=kept too\n"));
        settingsStore access;
        fillStore(access.store());
        QCOMPARE(settingsTransfer::exportTo(access.store(), work.filePath("old.ini")), settingsTransfer::OK);

        QSettings ini(work.filePath("old.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value("controller/language file").toString(), QString("qlvZENTU_de.ts"));
        QCOMPARE(ini.value("controller/own key").toString(), QString("kept"));
        QCOMPARE(ini.value("somewhere else/note").toString(), QString("kept too"));
        QCOMPARE(ini.value("motor driver/position").toInt(), 987654);
        QCOMPARE(QDir(work.path()).entryList({"*old.ini*"}, QDir::Files | QDir::Hidden), QStringList{"old.ini"});
    }

    void importOfOneKeyChangesOnlyThatKey()
    {
        testWorkDir work;
        settingsStore access;
        fillStore(access.store());
        QMap<QString, QVariant> expected = contents(access.store());
        expected["controller/language file"] = "qlvZENTU_en.ts";
        expected["controller/unknown to the program"] = "stored as well";
        QVERIFY(work.writeFile("one.ini", "[controller]\nlanguage file=qlvZENTU_en.ts\n"
                                          "unknown to the program=stored as well\n"));
        QCOMPARE(settingsTransfer::importFrom(work.filePath("one.ini"), access.store()), settingsTransfer::OK);
        compareAsRead(access.store(), expected);
    }

    // The next start deletes the file "update cleanup" names; an imported
    // file never chooses it.
    void importLeavesTheUpdateCleanupAlone()
    {
        testWorkDir work;
        settingsStore access;
        fillStore(access.store());
        QVERIFY(work.writeFile("cleanup.ini", "[controller]\nupdate%20cleanup=/home/pi/valuable.txt\n"
                                              "language%20file=qlvZENTU_en.ts\n"));
        QCOMPARE(settingsTransfer::importFrom(work.filePath("cleanup.ini"), access.store()), settingsTransfer::OK);
        settingsStore fresh;
        QCOMPARE(fresh.text(settingKey::UpdateCleanup), QString());
        QCOMPARE(fresh.text(settingKey::LanguageFile), QString("qlvZENTU_en.ts"));
    }

    // What an import takes from a file: nothing from a file that is refused
    // (the store stays byte for byte as it was), and from one that is taken
    // only the keys directly inside the store's groups, never "update
    // cleanup", however a key is spelt. Every file is judged the same on
    // every look.
    void importTakesOnlyWhatItShould_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: no file at all
        QTest::addColumn<int>("status");
        QTest::addColumn<QVariantMap>("changes");  // keys the store takes, with the values read back

        const QVariantMap none;
        QTest::newRow("file does not exist") << QByteArray() << int(settingsTransfer::NOT_FOUND) << none;
        QTest::newRow("empty file") << QByteArray("") << int(settingsTransfer::NOT_SETTINGS) << none;
        QTest::newRow("a teach-in file")
            << QByteArray("Version 1.0\nSensor;abc;val1*2;\nTime;Pos;Ch1;Ch2;Data;Sens;Set;Type\n0;1000;1.0;2.0;3e-5;0;0;O\n")
            << int(settingsTransfer::NOT_SETTINGS) << none;
        QTest::newRow("binary bytes") << QByteArray("\x00\x01\xff\xfe=\x02\n\x03", 8)
                                      << int(settingsTransfer::NOT_SETTINGS) << none;
        QTest::newRow("keys without group") << QByteArray("language file=x.ts\nposition=5\n")
                                            << int(settingsTransfer::NO_GROUPS) << none;
        QTest::newRow("groups of another program only") << QByteArray("[Window]\nwidth=5\n")
                                                        << int(settingsTransfer::NO_GROUPS) << none;
        QTest::newRow("damaged section line") << QByteArray("[controller\nlanguage file=x.ts\n")
                                              << int(settingsTransfer::NOT_SETTINGS) << none;
        QTest::newRow("damaged after a good key") << QByteArray("[controller]\nx=1\n[broken")
                                                  << int(settingsTransfer::NOT_SETTINGS) << none;
        QTest::newRow("update cleanup spelt twice")
            << QByteArray("[controller]\nupdate%20cleanup=/some/file\n\\update%20cleanup=x\n")
            << int(settingsTransfer::NO_GROUPS) << none;
        QTest::newRow("update cleanup as a section, in capitals, beside a key")
            << QByteArray("[controller/update%20cleanup]\n=/some/file\n[controller]\nUpdate%20Cleanup=/x\n"
                          "%75pdate%20cleanup=/y\nupdate%20cleanup/=/z\nlanguage%20file=qlvZENTU_en.ts\n")
            << int(settingsTransfer::OK) << QVariantMap{{"controller/language file", "qlvZENTU_en.ts"}};
        QTest::newRow("key without a name in a group") << QByteArray("[remote]\n=1\n")
                                                       << int(settingsTransfer::NO_GROUPS) << none;
        QTest::newRow("key without a name beside a key")
            << QByteArray("[remote]\n=1\neth%20port=4242\n") << int(settingsTransfer::OK)
            << QVariantMap{{"remote/eth port", "4242"}};
        QTest::newRow("foreign group and top-level key beside ours")
            << QByteArray("[General]\nlanguage%20file=top.ts\n[Window]\nwidth=5\n[controller]\nlanguage%20file=a.ts\n")
            << int(settingsTransfer::OK) << QVariantMap{{"controller/language file", "a.ts"}};
        QTest::newRow("key below a key of ours") << QByteArray("[controller]\nlanguage%20file\\x=1\n")
                                                 << int(settingsTransfer::NO_GROUPS) << none;
        QTest::newRow("group and key spelt with extra slashes")
            << QByteArray("[/motor%20driver/]\n/position/=4711\n[controller]\n/language%20file=x.ts\n")
            << int(settingsTransfer::NO_GROUPS) << none;
    }
    void importTakesOnlyWhatItShould()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QVariantMap, changes);
        testWorkDir work;
        settingsStore access;
        fillStore(access.store());
        QMap<QString, QVariant> expected = contents(access.store());
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            expected[it.key()] = it.value();
        QFile storeFile(access.fileName());
        QVERIFY(storeFile.open(QIODevice::ReadOnly));
        const QByteArray storeBytes = storeFile.readAll();
        storeFile.close();
        const QString strFile = work.filePath("import.ini");
        if (QTest::currentDataTag() != QByteArray("file does not exist"))
            QVERIFY(work.writeFile("import.ini", content));

        // The same answer on the first look and on every later one.
        QCOMPARE(int(settingsTransfer::check(strFile)), status);
        QStringList imported;
        const settingsTransfer::status eStatus = settingsTransfer::importFrom(strFile, access.store(), &imported);
        QCOMPARE(int(eStatus), status);
        QCOMPARE(int(settingsTransfer::importFrom(strFile, access.store())), status);
        QCOMPARE(int(settingsTransfer::check(strFile)), status);

        QStringList changedKeys = changes.keys();
        imported.sort();
        changedKeys.sort();
        QCOMPARE(imported, changedKeys);
        settingsStore fresh;
        if (eStatus != settingsTransfer::OK) {
            QVERIFY(!settingsTransfer::message(eStatus).isEmpty());
            QVERIFY(storeFile.open(QIODevice::ReadOnly));
            QCOMPARE(storeFile.readAll(), storeBytes);
        }
        compareAsRead(fresh.store(), expected);
    }

    // Choosing an operator's file by mistake for an export never overwrites it.
    void exportRefusesAFileThatHoldsNoSettings_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("a teach-in file") << QByteArray("Version 1.0\n0;1000;1.0;2.0;3e-5;0;0;O\n");
        QTest::newRow("binary bytes") << QByteArray("\x00\x01\xff\xfe=\x02\n\x03", 8);
        QTest::newRow("an INI file of another program") << QByteArray("[Window]\nwidth=5\n");
    }
    void exportRefusesAFileThatHoldsNoSettings()
    {
        QFETCH(QByteArray, content);
        testWorkDir work;
        QVERIFY(work.writeFile("teachIn/curve.kfxteachin", content));
        settingsStore access;
        fillStore(access.store());
        QCOMPARE(settingsTransfer::exportTo(access.store(), work.filePath("teachIn/curve.kfxteachin")),
                 settingsTransfer::NOT_SETTINGS);
        QCOMPARE(work.readFile("teachIn/curve.kfxteachin"), content);
    }

    // A settings file whose key the library writes back in a form its own
    // reader refuses: the export would leave a file that imports no more.
    // It fails, and the target stays byte for byte, so it still imports.
    void exportThatWouldNotReadBackLeavesTheTarget()
    {
        testWorkDir work;
        const QByteArray content("[controller]\nx=1\ny/=2\n");
        QVERIFY(work.writeFile("teachIn/odd.ini", content));
        QCOMPARE(settingsTransfer::check(work.filePath("teachIn/odd.ini")), settingsTransfer::OK);
        settingsStore access;
        fillStore(access.store());
        QCOMPARE(settingsTransfer::exportTo(access.store(), work.filePath("teachIn/odd.ini")),
                 settingsTransfer::WRITE_FAILED);
        QCOMPARE(work.readFile("teachIn/odd.ini"), content);
        QCOMPARE(settingsTransfer::check(work.filePath("teachIn/odd.ini")), settingsTransfer::OK);
        // Nothing is left beside it.
        QCOMPARE(QDir(work.filePath("teachIn")).entryList(QDir::Files | QDir::Hidden), QStringList{"odd.ini"});
    }

    void exportIntoAnEmptyFileOrOntoAFolder()
    {
        testWorkDir work;
        settingsStore access;
        fillStore(access.store());
        QVERIFY(work.writeFile("empty.ini", ""));
        QCOMPARE(settingsTransfer::exportTo(access.store(), work.filePath("empty.ini")), settingsTransfer::OK);
        QCOMPARE(settingsTransfer::check(work.filePath("empty.ini")), settingsTransfer::OK);
        QCOMPARE(settingsTransfer::exportTo(access.store(), work.filePath("teachIn")), settingsTransfer::WRITE_FAILED);
    }
};

QTEST_MAIN(tst_settingsTransfer)
#include "tst_settingsTransfer.moc"
