#ifndef QLVLABEL_H
#define QLVLABEL_H

#include <QLabel>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;
class QMouseEvent;

// A label that, when touched, offers a menu of up to three actions and reports
// the chosen one as startAction1/2/3. An empty text leaves its entry out.
class qLvLabel : public QLabel
{
    Q_OBJECT

public:
    explicit qLvLabel(QWidget *parent = nullptr);
    ~qLvLabel() override;

    QString strAction1;
    QString strAction2;
    QString strAction3;

signals:
    void startAction1();
    void startAction2();
    void startAction3();

public slots:
    void slotAction1();
    void slotAction2();
    void slotAction3();

protected:
    void mousePressEvent(QMouseEvent *e) override;

private:
    QPointer<QMenu> pMenu;
    QAction *pAction1 = nullptr;
    QAction *pAction2 = nullptr;
    QAction *pAction3 = nullptr;
};

#endif // QLVLABEL_H
