#ifndef TABLELONGPRESSACTION_H
#define TABLELONGPRESSACTION_H

#include <array>

// What a held cell of a script table stands for, chosen from the column the
// finger is on. The owner of the table names its action columns; the table
// only uses the action to word its countdown popup.
enum tableLongPressAction {
    LONG_PRESS_START = 0,
    LONG_PRESS_STOP,
    LONG_PRESS_ADD,
    LONG_PRESS_DELETE,
    LONG_PRESS_UP,
    LONG_PRESS_DOWN,
    LONG_PRESS_SAVE,
    LONG_PRESS_EDIT, // a column that is no action column
    LONG_PRESS_NONE  // the press hit no cell
};

// The action columns in matching order (start, stop, add, delete, up, down,
// save); -1 marks an action the table does not have.
using tableActionColumns = std::array<int, 7>;

// The first action whose column matches; a column of no action is an edit
// column; a press beside the cells (column -1) matches nothing, even though
// unused actions carry -1 too.
tableLongPressAction tableActionOfColumn(int nColumn, const tableActionColumns &columns);

#endif // TABLELONGPRESSACTION_H
