#include "script/mdlCommandTable.h"

#include "script/scriptCommandType.h"
#include "script/scriptListRules.h"
#include "script/scriptTableIcons.h"

#include <QPixmap>
#include <QSize>

#include <climits>

namespace {

enum { COLUMN_KEYWORD = 0, COLUMN_VALUE = 1, COLUMN_REPEAT = 2, COLUMN_COUNT = 7 };

QVariant iconOrNothing(const QString &strFile)
{
    if (strFile.isEmpty())
        return QVariant();
    const QPixmap pixmap(strFile);
    return pixmap.isNull() ? QVariant() : QVariant(pixmap);
}

QVariant cellValue(const lvScriptCommand &cmd, int nColumn)
{
    switch (nColumn) {
    case COLUMN_KEYWORD:
        return cmd.getCmdName();
    case COLUMN_VALUE:
        return cmd.nValue;
    case COLUMN_REPEAT:
        return cmd.nRepeat;
    default:
        return QVariant();
    }
}

// A committed number: text that is no number gives 0; a number outside the
// editor's range (an editor closed while its validator still held an
// unfinished entry) leaves the old value, so no command ever holds a
// position or count the editor would refuse.
int committedNumber(const QString &strText, int nOld, bool (*inRange)(int))
{
    bool bNumber = false;
    const qlonglong nValue = strText.trimmed().toLongLong(&bNumber);
    if (!bNumber)
        return 0;
    if (nValue < INT_MIN || nValue > INT_MAX || !inRange(int(nValue)))
        return nOld;
    return int(nValue);
}

} // namespace

mdlCommandTable::mdlCommandTable(QObject *parent)
    : QAbstractTableModel(parent)
    , nSelectedRow(0)
{
}

int mdlCommandTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : cmdList.size();
}

int mdlCommandTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant mdlCommandTable::data(const QModelIndex &index, int role) const
{
    const int nRow = index.row();
    const bool bInList = nRow >= 0 && nRow < cmdList.size();
    switch (role) {
    case Qt::DisplayRole:
        if (!bInList)
            return QStringLiteral("ERROR");
        return cellValue(cmdList.at(nRow), index.column());
    case Qt::EditRole:
        // The editors open with the cell's value.
        return bInList ? cellValue(cmdList.at(nRow), index.column()) : QVariant();
    case Qt::DecorationRole:
        return iconOrNothing(commandTableIconFile(index.column(), nRow == nSelectedRow));
    default:
        return QVariant();
    }
}

bool mdlCommandTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int nRow = index.row();
    if (role == Qt::EditRole && nRow >= 0 && nRow < cmdList.size()) {
        lvScriptCommand cmd = cmdList.at(nRow);
        const QString strText = value.toString();
        switch (index.column()) {
        case COLUMN_KEYWORD: {
            const int nType = scriptCommandTypeOf(strText);
            if (nType >= 0)
                cmd.nCmdType = nType;
            break;
        }
        case COLUMN_VALUE:
            cmd.nValue = committedNumber(strText, cmd.nValue, isScriptValueInRange);
            break;
        case COLUMN_REPEAT:
            cmd.nRepeat = committedNumber(strText, cmd.nRepeat, isScriptRepeatInRange);
            break;
        default:
            break;
        }
        cmdList.replace(nRow, cmd);
    }
    emit editCompleted(value.toString());
    return true;
}

QVariant mdlCommandTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::SizeHintRole)
        return QSize(15, 20);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return QStringLiteral("%1").arg(section);
    switch (section) {
    case COLUMN_KEYWORD:
        return QStringLiteral("Command");
    case COLUMN_VALUE:
        return QStringLiteral("Value");
    case COLUMN_REPEAT:
        return QStringLiteral("Repeat");
    default:
        return QVariant();
    }
}

Qt::ItemFlags mdlCommandTable::flags(const QModelIndex &index) const
{
    // The root of a table is no cell.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

void mdlCommandTable::setScriptCommandList(QList<lvScriptCommand> *pList)
{
    beginResetModel();
    cmdList.clear();
    if (pList)
        cmdList.append(*pList);
    endResetModel();
    updateTable();
}

QList<lvScriptCommand> mdlCommandTable::getScriptCommandList() const
{
    return cmdList;
}

void mdlCommandTable::updateTable()
{
    if (!cmdList.isEmpty())
        emit dataChanged(index(0, 0), index(cmdList.size() - 1, COLUMN_COUNT - 1));
    emit layoutChanged();
}

void mdlCommandTable::insertCommand(int nRow, const lvScriptCommand &cmd)
{
    nRow = qBound(0, nRow, cmdList.size());
    beginInsertRows(QModelIndex(), nRow, nRow);
    cmdList.insert(nRow, cmd);
    endInsertRows();
}

void mdlCommandTable::removeCommand(int nRow)
{
    if (nRow < 0 || nRow >= cmdList.size())
        return;
    beginRemoveRows(QModelIndex(), nRow, nRow);
    cmdList.removeAt(nRow);
    endRemoveRows();
}

bool mdlCommandTable::moveCommand(int nRow, int nStep)
{
    QList<lvScriptCommand> moved = cmdList;
    if (!::moveCommand(moved, nRow, nStep))
        return false;
    cmdList = moved;
    const int nFirst = qMin(nRow, nRow + nStep);
    emit dataChanged(index(nFirst, 0), index(nFirst + 1, COLUMN_COUNT - 1));
    return true;
}
