#include "demoWorld.h"

#include "gaugePlant.h"

#include "app/logLineFormat.h"
#include "script/scriptFileCodec.h"
#include "valve/analogFrame.h"
#include "valve/sensorFileCodec.h"
#include "valve/teachInFileCodec.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <algorithm>
#include <random>

namespace demoWorld {

namespace {

constexpr int nPointsPerCurve = 101;
constexpr double dblNoiseSigma = 0.005;

// A file written only if there is none yet: the exclusive create cannot
// replace an operator's file that appeared meanwhile.
bool writeNewFile(const QString &strPath, const QByteArray &content, layoutResult &result)
{
    QFile file(strPath);
    if (file.exists()) {
        result.kept << strPath;
        return true;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        result.bOk = false;
        result.strError = QStringLiteral("cannot create %1: %2").arg(strPath, file.errorString());
        return false;
    }
    if (file.write(content) != content.size() || !file.flush()) {
        result.bOk = false;
        result.strError = QStringLiteral("cannot write %1: %2").arg(strPath, file.errorString());
        file.close();
        file.remove();
        return false;
    }
    file.close();
    result.laidOut << strPath;
    return true;
}

} // namespace

lvSensor sensor()
{
    lvSensor s;
    s.strName = QStringLiteral("DemoLeakDetector");
    s.strDataName = QStringLiteral("Leakrate");
    s.strUnit = QStringLiteral("mbar*l/sec");
    s.strFormula = gaugePlant::sensorFormula();
    s.bExponential = true;
    s.strInputMask = QString();
    return s;
}

QString teachInName()
{
    return QStringLiteral("DemoLeakValve");
}

QVector<lvTeachInData> teachInPoints()
{
    std::mt19937 random(12122026u);
    std::normal_distribution<double> noise(0.0, dblNoiseSigma);
    const lvSensor gauge = sensor();
    const auto throughCard = [](double dblVolts) { return analogCountToVolts(gaugePlant::voltsToCount(dblVolts)); };

    QVector<lvTeachInData> points;
    for (int i = 0; i < 2 * nPointsPerCurve; ++i) {
        const bool bOpening = i < nPointsPerCurve;
        const int nPercent = bOpening ? i : 2 * nPointsPerCurve - 1 - i;
        const double dblOpening = nPercent / 100.0;
        const double dblNoise = std::clamp(noise(random), -3.0 * dblNoiseSigma, 3.0 * dblNoiseSigma);
        const gaugePlant::feedbackVolts volts =
            gaugePlant::feedbackForLeakRate(gaugePlant::leakRate(dblOpening) * (1.0 + dblNoise));
        lvTeachInData point;
        point.dblTime = i;
        point.nSteps = nPercent * 10000;
        point.dblCh1 = throughCard(volts.dblMantissa);
        point.dblCh2 = throughCard(volts.dblExponent);
        point.dblData = gauge.evaluate(point.dblCh1, point.dblCh2);
        point.nCurveType = bOpening ? CURVE_OPEN : CURVE_CLOSE;
        points << point;
    }
    return points;
}

QString scriptName()
{
    return QStringLiteral("DemoTeachIn");
}

QList<lvScriptCommand> teachInScript()
{
    constexpr int nStepPpm = 100000;
    // The closed end is the controller's step 1, so a tenth of the travel
    // ten times from there would end one step beyond full travel, a move the
    // drive refuses: the script stops at nine tenths.
    constexpr int nStepsEachWay = 9;
    constexpr int nSettleMs = 2000;
    constexpr int nAtRestMs = 1500;
    struct line
    {
        const char *szKeyword;
        int nValue;
        int nRepeat;
    };
    // A GOTOCMD names a list index and jumps back its repeat count: the
    // command it names and those after it run once more each time.
    const line lines[] = {
        {"GOTOPOS", 0, 1},
        {"WAIT", nSettleMs, 1},
        {"MEASOPEN", 1, 1},   // measuring on, a new record, recording the opening curve
        {"GOTOREL", nStepPpm, 1},
        {"WAIT", nAtRestMs, 1},
        {"GOTOCMD", 3, nStepsEachWay - 1},
        {"MEASCLOSE", 2, 1},  // the same record goes on with the closing curve
        {"GOTOREL", -nStepPpm, 1},
        {"WAIT", nAtRestMs, 1},
        {"GOTOCMD", 7, nStepsEachWay - 1},
        {"MEAS", 0, 0},       // measuring and recording off
        {"SAVE", 0, 0},
    };
    QList<lvScriptCommand> commands;
    for (const line &l : lines) {
        lvScriptCommand cmd;
        cmd.setCommand(commands.size(), QString::fromLatin1(l.szKeyword), l.nValue, l.nRepeat);
        commands << cmd;
    }
    return commands;
}

QVector<setting> settings()
{
    const lvSensor gauge = sensor();
    const QString fb = QStringLiteral("external feedback");
    const QString in = QStringLiteral("inputs");
    QVector<setting> list{
        {fb, QStringLiteral("sensor name"), gauge.strName},
        {fb, QStringLiteral("sensor data name"), gauge.strDataName},
        {fb, QStringLiteral("sensor formula"), gauge.strFormula},
        {fb, QStringLiteral("sensor unit"), gauge.strUnit},
        {fb, QStringLiteral("sensor inputmask"), gauge.strInputMask},
        {fb, QStringLiteral("Prop-Value"), 1000.0},
        {fb, QStringLiteral("Relative Difference"), 0.1},
        {fb, QStringLiteral("Differential Value"), 200.0},
        {fb, QStringLiteral("Integral Value"), 100.0},
        {fb, QStringLiteral("Integral Quantity"), 10},
        {fb, QStringLiteral("Correct Sensitivity Value"), 1000000.0},
        {fb, QStringLiteral("relative difference new calc"), 0.5},
        {fb, QStringLiteral("number of retries new calc"), 2},
        {fb, QStringLiteral("curve use"), 0},
        {QStringLiteral("teachIn"), QStringLiteral("teachInFile"), teachInName()},
        {in, QStringLiteral("sampling"), 1000},
        {QStringLiteral("controller"), QStringLiteral("Analog Card Type"), 1},
    };
    // Input 1 carries the mantissa (1..10 V), input 2 the exponent (3..9 V),
    // input 3 stays the remote position input. A feedback below 0.5 V means
    // the detector gives no signal: the valve then stays where it is.
    struct input
    {
        int nType;
        double dblLowerMv;
        int nLowerPpm;
        double dblUpperMv;
        int nUpperPpm;
    };
    const input inputs[3] = {{1, 500.0, 0, 10000.0, 0}, {2, 500.0, 0, 10000.0, 0}, {0, 0.0, 0, 10000.0, 1000000}};
    for (int i = 0; i < 3; ++i) {
        const QString strPrefix = QStringLiteral("input%1 ").arg(i + 1);
        const int nStay = 2;
        list << setting{in, strPrefix + QStringLiteral("type"), inputs[i].nType}
             << setting{in, strPrefix + QStringLiteral("upper boundary"), inputs[i].dblUpperMv}
             << setting{in, strPrefix + QStringLiteral("upper boundary steps"), inputs[i].nUpperPpm}
             << setting{in, strPrefix + QStringLiteral("upper boundary action"), nStay}
             << setting{in, strPrefix + QStringLiteral("lower boundary"), inputs[i].dblLowerMv}
             << setting{in, strPrefix + QStringLiteral("lower boundary steps"), inputs[i].nLowerPpm}
             << setting{in, strPrefix + QStringLiteral("lower boundary action"), nStay};
    }
    return list;
}

QByteArray cleanLog(const QDateTime &dtNow)
{
    const QDateTime dtStart = dtNow.addSecs(-60);
    return formatLogLine(dtStart, QStringLiteral("Application Started")).toLocal8Bit() + '\n'
           + formatLogLine(dtNow, QStringLiteral("Shutdown")).toLocal8Bit() + '\n';
}

layoutResult layOut(const QString &strWorkDir, const QDateTime &dtNow)
{
    layoutResult result;
    QDir work(strWorkDir);
    for (const char *szDir : {"sensor", "teachIn", "scripts", "log"}) {
        if (!work.mkpath(QString::fromLatin1(szDir))) {
            result.bOk = false;
            result.strError = QStringLiteral("cannot make %1").arg(work.filePath(QString::fromLatin1(szDir)));
            return result;
        }
    }

    const lvSensor gauge = sensor();
    if (!writeNewFile(work.filePath(QStringLiteral("sensor/%1.kfxsensor").arg(gauge.strName)),
                      encodeSensorFile(gauge), result))
        return result;
    if (!writeNewFile(work.filePath(QStringLiteral("teachIn/%1.kfxteachin").arg(teachInName())),
                      encodeTeachInFile(gauge.strName, gauge.strFormula, gauge.strDataName, teachInPoints()),
                      result))
        return result;
    if (!writeNewFile(work.filePath(QStringLiteral("scripts/%1.kfxscript").arg(scriptName())),
                      encodeScriptFile(teachInScript()), result))
        return result;
    if (!writeNewFile(work.filePath(QStringLiteral("log/qVarnixLeakvalve.log")), cleanLog(dtNow), result))
        return result;

    QSettings store(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    for (const setting &s : settings()) {
        store.beginGroup(s.strGroup);
        const QString strName = s.strGroup + QLatin1Char('/') + s.strKey;
        if (store.contains(s.strKey)) {
            result.kept << strName;
        } else {
            store.setValue(s.strKey, s.value);
            result.laidOut << strName;
        }
        store.endGroup();
    }
    store.sync();
    if (store.status() != QSettings::NoError) {
        result.bOk = false;
        result.strError = QStringLiteral("cannot write the settings store %1").arg(store.fileName());
    }
    return result;
}

} // namespace demoWorld
