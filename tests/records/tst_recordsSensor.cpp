#include "testWorkDir.h"
#include "valve/engineStateScope.h"
#include "valve/lvExternalFeedback.h"
#include "valve/lvFormulaEvaluator.h"
#include "valve/lvSensor.h"
#include "valve/plainArithmetic.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJSEngine>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sched.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <cstring>
#include <limits>

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();

// Same double, NaN matching NaN and the sign of zero counting.
bool sameNumber(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

lvSensor exampleSensor()
{
    lvSensor sensor;
    sensor.strName = QStringLiteral("Pirani");
    sensor.strDataName = QStringLiteral("Leakrate");
    sensor.strUnit = QStringLiteral("mbar*l/sec");
    sensor.strFormula = QStringLiteral("Math.pow(10, val1*1.667-9.333)");
    sensor.bExponential = false;
    sensor.strInputMask = QStringLiteral("9.99E-99");
    return sensor;
}
} // namespace

class tst_recordsSensor : public QObject
{
    Q_OBJECT

private slots:
    void calcData_data();
    void calcData();
    void resultTextFollowsPresentation();
    void arithmeticMatchesScriptEngine_data();
    void arithmeticMatchesScriptEngine();
    void arithmeticLeavesOtherProgramsToEngine_data();
    void arithmeticLeavesOtherProgramsToEngine();
    void arithmeticSweepMatchesScriptEngine();
    void engineStateScope_data();
    void engineStateScope();
    void formulaSequenceRunsAsInFreshEngines();
    void batchGivesEachProgramItsOwnResult();
    void declaringFormulaGivesSameResultEveryTime();
    void endlessFormulaIsInterrupted();
    void starvedThreadKeepsItsValues();
    void threadsEvaluateIndependently();

    void fileRoundTripIsByteExact();
    void readEditedOrDamagedFiles_data();
    void readEditedOrDamagedFiles();
    void missingFileSetsOnlyTheFileName();
    void emptyNameTouchesNothing();
    void unsafeNamesAreRefused_data();
    void unsafeNamesAreRefused();
    void fieldWithSemicolonIsNotSavedOverPreviousFile();
    void savePathFollowsWorkingDirectoryAndNeverCreatesFolder();
    void deleteFileRemovesOnlyThatSensor();

    void externalFeedbackDefaultsAndCopies();
};

void tst_recordsSensor::calcData_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("val1");
    QTest::addColumn<double>("val2");
    QTest::addColumn<double>("expected");

    QTest::newRow("product") << "val1*val2" << 2.5 << 4.0 << 10.0;
    QTest::newRow("val10 is val1 then 0") << "val10" << 3.0 << 0.0 << 30.0;
    QTest::newRow("negative val2 doubles the minus") << "val1-val2" << 3.0 << -1.0 << NaN;
    QTest::newRow("parenthesised negative val2") << "val1-(val2)" << 3.0 << -1.0 << 4.0;
    QTest::newRow("six significant digits") << "val1" << 1.23456789 << 0.0 << 1.23457;
    QTest::newRow("exponent form enters rounded") << "val1" << 1234567.0 << 0.0 << 1234570.0;
    QTest::newRow("small exponent form") << "val1*val2" << 0.0000123456789 << 2.0 << 0.0000246914;
    QTest::newRow("constructor formula") << "not defined" << 1.0 << 2.0 << NaN;
    QTest::newRow("case sensitive names") << "Val1*2" << 1.0 << 2.0 << NaN;
    QTest::newRow("script function") << "Math.pow(10, val1-3)" << 1.0 << 0.0 << 0.01;
    QTest::newRow("conditional") << "val1 > val2 ? val1 : val2" << 1.0 << 2.0 << 2.0;
    QTest::newRow("text result") << "'abc'" << 1.0 << 2.0 << NaN;
    QTest::newRow("numeric text") << "'4' * val1" << 2.0 << 0.0 << 8.0;
    QTest::newRow("syntax error") << "val1 *" << 1.0 << 2.0 << NaN;
    QTest::newRow("thrown error object") << "throw new Error('x')" << 1.0 << 2.0 << NaN;
    QTest::newRow("thrown number is the completion value") << "throw 5" << 1.0 << 2.0 << 5.0;
    QTest::newRow("empty formula") << "" << 1.0 << 2.0 << NaN;
}

void tst_recordsSensor::calcData()
{
    QFETCH(QString, formula);
    QFETCH(double, val1);
    QFETCH(double, val2);
    QFETCH(double, expected);

    lvSensor sensor;
    sensor.strFormula = formula;
    sensor.calcData(val1, val2);
    if (std::isnan(expected))
        QVERIFY2(std::isnan(sensor.dblResult), qPrintable(QString::number(sensor.dblResult)));
    else
        QVERIFY2(qFuzzyCompare(sensor.dblResult, expected), qPrintable(QString::number(sensor.dblResult, 'g', 17)));
    QCOMPARE(sensor.evaluate(val1, val2), sensor.dblResult);
    // The formula itself is never changed by the substitution.
    QCOMPARE(sensor.strFormula, formula);
}

