#ifndef XLSXSHEETNAME_H
#define XLSXSHEETNAME_H

#include <QString>

// Worksheet names follow the spreadsheet's rules: at most 31 characters, none
// of [ ] : * ? / \, no apostrophe at either end, not empty. A teach-in name
// that breaks them (a fresh store has no name at all) is made valid here:
// forbidden and control characters become "_", edge apostrophes are dropped,
// the name is cut to 31 characters, and "Sheet1" stands in for nothing.
QString xlsxSheetName(const QString &strName);

// The sheet part of a cell reference: the name in apostrophes, an apostrophe
// inside it doubled ("Bob's" gives 'Bob''s').
QString xlsxQuotedSheetName(const QString &strSheetName);

#endif // XLSXSHEETNAME_H
