#ifndef DIAGRAMGRAPHPLAN_H
#define DIAGRAMGRAPHPLAN_H

#include "valve/lvTeachInData.h"

#include <QVector>

#include <array>
#include <bitset>

// Which graphs the diagram draws for teach-in points, kept apart from the
// widget: both a whole teach-in and a live measurement point go through the
// same rules (which curve a point joins, which graphs it needs, and whether
// the position graph still fits on the right axis beside the sensitivities).

// The seven graphs; the order is the order of the widget's members.
enum diagramGraphKind {
    GRAPH_OPEN = 0,
    GRAPH_CLOSE,
    GRAPH_DATA,
    GRAPH_SENS_OPEN,
    GRAPH_SENS_CLOSE,
    GRAPH_SETPOINT,
    GRAPH_POS,
    GRAPH_COUNT
};

// Axes of the plot: bottom (position), top (time), left (data), right
// (sensitivity or position).
enum diagramAxis { AXIS_BOTTOM, AXIS_TOP, AXIS_LEFT, AXIS_RIGHT };

struct diagramGraphLayout
{
    diagramAxis keyAxis;
    diagramAxis valueAxis;
    const char *pszName;       // the legend name (source text)
    const char *pszValueLabel; // the value axis label the graph sets, or null
};

// Axes, name and the right-axis label of a graph.
diagramGraphLayout diagramGraphLayoutOf(diagramGraphKind kind);

struct diagramPlotPoint
{
    diagramGraphKind graph;
    double dblKey;
    double dblValue; // an infinite value is drawn as a gap (not a number)
};

using diagramGraphSet = std::bitset<GRAPH_COUNT>;

// What one point adds: the graphs to create first (in creation order, given
// those that exist) and the data to append to them.
struct diagramPointPlan
{
    QVector<diagramGraphKind> create;
    QVector<diagramPlotPoint> append;
};

diagramPointPlan planDiagramPoint(const lvTeachInData &pt, const diagramGraphSet &existing);

// A whole teach-in drawn at once: the graphs in creation order, every graph's
// data, and the key axis of the first point (the one the drawing labels and
// ranges); the key axis is AXIS_LEFT when the first point joins no curve or
// there is none.
struct diagramTeachInPlan
{
    QVector<diagramGraphKind> create;
    std::array<QVector<diagramPlotPoint>, GRAPH_COUNT> data;
    diagramAxis firstKeyAxis = AXIS_LEFT;
};

diagramTeachInPlan planDiagramTeachIn(const QVector<lvTeachInData> &points);

#endif // DIAGRAMGRAPHPLAN_H
