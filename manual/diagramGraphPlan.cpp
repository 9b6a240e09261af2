#include "manual/diagramGraphPlan.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace {

double drawable(double dblValue)
{
    return std::isfinite(dblValue) ? dblValue : std::numeric_limits<double>::quiet_NaN();
}

void createMissing(diagramGraphKind kind, diagramGraphSet &exists, diagramPointPlan &plan)
{
    if (exists.test(kind))
        return;
    exists.set(kind);
    plan.create.append(kind);
}

} // namespace

// The names and labels are translated by the diagram widget.
diagramGraphLayout diagramGraphLayoutOf(diagramGraphKind kind)
{
    switch (kind) {
    case GRAPH_OPEN:
        return {AXIS_BOTTOM, AXIS_LEFT, QT_TRANSLATE_NOOP("formCurrentState", "Open Curve"), nullptr};
    case GRAPH_CLOSE:
        return {AXIS_BOTTOM, AXIS_LEFT, QT_TRANSLATE_NOOP("formCurrentState", "Close Curve"), nullptr};
    case GRAPH_DATA:
        return {AXIS_TOP, AXIS_LEFT, QT_TRANSLATE_NOOP("formCurrentState", "Data Curve"), nullptr};
    case GRAPH_SENS_OPEN:
        return {AXIS_BOTTOM, AXIS_RIGHT, QT_TRANSLATE_NOOP("formCurrentState", "Sensitivity Open Curve"), QT_TRANSLATE_NOOP("formCurrentState", "Sensitivity")};
    case GRAPH_SENS_CLOSE:
        return {AXIS_BOTTOM, AXIS_RIGHT, QT_TRANSLATE_NOOP("formCurrentState", "Sensitivity Close Curve"), QT_TRANSLATE_NOOP("formCurrentState", "Sensitivity")};
    case GRAPH_SETPOINT:
        return {AXIS_TOP, AXIS_LEFT, QT_TRANSLATE_NOOP("formCurrentState", "Setpoint Curve"), nullptr};
    case GRAPH_POS:
    case GRAPH_COUNT:
        break;
    }
    return {AXIS_TOP, AXIS_RIGHT, QT_TRANSLATE_NOOP("formCurrentState", "Pos Curve"), QT_TRANSLATE_NOOP("formCurrentState", "Position")};
}

diagramPointPlan planDiagramPoint(const lvTeachInData &pt, const diagramGraphSet &existing)
{
    diagramPointPlan plan;
    diagramGraphSet exists = existing;
    switch (pt.nCurveType) {
    case CURVE_OPEN:
    case CURVE_CLOSE: {
        const bool bOpen = pt.nCurveType == CURVE_OPEN;
        const diagramGraphKind curve = bOpen ? GRAPH_OPEN : GRAPH_CLOSE;
        const diagramGraphKind sens = bOpen ? GRAPH_SENS_OPEN : GRAPH_SENS_CLOSE;
        createMissing(curve, exists, plan);
        plan.append.append({curve, double(pt.nSteps), drawable(pt.dblData)});
        createMissing(sens, exists, plan);
        plan.append.append({sens, double(pt.nSteps), drawable(pt.dblSens)});
        break;
    }
    case CURVE_DATA:
        createMissing(GRAPH_DATA, exists, plan);
        createMissing(GRAPH_SETPOINT, exists, plan);
        // The right axis carries the sensitivities of an open and a close
        // curve; only while it does not carry both is there room for the
        // position.
        if (!(exists.test(GRAPH_SENS_OPEN) && exists.test(GRAPH_SENS_CLOSE)))
            createMissing(GRAPH_POS, exists, plan);
        plan.append.append({GRAPH_DATA, pt.dblTime, drawable(pt.dblData)});
        plan.append.append({GRAPH_SETPOINT, pt.dblTime, drawable(pt.dblSetpoint)});
        if (exists.test(GRAPH_POS))
            plan.append.append({GRAPH_POS, pt.dblTime, double(pt.nSteps)});
        break;
    default:
        // Any other curve type is drawn nowhere.
        break;
    }
    return plan;
}

diagramTeachInPlan planDiagramTeachIn(const QVector<lvTeachInData> &points)
{
    diagramTeachInPlan plan;
    if (!points.isEmpty()) {
        switch (points.constFirst().nCurveType) {
        case CURVE_OPEN:
        case CURVE_CLOSE:
            plan.firstKeyAxis = AXIS_BOTTOM;
            break;
        case CURVE_DATA:
            plan.firstKeyAxis = AXIS_TOP;
            break;
        default:
            break;
        }
    }
    diagramGraphSet exists;
    for (const lvTeachInData &pt : points) {
        const diagramPointPlan step = planDiagramPoint(pt, exists);
        for (const diagramGraphKind kind : step.create) {
            exists.set(kind);
            plan.create.append(kind);
        }
        for (const diagramPlotPoint &data : step.append)
            plan.data[data.graph].append(data);
    }
    return plan;
}
