#include "app/qlvMessageBox.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// The box's style sheet pads each button by 15 px left and right, but the
// button box sizes the buttons without that padding: with the theme's icon
// the text was cut ("Ye", "Nc"). Each button is widened to its text, icon and
// padding when the box is shown, once its buttons and style are final.
class buttonWidthFit : public QObject
{
public:
    explicit buttonWidthFit(QMessageBox *pBox)
        : QObject(pBox), pBox(pBox)
    {
    }

    bool eventFilter(QObject *pWatched, QEvent *pEvent) override
    {
        if (pWatched == pBox && pEvent->type() == QEvent::Show)
            for (QAbstractButton *pButton : pBox->buttons())
                fit(pButton);
        return false;
    }

private:
    static void fit(QAbstractButton *pButton)
    {
        pButton->ensurePolished();
        QStyleOptionButton opt;
        opt.initFrom(pButton);
        opt.text = pButton->text();
        opt.icon = pButton->icon();
        opt.iconSize = pButton->iconSize();
        // A touched button stays hovered, and its hover border is wider.
        const QRect rectContents = pButton->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, pButton);
        opt.state |= QStyle::State_MouseOver;
        const QRect rectHovered = pButton->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, pButton);
        const int nAround = pButton->width() - qMin(rectContents.width(), rectHovered.width());
        QString strText = pButton->text();
        strText.remove(QLatin1Char('&'));
        int nNeeded = pButton->fontMetrics().boundingRect(QRect(0, 0, 10000, 1000), Qt::AlignLeft, strText).width();
        if (!pButton->icon().isNull())
            nNeeded += pButton->iconSize().width() + 4;
        if (pButton->minimumWidth() < nNeeded + nAround)
            pButton->setMinimumWidth(nNeeded + nAround);
    }

    QMessageBox *pBox;
};

} // namespace

qlvMessageBox::qlvMessageBox(QWidget *parent)
    : QMessageBox(parent)
{
    // Without Qt::Dialog a box with a parent would be embedded in that parent
    // as a plain child widget, leaving the window behind it clickable.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    setStyleSheet(styleSheetText());
    installEventFilter(new buttonWidthFit(this));
}

void qlvMessageBox::showEvent(QShowEvent *pEvent)
{
    // The box has its final size once the message box has shown itself.
    QMessageBox::showEvent(pEvent);
    fitTextHeight();
}

void qlvMessageBox::fitTextHeight()
{
    const QWidget *pBehind = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect rectRoom = pBehind ? pBehind->geometry() : screen()->availableGeometry();
    if (height() <= rectRoom.height())
        return;
    auto *pInfo = findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
    auto *pGrid = qobject_cast<QGridLayout *>(layout());
    if (!pInfo || !pGrid || pGrid->indexOf(pInfo) < 0)
        return;
    int nRow = 0, nColumn = 0, nRowSpan = 0, nColumnSpan = 0;
    pGrid->getItemPosition(pGrid->indexOf(pInfo), &nRow, &nColumn, &nRowSpan, &nColumnSpan);
    const QSize sizeText = pInfo->size();
    const int nTextRoom = sizeText.height() - (height() - rectRoom.height());
    if (nTextRoom <= 0)
        return;
    const int nNewHeight = rectRoom.height();
    pGrid->removeWidget(pInfo);
    auto *pScroll = new QScrollArea(this);
    pScroll->setObjectName(QStringLiteral("scrollInformativeText"));
    pScroll->setFrameShape(QFrame::NoFrame);
    pScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pScroll->setWidgetResizable(true);
    pScroll->setWidget(pInfo);
    // Every line stays readable: the field is as wide as the text plus its
    // scroll bar, which is as wide as the panel's other touch scroll bars.
    pScroll->verticalScrollBar()->setFixedWidth(30);
    pScroll->setFixedSize(sizeText.width() + 30, nTextRoom);
    pGrid->addWidget(pScroll, nRow, nColumn, nRowSpan, nColumnSpan);
    pScroll->show();
    // The message box sizes itself to its layout again (when its layout
    // request arrives); it is placed over the window behind it at that height.
    move(x(), rectRoom.y() + (rectRoom.height() - nNewHeight) / 2);
}

QString qlvMessageBox::styleSheetText()
{
    return QStringLiteral(
        "QWidget { color: #b1b1b1; background-color: #323232; }"
        "QPushButton { min-height: 30px; min-width: 30px; color: #b1b1b1;"
        " background-color: QLinearGradient(x1: 0, y1: 0, x2: 0, y2: 1,"
        " stop: 0 #565656, stop: 0.1 #525252, stop: 0.5 #4e4e4e, stop: 0.9 #4a4a4a, stop: 1 #464646);"
        " border-width: 1px; border-color: #1e1e1e; border-style: solid; border-radius: 0;"
        " padding-bottom: 8px; padding-top: 8px; font-size: 14px;"
        " padding-left: 15px; padding-right: 15px; }"
        "QPushButton:pressed { background-color: QLinearGradient(x1: 0, y1: 0, x2: 0, y2: 1,"
        " stop: 0 #2d2d2d, stop: 0.1 #2b2b2b, stop: 0.5 #292929, stop: 0.9 #282828, stop: 1 #252525); }"
        "QPushButton:hover { border: 2px solid QLinearGradient(x1: 0, y1: 0, x2: 0, y2: 1,"
        " stop: 0 #129618, stop: 1 #018207); }"
        "QMessageBox { border: 2px solid QLinearGradient(x1: 0, y1: 0, x2: 0, y2: 1,"
        " stop: 0 #129618, stop: 1 #018207); }");
}
