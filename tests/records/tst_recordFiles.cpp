// The record files as the panel's share can leave them: sensor files renamed
// or copied so that a file's name and the name inside differ, names with a
// doubled byte-order mark or "..", script lines with numbers outside the
// command editor's ranges, and command numbers at the int limits. Each case
// starts from a few files, does one thing and looks at the result and at
// every file afterwards.
#include "testWorkDir.h"
#include "script/lvScript.h"
#include "script/scriptListRules.h"
#include "valve/sensorFolder.h"

#include <QDir>
#include <QTextCodec>
#include <QtTest>

namespace {

// "sensor/A.kfxsensor=<content>": a path below the working directory and the
// file's text, written as UTF-8 (a U+FEFF in the text is a byte-order mark).
using fileList = QStringList;

const QString strOther = QStringLiteral("O;od;ou;val1;exp;;");

// Every file below sensor/ and scripts/, as "path=content", sorted.
fileList filesOnDisk(const testWorkDir &dir)
{
    QTextCodec *pCodec = QTextCodec::codecForName("UTF-8");
    fileList files;
    for (const QString &strFolder : {QStringLiteral("scripts"), QStringLiteral("sensor")}) {
        for (const QString &strFile : QDir(dir.filePath(strFolder)).entryList(QDir::Files | QDir::Hidden)) {
            const QByteArray data = dir.readFile(strFolder + QLatin1Char('/') + strFile);
            // Decoded keeping a leading byte-order mark.
            QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
            files << strFolder + QLatin1Char('/') + strFile + QLatin1Char('=')
                         + pCodec->toUnicode(data.constData(), data.size(), &state);
        }
    }
    files.sort();
    return files;
}

QString describe(const QList<lvScriptCommand> &commands)
{
    QStringList parts;
    for (const lvScriptCommand &cmd : commands)
        parts << QStringLiteral("%1:%2 %3 %4").arg(cmd.nCmdNr).arg(cmd.getCmdName()).arg(cmd.nValue).arg(cmd.nRepeat);
    return parts.join(QStringLiteral(", "));
}

QString describe(const QList<lvSensor> &sensors)
{
    QStringList parts;
    for (const lvSensor &sensor : sensors)
        parts << sensor.strFileName + QLatin1Char(':') + sensor.strName;
    return parts.join(QStringLiteral(", "));
}

QString describe(sensorWriteResult eResult)
{
    switch (eResult) {
    case sensorWriteResult::WRITTEN:
        return QStringLiteral("written");
    case sensorWriteResult::TAKEN:
        return QStringLiteral("taken");
    case sensorWriteResult::FAILED:
        break;
    }
    return QStringLiteral("failed");
}

lvSensor listedSensor(const QString &strFile)
{
    for (const lvSensor &sensor : readSensorFolder())
        if (sensor.strFileName == strFile)
            return sensor;
    return lvSensor();
}

// One action on the working directory, described as text:
//   list                         the sensor folder as the Settings tab lists it
//   add <name>                   a new definition of that name
//   change <file> <name>         the definition read from <file>, given that
//                                name and the formula "val2"
//   delete <file>                the definition read from <file>
//   read <script>                the commands of a script file
//   move <script> <row> <step>   a script's commands after one move
QString perform(const QString &strAction)
{
    const QStringList words = strAction.split(QLatin1Char(' '));
    const QString &strVerb = words.at(0);
    if (strVerb == QLatin1String("list"))
        return describe(readSensorFolder());
    if (strVerb == QLatin1String("add")) {
        lvSensor sensor;
        sensor.strName = words.at(1);
        sensor.strFormula = QStringLiteral("val1");
        return describe(writeSensorDefinition(sensor, QString(), QString()));
    }
    if (strVerb == QLatin1String("change")) {
        const lvSensor original = listedSensor(words.at(1));
        lvSensor edited = original;
        edited.strName = words.at(2);
        edited.strFormula = QStringLiteral("val2");
        return describe(writeSensorDefinition(edited, original.strName, original.strFileName));
    }
    if (strVerb == QLatin1String("delete"))
        return removeSensorDefinition(listedSensor(words.at(1))) ? QStringLiteral("removed")
                                                                  : QStringLiteral("not removed");
    lvScript script;
    script.readScriptFromFile(words.at(1));
    if (strVerb == QLatin1String("move")) {
        QList<lvScriptCommand> commands = script.cmdList;
        if (!moveCommand(commands, words.at(2).toInt(), words.at(3).toInt()))
            return QStringLiteral("not moved");
        return describe(commands);
    }
    return describe(script.cmdList);
}

} // namespace

