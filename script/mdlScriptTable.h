#ifndef MDLSCRIPTTABLE_H
#define MDLSCRIPTTABLE_H

#include "script/lvScript.h"

#include <QAbstractTableModel>
#include <QList>

// The Script tab's list of scripts: one row per script, six columns (start
// icon, stop icon, name, add icon, delete icon, save icon). The model keeps
// its own copy of the list; the tab changes it in place and calls
// updateTable(). Every committed edit is reported with editCompleted().
//
// An empty list shows one row instead, holding strEmptyNote in the name cell
// and the add icon, so that the operator of a panel without scripts has a
// cell to make the first one with; no other cell of it shows or edits
// anything.
class mdlScriptTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit mdlScriptTable(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The list becomes a copy of *pList; the views refresh.
    void setScriptList(QList<lvScript> *pList);
    // The views re-read the whole table.
    void updateTable();
    QList<lvScript> getScriptList() const;
    // Row changes with the views told as they happen.
    void appendScript(const lvScript &script);
    void removeScript(int nRow);

    // True while the table shows the row of an empty list.
    bool showsEmptyNote() const;

    // The row whose icons are drawn highlighted; written by the tab.
    int nSelectedRow;
    // The name cell's text of the row an empty list shows; no such row while
    // empty. Set before the list.
    QString strEmptyNote;
    QList<lvScript> scriptList;
    // The cell of the last setData(), so the tab knows whose name was edited
    // (an icon cell's plain editor commits its text too); -1 before the
    // first.
    int nEditedRow = -1;
    int nEditedColumn = -1;

signals:
    void editCompleted(QString strText);
};

#endif // MDLSCRIPTTABLE_H
