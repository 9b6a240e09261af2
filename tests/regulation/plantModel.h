#ifndef PLANTMODEL_H
#define PLANTMODEL_H

#include "platform/analogFrameSource.h"
#include "testWorkDir.h"

#include <QByteArray>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QtMath>

// A small leak-valve plant for the regulation tests. The process value is the
// feedback 1 voltage itself (sensor formula "val1"); it rises with the valve
// opening along a curve that the teach-in only samples coarsely, so going to
// the curve's position lands near the set value and the regulation has to
// correct the rest. Feedback 2 is a steady 5 V. A gain lets a test make the
// plant drift away from its teach-in.
struct plantModel
{
    double dblGain = 1.0;

    // Volts on feedback 1 for a valve position in ppm.
    double feedback1(int nPpm) const
    {
        const double x = qBound(0.0, nPpm / 1000000.0, 1.0);
        return dblGain * (0.5 + 9.0 * x * x);
    }
    static double feedback2() { return 5.0; }

    // A teach-in file of the open curve, one point every nStepPpm, measured on
    // the undisturbed plant, with the formula "val1".
    static QByteArray teachInFile(int nStepPpm = 250000)
    {
        plantModel plant;
        QByteArray text = "Version: 103;\nsensor name: plant;\nsensor formula: val1;\n"
                          "sensor data name: Leakrate;\n"
                          "Steps; Time [s]; Channel1 [V]; Channel2 [V]; CurveType;\n";
        for (int nPpm = 0; nPpm <= 1000000; nPpm += nStepPpm) {
            text += QByteArray::number(nPpm) + ";" + QByteArray::number(nPpm / 1000) + ";"
                    + QByteArray::number(plant.feedback1(nPpm), 'g', 6) + ";"
                    + QByteArray::number(feedback2(), 'g', 6) + ";O;\n";
        }
        return text;
    }

    static bool writeTeachIn(const testWorkDir &work, const QString &strName)
    {
        return work.writeFile(QStringLiteral("teachIn/") + strName + QStringLiteral(".kfxteachin"),
                              teachInFile());
    }
};

// The analog card as the program reads it: a frame whose channels 1 to 3 hold
// the voltages a test sets (quantised to the card's 10 V / 1023 counts).
// Installs itself while alive.
class plantFrameSource : public analogFrameSource
{
public:
    plantFrameSource() { analogFrameSource::setInstance(this); }
    ~plantFrameSource() override { analogFrameSource::setInstance(nullptr); }

    void setVolts(double v1, double v2, double v3 = 0.0)
    {
        QMutexLocker locker(&mtx);
        dblVolts[0] = v1;
        dblVolts[1] = v2;
        dblVolts[2] = v3;
    }
    // What the card will report for a voltage.
    static double quantised(double dblVolts) { return counts(dblVolts) * 10.0 / 1023.0; }

    QByteArray readFrame() override
    {
        QMutexLocker locker(&mtx);
        QByteArray frame(FRAME_SIZE, '\0');
        for (int i = 0; i < 3; ++i) {
            const int n = counts(dblVolts[i]);
            frame[1 + 2 * i] = char(n & 0xFF);
            frame[2 + 2 * i] = char((n >> 8) & 0xFF);
        }
        return frame;
    }

private:
    static int counts(double dblVolts) { return qBound(0, qRound(dblVolts * 1023.0 / 10.0), 0xFFFF); }

    QMutex mtx;
    double dblVolts[3] = {0.0, 0.0, 0.0};
};

#endif // PLANTMODEL_H
