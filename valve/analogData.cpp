#include "valve/analogData.h"

#include "platform/analogFrameSource.h"
#include "valve/analogFrame.h"

#include <QDebug>
#include <QReadLocker>
#include <QTimer>
#include <QWriteLocker>

#include <cmath>

analogData::analogData(QObject *parent)
    : QObject(parent)
    , nSampling(0)
    , nOutput1Config(0)
    , nAnalogCardType(1)
    , vecSlope(3, 0.0)
    , vecOffset(3, 0.0)
    , vecMapped(3, false)
    , vecInputVolt(analogFrameChannels, 0.0)
    , vecUpperBoundary(3, 0.0)
    , vecUpperBoundarySteps(3, 0)
    , vecUpperBoundaryAction(3, 0)
    , vecLowerBoundary(3, 0.0)
    , vecLowerBoundarySteps(3, 0)
    , vecLowerBoundaryAction(3, 0)
    , vecInputType(3, INPUT_REMOTE_ANALOG)
    , pTimerReadInputs(nullptr)
    , pTimer18Bit(nullptr)
    , n18BitCounter(0)
    , nFeedbackInput1(0)
    , nFeedbackInput2(0)
{
}

analogData::~analogData()
{
    delete pTimerReadInputs;
    delete pTimer18Bit;
}

void analogData::recomputeMapping(int nInput)
{
    const double dblSpan = vecUpperBoundary.at(nInput) / 1000 - vecLowerBoundary.at(nInput) / 1000;
    const double dblSlope
        = double(qint64(vecUpperBoundarySteps.at(nInput)) - qint64(vecLowerBoundarySteps.at(nInput))) / dblSpan;
    // Equal boundaries give no line to map on: such an input stays unmapped.
    vecMapped[nInput] = dblSpan != 0 && std::isfinite(dblSlope);
    vecSlope[nInput] = vecMapped.at(nInput) ? dblSlope : 0.0;
    vecOffset[nInput] = vecLowerBoundarySteps.at(nInput);
}

void analogData::setUpperBoundary(int nInput, double dblMilliVolt, int nPosition, int nAction)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecUpperBoundary[nInput] = dblMilliVolt;
    vecUpperBoundarySteps[nInput] = nPosition;
    vecUpperBoundaryAction[nInput] = nAction;
    recomputeMapping(nInput);
}

void analogData::setUpperBoundaryValue(int nInput, double dblMilliVolt)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecUpperBoundary[nInput] = dblMilliVolt;
    recomputeMapping(nInput);
}

void analogData::setUpperBoundarySteps(int nInput, int nPosition)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecUpperBoundarySteps[nInput] = nPosition;
    recomputeMapping(nInput);
}

void analogData::setUpperBoundaryAction(int nInput, int nAction)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecUpperBoundaryAction[nInput] = nAction;
}

void analogData::setLowerBoundary(int nInput, double dblMilliVolt, int nPosition, int nAction)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecLowerBoundary[nInput] = dblMilliVolt;
    vecLowerBoundarySteps[nInput] = nPosition;
    vecLowerBoundaryAction[nInput] = nAction;
    recomputeMapping(nInput);
}

void analogData::setLowerBoundaryValue(int nInput, double dblMilliVolt)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecLowerBoundary[nInput] = dblMilliVolt;
    recomputeMapping(nInput);
}

void analogData::setLowerBoundarySteps(int nInput, int nPosition)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecLowerBoundarySteps[nInput] = nPosition;
    recomputeMapping(nInput);
}

void analogData::setLowerBoundaryAction(int nInput, int nAction)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    vecLowerBoundaryAction[nInput] = nAction;
}

void analogData::setInputType(int nInput, int nType)
{
    if (!validInput(nInput))
        return;
    QWriteLocker guard(&lock);
    if (nType == INPUT_FEEDBACK_1)
        nFeedbackInput1 = nInput;
    else if (nType == INPUT_FEEDBACK_2)
        nFeedbackInput2 = nInput;
    vecInputType[nInput] = nType;
}

double analogData::getUpperBoundaryValue(int nInput) const
{
    if (!validInput(nInput))
        return -1.0;
    QReadLocker guard(&lock);
    return vecUpperBoundary.at(nInput);
}

double analogData::getLowerBoundaryValue(int nInput) const
{
    if (!validInput(nInput))
        return -1.0;
    QReadLocker guard(&lock);
    return vecLowerBoundary.at(nInput);
}

int analogData::getUpperBoundarySteps(int nInput) const
{
    if (!validInput(nInput))
        return -1;
    QReadLocker guard(&lock);
    return vecUpperBoundarySteps.at(nInput);
}

int analogData::getLowerBoundarySteps(int nInput) const
{
    if (!validInput(nInput))
        return -1;
    QReadLocker guard(&lock);
    return vecLowerBoundarySteps.at(nInput);
}