class tst_recordFiles : public QObject
{
    Q_OBJECT

private slots:
    void recordFileCases_data();
    void recordFileCases();
};

void tst_recordFiles::recordFileCases_data()
{
    QTest::addColumn<fileList>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("result");
    QTest::addColumn<fileList>("after"); // empty: the files are as before

    // A.kfxsensor holds "B" and B.kfxsensor holds "C": one renamed file.
    const QString strB = QStringLiteral("B;bd;bu;val1;exp;;");
    const QString strC = QStringLiteral("C;cd;cu;val1;no_exp;;");
    const fileList renamed{"sensor/A.kfxsensor=" + strB, "sensor/B.kfxsensor=" + strC};

    QTest::newRow("renamed: listed by inner name, each from its file")
        << renamed << "list" << "A:B, B:C" << fileList();
    QTest::newRow("renamed: delete removes the file it was read from")
        << renamed << "delete A" << "removed" << fileList{"sensor/B.kfxsensor=" + strC};
    QTest::newRow("renamed: add never writes over another definition")
        << renamed << "add A" << "taken" << fileList();
    QTest::newRow("renamed: a change rewrites its own file")
        << renamed << "change A B" << "written"
        << fileList{"sensor/A.kfxsensor=B;bd;bu;val2;exp;;", "sensor/B.kfxsensor=" + strC};
    QTest::newRow("renamed: a rename never writes over another definition")
        << renamed << "change B A" << "taken" << fileList();
    QTest::newRow("renamed: a rename moves it to the file of its new name")
        << renamed << "change A D" << "written"
        << fileList{"sensor/B.kfxsensor=" + strC, "sensor/D.kfxsensor=D;bd;bu;val2;exp;;"};
    QTest::newRow("renamed: a rename to its own file's name")
        << renamed << "change A A" << "written"
        << fileList{"sensor/A.kfxsensor=A;bd;bu;val2;exp;;", "sensor/B.kfxsensor=" + strC};

    const fileList copied{"sensor/B.kfxsensor=" + strB, "sensor/B2.kfxsensor=" + strB};
    QTest::newRow("copied: both listed") << copied << "list" << "B:B, B2:B" << fileList();
    QTest::newRow("copied: delete removes only the copy")
        << copied << "delete B2" << "removed" << fileList{"sensor/B.kfxsensor=" + strB};

    const QString strDoubleMark = QStringLiteral("\ufeff\ufeffn;;;;;;");
    QTest::newRow("doubled byte-order mark: not listed")
        << fileList{"sensor/x.kfxsensor=" + strDoubleMark, "sensor/O.kfxsensor=" + strOther} << "list" << "O:O"
        << fileList();
    QTest::newRow("doubled byte-order mark: its file is not written over")
        << fileList{"sensor/n.kfxsensor=" + strDoubleMark} << "add n" << "taken" << fileList();
    QTest::newRow("one byte-order mark: an encoding mark only")
        << fileList{QStringLiteral("sensor/y.kfxsensor=\ufeffn;;;;;;")} << "list" << "y:n" << fileList();
    QTest::newRow("mark in the file name: not listed")
        << fileList{QStringLiteral("sensor/\ufeffz.kfxsensor=z;;;;;;")} << "list" << "" << fileList();
    QTest::newRow("dots in the inner name: not listed")
        << fileList{"sensor/dots.kfxsensor=a..b;;;;;;", "sensor/O.kfxsensor=" + strOther} << "list" << "O:O"
        << fileList();
    QTest::newRow("new definition in a free file")
        << fileList{"sensor/O.kfxsensor=" + strOther} << "add P" << "written"
        << fileList{"sensor/O.kfxsensor=" + strOther, "sensor/P.kfxsensor=P;not defined;not defined;val1;exp;;"};

    QTest::newRow("script: negative repeat is a damaged line")
        << fileList{"scripts/s.kfxscript=0;MEAS;0;0;\n1;GOTOCMD;0;-1;\n2;WAIT;5;1;\n"} << "read s"
        << "0:MEAS 0 0, 2:WAIT 5 1" << fileList();
    QTest::newRow("script: repeat at the int minimum")
        << fileList{"scripts/s.kfxscript=0;GOTOCMD;0;-2147483647;\n1;SAVE;0;0;\n"} << "read s" << "1:SAVE 0 0"
        << fileList();
    QTest::newRow("script: repeats at and past the editor's range")
        << fileList{"scripts/s.kfxscript=0;GOTOCMD;0;999999;\n1;GOTOCMD;0;1000000;\n2;GOTOCMD;0;0;\n"} << "read s"
        << "0:GOTOCMD 0 999999, 2:GOTOCMD 0 0" << fileList();
    QTest::newRow("script: values at and past the editor's range")
        << fileList{"scripts/s.kfxscript=0;GOTOREL;-1000000;1;\n1;GOTOREL;-1000001;1;\n2;GOTOPOS;1000000;1;\n"
                    "3;GOTOPOS;1000001;1;\n"}
        << "read s" << "0:GOTOREL -1000000 1, 2:GOTOPOS 1000000 1" << fileList();
    QTest::newRow("script: a value beyond the int range is damaged, not 0")
        << fileList{"scripts/s.kfxscript=0;GOTOPOS;99999999999;1;\n1;WAIT;1;1;\n"} << "read s" << "1:WAIT 1 1"
        << fileList();
    QTest::newRow("script: a value without a number still reads as 0")
        << fileList{"scripts/s.kfxscript=0;GOTOREL;abc;;\n"} << "read s" << "0:GOTOREL 0 0" << fileList();
    QTest::newRow("script: name with dots is not read")
        << fileList{"scripts/a..b.kfxscript=0;WAIT;1;1;\n"} << "read a..b" << "" << fileList();

    const fileList limits{"scripts/m.kfxscript=2147483647;GOTOPOS;5;1;\n0;WAIT;7;1;\n-2147483648;SAVE;0;0;\n"};
    QTest::newRow("move down from the int maximum")
        << limits << "move m 0 1" << "2147483647:WAIT 7 1, 0:GOTOPOS 5 1, -2147483648:SAVE 0 0" << fileList();
    QTest::newRow("move up to the int minimum")
        << limits << "move m 2 -1" << "2147483647:GOTOPOS 5 1, 0:SAVE 0 0, -2147483648:WAIT 7 1" << fileList();
    QTest::newRow("move past the last row") << limits << "move m 2 1" << "not moved" << fileList();
}

void tst_recordFiles::recordFileCases()
{
    QFETCH(fileList, before);
    QFETCH(QString, action);
    QFETCH(QString, result);
    QFETCH(fileList, after);

    testWorkDir dir;
    QVERIFY(dir.isValid());
    for (const QString &strFile : before) {
        const int nSplit = strFile.indexOf(QLatin1Char('='));
        QVERIFY(dir.writeFile(strFile.left(nSplit), strFile.mid(nSplit + 1).toUtf8()));
    }
    fileList expected = after.isEmpty() ? before : after;
    expected.sort();
    QCOMPARE(perform(action), result);
    QCOMPARE(filesOnDisk(dir), expected);
}

QTEST_GUILESS_MAIN(tst_recordFiles)
#include "tst_recordFiles.moc"
