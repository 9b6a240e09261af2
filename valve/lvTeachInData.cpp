#include "valve/lvTeachInData.h"

lvTeachInData::lvTeachInData()
    : dblTime(0.0)
    , nSteps(0)
    , dblCh1(0.0)
    , dblCh2(0.0)
    , dblData(0.0)
    , dblSens(0.0)
    , dblSetpoint(0.0)
    , nCurveType(CURVE_CLOSE)
{
}
