#include "manual/qLvCustomPlot.h"

#include "manual/longPressCountdown.h"
#include "platform/systemClock.h"

#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

qLvCustomPlot::qLvCustomPlot(QWidget *parent)
    : QCustomPlot(parent)
{
    // Popup | ToolTip makes a tool-tip window: it floats above the panel but
    // does not grab the mouse, so the release still reaches the plot.
    pLongPressDialog = new QDialog(this, Qt::Popup | Qt::ToolTip);
    pLongPressLabel = new QLabel(pLongPressDialog);
    auto *pLayout = new QVBoxLayout();
    pLongPressLabel->setWordWrap(true);
    pLayout->addWidget(pLongPressLabel, 0, Qt::Alignment());
    pLongPressLabel->setTextFormat(Qt::RichText);
    pLongPressDialog->setLayout(pLayout);

    connect(&timerLongPress, &QTimer::timeout, this, &qLvCustomPlot::onUpdateLongPressLabel);
    nLongPressTime = 2000;
}

qLvCustomPlot::~qLvCustomPlot() = default;

qint64 qLvCustomPlot::elapsedSincePress() const
{
    return systemClock::instance().monotonicMsecs() - timeLongPress;
}

void qLvCustomPlot::mousePressEvent(QMouseEvent *event)
{
    QCustomPlot::mousePressEvent(event);

    timeLongPress = systemClock::instance().monotonicMsecs();
    bPressed = true;
    timerLongPress.start(1000);
    pLongPressLabel->setText(tr("Hold to show context menu in %1 seconds")
                                 .arg(longPressHoldSecondsText(nLongPressTime)));
    pLongPressDialog->move(mapToGlobal(event->pos()));
    pLongPressDialog->adjustSize();
    pLongPressDialog->show();
    event->accept();
}

void qLvCustomPlot::onUpdateLongPressLabel()
{
    pLongPressLabel->setText(longPressTickText(nLongPressTime, elapsedSincePress()));
}

void qLvCustomPlot::mouseReleaseEvent(QMouseEvent *event)
{
    QCustomPlot::mouseReleaseEvent(event);

    pLongPressDialog->hide();
    timerLongPress.stop();
    const bool bWasPressed = bPressed;
    bPressed = false;
    if (bWasPressed && isLongPress(nLongPressTime, elapsedSincePress()))
        emit longPressEvent(event);
    event->accept();
}
