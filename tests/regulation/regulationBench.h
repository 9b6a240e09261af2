#ifndef REGULATIONBENCH_H
#define REGULATIONBENCH_H

// The regulation's test bench: the real driver in its motor thread on the
// controller simulator (BergerLahr, by default starting at 100000 ppm), the plant model
// read through the analog card and analogData as the program reads it, and a
// teach-in recorded on the plant. Feedback 1 is input 1 (band 0.1..9.9 V:
// below opens, above closes), feedback 2 is input 2 (band 1..9 V, stays).

#include "plantModel.h"
#include "driveRig.h"

#include "testWorkDir.h"
#include "valve/analogData.h"
#include "valve/lvTeachIn.h"

#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class regulationBench : public QObject
{
    Q_OBJECT
public:
    static constexpr int WAIT_MS = 30000;
    static constexpr int SAMPLE_MS = 250;
    static constexpr int POLL_MS = 10;

    // Regulation parameters that suit the plant: its relative sensitivity is
    // far lower than a real leak rate's, so the proportional factor is larger.
    static lvExternalFeedback plantFeedback()
    {
        lvExternalFeedback fb;
        fb.dblPropValue = 200000.0;
        fb.dblDiffValue = 0.0;
        fb.dblIntValue = 20000.0;
        fb.dblRelativeDifference = 0.005;
        fb.nNumOfIntVal = 10;
        return fb;
    }

    // False when a part of the bench could not be built. nStartPpm: where
    // the valve stands (a multiple of 25 ppm, one BergerLahr step).
    bool setUp(int nStartPpm = 100000)
    {
        work = std::make_unique<testWorkDir>();
        if (!plantModel::writeTeachIn(*work, QStringLiteral("plant")))
            return false;
        teach = std::make_unique<lvTeachIn>();
        if (!teach->readTeachInFromFile(QStringLiteral("plant")) || teach->vecTeachInData.size() != 5)
            return false;

        card = std::make_unique<plantFrameSource>();
        analog = std::make_unique<analogData>();
        analog->setInputType(0, INPUT_FEEDBACK_1);
        analog->setLowerBoundary(0, 100.0, 0, ACTION_OPEN);
        analog->setUpperBoundary(0, 9900.0, 1000000, ACTION_CLOSE);
        analog->setInputType(1, INPUT_FEEDBACK_2);
        analog->setLowerBoundary(1, 1000.0, 0, ACTION_STAY);
        analog->setUpperBoundary(1, 9000.0, 1000000, ACTION_STAY);
        // The card reads the plant at the start position before anything runs.
        card->setVolts(plant.feedback1(nStartPpm), plantModel::feedback2());
        analog->onGetAnalogValue();

        rig = std::make_unique<driveRig>(controllerSim::FAMILY_BERGER_LAHR);
        rig->sim.setPosition(nStartPpm / 25);
        if (!rig->startSim())
            return false;
        rig->startDriver(motorDriver::BergerLahr, analog.get(), teach.get());
        rig->drv->extFeedback = plantFeedback();
        if (!QTest::qWaitFor([this, nStartPpm]() { return rig->drv->getMotorPosition() == nStartPpm; }, WAIT_MS))
            return false;
        // As the main window joins them while measuring.
        connect(analog.get(), SIGNAL(setAnalogValue(double,double,double,int,int)), rig->drv,
                SLOT(onGetAnalogValue(double,double,double,int,int)));
        return true;
    }

    ~regulationBench() override
    {
        sampler.reset();
        rig.reset();
        analog.reset();
        card.reset();
        teach.reset();
        work.reset();
    }

    // One reading of the card, delivered as analogData delivers it.
    void readCard(double v1, double v2)
    {
        card->setVolts(v1, v2);
        analog->onGetAnalogValue();
    }

    // A typed sample of the debug page, straight to the driver.
    void sampleOnce(double v1, double v2)
    {
        QMetaObject::invokeMethod(rig->drv, "onGetAnalogValue", Qt::QueuedConnection, Q_ARG(double, v1),
                                  Q_ARG(double, v2), Q_ARG(double, 0.0), Q_ARG(int, 0), Q_ARG(int, 1));
    }

    // One card reading per sampling period with the voltages the source gives.
    void startSampling(std::function<void(double &, double &)> source)
    {
        sampler = std::make_unique<QTimer>();
        connect(sampler.get(), &QTimer::timeout, this, [this, source]() {
            double v1 = 0.0;
            double v2 = 0.0;
            source(v1, v2);
            readCard(v1, v2);
        });
        sampler->start(SAMPLE_MS);
    }
    void startPlantSampling()
    {
        startSampling([this](double &v1, double &v2) {
            v1 = plant.feedback1(rig->simPpm());
            v2 = plantModel::feedback2();
        });
    }
    // Plant samples taken only where the regulation's next step depends on
    // nothing but the valve's position: the valve at rest where the driver
    // last read it, the previous sample judged and every command it caused
    // gone out to the controller. With a BergerLahr the regulation corrects
    // on every sample, even while the valve still moves, from the position
    // last read; samples that a busy machine lets lag behind the valve (or
    // pile up behind a slow reply) then keep correcting from stale readings
    // and the loop can swing for far longer than any wait here. Polled
    // often, so the regulation goes as fast as the bench allows.
    void startPlantSamplingAtRest()
    {
        sampler = std::make_unique<QTimer>();
        connect(sampler.get(), &QTimer::timeout, this, [this]() {
            if (rig->queueMarkers() < nMarkersExpected || rig->sim.isMoving() || rig->rec.positions.isEmpty()
                || rig->rec.positions.last() != rig->simPpm())
                return;
            readCard(plant.feedback1(rig->simPpm()), plantModel::feedback2());
            // Reaches the controller once the driver has judged the sample and
            // sent what it queued for it (its thread takes events in order,
            // its queue is first in, first out).
            nMarkersExpected = rig->queueMarkers() + 1;
            rig->postQueueMarker();
        });
        sampler->start(POLL_MS);
    }
    void startConstantSampling(double v1, double v2)
    {
        startSampling([v1, v2](double &a, double &b) {
            a = v1;
            b = v2;
        });
    }

    // Reached once the corrections that were still on their way have landed:
    // three samples in a row within the tolerance, all taken while the valve
    // stood still and no new goto went out (on a busy machine samples may
    // catch the valve passing through the band on its way, or lag behind it).
    bool waitUntilSettledAndReached()
    {
        int nSamplesWhenStill = -1;
        int nGotosSeen = -1;
        const auto samples = [this] { return rig->rec.nReached + rig->rec.nNotReached; };
        return QTest::qWaitFor(
            [&] {
                if (rig->sim.isMoving() || rig->gotoCount() != nGotosSeen) {
                    nGotosSeen = rig->gotoCount();
                    nSamplesWhenStill = -1;
                    return false;
                }
                if (nSamplesWhenStill < 0)
                    nSamplesWhenStill = samples();
                return rig->rec.nReachedInARow >= 3 && samples() - nSamplesWhenStill >= 3;
            },
            WAIT_MS);
    }

    // True once every command queued so far went out to the controller (a
    // marker the simulator records; the queue is first in, first out).
    bool drainQueue() { return rig->drainQueue(WAIT_MS); }

    // The status text is rebuilt only when a status bit changes; the extra
    // status line alone does not show. Flips the must-calibrate bit (compare
    // with a stored position that differs, then with the valve's own) so the
    // text in force now is emitted, and returns it. The valve's own position
    // is taken in the motor thread when the comparison runs: one read here
    // could be overtaken by a position report of a moving valve, leave the
    // bit as it was and so emit nothing.
    QString renderedStatus()
    {
        const int nCount = rig->rec.statusTexts.size();
        bMustCalibrateShown = !bMustCalibrateShown;
        motorDriver *pDrv = rig->drv;
        const bool bDiffer = bMustCalibrateShown;
        QMetaObject::invokeMethod(
            pDrv, [pDrv, bDiffer] { pDrv->forceMotorPosition(bDiffer ? -2 : pDrv->getMotorPosition(), false); },
            Qt::QueuedConnection);
        if (!QTest::qWaitFor([this, nCount]() { return rig->rec.statusTexts.size() > nCount; }, WAIT_MS))
            return QString();
        return rig->rec.lastStatus();
    }

    // As the manual tab asks for a set value: start position from the curve.
    void startRegulation(double dblSetpoint)
    {
        const int nSteps = teach->calcStepsFromData(dblSetpoint, 0.0, 0.0);
        QMetaObject::invokeMethod(rig->drv, "onMotorGotoLeak", Qt::QueuedConnection, Q_ARG(double, dblSetpoint),
                                  Q_ARG(int, nSteps));
    }

    plantModel plant;
    std::unique_ptr<testWorkDir> work;
    std::unique_ptr<lvTeachIn> teach;
    std::unique_ptr<plantFrameSource> card;
    std::unique_ptr<analogData> analog;
    std::unique_ptr<driveRig> rig;
    std::unique_ptr<QTimer> sampler;
    bool bMustCalibrateShown = false;
    int nMarkersExpected = 0;
};

#endif // REGULATIONBENCH_H
