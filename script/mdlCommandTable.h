#ifndef MDLCOMMANDTABLE_H
#define MDLCOMMANDTABLE_H

#include "script/lvScriptCommand.h"

#include <QAbstractTableModel>
#include <QList>

// The commands of the Script tab's current script: one row per command,
// seven columns (keyword, value, repeat, add icon, delete icon, up icon,
// down icon). The model keeps its own copy of the commands, which is where
// the operator's edits go until the tab saves them. Every committed edit is
// reported with editCompleted().
class mdlCommandTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit mdlCommandTable(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The commands become copies of *pList; nSelectedRow stays.
    void setScriptCommandList(QList<lvScriptCommand> *pList);
    QList<lvScriptCommand> getScriptCommandList() const;
    // The views re-read the whole table.
    void updateTable();
    // Row changes with the views told as they happen.
    void insertCommand(int nRow, const lvScriptCommand &cmd);
    void removeCommand(int nRow);
    // Swaps a command with its neighbour (nStep -1 up, +1 down); false when
    // there is none.
    bool moveCommand(int nRow, int nStep);

    // The row whose icons are drawn highlighted; written by the tab.
    int nSelectedRow;
    QList<lvScriptCommand> cmdList;

signals:
    void editCompleted(QString strText);
};

#endif // MDLCOMMANDTABLE_H
