#ifndef SCRIPTTABLEICONS_H
#define SCRIPTTABLEICONS_H

#include <QString>

// The icon files of the Script tab's tables, read relative to the working
// directory: the highlighted ("-black") variant for the selected row. The
// save icon has no highlighted variant.

// The file for a cell of the script table (columns 0 start, 1 stop, 3 add,
// 4 delete, 5 save); empty for a column without icon.
QString scriptTableIconFile(int nColumn, bool bSelectedRow);

// The file for a cell of the command table (columns 3 add, 4 delete, 5 up,
// 6 down); empty for a column without icon.
QString commandTableIconFile(int nColumn, bool bSelectedRow);

#endif // SCRIPTTABLEICONS_H