void tst_recordsSensor::resultTextFollowsPresentation()
{
    lvSensor sensor;
    sensor.strFormula = QStringLiteral("val1/val2");
    sensor.calcData(1.23, 10000.0);
    QCOMPARE(sensor.strResult, QStringLiteral("1.23E-04"));
    sensor.bExponential = false;
    sensor.calcData(1.23, 10000.0);
    QCOMPARE(sensor.strResult, QStringLiteral("0.00"));
    // The argument enters the formula with six significant digits.
    sensor.calcData(12345.678, 1.0);
    QCOMPARE(sensor.strResult, QStringLiteral("12345.70"));
    sensor.bExponential = true;
    sensor.calcData(-2.5, 1.0);
    QCOMPARE(sensor.strResult, QStringLiteral("-2.50E+00"));
}

// The direct arithmetic must give the script engine's number, bit for bit.
void tst_recordsSensor::arithmeticMatchesScriptEngine_data()
{
    QTest::addColumn<QString>("program");
    for (const char *program :
         {"1.5*2", "3 - -1", "-+1", "- -2", "2**-1", "2**3**2", "(-2)**2", "2*3+4*5", "1/3", "1/0", "-1/0", "0/0",
          "0*1", "0-0", "1e400", "7%3", "-7%3", "7.5%-2", "5%0", "1e+06*2", "1.23457e-05/3", ".5+5.", "1.e2", "1E3",
          "(((1+2)*3)-4)/5", "Math.pow(10, 1.5*1.667-9.333)", "Math.pow(1, 0/0)", "Math.pow(-1, 1/0)",
          "Math.pow(0/0, 0)", "Math.pow(2)", "Math.exp(-1/0)", "Math.exp(1)", "Math.log(-1)", "Math.log(0)", "1/Math.log(1)",
          "Math.log10(1000)", "Math.sqrt(2)", "Math.abs(-3.5)", "Math.floor(-0.5)", "Math.ceil(0.5)",
          "Math.min()", "Math.max()", "Math.max(-1, 0)",
          "Math.min(1, 0/0, 2)", "Math.max(3, 1, 2)", "Math.E*Math.PI", "Math.LN2+Math.LN10", "4.2;",
          " 1 +\t2 ", "123456789012345678901234567890", "0.1+0.2", "Math.abs()",
          // ** is not Math.pow: 1 ** NaN is 1, 1 ** Infinity NaN.
          "(4/4)**Math.sqrt(4-5)", "1**(0/0)", "Math.pow(1, Math.sqrt(-1))", "(0/0)**0", "Math.sqrt(-1)**0",
          "1**(1/0)", "(-1)**(-1/0)", "(-1)**(0/0)", "0.5**(1/0)", "(-8)**(1/3)", "0**-1", "2**1024", "2**-1075",
          "(1/0)**-1", "(-1/0)**3", "(-1/0)**2", "(-2)**0.5", "10**-5", "Math.exp(709.79)", "Math.exp(-745.2)",
          "Math.log(1/0)", "Math.sqrt(1/0)", "Math.floor(1e300)", "Math.ceil(0/0)", "Math.abs(-1/0)",
          "2147483647+1", "-2147483647-2", "65536*65536", "4294967296%7", "1e308*10", "5e-324/2", "17%(1/0)",
          "(1/0)%2", "Math.max(0/0)", "Math.min(1, 2, -1/0)", "Math.log10(0)", "Math.pow(2, 0.5)", "2**0.5",
          "1.7976931348623157e308", "2.2250738585072014e-308", "0.1000000000000000055511151231257827",
          "9007199254740993", "3.14159265358979323846264338327950288", "Math.round(2.5)", "Math.round(-2.5)",
          "Math.round(0.49999999999999994)", "Math.round(4503599627370497)", "Math.round(-4503599627370495.5)",
          "Math.round(0/0)", "Math.round(-1/0)", "Math.round()", "2.00391*Math.pow(10,Math.round(3.00098)-12)"})
        QTest::newRow(program) << QString::fromLatin1(program);
}

void tst_recordsSensor::arithmeticMatchesScriptEngine()
{
    QFETCH(QString, program);
    double dblDirect = 0.0;
    QVERIFY(evaluatePlainArithmetic(program, dblDirect));
    QJSEngine engine;
    const double dblEngine = engine.evaluate(program).toNumber();
    QVERIFY2(sameNumber(dblDirect, dblEngine),
             qPrintable(QStringLiteral("direct %1, engine %2").arg(dblDirect, 0, 'g', 17).arg(dblEngine, 0, 'g', 17)));
    QVERIFY(sameNumber(lvFormulaEvaluator::evaluate(program), dblEngine));
}

