#ifndef LABELWIDTHRESERVE_H
#define LABELWIDTHRESERVE_H

#include <QObject>
#include <QString>

#include <QMargins>

class QLabel;
class QWidget;

// The indent a label keeps between its contents rectangle (less its margin)
// and its text: a framed label without an indent of its own keeps half an
// "x" on the side(s) its text is aligned to.
QMargins labelTextIndent(const QLabel *pLabel);

// Keeps a label at least as wide as the widest text it will show (or as high
// as a number of its lines), at the font it really has: a style sheet may
// change the font after the form has set its sizes, so the room is measured
// again whenever the font or style changes.
class labelWidthReserve : public QObject
{
    Q_OBJECT

public:
    // The reserve lives as a child of the label. A label at a fixed
    // position grows to the right; with pFieldBehind (the widget right of it)
    // it grows no further than that widget and moves left instead.
    static void reserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind = nullptr);
    // Room for the first nLines lines of the label's text. pHolder, an
    // ancestor whose own minimum height would otherwise cap the label, grows
    // with it, up to its maximum height.
    static void reserveLines(QLabel *pLabel, int nLines, QWidget *pHolder = nullptr);

    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    labelWidthReserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind, int nLines,
                      QWidget *pHolder);
    static void install(labelWidthReserve *pReserve);
    void apply();
    void applyWidth();
    void applyLines();

    QLabel *pLabel;
    QString strWidest;
    const QWidget *pFieldBehind;
    int nLines;
    QWidget *pHolder;
};

#endif // LABELWIDTHRESERVE_H
