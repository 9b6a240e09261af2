// How the settings page reads its touch fields and chooses what to show.
#include "valve/settingsFieldRules.h"

#include <QtTest>

class tst_settingsFieldRules : public QObject
{
    Q_OBJECT

private slots:
    void finiteNumbers_data();
    void finiteNumbers();
    void wholeNumbers_data();
    void wholeNumbers();
    void roleInputs_data();
    void roleInputs();
    void roleMoves_data();
    void roleMoves();
    void sensorNames_data();
    void sensorNames();
};

void tst_settingsFieldRules::finiteNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::newRow("millivolts") << "9500" << true << 9500.0;
    QTest::newRow("decimals") << "-0.25" << true << -0.25;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    // Not a number at all: 0, as the page has always taken it.
    QTest::newRow("empty") << "" << true << 0.0;
    QTest::newRow("word") << "abc" << true << 0.0;
    QTest::newRow("comma") << "1,5" << true << 0.0;
    // Values without meaning for a division or a range.
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("-inf") << "-inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("NaN") << "NaN" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
    QTest::newRow("negative overflow") << " -1e400 " << false << 0.0;
    QTest::newRow("underflow is zero") << "1e-400" << true << 0.0;
}

void tst_settingsFieldRules::finiteNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const fieldNumber number = finiteFieldNumber(text);
    QCOMPARE(number.bAccepted, accepted);
    QCOMPARE(number.dblValue, value);
}

void tst_settingsFieldRules::wholeNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("longPressOk");   // also a long-press time (above 0)
    QTest::newRow("ms") << "1500" << true << 1500 << true;
    QTest::newRow("one") << "1" << true << 1 << true;
    QTest::newRow("zero") << "0" << true << 0 << false;
    QTest::newRow("negative") << "-500" << true << -500 << false;
    QTest::newRow("word") << "abc" << false << 0 << false;
    QTest::newRow("empty") << "" << false << 0 << false;
    QTest::newRow("decimal") << "2.5" << false << 0 << false;
    QTest::newRow("hex is not decimal") << "0x10" << false << 0 << false;
    QTest::newRow("too large") << "99999999999" << false << 0 << false;
}

void tst_settingsFieldRules::wholeNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    QFETCH(bool, longPressOk);
    const fieldWholeNumber number = wholeFieldNumber(text);
    QCOMPARE(number.bOk, ok);
    QCOMPARE(number.nValue, value);
    const fieldWholeNumber time = longPressTimeField(text);
    QCOMPARE(time.bOk, longPressOk);
    QCOMPARE(time.nValue, longPressOk ? value : 0);
}

void tst_settingsFieldRules::roleInputs_data()
{
    QTest::addColumn<int>("type1");
    QTest::addColumn<int>("type2");
    QTest::addColumn<int>("type3");
    QTest::addColumn<int>("feedback1");
    QTest::addColumn<int>("feedback2");
    QTest::newRow("usual") << 0 << 1 << 2 << 1 << 2;
    QTest::newRow("input 3 first, input 2 second") << 0 << 2 << 1 << 2 << 1;
    QTest::newRow("later input decides") << 1 << 0 << 1 << 2 << -1;
    QTest::newRow("no feedback") << 0 << 0 << 0 << -1 << -1;
    QTest::newRow("unknown types") << 7 << -1 << 2 << -1 << 2;
}

void tst_settingsFieldRules::roleInputs()
{
    QFETCH(int, type1);
    QFETCH(int, type2);
    QFETCH(int, type3);
    const int types[3] = {type1, type2, type3};
    const feedbackRoles roles = feedbackRolesFromTypes(types);
    QTEST(roles.nFeedback1, "feedback1");
    QTEST(roles.nFeedback2, "feedback2");
}

void tst_settingsFieldRules::roleMoves_data()
{
    QTest::addColumn<QString>("stored");    // types of inputs 1..3
    QTest::addColumn<int>("feedback1");     // inputs chosen, 0..2
    QTest::addColumn<int>("feedback2");
    QTest::addColumn<QString>("types");     // types afterwards
    QTest::newRow("nothing moved") << "0,1,2" << 1 << 2 << "0,1,2";
    QTest::newRow("feedback 1 to a higher input") << "1,2,0" << 2 << 1 << "0,2,1";
    QTest::newRow("feedback 1 back to a lower input") << "0,2,1" << 0 << 1 << "1,2,0";
    QTest::newRow("feedback 2 moved") << "1,2,0" << 0 << 2 << "1,0,2";
    QTest::newRow("roles swapped") << "1,2,0" << 1 << 0 << "2,1,0";
    QTest::newRow("a role held twice is left on one") << "1,2,1" << 0 << 1 << "1,2,0";
    QTest::newRow("both on one input: feedback 2 wins") << "1,2,0" << 1 << 1 << "0,2,0";
    QTest::newRow("remote input taken over") << "0,1,2" << 0 << 2 << "1,0,2";
}

void tst_settingsFieldRules::roleMoves()
{
    QFETCH(QString, stored);
    QFETCH(int, feedback1);
    QFETCH(int, feedback2);
    QFETCH(QString, types);
    const QStringList storedList = stored.split(',');
    const int anStored[3] = {storedList.at(0).toInt(), storedList.at(1).toInt(), storedList.at(2).toInt()};
    const inputTypes after = typesAfterRoleChoice(anStored, feedback1, feedback2);
    QCOMPARE(QStringLiteral("%1,%2,%3").arg(after.anType[0]).arg(after.anType[1]).arg(after.anType[2]), types);
}

void tst_settingsFieldRules::sensorNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("own");
    QTest::addColumn<int>("problem");
    const int ok = int(sensorNameProblem::NONE);
    const int bad = int(sensorNameProblem::INVALID);
    const int exists = int(sensorNameProblem::EXISTS);
    QTest::newRow("new") << "Capacitive" << QString() << ok;
    QTest::newRow("listed") << "Pirani" << QString() << exists;
    QTest::newRow("case differs") << "pirani" << QString() << ok;
    QTest::newRow("own name kept") << "Pirani" << "Pirani" << ok;
    QTest::newRow("renamed onto another") << "Penning" << "Pirani" << exists;
    QTest::newRow("empty") << "" << QString() << bad;
    QTest::newRow("slash") << "a/b" << QString() << bad;
    QTest::newRow("backslash") << "a\\b" << QString() << bad;
    QTest::newRow("dot dot") << ".." << QString() << bad;
    QTest::newRow("leading dot") << ".hidden" << QString() << bad;
    QTest::newRow("semicolon") << "a;b" << QString() << bad;
    QTest::newRow("control character") << QStringLiteral("a\tb") << QString() << bad;
    QTest::newRow("newline") << QStringLiteral("a\nb") << QString() << bad;
    QTest::newRow("inner dots") << "a.b.c" << QString() << ok;
}

void tst_settingsFieldRules::sensorNames()
{
    QFETCH(QString, name);
    QFETCH(QString, own);
    QFETCH(int, problem);
    const QStringList listed{QStringLiteral("Pirani"), QStringLiteral("Penning")};
    QCOMPARE(int(checkSensorName(name, listed, own)), problem);
}

QTEST_GUILESS_MAIN(tst_settingsFieldRules)
#include "tst_settingsFieldRules.moc"