void tst_recordsSensor::arithmeticLeavesOtherProgramsToEngine_data()
{
    QTest::addColumn<QString>("program");
    for (const char *program :
         {"3--1", "3++1", "-2**2", "017", "08", "0x10", "1.5.3", "3in", "1..toString()", "x",
          "Math.foo", "Math. PI", "1 // comment", "1 /* c */", "1\n+2", "a = 1", "1 += 2", "2 **= 2", "(1",
          "1)", "", ";", "1;2", "1,2", "'1'", "1 ? 2 : 3", "1 < 2", "Mathx.PI", "1_000", "1e",
          // Negative zeros: the engine's integer arithmetic decides their sign.
          "-0", "0*-1", "-0+0", "0/-5", "-3%3", "Math.ceil(-0.5)", "Math.round(-0.4)", "Math.min(0, 1-1)*-1",
          // The engine's abs of an integer -2^31 is not 2^31.
          "Math.abs(-2147483647-1)", "Math.abs(-2147483648)",
          "((((((((((((((((((((((((((((((((((((((((1))))))))))))))))))))))))))))))))))))))))"})
        QTest::newRow(qPrintable(QString::fromLatin1(program).replace(QLatin1Char('\n'), QLatin1String("\\n"))))
            << QString::fromLatin1(program);
}

void tst_recordsSensor::arithmeticLeavesOtherProgramsToEngine()
{
    QFETCH(QString, program);
    double dblResult = 42.0;
    QVERIFY(!evaluatePlainArithmetic(program, dblResult));
    QCOMPARE(dblResult, 42.0);
    // Whatever path it takes, the result is the engine's.
    QJSEngine engine;
    QVERIFY(sameNumber(lvFormulaEvaluator::evaluate(program), engine.evaluate(program).toNumber()));
}

// Many generated programs of numbers at the edges (NaN, infinities, huge,
// tiny, integers at 32-bit limits) and every operator and function of the
// direct path: wherever it takes a program, its number is the engine's.
void tst_recordsSensor::arithmeticSweepMatchesScriptEngine()
{
    const QStringList operands{"0",   "1",         "2",         "3",          "0.5",         "4",
                               "10",  "1e308",     "1e-308",    "5e-324",     "2147483647",  "2147483648",
                               "4294967296", "1.23457e-05", "123457", "(0/0)", "(1/0)", "(-1/0)",
                               "(-1)", "(-2.5)", "(-2147483648)", "Math.PI", "Math.E", "Math.sqrt(-1)", "(1e6)",
                               "9.99999e+99", "0.1", "1.7976931348623157e308", "4.9e-324",
                               "0.1000000000000000055511151231257827", "9007199254740993", ".5e-3", "5.E2",
                               "Math.LN2", "Math.LN10", "1e400", "(-2147483647-1)", "(65536*32768)", "(0.5+0.5)",
                               "(3-1)", "(-3*7)", "(2147483647+1)"};
    const QStringList binary{"+", "-", "*", "/", "%", "**"};
    const QStringList unaryFunctions{"abs", "ceil", "exp", "floor", "log", "log10", "round", "sqrt"};
    const QStringList naryFunctions{"pow", "min", "max"};
    QRandomGenerator random(20261210);
    const auto pick = [&random](const QStringList &list) { return list.at(int(random.bounded(list.size()))); };
    std::function<QString(int)> term = [&](int nDepth) -> QString {
        const quint32 nKind = nDepth <= 0 ? 0 : random.bounded(7);
        switch (nKind) {
        case 0:
            return pick(operands);
        case 1:
            return QStringLiteral("(%1 %2 %3)").arg(term(nDepth - 1), pick(binary), term(nDepth - 1));
        case 2:
            return QStringLiteral("%1%2%3").arg(term(nDepth - 1), pick(binary), term(nDepth - 1));
        case 3:
            return QStringLiteral("-%1").arg(term(nDepth - 1));
        case 4:
            return QStringLiteral("Math.%1(%2)").arg(pick(unaryFunctions), term(nDepth - 1));
        case 5:
            return QStringLiteral("+%1").arg(term(nDepth - 1));
        default:
            return QStringLiteral("Math.%1(%2, %3)").arg(pick(naryFunctions), term(nDepth - 1), term(nDepth - 1));
        }
    };
    QStringList programs;
    for (int i = 0; i < 4000; ++i)
        programs << term(1 + int(random.bounded(4)));
    // One engine serves every program that cannot change it ("1--2" can).
    QJSEngine engine;
    const QVector<double> batch = lvFormulaEvaluator::evaluateAll(programs);
    int nDirect = 0;
    for (int i = 0; i < programs.size(); ++i) {
        const QString &program = programs.at(i);
        const double dblEngine = leavesNoEngineState(program) ? engine.evaluate(program).toNumber()
                                                              : QJSEngine().evaluate(program).toNumber();
        double dblDirect = 0.0;
        if (evaluatePlainArithmetic(program, dblDirect)) {
            ++nDirect;
            QVERIFY2(sameNumber(dblDirect, dblEngine), qPrintable(QStringLiteral("%1: direct %2, engine %3")
                                                                      .arg(program)
                                                                      .arg(dblDirect, 0, 'g', 17)
                                                                      .arg(dblEngine, 0, 'g', 17)));
        }
        QVERIFY2(sameNumber(batch.at(i), dblEngine), qPrintable(program));
    }
    // Most of them must really have taken the direct path (the rest have a
    // negative zero on the way, which is left to the engine).
    QVERIFY2(nDirect > programs.size() / 2, qPrintable(QString::number(nDirect)));
}

