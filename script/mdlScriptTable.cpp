#include "script/mdlScriptTable.h"

#include "script/scriptTableIcons.h"

#include <QPixmap>
#include <QSize>

namespace {

enum { COLUMN_NAME = 2, COLUMN_ADD = 3, COLUMN_COUNT = 6 };

// A missing or unreadable file leaves the cell without an icon.
QVariant iconOrNothing(const QString &strFile)
{
    if (strFile.isEmpty())
        return QVariant();
    const QPixmap pixmap(strFile);
    return pixmap.isNull() ? QVariant() : QVariant(pixmap);
}

} // namespace

mdlScriptTable::mdlScriptTable(QObject *parent)
    : QAbstractTableModel(parent)
    , nSelectedRow(0)
{
}

int mdlScriptTable::rowCount(const QModelIndex &parent) const
{
    // A table: the cells have no children.
    if (parent.isValid())
        return 0;
    return showsEmptyNote() ? 1 : scriptList.size();
}

bool mdlScriptTable::showsEmptyNote() const
{
    return scriptList.isEmpty() && !strEmptyNote.isEmpty();
}

int mdlScriptTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant mdlScriptTable::data(const QModelIndex &index, int role) const
{
    const int nRow = index.row();
    if (showsEmptyNote()) {
        if (nRow != 0)
            return role == Qt::DisplayRole ? QVariant(QStringLiteral("ERROR")) : QVariant();
        if (role == Qt::DisplayRole && index.column() == COLUMN_NAME)
            return strEmptyNote;
        if (role == Qt::DecorationRole && index.column() == COLUMN_ADD)
            return iconOrNothing(scriptTableIconFile(COLUMN_ADD, nRow == nSelectedRow));
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        if (nRow < 0 || nRow >= scriptList.size())
            return QStringLiteral("ERROR");
        if (index.column() == COLUMN_NAME)
            return scriptList.at(nRow).strName;
        return QVariant();
    case Qt::EditRole:
        // The name editor opens with the current name.
        if (index.column() == COLUMN_NAME && nRow >= 0 && nRow < scriptList.size())
            return scriptList.at(nRow).strName;
        return QVariant();
    case Qt::DecorationRole:
        return iconOrNothing(scriptTableIconFile(index.column(), nRow == nSelectedRow));
    default:
        return QVariant();
    }
}

bool mdlScriptTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int nRow = index.row();
    nEditedRow = nRow;
    nEditedColumn = index.column();
    if (role == Qt::EditRole && nRow >= 0 && nRow < scriptList.size() && index.column() == COLUMN_NAME) {
        lvScript script = scriptList.at(nRow);
        script.strName = value.toString();
        scriptList.replace(nRow, script);
    }
    emit editCompleted(value.toString());
    return true;
}

QVariant mdlScriptTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::SizeHintRole)
        return QSize(15, 20);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section == COLUMN_NAME ? QVariant(QStringLiteral("Script")) : QVariant();
    return QStringLiteral("%1").arg(section);
}

Qt::ItemFlags mdlScriptTable::flags(const QModelIndex &index) const
{
    // The root of a table is no cell.
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The note's row has nothing to edit.
    if (showsEmptyNote())
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

void mdlScriptTable::setScriptList(QList<lvScript> *pList)
{
    beginResetModel();
    scriptList.clear();
    if (pList)
        scriptList.append(*pList);
    endResetModel();
    updateTable();
}

void mdlScriptTable::updateTable()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, COLUMN_COUNT - 1));
    emit layoutChanged();
}

QList<lvScript> mdlScriptTable::getScriptList() const
{
    return scriptList;
}

void mdlScriptTable::appendScript(const lvScript &script)
{
    // The first script takes the place of the note's row.
    if (showsEmptyNote()) {
        beginResetModel();
        scriptList.append(script);
        endResetModel();
        return;
    }
    beginInsertRows(QModelIndex(), scriptList.size(), scriptList.size());
    scriptList.append(script);
    endInsertRows();
}

void mdlScriptTable::removeScript(int nRow)
{
    if (nRow < 0 || nRow >= scriptList.size())
        return;
    // The last script leaves the note's row in its place.
    if (scriptList.size() == 1 && !strEmptyNote.isEmpty()) {
        beginResetModel();
        scriptList.removeAt(nRow);
        endResetModel();
        return;
    }
    beginRemoveRows(QModelIndex(), nRow, nRow);
    scriptList.removeAt(nRow);
    endRemoveRows();
}
