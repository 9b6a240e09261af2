#include "remote/formTrafficPane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
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
            // The kept tail becomes the whole document rather than the head
            // being removed: a removal leaves the cut text in the document's
            // piece table until about a hundred KiB of it gather, and under a
            // steady stream that shows as memory that keeps climbing.
            const int nCut = nChars - trafficPaneKeepChars;
            // Positions, not a cursor: a cursor would itself follow the rebuild.
            const int nAnchor = pPane->textCursor().anchor();
            const int nPosition = pPane->textCursor().position();
            const int nScroll = pPane->verticalScrollBar()->value();
            const int nCutBlocks = pDoc->findBlock(nCut).blockNumber();
            pPane->setPlainText(pPane->toPlainText().mid(nCut));
            // The operator's cursor and view follow the cut as they would a
            // removal, so text still arrives where the cursor was put.
            QTextCursor kept(pDoc);
            kept.setPosition(qMax(0, nAnchor - nCut));
            kept.setPosition(qMax(0, nPosition - nCut), QTextCursor::KeepAnchor);
            pPane->setTextCursor(kept);
            if (!bScrollToEnd)
                pPane->verticalScrollBar()->setValue(qMax(0, nScroll - nCutBlocks));
        }
    }
    if (bScrollToEnd) {
        QScrollBar *pBar = pPane->verticalScrollBar();
        pBar->setValue(pBar->maximum());
    }
}