void tst_recordsSensor::engineStateScope_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("harmless");
    const auto row = [](const char *program, bool bHarmless) {
        QTest::newRow(program) << QString::fromLatin1(program) << bHarmless;
    };
    for (const char *program :
         {"1+2", "Math.round(1.5)*2", " Math . max ( 1 , 2 )", "1 < 2 ? 3 : 4", "1 === 1 && 2 !== 3", "1 >= 2 || !0",
          "NaN + Infinity", "undefined", "true ^ false | 1 & 3", "1 >>> 2 << 3 >> 1", "~1; 2", ".5e-3 - 1.E+2",
          "1\n+2", "2**3**2", "3 - -1", "- -1", "/1/ - 1", "Math.random()", "null"})
        row(program, true);
    for (const char *program :
         {"function g(x){return x} g(1)", "var a", "var Math = 1; Math", "function Math(){} 1", "let q = 1; q",
          "a = 1", "1 += 2", "x", "delete Math.sqrt", "Math.abs++", "--Math.PI", "Math.abs.call(0, 1)",
          "Math.constructor", "Math", "Math.foo", "Math['abs'](1)", "'1'", "`1`", "{}", "[1]", "1..toString()",
          "1.5.x", "(1).constructor", "0x10", "this", "Object.freeze(Math)", "eval('1')", "1 => 2", "2 **= 2",
          "3 >>>= 1", "\\u004dath.abs(1)", "M\\u0061th.abs(1)", "Math.\\u0061bs(1)", "1 /* x = 1 */",
          "1 // a = 2", "/[a]/", "Infinity\n=1"})
        row(program, false);
}

// Whatever the engine makes of a program judged harmless, it cannot change
// the engine; the judgement errs towards "may change".
void tst_recordsSensor::engineStateScope()
{
    QFETCH(QString, program);
    QFETCH(bool, harmless);
    QCOMPARE(leavesNoEngineState(program), harmless);
}

// A thread evaluates formula after formula; each must give what it gives in a
// fresh engine, whatever the formulas before it declared or changed.
void tst_recordsSensor::formulaSequenceRunsAsInFreshEngines()
{
    const QStringList formulas{
        "Math.round(val1*2.2)",
        "function g(x) { return x*100 } g(val1)",
        "g(val1)",
        "typeof g == 'function' ? 1 : 2",
        "var v = val1; v",
        "v",
        "this.w = 5; w",
        "w",
        "function Math() { return 1 } val1",
        "Math.round(val1*2.2)",
        "var Math = {round: function () { return -1 }}; Math.round(1)",
        "val1 > 1 ? Math.round(val1*2.2) : 0",
        "delete Math.round; 1",
        "Math.round(val1*2.2)",
        "Object.defineProperty(Math, 'max', {value: function () { return -7 }}); 0",
        "Math.max(val1, val2, 0.5) + Math.round(0.4)",
        "Math.abs++; 1",
        "Math.abs(-val1) + Math.round(0.4)",
        "Number.prototype.valueOf = function () { return 9 }; 1",
        "Number(val1) + Math.round(0.4)",
        "const k = 3; val1*k",
        "const k = 4; val1*k",
        "Math.round(val1*2.2)"};
    const double val1 = 2.0;
    const double val2 = 3.0;
    QStringList programs;
    QVector<double> fresh;
    for (const QString &formula : formulas) {
        programs << substituteSensorFormula(formula, val1, val2);
        QJSEngine engine;
        fresh << engine.evaluate(programs.last()).toNumber();
    }
    // Twice through, so the second pass runs after everything the first left.
    lvSensor sensor;
    for (int nPass = 0; nPass < 2; ++nPass) {
        for (int i = 0; i < formulas.size(); ++i) {
            sensor.strFormula = formulas.at(i);
            sensor.calcData(val1, val2);
            QVERIFY2(sameNumber(sensor.dblResult, fresh.at(i)),
                     qPrintable(QStringLiteral("%1: %2, fresh engine %3").arg(formulas.at(i)).arg(sensor.dblResult).arg(fresh.at(i))));
        }
    }
    // The same when a teach-in file evaluates them in one batch.
    const QVector<double> batch = lvFormulaEvaluator::evaluateAll(programs + programs);
    for (int i = 0; i < batch.size(); ++i)
        QVERIFY2(sameNumber(batch.at(i), fresh.at(i % fresh.size())), qPrintable(programs.at(i % programs.size())));
    QCOMPARE(fresh.at(0), 4.0);
    QVERIFY(std::isnan(fresh.at(2)));
    QCOMPARE(fresh.at(15), 3.0);
}

