#ifndef QLVCUSTOMPLOT_H
#define QLVCUSTOMPLOT_H

#include <qcustomplot.h>

#include <QTimer>

class QDialog;
class QLabel;

// The diagram's plot: the library's plot widget plus press-and-hold. While a
// finger is down a small popup at the press point counts the hold delay
// down; a release after the delay reports longPressEvent(), which opens the
// diagram's context menu on a touch panel without a right mouse button.
class qLvCustomPlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit qLvCustomPlot(QWidget *parent = nullptr);
    ~qLvCustomPlot() override;

    // Hold delay in milliseconds; the diagram widget writes it.
    int nLongPressTime;

    // Read-only views for the diagram widget and the tests.
    QDialog *longPressDialog() const { return pLongPressDialog; }
    QLabel *longPressLabel() const { return pLongPressLabel; }
    bool isLongPressTimerActive() const { return timerLongPress.isActive(); }

signals:
    void longPressEvent(QMouseEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private slots:
    void onUpdateLongPressLabel();

private:
    qint64 elapsedSincePress() const;

    // Monotonic time of the last press (systemClock, so tests can drive it).
    qint64 timeLongPress = 0;
    // A release is judged only after a press this widget has seen.
    bool bPressed = false;
    QTimer timerLongPress;
    QDialog *pLongPressDialog = nullptr;
    QLabel *pLongPressLabel = nullptr;
};

#endif // QLVCUSTOMPLOT_H
