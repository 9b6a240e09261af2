#ifndef GAUGEFRAMEWRITER_H
#define GAUGEFRAMEWRITER_H

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class controllerSim;

// Writes the analog card frame of the demo plant (gaugePlant) for the
// simulated valve's present position into a file, the one the program reads
// through VALVE_ANALOG_FRAME_FILE, every period from a thread of its own. Each
// frame goes to a temporary file that is then renamed over the old one, so a
// reader sees either the old frame or the new one, never half of one.
class gaugeFrameWriter
{
public:
    // dblNoise: standard deviation of the relative noise on the leak rate.
    gaugeFrameWriter(const controllerSim &sim, const QString &strFramePath, double dblNoise = 0.005,
                     int nPeriodMs = 50);
    ~gaugeFrameWriter();
    gaugeFrameWriter(const gaugeFrameWriter &) = delete;
    gaugeFrameWriter &operator=(const gaugeFrameWriter &) = delete;

    // Writes the first frame at once (false when it cannot be written) and
    // keeps writing until stop().
    bool start();
    void stop();
    int framesWritten() const { return nFrames.load(); }

private:
    bool writeFrame(double dblNoise);
    void run();

    const controllerSim &sim;
    const QString strPath;
    const double dblNoiseSigma;
    const int nPeriodMs;
    std::thread worker;
    std::mutex mtx;
    std::condition_variable cvStop;
    bool bStop = false;
    std::atomic<int> nFrames{0};
};

#endif // GAUGEFRAMEWRITER_H
