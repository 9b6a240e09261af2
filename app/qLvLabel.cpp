#include "app/qLvLabel.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>

qLvLabel::qLvLabel(QWidget *parent)
    : QLabel(parent)
{
}

qLvLabel::~qLvLabel() = default;

void qLvLabel::slotAction1()
{
    emit startAction1();
}

void qLvLabel::slotAction2()
{
    emit startAction2();
}

void qLvLabel::slotAction3()
{
    emit startAction3();
}

void qLvLabel::mousePressEvent(QMouseEvent *e)
{
    Q_UNUSED(e)
    if (strAction1.isEmpty() && strAction2.isEmpty() && strAction3.isEmpty())
        return;

    pMenu = new QMenu(this);
    pAction1 = pAction2 = pAction3 = nullptr;
    if (!strAction1.isEmpty()) {
        pAction1 = new QAction(strAction1, pMenu);
        pMenu->addAction(pAction1);
        connect(pAction1, SIGNAL(triggered()), this, SLOT(slotAction1()));
    }
    if (!strAction2.isEmpty()) {
        pAction2 = new QAction(strAction2, pMenu);
        pMenu->addAction(pAction2);
        connect(pAction2, SIGNAL(triggered()), this, SLOT(slotAction2()));
    }
    if (!strAction3.isEmpty()) {
        pAction3 = new QAction(strAction3, pMenu);
        pMenu->addAction(pAction3);
        connect(pAction3, SIGNAL(triggered()), this, SLOT(slotAction3()));
    }

    // A chosen entry may lead to this label being destroyed (the menu with
    // it); only a surviving menu is cleaned up, so presses do not pile up
    // menus for the life of the label.
    QPointer<QMenu> pShown = pMenu;
    pShown->exec(QCursor::pos());
    if (pShown) {
        pAction1 = pAction2 = pAction3 = nullptr;
        pShown->deleteLater();
    }
}
