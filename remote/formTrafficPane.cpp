#include "remote/formTrafficPane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

void insertTrafficText(QPlainTextEdit *pPane, const QString &strText, bool bScrollToEnd)
{
    if (!pPane)
        return;
    if (!strText.isEmpty()) {
        QTextDocument *pDoc = pPane->document();
        // Undo is on by default and would keep every piece ever inserted and
        // cut off here, growing without end under a steady stream.
        if (pDoc->isUndoRedoEnabled())
            pDoc->setUndoRedoEnabled(false);
        pPane->insertPlainText(strText);
        const int nChars = pDoc->characterCount();
        if (nChars > trafficPaneMaxChars) {
            // Cursors (the pane's own included) follow the removal, so text
            // still arrives where the operator put the cursor.
            QTextCursor cut(pDoc);
            cut.movePosition(QTextCursor::Start);
            cut.setPosition(nChars - trafficPaneKeepChars, QTextCursor::KeepAnchor);
            cut.removeSelectedText();
        }
    }
    if (bScrollToEnd) {
        QScrollBar *pBar = pPane->verticalScrollBar();
        pBar->setValue(pBar->maximum());
    }
}
