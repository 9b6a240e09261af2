#ifndef CMBBOXITEM_H
#define CMBBOXITEM_H

#include <QItemDelegate>

class QAbstractItemView;

// The editors of the Script tab's cells: the keyword list for a command's
// keyword, numeric touch fields (on-screen keypad) with the permitted ranges
// for its value and repeat, and a touch text field (full on-screen keyboard)
// for a script's name. The icon cells get Qt's default editor.
class cmbBoxItem : public QItemDelegate
{
    Q_OBJECT

public:
    explicit cmbBoxItem(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

    // The width column nColumn of pView needs so that the widest texts it
    // can hold (every keyword, the ends of the number ranges) show whole in
    // its cells and in the editor opened there; 0 for a column without such
    // texts. nGrid: the pixels the view's grid takes of each cell.
    int columnWidthNeeded(const QAbstractItemView *pView, int nColumn, int nGrid) const;

    // Set for the script table's delegate; the command table's keeps false.
    bool bScriptTable;

signals:
    // Declared for the tab; never emitted.
    void deleteRow(int nRow);
    void test();

private:
    // The editor of a column without its cell's value; null for the columns
    // that get Qt's default editor.
    QWidget *makeEditor(QWidget *parent, int nColumn) const;
};

#endif // CMBBOXITEM_H
