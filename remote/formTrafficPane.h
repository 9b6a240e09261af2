#ifndef FORMTRAFFICPANE_H
#define FORMTRAFFICPANE_H

#include <QString>

class QPlainTextEdit;

// The traffic panes show a stream as it comes: the text goes in at the pane's
// own cursor (the end, unless the operator touched the pane elsewhere), with no
// line break or time stamp of its own.
//
// A link left open for days would otherwise grow a pane without end and make
// every insertion slower; past trafficPaneMaxChars the oldest part is dropped
// so that trafficPaneKeepChars remain. A traffic pane keeps no undo history:
// the text it would hold is a copy of everything that passed.
constexpr int trafficPaneMaxChars = 32768;
constexpr int trafficPaneKeepChars = 24576;

void insertTrafficText(QPlainTextEdit *pPane, const QString &strText, bool bScrollToEnd);

#endif // FORMTRAFFICPANE_H
