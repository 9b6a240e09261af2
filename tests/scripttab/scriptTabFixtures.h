#ifndef SCRIPTTABFIXTURES_H
#define SCRIPTTABFIXTURES_H

#include "script/lvScriptCommand.h"
#include "script/scriptCommandType.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

// A command from its keyword and numbers.
inline lvScriptCommand scriptCmd(int nNr, const char *pszKeyword, int nValue, int nRepeat)
{
    lvScriptCommand cmd;
    cmd.setCommand(nNr, QString::fromLatin1(pszKeyword), nValue, nRepeat);
    return cmd;
}

// The commands as "KEYWORD value repeat" joined by ", " (numbers left out
// unless bWithNumbers, then "nr:KEYWORD value repeat").
inline QString commandsText(const QList<lvScriptCommand> &list, bool bWithNumbers = false)
{
    QStringList parts;
    for (const lvScriptCommand &cmd : list) {
        const QString strCmd = QStringLiteral("%1 %2 %3").arg(cmd.getCmdName()).arg(cmd.nValue).arg(cmd.nRepeat);
        parts << (bWithNumbers ? QStringLiteral("%1:").arg(cmd.nCmdNr) + strCmd : strCmd);
    }
    return parts.join(QStringLiteral(", "));
}

// An icon file of the given square size below the working directory's
// icon/ folder, so a test can tell which file a cell shows by its size.
inline bool writeIcon(const QString &strPath, int nSize)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32);
    image.fill(QColor(0, 128, 255));
    return image.save(strPath, "PNG");
}

// Answers the modal message boxes as they come: each box takes the next
// planned button (its default button once the plan is used up) and is
// recorded as "text|informative text". A box is clicked again until it is
// gone; one that will not close within the bound is rejected and counted as
// stuck, so a test fails instead of hanging. A planned action may run inside
// the box's own event loop (onBox) before it is answered.
class boxAnswerer : public QObject
{
public:
    explicit boxAnswerer(int nBoundMs = 20000)
        : nBoundMs(nBoundMs)
    {
        QObject::connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start(10);
    }

    void plan(QMessageBox::StandardButton button, std::function<void()> fnBefore = nullptr)
    {
        answers.append({button, std::move(fnBefore)});
    }

    QStringList texts;
    int nStuck = 0;

private:
    struct answer
    {
        QMessageBox::StandardButton button;
        std::function<void()> fnBefore;
    };
    struct seenBox
    {
        QPointer<QMessageBox> pBox;
        QMessageBox::StandardButton button;
        QElapsedTimer since;
    };

    void poll()
    {
        auto *pBox = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!pBox || !pBox->isVisible())
            return;
        for (int i = seen.size() - 1; i >= 0; --i) {
            if (!seen.at(i).pBox)
                seen.removeAt(i);
        }
        for (seenBox &box : seen) {
            if (box.pBox != pBox)
                continue;
            if (box.since.elapsed() > nBoundMs) {
                ++nStuck;
                pBox->reject();
                return;
            }
            QAbstractButton *pButton =
                box.button == QMessageBox::NoButton ? pBox->defaultButton() : pBox->button(box.button);
            if (pButton)
                pButton->click();
            else
                pBox->reject();
            return;
        }
        texts << pBox->text() + QLatin1Char('|') + pBox->informativeText();
        const answer next = answers.isEmpty() ? answer{QMessageBox::NoButton, nullptr} : answers.takeFirst();
        seenBox box{pBox, next.button, QElapsedTimer()};
        box.since.start();
        seen.append(box);
        // The action may open a box of its own; this one is answered when it
        // is the active one again. It runs from a timer of its own, since a
        // timer never fires again inside its own handler.
        if (next.fnBefore)
            QTimer::singleShot(0, this, next.fnBefore);
    }

    int nBoundMs;
    QList<answer> answers;
    QList<seenBox> seen;
    QTimer timer;
};

#endif // SCRIPTTABFIXTURES_H
