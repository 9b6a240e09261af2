#include "layoutCheck.h"

#include "app/comboWidthFit.h"
#include "app/labelWidthReserve.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QtMath>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>
#include <QTextDocument>
#include <QToolButton>

namespace {

QString withoutMnemonics(QString strText)
{
    strText.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    strText.remove(QLatin1Char('&'));
    strText.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return strText;
}

bool isTextWidget(const QWidget *pWidget)
{
    return qobject_cast<const QLabel *>(pWidget) || qobject_cast<const QAbstractButton *>(pWidget)
           || qobject_cast<const QLineEdit *>(pWidget) || qobject_cast<const QComboBox *>(pWidget);
}

// Children of a scroll area's viewport may be larger than the viewport: the
// operator scrolls to them.
bool scrollsInParent(const QWidget *pWidget)
{
    const QWidget *pParent = pWidget->parentWidget();
    if (!pParent || !pParent->parentWidget())
        return false;
    auto *pArea = qobject_cast<const QAbstractScrollArea *>(pParent->parentWidget());
    return pArea && pArea->viewport() == pParent;
}

// The visible part of a widget in screen coordinates: cut by every ancestor
// up to its window.
QRect visibleOnScreen(const QWidget *pWidget)
{
    QRect rect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
    for (const QWidget *p = pWidget->parentWidget(); p && !pWidget->isWindow(); p = p->parentWidget()) {
        rect &= QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
        if (p->isWindow())
            break;
    }
    return rect;
}

// Where a text widget draws its (first) text, in its parent's coordinates:
// a label and a line edit by their alignment, a button centred, a combo box
// from the left.
QRect textInParent(const QWidget *pWidget, const QString &strText)
{
    const QRect rectRoom = layoutCheck::textRoom(pWidget);
    const int nWidth = qMin(rectRoom.width(), layoutCheck::neededSize(pWidget, strText, rectRoom).width());
    Qt::Alignment align = Qt::AlignLeft;
    if (auto *pLabel = qobject_cast<const QLabel *>(pWidget))
        align = pLabel->alignment();
    else if (auto *pEdit = qobject_cast<const QLineEdit *>(pWidget))
        align = pEdit->alignment();
    else if (qobject_cast<const QAbstractButton *>(pWidget) && !qobject_cast<const QCheckBox *>(pWidget)
             && !qobject_cast<const QRadioButton *>(pWidget))
        align = Qt::AlignHCenter;
    align = QStyle::visualAlignment(pWidget->layoutDirection(), align);
    int nLeft = rectRoom.left();
    if (align & Qt::AlignRight)
        nLeft = rectRoom.right() + 1 - nWidth;
    else if (align & Qt::AlignHCenter)
        nLeft = rectRoom.left() + (rectRoom.width() - nWidth) / 2;
    return QRect(nLeft, rectRoom.top(), nWidth, rectRoom.height()).translated(pWidget->pos());
}

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString sizeText(const QSize &s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

} // namespace

QString layoutProblem::toString() const
{
    return QStringLiteral("%1 \"%2\": %3").arg(strWidget, strText, strWhat);
}

layoutCheck::layoutCheck(const QRect &rectScreen)
    : rectScreen(rectScreen)
{
}

QString layoutCheck::widgetPath(const QWidget *pWidget)
{
    QStringList parts;
    for (const QWidget *p = pWidget; p; p = p->parentWidget()) {
        QString strName = p->objectName();
        if (strName.isEmpty() || strName.startsWith(QLatin1String("qt_")))
            strName = QString::fromLatin1(p->metaObject()->className());
        // Named widgets are unique enough on their own; stop at the first
        // named window so a path stays readable.
        parts.prepend(strName);
        if (p->isWindow())
            break;
    }
    // Keep the window and the last three levels: enough to find the widget.
    if (parts.size() > 4)
        parts = QStringList{parts.first(), QStringLiteral("…")} + parts.mid(parts.size() - 3);
    return parts.join(QLatin1Char('/'));
}

QStringList layoutCheck::shownTexts(const QWidget *pWidget)
{
    if (auto *pLabel = qobject_cast<const QLabel *>(pWidget)) {
        if (!pLabel->pixmap(Qt::ReturnByValue).isNull())
            return {};
        return {pLabel->text()};
    }
    if (auto *pButton = qobject_cast<const QAbstractButton *>(pWidget)) {
        auto *pTool = qobject_cast<const QToolButton *>(pWidget);
        if (pTool && pTool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return {};
        return {withoutMnemonics(pButton->text())};
    }
    if (auto *pEdit = qobject_cast<const QLineEdit *>(pWidget))
        return {pEdit->text().isEmpty() ? pEdit->placeholderText() : pEdit->displayText()};
    if (auto *pCombo = qobject_cast<const QComboBox *>(pWidget)) {
        // A line-edit combo shows its text through its own line edit, which
        // is checked as a line edit; a list of items is checked here.
        QStringList texts;
        for (int i = 0; i < pCombo->count(); ++i)
            texts << pCombo->itemText(i);
        if (pCombo->isEditable())
            return {};
        return texts;
    }
    return {};
}

QRect layoutCheck::textRoom(const QWidget *pWidget)
{
    QStyle *pStyle = pWidget->style();
    if (auto *pLabel = qobject_cast<const QLabel *>(pWidget)) {
        const int m = pLabel->margin();
        return pLabel->contentsRect().adjusted(m, m, -m, -m).marginsRemoved(labelTextIndent(pLabel));
    }
    if (auto *pButton = qobject_cast<const QAbstractButton *>(pWidget)) {
        QStyleOptionButton opt;
        opt.initFrom(pButton);
        opt.text = pButton->text();
        opt.icon = pButton->icon();
        opt.iconSize = pButton->iconSize();
        if (qobject_cast<const QCheckBox *>(pButton))
            return pStyle->subElementRect(QStyle::SE_CheckBoxContents, &opt, pButton);
        if (qobject_cast<const QRadioButton *>(pButton))
            return pStyle->subElementRect(QStyle::SE_RadioButtonContents, &opt, pButton);
        if (auto *pPush = qobject_cast<const QPushButton *>(pButton)) {
            if (pPush->isFlat())
                opt.features |= QStyleOptionButton::Flat;
            if (pPush->isDefault())
                opt.features |= QStyleOptionButton::DefaultButton;
            // On a touch panel the pointer stays on the button last tapped,
            // so the text must fit the hovered button (a wider border in the
            // style sheets) as well as the resting one.
            const QRect rResting = pStyle->subElementRect(QStyle::SE_PushButtonContents, &opt, pButton);
            opt.state |= QStyle::State_MouseOver;
            return rResting & pStyle->subElementRect(QStyle::SE_PushButtonContents, &opt, pButton);
        }
        return pButton->contentsRect();
    }
    if (auto *pEdit = qobject_cast<const QLineEdit *>(pWidget)) {
        QStyleOptionFrame opt;
        opt.initFrom(pEdit);
        opt.rect = pEdit->rect();
        opt.lineWidth = pEdit->hasFrame() ? pStyle->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, pEdit) : 0;
        opt.midLineWidth = 0;
        opt.state |= QStyle::State_Sunken;
        const QMargins m = pEdit->textMargins();
        // The line edit keeps two pixels left and right and one above and
        // below free of text.
        return pStyle->subElementRect(QStyle::SE_LineEditContents, &opt, pEdit)
            .adjusted(m.left() + 2, m.top() + 1, -m.right() - 2, -m.bottom() - 1);
    }
    if (auto *pCombo = qobject_cast<const QComboBox *>(pWidget))
        return comboWidthFit::textRoom(pCombo);
    return {};
}

QSize layoutCheck::neededSize(const QWidget *pWidget, const QString &strText, const QRect &rectRoom)
{
    const QFontMetrics fm(pWidget->font());
    auto *pLabel = qobject_cast<const QLabel *>(pWidget);
    const bool bWrap = pLabel && pLabel->wordWrap();
    const bool bRich = pLabel
                       && (pLabel->textFormat() == Qt::RichText
                           || (pLabel->textFormat() == Qt::AutoText && Qt::mightBeRichText(strText)));
    if (bRich) {
        QTextDocument doc;
        doc.setDefaultFont(pWidget->font());
        doc.setDocumentMargin(0);
        doc.setHtml(strText);
        if (bWrap)
            doc.setTextWidth(rectRoom.width());
        return QSize(qCeil(bWrap ? doc.size().width() : doc.idealWidth()), qCeil(doc.size().height()));
    }
    QSize size = fm.boundingRect(rectRoom, (bWrap ? Qt::TextWordWrap : 0) | Qt::AlignLeft | Qt::AlignTop, strText).size();
    if (auto *pButton = qobject_cast<const QAbstractButton *>(pWidget)) {
        // Icon and text side by side, four pixels apart.
        if (!pButton->icon().isNull() && !strText.isEmpty())
            size.rwidth() += pButton->iconSize().width() + 4;
    }
    return size;
}

void layoutCheck::checkOne(QWidget *pWidget, QList<layoutProblem> &problems) const
{
    const QRect rectVisible = visibleOnScreen(pWidget);
    if (rectVisible.isEmpty())
        return;
    if (!rectScreen.contains(rectVisible)) {
        problems << layoutProblem{widgetPath(pWidget), QString(),
                                  QStringLiteral("reaches outside the screen (%1)").arg(rectText(rectVisible))};
        return;
    }
    if (auto *pTable = qobject_cast<const QTableView *>(pWidget)) {
        checkTable(pTable, problems);
        return;
    }
    if (!isTextWidget(pWidget))
        return;

    const QStringList texts = shownTexts(pWidget);
    bool bAnyText = false;
    for (const QString &strText : texts)
        bAnyText = bAnyText || !strText.isEmpty();
    if (!bAnyText)
        return;

    if (cutByDesign.contains(pWidget->objectName())) {
        if (auto *pLabel = qobject_cast<const QLabel *>(pWidget))
            checkStartShown(pLabel, texts.value(0), problems);
        return;
    }
    const QWidget *pParent = pWidget->parentWidget();
    if (!pWidget->isWindow() && pParent && !scrollsInParent(pWidget)
        && !pParent->rect().contains(pWidget->geometry())) {
        problems << layoutProblem{widgetPath(pWidget), texts.value(0),
                                  QStringLiteral("reaches outside its parent (%1 in %2)")
                                      .arg(rectText(pWidget->geometry()), sizeText(pParent->size()))};
        return;
    }

    // A layout short of room lays its widgets over each other: one hides
    // part of the other's text.
    if (pParent && !scrollsInParent(pWidget)) {
        const QRect rectDrawn = textInParent(pWidget, texts.value(0));
        for (const QObject *pObject : pParent->children()) {
            auto *pSibling = qobject_cast<const QWidget *>(pObject);
            if (!pSibling || pSibling == pWidget || pSibling->isWindow() || !pSibling->isVisible()
                || !isTextWidget(pSibling) || !pSibling->geometry().intersects(rectDrawn))
                continue;
            problems << layoutProblem{widgetPath(pWidget), texts.value(0),
                                      QStringLiteral("overlaps %1 (%2 and %3)")
                                          .arg(pSibling->objectName(), rectText(pWidget->geometry()),
                                               rectText(pSibling->geometry()))};
            return;
        }
    }

    // A combo box asks for the width of its widest item with its frame and
    // arrow; given less, the style cuts the item it shows.
    if (auto *pCombo = qobject_cast<QComboBox *>(pWidget)) {
        if (pCombo->width() < pCombo->sizeHint().width()) {
            problems << layoutProblem{widgetPath(pWidget), pCombo->currentText(),
                                      QStringLiteral("combo box needs width %1, has %2")
                                          .arg(pCombo->sizeHint().width())
                                          .arg(pCombo->width())};
            return;
        }
    }
    const QRect rectRoom = textRoom(pWidget);
    for (const QString &strText : texts) {
        if (strText.isEmpty())
            continue;
        const QSize sizeNeeded = neededSize(pWidget, strText, rectRoom);
        if (sizeNeeded.width() > rectRoom.width() || sizeNeeded.height() > rectRoom.height())
            problems << layoutProblem{widgetPath(pWidget), strText,
                                      QStringLiteral("needs %1 at %2 %3px, has %4")
                                          .arg(sizeText(sizeNeeded), pWidget->font().family())
                                          .arg(QFontInfo(pWidget->font()).pixelSize())
                                          .arg(sizeText(rectRoom.size()))};
    }
}

void layoutCheck::checkTable(const QTableView *pTable, QList<layoutProblem> &problems)
{
    const QAbstractItemModel *pModel = pTable->model();
    if (!pModel)
        return;
    const QString strPath = widgetPath(pTable);
    const QHeaderView *pHeader = pTable->horizontalHeader();
    // Scrolled sideways, a column (and the cells the operator holds there)
    // hides behind the others or under the vertical scroll bar.
    if (pHeader->length() > pTable->viewport()->width())
        problems << layoutProblem{strPath, QString(),
                                  QStringLiteral("columns need width %1, the table shows %2")
                                      .arg(pHeader->length())
                                      .arg(pTable->viewport()->width())};

    // The item delegates keep this much free left and right of a cell's
    // text, and the grid takes a pixel of every cell. Every row counts, also
    // those scrolled out of view.
    const int nMargin = pTable->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pTable) + 1;
    const int nGrid = pTable->showGrid() ? 1 : 0;
    const QModelIndex root = pTable->rootIndex();
    const QHeaderView *pRows = pTable->verticalHeader();
    for (int r = 0; r < pModel->rowCount(root) && !pRows->isHidden(); ++r) {
        const QString strRow = pModel->headerData(r, Qt::Vertical, Qt::DisplayRole).toString();
        if (strRow.isEmpty())
            continue;
        QStyleOptionHeader opt;
        opt.initFrom(pRows);
        opt.rect = QRect(0, 0, pRows->width(), pRows->sectionSize(r));
        opt.section = r;
        opt.orientation = Qt::Vertical;
        opt.text = strRow;
        const QRect rectLabel = pRows->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, pRows);
        const int nNeeded = qCeil(QFontMetricsF(pRows->font()).horizontalAdvance(strRow));
        if (nNeeded > rectLabel.width())
            problems << layoutProblem{strPath + QStringLiteral(" row %1").arg(r), strRow,
                                      QStringLiteral("row header needs width %1, has %2").arg(nNeeded).arg(rectLabel.width())};
    }
    for (int c = 0; c < pModel->columnCount(root); ++c) {
        if (pTable->isColumnHidden(c))
            continue;
        const QString strColumn = strPath + QStringLiteral(" column %1").arg(c);
        const int nRoom = pTable->columnWidth(c) - nGrid - 2 * nMargin;
        QSet<QString> checked;
        for (int r = 0; r < pModel->rowCount(root); ++r) {
            const QModelIndex index = pModel->index(r, c, root);
            const QString strText = index.data(Qt::DisplayRole).toString();
            if (strText.isEmpty() || checked.contains(strText))
                continue;
            checked.insert(strText);
            const QVariant font = index.data(Qt::FontRole);
            const QFont fontCell = font.isValid() ? font.value<QFont>() : pTable->font();
            const int nNeeded = qCeil(QFontMetricsF(fontCell).horizontalAdvance(strText));
            if (nNeeded > nRoom)
                problems << layoutProblem{strColumn, strText,
                                          QStringLiteral("needs width %1 at %2 %3px in its cell, has %4")
                                              .arg(nNeeded)
                                              .arg(fontCell.family())
                                              .arg(QFontInfo(fontCell).pixelSize())
                                              .arg(nRoom)};
        }
        const QString strHeader = pModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        if (strHeader.isEmpty() || pHeader->isHidden())
            continue;
        QStyleOptionHeader opt;
        opt.initFrom(pHeader);
        opt.rect = QRect(0, 0, pHeader->sectionSize(c), pHeader->height());
        opt.section = c;
        opt.orientation = Qt::Horizontal;
        opt.text = strHeader;
        opt.textAlignment = pHeader->defaultAlignment();
        const QRect rectLabel = pHeader->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, pHeader);
        const int nNeeded = qCeil(QFontMetricsF(pHeader->font()).horizontalAdvance(strHeader));
        if (nNeeded > rectLabel.width())
            problems << layoutProblem{strColumn, strHeader,
                                      QStringLiteral("header needs width %1, has %2").arg(nNeeded).arg(rectLabel.width())};
    }
}

