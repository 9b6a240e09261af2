#include "script/tableLongPressAction.h"

tableLongPressAction tableActionOfColumn(int nColumn, const tableActionColumns &columns)
{
    if (nColumn < 0)
        return LONG_PRESS_NONE;
    for (int i = 0; i < int(columns.size()); ++i) {
        if (columns[i] == nColumn)
            return tableLongPressAction(i);
    }
    return LONG_PRESS_EDIT;
}
