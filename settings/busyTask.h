#ifndef BUSYTASK_H
#define BUSYTASK_H

#include <QString>

#include <functional>

class QProgressDialog;
class QWidget;

// Runs a blocking piece of work (an outside command and its waiting) in a
// thread of its own while the GUI shows a modal note that work is under way
// and keeps painting. Returns once the work has ended; the work must end by
// itself (every outside command has a time limit).
class busyTask
{
public:
    static void run(QWidget *pParent, const QString &strText, const std::function<void()> &work);
    // The note shown meanwhile, built but not shown; the caller owns it.
    static QProgressDialog *makeNote(QWidget *pParent, const QString &strText);
};

#endif // BUSYTASK_H
