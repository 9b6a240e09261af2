#ifndef FIXEDPLACEFIT_H
#define FIXEDPLACEFIT_H

#include <QObject>

class QWidget;

// Widgets a form places at fixed positions keep their place, but get the room
// their contents need on the panel: a form drawn for one font and page size
// may be shown with another, and the style sheet sets the fonts only when the
// widgets are polished. Each fit lives as a child of the widget it watches and
// measures again whenever that widget's layout, font or size changes.
class fixedPlaceFit : public QObject
{
    Q_OBJECT

public:
    // A container with a layout grows (never shrinks) to its layout's
    // minimum size, so no widget of the layout is pushed out of it.
    static void growToLayout(QWidget *pContainer);
    // A widget that would reach past its parent's right edge is narrowed to
    // end there, down to its minimum width; it keeps its form's width when
    // the parent is wide enough.
    static void keepInsideParent(QWidget *pChild);

    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    enum fitKind { GROW_TO_LAYOUT, KEEP_INSIDE_PARENT };
    fixedPlaceFit(QWidget *pWidget, fitKind eKind);
    void apply();

    QWidget *pWidget;
    fitKind eKind;
    int nFormWidth;
};

#endif // FIXEDPLACEFIT_H
