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
        pPane->insertPlainText(strText);
        QTextDocument *pDoc = pPane->document();
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
