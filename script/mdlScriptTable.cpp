#include "script/mdlScriptTable.h"

#include "script/scriptTableIcons.h"

#include <QPixmap>
#include <QSize>

namespace {

enum { COLUMN_NAME = 2, COLUMN_COUNT = 6 };

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
    return parent.isValid() ? 0 : scriptList.size();
}

int mdlScriptTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant mdlScriptTable::data(const QModelIndex &index, int role) const
{
    const int nRow = index.row();
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
    if (!scriptList.isEmpty())
        emit dataChanged(index(0, 0), index(scriptList.size() - 1, COLUMN_COUNT - 1));
    emit layoutChanged();
}

QList<lvScript> mdlScriptTable::getScriptList() const
{
    return scriptList;
}

void mdlScriptTable::appendScript(const lvScript &script)
{
    beginInsertRows(QModelIndex(), scriptList.size(), scriptList.size());
    scriptList.append(script);
    endInsertRows();
}

void mdlScriptTable::removeScript(int nRow)
{
    if (nRow < 0 || nRow >= scriptList.size())
        return;
    beginRemoveRows(QModelIndex(), nRow, nRow);
    scriptList.removeAt(nRow);
    endRemoveRows();
}
