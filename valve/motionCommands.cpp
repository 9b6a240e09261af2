#include "valve/motionCommands.h"

#include "valve/bergerLahrCommands.h"
#include "valve/nanoTecCommands.h"
#include "valve/positionUnits.h"

using namespace positionUnits;

gotoPlan motionCommands::planGoto(const motorFamily &family, int nStepPpm, int nMotorPosition, bool bPositioning)
{
    gotoPlan plan;
    if (!family.bKnown || family.nMaxSteps <= 0)
        return plan;

    // The target as an exact step value scaled by one million: the range test
    // and the "already there" test use it unrounded.
    qint64 nTargetMicro = ppmToMicroSteps(nStepPpm, family.nMaxSteps);
    if (qint64(family.nMinSteps) * PPM_FULL > nTargetMicro || nTargetMicro > qint64(family.nMaxSteps) * PPM_FULL) {
        plan.result = gotoPlan::OUT_OF_BOUNDARIES;
        return plan;
    }
    if (!bPositioning && nTargetMicro == qint64(nMotorPosition) * PPM_FULL) {
        plan.result = gotoPlan::ALREADY_REACHED;
        return plan;
    }

    plan.result = gotoPlan::MOVE;
    if (family.isBergerLahr()) {
        // The controller does not take "g0": the closed end is step 1.
        if (nTargetMicro < PPM_FULL)
            nTargetMicro = PPM_FULL;
        plan.nCompareValue = int(nTargetMicro / PPM_FULL);
        plan.commands = bergerLahrCommands::gotoSteps(plan.nCompareValue);
    } else {
        plan.nCompareValue = int(nTargetMicro / PPM_FULL);
        const bool bUpwards = nTargetMicro > qint64(nMotorPosition) * PPM_FULL;
        plan.commands = nanoTecCommands::gotoSteps(plan.nCompareValue, bUpwards);
        plan.bClearPosReached = true;
    }
    plan.nTargetPpm = stepsToPpm(plan.nCompareValue, family.nMaxSteps);
    return plan;
}

gotoPlan motionCommands::planOpen(const motorFamily &family)
{
    gotoPlan plan;
    if (!family.bKnown)
        return plan;
    plan.result = gotoPlan::MOVE;
    plan.commands = family.isBergerLahr() ? bergerLahrCommands::open() : nanoTecCommands::open();
    plan.nCompareValue = family.nMaxSteps;
    plan.nTargetPpm = int(PPM_FULL);
    return plan;
}

gotoPlan motionCommands::planClose(const motorFamily &family)
{
    gotoPlan plan;
    if (!family.bKnown)
        return plan;
    plan.result = gotoPlan::MOVE;
    if (family.isBergerLahr()) {
        plan.commands = bergerLahrCommands::close();
        plan.nCompareValue = 1;
    } else {
        plan.commands = nanoTecCommands::close();
        plan.nCompareValue = 50;
    }
    plan.nTargetPpm = stepsToPpm(plan.nCompareValue, family.nMaxSteps);
    return plan;
}

controllerCommandList motionCommands::plus(const motorFamily &family)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::plus();
    if (family.isNanoTec())
        return nanoTecCommands::plus();
    return {};
}

controllerCommandList motionCommands::minus(const motorFamily &family)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::minus();
    if (family.isNanoTec())
        return nanoTecCommands::minus();
    return {};
}

controllerCommandList motionCommands::continuousPress(const motorFamily &family, bool bOpening, int nSpeed,
                                                      int nContSpeed)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::continuousPress(bOpening, nSpeed);
    if (family.isNanoTec())
        return nanoTecCommands::continuousPress(bOpening, nSpeed, nContSpeed);
    return {};
}

QList<QByteArray> motionCommands::continuousTexts(const motorFamily &family, bool bOpening)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::continuousTexts(bOpening);
    if (family.isNanoTec())
        return {nanoTecCommands::continuousText()};
    return {};
}

controllerCommandList motionCommands::halt(const motorFamily &family)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::halt();
    if (family.isNanoTec())
        return nanoTecCommands::halt();
    return {};
}

controllerCommandList motionCommands::calibrate(const motorFamily &family)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::calibrate();
    if (family.isNanoTec())
        return nanoTecCommands::calibrate();
    return {};
}

controllerCommandList motionCommands::readPosition(const motorFamily &family)
{
    if (family.isBergerLahr())
        return bergerLahrCommands::readPosition();
    if (family.isNanoTec())
        return nanoTecCommands::readPosition();
    return {};
}

controllerCommandList motionCommands::forcePosition(const motorFamily &family, int nMotorPosition)
{
    if (family.isNanoTec())
        return nanoTecCommands::forcePosition(nMotorPosition);
    return {};
}

controllerCommandList motionCommands::clearError(const motorFamily &family)
{
    if (family.isNanoTec())
        return nanoTecCommands::clearError();
    return {};
}

controllerCommandList motionCommands::positionQuery(const motorFamily &family)
{
    if (family.isBergerLahr())
        return {bergerLahrCommands::statusQuery(false)};
    if (family.isNanoTec())
        return {nanoTecCommands::encoderQuery()};
    return {};
}

controllerCommand motionCommands::output1Mode(int nMode)
{
    return nanoTecCommands::output1Mode(nMode);
}
