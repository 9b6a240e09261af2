#ifndef LABELWIDTHRESERVE_H
#define LABELWIDTHRESERVE_H

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

// Keeps a label at least as wide as the widest text it will show, at the font
// it really has: a style sheet may change the font after the form has set its
// sizes, so the room is measured again whenever the font or style changes.
class labelWidthReserve : public QObject
{
    Q_OBJECT

public:
    // The reserve lives as a child of the label. A label at a fixed
    // position grows to the right; with pFieldBehind (the widget right of it)
    // it grows no further than that widget and moves left instead.
    static void reserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind = nullptr);

    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    labelWidthReserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind);
    void apply();

    QLabel *pLabel;
    QString strWidest;
    const QWidget *pFieldBehind;
};

#endif // LABELWIDTHRESERVE_H