// A teach-in file is evaluated as one batch: every result must be the one a
// single evaluation gives, whatever its neighbours do.
void tst_recordsSensor::batchGivesEachProgramItsOwnResult()
{
    const QStringList programs{"1.5 > 1 ? 2 : 3",
                               "throw 5",
                               "throw new Error('x')",
                               "1 +",
                               "'abc'",
                               "'4' * 2",
                               "while(true){}",
                               "Math.pow(10, 1.5*1.667-9.333)",
                               "let q = 2; q*3",
                               "let q = 2; q*4",
                               "var v = 7; v",
                               "function f(a) { return a*3 } f(2)",
                               "f",
                               "x = 3; x",
                               "undefinedName * 2",
                               "[1, 2].length",
                               "({ valueOf: function () { throw 1; } })",
                               "({ valueOf: function () { return 4; } })",
                               "({ valueOf: function () { while (true) {} } })",
                               "(function r() { return r(); })()",
                               "0*-1",
                               "3--1",
                               "Number = function () { return 9; }; 1",
                               "2 > 1"};
    QElapsedTimer timer;
    timer.start();
    const QVector<double> batch = lvFormulaEvaluator::evaluateAll(programs);
    QVERIFY(timer.elapsed() < 30000); // the endless one is cut off
    QCOMPARE(batch.size(), programs.size());
    for (int i = 0; i < programs.size(); ++i) {
        const double single = lvFormulaEvaluator::evaluate(programs.at(i));
        QVERIFY2(sameNumber(batch.at(i), single),
                 qPrintable(QStringLiteral("%1: batch %2, single %3").arg(programs.at(i)).arg(batch.at(i)).arg(single)));
    }
    QCOMPARE(batch.at(0), 2.0);
    QCOMPARE(batch.at(1), 5.0);
    QVERIFY(std::isnan(batch.at(6)));
    QCOMPARE(batch.at(9), 8.0);
    QCOMPARE(batch.last(), 1.0);
    QVERIFY(lvFormulaEvaluator::evaluateAll(QStringList()).isEmpty());
}

// One engine serves many evaluations; a formula that declares a name must
// still evaluate the same way every time.
void tst_recordsSensor::declaringFormulaGivesSameResultEveryTime()
{
    lvSensor sensor;
    for (const char *formula : {"const k = 3; val1*k", "let k = 3; val1*k", "var k = 3; val1*k", "k = 3; val1*k",
                                "class A {}; val1*3", "function f(a) { return a*3 } f(val1)"}) {
        sensor.strFormula = QString::fromLatin1(formula);
        for (int i = 0; i < 3; ++i) {
            sensor.calcData(2.0, 0.0);
            QVERIFY2(sensor.dblResult == 6.0, formula);
        }
    }
}

void tst_recordsSensor::endlessFormulaIsInterrupted()
{
    lvSensor sensor;
    sensor.strFormula = QStringLiteral("while(true){}");
    QElapsedTimer timer;
    timer.start();
    sensor.calcData(1.0, 2.0);
    QVERIFY(std::isnan(sensor.dblResult));
    // Bounded, with plenty of room for a loaded machine.
    QVERIFY(timer.elapsed() < 20000);

    // The thread's engine works normally afterwards.
    sensor.strFormula = QStringLiteral("val1 > 0 ? val1*val2 : 0");
    sensor.calcData(3.0, 2.0);
    QCOMPARE(sensor.dblResult, 6.0);
    sensor.strFormula = QStringLiteral("for(;;){} ; const z = 1");
    sensor.calcData(1.0, 2.0);
    QVERIFY(std::isnan(sensor.dblResult));
}

