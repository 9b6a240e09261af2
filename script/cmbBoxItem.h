#ifndef CMBBOXITEM_H
#define CMBBOXITEM_H

#include <QItemDelegate>

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

    // Set for the script table's delegate; the command table's keeps false.
    bool bScriptTable;

signals:
    // Declared for the tab; never emitted.
    void deleteRow(int nRow);
    void test();
};

#endif // CMBBOXITEM_H