int analogData::getUpperBoundaryAction(int nInput) const
{
    if (!validInput(nInput))
        return -1;
    QReadLocker guard(&lock);
    return vecUpperBoundaryAction.at(nInput);
}

int analogData::getLowerBoundaryAction(int nInput) const
{
    if (!validInput(nInput))
        return -1;
    QReadLocker guard(&lock);
    return vecLowerBoundaryAction.at(nInput);
}

int analogData::getInputType(int nInput) const
{
    if (!validInput(nInput))
        return -1;
    QReadLocker guard(&lock);
    return vecInputType.at(nInput);
}

bool analogData::isInBoundaries(int nInput, double dblVolt) const
{
    if (!validInput(nInput))
        return false;
    QReadLocker guard(&lock);
    return dblVolt > vecLowerBoundary.at(nInput) / 1000 && dblVolt < vecUpperBoundary.at(nInput) / 1000;
}

int analogData::getFeedbackInput1() const
{
    QReadLocker guard(&lock);
    return nFeedbackInput1;
}

int analogData::getFeedbackInput2() const
{
    QReadLocker guard(&lock);
    return nFeedbackInput2;
}

double analogData::getInputVolt(int nIndex) const
{
    QReadLocker guard(&lock);
    if (nIndex < 0 || nIndex >= vecInputVolt.size())
        return -1.0;
    return vecInputVolt.at(nIndex);
}

double analogData::getSlope(int nInput) const
{
    if (!validInput(nInput))
        return 0.0;
    QReadLocker guard(&lock);
    return vecSlope.at(nInput);
}

double analogData::getOffset(int nInput) const
{
    if (!validInput(nInput))
        return 0.0;
    QReadLocker guard(&lock);
    return vecOffset.at(nInput);
}

bool analogData::isMapped(int nInput) const
{
    if (!validInput(nInput))
        return false;
    QReadLocker guard(&lock);
    return vecMapped.at(nInput);
}

int analogData::readPeriodMs() const
{
    return pTimerReadInputs && pTimerReadInputs->isActive() ? pTimerReadInputs->interval() : -1;
}

void analogData::init()
{
    // Without parent, like the object's other timers; the destructor deletes them.
    if (!pTimerReadInputs) {
        pTimerReadInputs = new QTimer;
        connect(pTimerReadInputs, &QTimer::timeout, this, &analogData::onTimerReadInputs);
    }
    if (!pTimer18Bit) {
        pTimer18Bit = new QTimer;
        connect(pTimer18Bit, &QTimer::timeout, this, &analogData::onTimerReady18Bit);
    }
}

void analogData::setSampling(int nMilliseconds)
{
    nSampling = nMilliseconds;
    if (pTimerReadInputs)
        pTimerReadInputs->start(qMax(nMilliseconds, 1000));
}

void analogData::onTimerReadInputs()
{
    if (nAnalogCardType != 1)
        return;
    const analogFrameCounts counts = decodeAnalogFrame(analogFrameSource::instance().readFrame());
    // The periodic read takes input 3 from channel 4.
    const double dblInput1 = analogCountToVolts(counts[0]);
    const double dblInput2 = analogCountToVolts(counts[1]);
    const double dblInput3 = analogCountToVolts(counts[3]);
    int nFeedback1, nFeedback2;
    {
        QWriteLocker guard(&lock);
        vecInputVolt[0] = dblInput1;
        vecInputVolt[1] = dblInput2;
        vecInputVolt[2] = dblInput3;
        nFeedback1 = nFeedbackInput1;
        nFeedback2 = nFeedbackInput2;
    }
    emit sampleInputs(dblInput1, dblInput2, dblInput3);
    emit setAnalogValue(dblInput1, dblInput2, dblInput3, nFeedback1, nFeedback2);
}

void analogData::onGetAnalogValue()
{
    if (nAnalogCardType != 1)
        return;
    const analogFrameCounts counts = decodeAnalogFrame(analogFrameSource::instance().readFrame());
    double dblVolts[analogFrameChannels];
    for (int i = 0; i < analogFrameChannels; ++i) {
        dblVolts[i] = analogCountToVolts(counts[i]);
        qDebug().noquote() << QStringLiteral("Analog %1: %2").arg(i + 1).arg(counts[i]);
    }
    int nFeedback1, nFeedback2;
    {
        QWriteLocker guard(&lock);
        for (int i = 0; i < analogFrameChannels; ++i)
            vecInputVolt[i] = dblVolts[i];
        nFeedback1 = nFeedbackInput1;
        nFeedback2 = nFeedbackInput2;
    }
    emit setAnalogValue(dblVolts[0], dblVolts[1], dblVolts[2], nFeedback1, nFeedback2);
}

void analogData::onTimerReady18Bit()
{
    ++n18BitCounter;
}
