#include "layoutCheck.h"

#include "app/comboWidthFit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QtMath>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
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
        return pLabel->contentsRect().adjusted(m, m, -m, -m);
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
            return pStyle->subElementRect(QStyle::SE_PushButtonContents, &opt, pButton);
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
    if (!isTextWidget(pWidget))
        return;

    const QStringList texts = shownTexts(pWidget);
    bool bAnyText = false;
    for (const QString &strText : texts)
        bAnyText = bAnyText || !strText.isEmpty();
    if (!bAnyText)
        return;

    if (cutByDesign.contains(pWidget->objectName()))
        return;
    const QWidget *pParent = pWidget->parentWidget();
    if (!pWidget->isWindow() && pParent && !scrollsInParent(pWidget)
        && !pParent->rect().contains(pWidget->geometry())) {
        problems << layoutProblem{widgetPath(pWidget), texts.value(0),
                                  QStringLiteral("reaches outside its parent (%1 in %2)")
                                      .arg(rectText(pWidget->geometry()), sizeText(pParent->size()))};
        return;
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