void layoutCheck::checkStartShown(const QLabel *pLabel, const QString &strText, QList<layoutProblem> &problems)
{
    const QRect rectRoom = textRoom(pLabel);
    const QSize sizeNeeded = neededSize(pLabel, strText, rectRoom);
    const Qt::Alignment align = QStyle::visualAlignment(pLabel->layoutDirection(), pLabel->alignment());
    if (sizeNeeded.height() > rectRoom.height() && !(align & Qt::AlignTop))
        problems << layoutProblem{widgetPath(pLabel), strText,
                                  QStringLiteral("loses its first line: needs height %1, has %2, not aligned to the top")
                                      .arg(sizeNeeded.height())
                                      .arg(rectRoom.height())};
    if (sizeNeeded.width() > rectRoom.width() && !(align & Qt::AlignLeft))
        problems << layoutProblem{widgetPath(pLabel), strText,
                                  QStringLiteral("loses its start: needs width %1, has %2, not aligned to the left")
                                      .arg(sizeNeeded.width())
                                      .arg(rectRoom.width())};
}

QList<layoutProblem> layoutCheck::problemsBelow(QWidget *pRoot) const
{
    QList<layoutProblem> problems;
    if (!pRoot->isVisible())
        return problems;
    QList<QWidget *> widgets{pRoot};
    widgets += pRoot->findChildren<QWidget *>();
    for (QWidget *pWidget : widgets) {
        // Other windows (menus, boxes, popups) are checked when they are shown.
        if (pWidget != pRoot && pWidget->isWindow())
            continue;
        if (!pWidget->isVisible())
            continue;
        checkOne(pWidget, problems);
    }
    return problems;
}

QList<layoutProblem> layoutCheck::problemsOfShown(QWidget *pWindow) const
{
    pWindow->show();
    // Let the window polish, lay out and place itself (a box centres on its
    // parent once shown).
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QList<layoutProblem> problems = problemsBelow(pWindow);
    pWindow->hide();
    return problems;
}

QStringList layoutCheck::describe(const QList<layoutProblem> &problems)
{
    QStringList lines;
    for (const layoutProblem &problem : problems)
        lines << problem.toString();
    return lines;
}
