#ifndef LABELWIDTHRESERVE_H
#define LABELWIDTHRESERVE_H

#include <QObject>
#include <QString>

class QLabel;

// Keeps a label at least as wide as the widest text it will show, at the font
// it really has: a style sheet may change the font after the form has set its
// sizes, so the room is measured again whenever the font or style changes.
class labelWidthReserve : public QObject
{
    Q_OBJECT

public:
    // The reserve lives as a child of the label.
    static void reserve(QLabel *pLabel, const QString &strWidest);

    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    labelWidthReserve(QLabel *pLabel, const QString &strWidest);
    void apply();

    QLabel *pLabel;
    QString strWidest;
};

#endif // LABELWIDTHRESERVE_H