// The limit on a formula is the processor time it uses: a short formula on a
// thread that waits long for the processor (a busy panel) keeps its value.
void tst_recordsSensor::starvedThreadKeepsItsValues()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    QVERIFY(sched_getaffinity(0, sizeof(allowed), &allowed) == 0);
    int nCpu = 0;
    while (nCpu < CPU_SETSIZE && !CPU_ISSET(nCpu, &allowed))
        ++nCpu;
    QVERIFY(nCpu < CPU_SETSIZE);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(nCpu, &one);

    // Busy threads on the same processor as the evaluation.
    std::atomic<bool> bStop{false};
    QList<QThread *> spinners;
    for (int i = 0; i < 32; ++i) {
        spinners << QThread::create([&] {
            sched_setaffinity(0, sizeof(one), &one);
            while (!bStop.load(std::memory_order_relaxed)) {
            }
        });
        spinners.last()->start();
    }
    lvFormulaEvaluator::setTimeLimitMs(20);
    int nWrong = 0;
    QThread *pEvaluator = QThread::create([&] {
        sched_setaffinity(0, sizeof(one), &one);
        lvSensor sensor;
        sensor.strFormula = QStringLiteral("val1*Math.pow(10, Math.round(val2) - 3)");
        for (int i = 0; i < 100; ++i) {
            sensor.calcData(i, 3.0);
            if (sensor.dblResult != double(i))
                ++nWrong;
        }
    });
    pEvaluator->start();
    const bool bDone = pEvaluator->wait(120000);
    bStop = true;
    for (QThread *pThread : qAsConst(spinners)) {
        pThread->wait();
        delete pThread;
    }
    lvFormulaEvaluator::setTimeLimitMs(lvFormulaEvaluator::defaultTimeLimitMs);
    QVERIFY(bDone);
    delete pEvaluator;
    QCOMPARE(nWrong, 0);
}

void tst_recordsSensor::threadsEvaluateIndependently()
{
    // An endless formula in one thread must not disturb the others.
    QAtomicInt nWrong(0);
    QList<QThread *> threads;
    for (int t = 0; t < 3; ++t) {
        threads << QThread::create([t, &nWrong] {
            lvSensor sensor;
            for (int i = 0; i < 200; ++i) {
                sensor.strFormula = (i % 50 == 0 && t == 0) ? QStringLiteral("while(true){}")
                                                           : QStringLiteral("val1 > 0 ? val1*val2 : -1");
                sensor.calcData(i + 1, t);
                const double expected = (i % 50 == 0 && t == 0) ? NaN : double(i + 1) * t;
                if (!sameNumber(sensor.dblResult, expected))
                    nWrong.ref();
            }
        });
        threads.last()->start();
    }
    for (QThread *pThread : threads) {
        QVERIFY(pThread->wait(60000));
        delete pThread;
    }
    QCOMPARE(nWrong.loadRelaxed(), 0);
}

void tst_recordsSensor::fileRoundTripIsByteExact()
{
    testWorkDir dir;
    QVERIFY(dir.isValid());
    lvSensor sensor = exampleSensor();
    sensor.strDataName = QStringLiteral("Druck µ");
    QVERIFY(sensor.saveSensorToFile(sensor.strName));
    QCOMPARE(dir.readFile(QStringLiteral("sensor/Pirani.kfxsensor")),
             QByteArray("Pirani;Druck \xc2\xb5;mbar*l/sec;Math.pow(10, val1*1.667-9.333);no_exp;9.99E-99;"));
    QCOMPARE(sensor.strFileName, QString()); // saving does not change the object

    lvSensor read;
    read.strResult = QStringLiteral("keep");
    read.dblResult = 7.5;
    QVERIFY(read.readSensorFromFile(QStringLiteral("Pirani")));
    QCOMPARE(read.strFileName, QStringLiteral("Pirani"));
    QCOMPARE(read.strName, sensor.strName);
    QCOMPARE(read.strDataName, sensor.strDataName);
    QCOMPARE(read.strUnit, sensor.strUnit);
    QCOMPARE(read.strFormula, sensor.strFormula);
    QCOMPARE(read.bExponential, false);
    QCOMPARE(read.strInputMask, sensor.strInputMask);
    QCOMPARE(read.strResult, QStringLiteral("keep"));
    QCOMPARE(read.dblResult, 7.5);

    // Saved again, the file is the same byte for byte.
    const QByteArray first = dir.readFile(QStringLiteral("sensor/Pirani.kfxsensor"));
    read.bExponential = true;
    QVERIFY(read.saveSensorToFile(QStringLiteral("Pirani")));
    QByteArray expected = first;
    expected.replace("no_exp", "exp");
    QCOMPARE(dir.readFile(QStringLiteral("sensor/Pirani.kfxsensor")), expected);
}

