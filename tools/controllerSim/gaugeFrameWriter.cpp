#include "gaugeFrameWriter.h"

#include "controllerSim.h"
#include "gaugePlant.h"

#include <QSaveFile>

#include <algorithm>
#include <chrono>
#include <random>

gaugeFrameWriter::gaugeFrameWriter(const controllerSim &simValve, const QString &strFramePath, double dblNoise,
                                   int nPeriod)
    : sim(simValve)
    , strPath(strFramePath)
    , dblNoiseSigma(dblNoise)
    , nPeriodMs(nPeriod < 1 ? 1 : nPeriod)
{
}

gaugeFrameWriter::~gaugeFrameWriter()
{
    stop();
}

bool gaugeFrameWriter::writeFrame(double dblNoise)
{
    const double dblOpening = double(sim.position()) / sim.fullTravel();
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(gaugePlant::frameForOpening(dblOpening, dblNoise));
    if (!file.commit())
        return false;
    ++nFrames;
    return true;
}

bool gaugeFrameWriter::start()
{
    if (worker.joinable())
        return true;
    if (!writeFrame(0.0))
        return false;
    bStop = false;
    worker = std::thread([this] { run(); });
    return true;
}

void gaugeFrameWriter::stop()
{
    {
        std::lock_guard<std::mutex> lock(mtx);
        bStop = true;
    }
    cvStop.notify_all();
    if (worker.joinable())
        worker.join();
}

void gaugeFrameWriter::run()
{
    std::mt19937 random(20261210u);
    std::normal_distribution<double> noise(0.0, dblNoiseSigma);
    std::unique_lock<std::mutex> lock(mtx);
    while (!cvStop.wait_for(lock, std::chrono::milliseconds(nPeriodMs), [this] { return bStop; })) {
        lock.unlock();
        // A frame that cannot be written now (a full disk) is tried again next
        // period; the reader keeps the last whole one meanwhile.
        // Three standard deviations at most: a little noise, never a spike.
        const double dblNoise = dblNoiseSigma > 0.0 ? noise(random) : 0.0;
        writeFrame(std::clamp(dblNoise, -3.0 * dblNoiseSigma, 3.0 * dblNoiseSigma));
        lock.lock();
    }
}
