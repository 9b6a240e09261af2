// Figures for the README: a 10,000-point teach-in file loaded with one
// formula evaluation per point, and 100,000 formula evaluations.

#include "valve/lvSensor.h"
#include "valve/lvTeachIn.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// A typical gauge: an exponential of the voltage (plain arithmetic once the
// values are filled in) and one that needs the script engine.
const char *const plainFormula = "Math.pow(10, val1*1.667-9.333)";
const char *const scriptFormula = "val1 > 0 ? Math.pow(10, val1*1.667-9.333) : 0";

// Working directory with a teach-in file of nPoints points, alive while the
// benchmark runs.
class benchWorkDir
{
public:
    benchWorkDir(int nPoints, const char *pszFormula)
        : strPrevious(QDir::currentPath())
    {
        QDir(dir.path()).mkdir(QStringLiteral("teachIn"));
        QDir::setCurrent(dir.path());
        QByteArray text = "Version: 103;\nsensor name: Gauge;\nsensor formula: ";
        text += pszFormula;
        text += ";\nsensor data name: Leakrate;\nSteps; Time [s]; Channel1 [V]; Channel2 [V]; CurveType;\n";
        for (int i = 0; i < nPoints; ++i)
            text += QByteArray::number(i * 100) + ';' + QByteArray::number(i * 0.1, 'g', 6) + ';'
                + QByteArray::number(1.0 + i * 0.0008, 'g', 6) + ";0.5;" + (i < nPoints / 2 ? "O" : "C") + ";\n";
        QFile file(dir.filePath(QStringLiteral("teachIn/bench.kfxteachin")));
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }
    ~benchWorkDir() { QDir::setCurrent(strPrevious); }

private:
    QTemporaryDir dir;
    QString strPrevious;
};

void loadTeachIn(benchmark::State &state, const char *pszFormula)
{
    benchWorkDir work(10000, pszFormula);
    lvTeachIn teachIn;
    for (auto _ : state) {
        teachIn.readTeachInFromFile(QStringLiteral("bench"));
        benchmark::DoNotOptimize(teachIn.vecTeachInData.size());
    }
    if (teachIn.vecTeachInData.size() != 10000)
        state.SkipWithError("teach-in not read whole");
}

void BM_LoadTeachIn10000(benchmark::State &state)
{
    loadTeachIn(state, plainFormula);
}

void BM_LoadTeachIn10000ScriptFormula(benchmark::State &state)
{
    loadTeachIn(state, scriptFormula);
}

void evaluateFormulas(benchmark::State &state, const char *pszFormula)
{
    lvSensor sensor;
    sensor.strFormula = QString::fromLatin1(pszFormula);
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i) {
            sensor.calcData(1.0 + i * 0.00008, 0.5);
            benchmark::DoNotOptimize(sensor.dblResult);
        }
    }
}

void BM_Evaluate100000(benchmark::State &state)
{
    evaluateFormulas(state, plainFormula);
}

void BM_Evaluate100000ScriptFormula(benchmark::State &state)
{
    evaluateFormulas(state, scriptFormula);
}

} // namespace

BENCHMARK(BM_LoadTeachIn10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTeachIn10000ScriptFormula)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Evaluate100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Evaluate100000ScriptFormula)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    // The script engines belong to the application's threads.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