void tst_recordsSensor::readEditedOrDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected"); // name, data name, unit, formula, input mask
    QTest::addColumn<bool>("exponential");

    const QStringList untouched{"not defined", "not defined", "not defined", "not defined", ""};
    QTest::newRow("complete") << QByteArray("S;D;U;val1;exp;M;") << QStringList{"S", "D", "U", "val1", "M"}
                              << true;
    QTest::newRow("line end after last field") << QByteArray("S;D;U;val1;exp;M;\n")
                                               << QStringList{"S", "D", "U", "val1", "M"} << true;
    QTest::newRow("EXP in capitals") << QByteArray("S;D;U;val1;EXP;M;") << QStringList{"S", "D", "U", "val1", "M"}
                                     << false;
    QTest::newRow("blank before exp") << QByteArray("S;D;U;val1; exp;M;")
                                      << QStringList{"S", "D", "U", "val1", "M"} << false;
    QTest::newRow("blank after exp") << QByteArray("S;D;U;val1;exp ;M;")
                                     << QStringList{"S", "D", "U", "val1", "M"} << false;
    QTest::newRow("semicolon in a field shifts") << QByteArray("S;D;U;a=1;val1;exp;M;")
                                                 << QStringList{"S", "D", "U", "a=1", "exp"} << false;
    QTest::newRow("utf-8") << QByteArray("Sens\xc3\xb6r;D;\xc2\xb5V;val1;exp;;")
                           << QStringList{QString::fromUtf8("Sens\xc3\xb6r"), "D", QString::fromUtf8("\xc2\xb5V"),
                                          "val1", ""}
                           << true;
    QTest::newRow("empty file") << QByteArray() << untouched << true;
    QTest::newRow("short file") << QByteArray("S;D;") << QStringList{"S", "D", "", "not defined", ""} << true;
    QTest::newRow("no separators") << QByteArray("just text") << QStringList{"just text", "not defined",
                                                                           "not defined", "not defined", ""}
                                   << true;
    QTest::newRow("garbage bytes") << QByteArray("\xff\xfe\x00\x01;\x80", 6)
                                   << QStringList{QString::fromUtf8("\xff\xfe\x00\x01", 4),
                                                  QString::fromUtf8("\x80"), "not defined", "not defined", ""}
                                   << true;
}

void tst_recordsSensor::readEditedOrDamagedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QFETCH(bool, exponential);

    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("sensor/edited.kfxsensor"), content));
    lvSensor sensor;
    sensor.readSensorFromFile(QStringLiteral("edited"));
    QCOMPARE(sensor.strFileName, QStringLiteral("edited"));
    QCOMPARE(QStringList({sensor.strName, sensor.strDataName, sensor.strUnit, sensor.strFormula,
                          sensor.strInputMask}),
             expected);
    QCOMPARE(sensor.bExponential, exponential);
}

void tst_recordsSensor::missingFileSetsOnlyTheFileName()
{
    testWorkDir dir;
    lvSensor sensor = exampleSensor();
    QVERIFY(!sensor.readSensorFromFile(QStringLiteral("absent")));
    QCOMPARE(sensor.strFileName, QStringLiteral("absent"));
    QCOMPARE(sensor.strName, QStringLiteral("Pirani"));
    QCOMPARE(sensor.strFormula, exampleSensor().strFormula);
}

void tst_recordsSensor::emptyNameTouchesNothing()
{
    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("sensor/.kfxsensor"), "A;B;C;D;exp;E;"));
    lvSensor sensor = exampleSensor();
    sensor.strFileName = QStringLiteral("before");
    QVERIFY(!sensor.readSensorFromFile(QString()));
    QVERIFY(!sensor.saveSensorToFile(QString()));
    QVERIFY(!sensor.deleteFile(QString()));
    QCOMPARE(sensor.strFileName, QStringLiteral("before"));
    QCOMPARE(sensor.strName, QStringLiteral("Pirani"));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("sensor"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{".kfxsensor"});
    QCOMPARE(dir.readFile(QStringLiteral("sensor/.kfxsensor")), QByteArray("A;B;C;D;exp;E;"));
}

void tst_recordsSensor::unsafeNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << "../outside";
    QTest::newRow("slash") << "a/b";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("leading dot") << ".hidden";
    QTest::newRow("semicolon") << "a;b";
    QTest::newRow("line end") << "a\nb";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("nul") << QString(QChar(0)) + "x";
    QTest::newRow("dots inside") << "a..b";
    QTest::newRow("byte-order mark") << QStringLiteral("\ufeffn");
    QTest::newRow("zero-width space") << QStringLiteral("a\u200bb");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b");
    QTest::newRow("lone surrogate") << QString(QChar(0xd800)) + "x";
}

