#ifndef COMBOWIDTHFIT_H
#define COMBOWIDTHFIT_H

#include <QObject>
#include <QRect>

class QComboBox;

// Keeps a combo box wide enough to show each of its items whole. Its size
// hint does not do that under the program's style sheets: the sheet sizes the
// combo by its own border and drop-down, but a sheet that gives the combo no
// padding leaves the drawing of the shown item to the base style (Fusion),
// whose text field keeps more room for its frame and arrow. The fit lives as
// a child of the combo and measures again when its items, font or style change.
class comboWidthFit : public QObject
{
    Q_OBJECT

public:
    static void fit(QComboBox *pCombo);

    // The room the shown item's text is drawn in, in the combo's coordinates:
    // what both the style sheet's and the base style's text field leave.
    static QRect textRoom(const QComboBox *pCombo);
    // The width the widest item needs at the combo's font.
    static int widestItem(const QComboBox *pCombo);

    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    explicit comboWidthFit(QComboBox *pCombo);
    void apply();

    QComboBox *pCombo;
};

#endif // COMBOWIDTHFIT_H