void tst_recordsSensor::unsafeNamesAreRefused()
{
    QFETCH(QString, name);
    testWorkDir dir;
    QVERIFY(!lvSensor::isValidName(name));
    lvSensor sensor = exampleSensor();
    sensor.strName = name;
    QVERIFY(!sensor.saveSensorToFile(name));
    QVERIFY(!sensor.readSensorFromFile(name));
    QCOMPARE(sensor.strFileName, QString());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("outside.kfxsensor"))));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("sensor"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    // A name with a dot, a blank or a non-ASCII letter inside is fine.
    QVERIFY(lvSensor::isValidName(QStringLiteral("Pirani 2.0 \u00b5")));
}

void tst_recordsSensor::fieldWithSemicolonIsNotSavedOverPreviousFile()
{
    testWorkDir dir;
    lvSensor sensor = exampleSensor();
    QVERIFY(sensor.saveSensorToFile(sensor.strName));
    const QByteArray before = dir.readFile(QStringLiteral("sensor/Pirani.kfxsensor"));
    sensor.strFormula = QStringLiteral("var a = val1; a*2");
    QVERIFY(!sensor.isStorable());
    QVERIFY(!sensor.saveSensorToFile(sensor.strName));
    QCOMPARE(dir.readFile(QStringLiteral("sensor/Pirani.kfxsensor")), before);
}

void tst_recordsSensor::savePathFollowsWorkingDirectoryAndNeverCreatesFolder()
{
    testWorkDir dir;
    lvSensor sensor = exampleSensor();
    QVERIFY(sensor.saveSensorToFile(QStringLiteral("first")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("sensor/first.kfxsensor"))));

    QTemporaryDir other;
    QVERIFY(QDir::setCurrent(other.path()));
    QVERIFY(!sensor.saveSensorToFile(QStringLiteral("second")));
    QVERIFY(!QFileInfo::exists(other.filePath(QStringLiteral("sensor"))));
    QVERIFY(QDir(other.path()).mkdir(QStringLiteral("sensor")));
    QVERIFY(sensor.saveSensorToFile(QStringLiteral("second")));
    QVERIFY(QFile::exists(other.filePath(QStringLiteral("sensor/second.kfxsensor"))));
    QCOMPARE(lvSensor::sensorFilePath(QStringLiteral("x")),
             QDir(other.path()).absolutePath() + QStringLiteral("/sensor/x.kfxsensor"));
    // Nothing but the file itself is left in the folder (no temporary files).
    QCOMPARE(QDir(other.filePath(QStringLiteral("sensor"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{"second.kfxsensor"});
    QVERIFY(QDir::setCurrent(dir.path()));
}

void tst_recordsSensor::deleteFileRemovesOnlyThatSensor()
{
    testWorkDir dir;
    lvSensor sensor = exampleSensor();
    QVERIFY(sensor.saveSensorToFile(QStringLiteral("one")));
    QVERIFY(sensor.saveSensorToFile(QStringLiteral("two")));
    QVERIFY(sensor.deleteFile(QStringLiteral("one")));
    QVERIFY(!sensor.deleteFile(QStringLiteral("one")));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("sensor"))).entryList(QDir::Files), QStringList{"two.kfxsensor"});
    QCOMPARE(sensor.strName, QStringLiteral("Pirani"));
}

void tst_recordsSensor::externalFeedbackDefaultsAndCopies()
{
    lvExternalFeedback feedback;
    QCOMPARE(feedback.dblPropValue, 1000.0);
    QCOMPARE(feedback.dblRelativeDifference, 0.1);
    QCOMPARE(feedback.dblDiffValue, 200.0);
    QCOMPARE(feedback.dblIntValue, 100.0);
    QCOMPARE(feedback.nNumOfIntVal, 10);
    QCOMPARE(feedback.dblCorrectSensitivity, 1000000.0);
    QCOMPARE(feedback.strFeedbackName, QStringLiteral("Leakrate"));
    QCOMPARE(feedback.strFeedbackUnit, QStringLiteral("mbar*l/sec"));
    QCOMPARE(feedback.sensor.strName, QStringLiteral("not defined"));
    QCOMPARE(feedback.sensor.bExponential, true);
    QVERIFY(std::isnan(feedback.calcFeedback(1.0, 2.0)));

    feedback.sensor.strFormula = QStringLiteral("val1+val2");
    QCOMPARE(feedback.calcFeedback(1.5, 2.0), 3.5);
    QCOMPARE(feedback.sensor.strResult, QStringLiteral("3.50E+00"));

    const lvExternalFeedback copy = feedback;
    feedback.sensor.strFormula = QStringLiteral("val1");
    QCOMPARE(copy.sensor.strFormula, QStringLiteral("val1+val2"));
    QCOMPARE(copy.sensor.dblResult, 3.5);
}

QTEST_GUILESS_MAIN(tst_recordsSensor)
#include "tst_recordsSensor.moc"
