#ifndef EXECUTORRIG_H
#define EXECUTORRIG_H

// The script executor in the test's own thread with small stand-ins for the
// drive and the main window, joined as the main window joins them while the
// Script tab is shown. Every connection is direct, so the log holds the
// executor's signals in their exact order.

#include "script/lvScript.h"
#include "script/scriptExecutor.h"

#include <QObject>
#include <QStringList>

class fakeDrive : public QObject
{
    Q_OBJECT
public:
    QStringList calls;

signals:
    void positionReached();
    void reachedDataPoint();
    void setMotorPosition(int nPos);

public slots:
    void onMotorGotoStep(int nStep)
    {
        calls << QStringLiteral("goto %1").arg(nStep);
    }
    void onMotorGotoRelative(int nStep) { calls << QStringLiteral("rel %1").arg(nStep); }
    void onStopFeedback() { calls << QStringLiteral("stopfb"); }
};

// The main window's side: the two reached-connection slots (unique
// connections, as the window makes them) and a setData that asks the drive to
// go to the data position, where the valve may already stand: the drive then
// answers positionReached() at once.
class fakeWindow : public QObject
{
    Q_OBJECT
public:
    fakeWindow(fakeDrive *pDrive, scriptExecutor *pExec)
        : drive(pDrive)
        , exec(pExec)
    {
    }
    bool bMeasuring = false;
    bool bAlreadyThere = false;

public slots:
    void connectPositionReachedToScriptExec(bool bConnect)
    {
        if (bConnect)
            connect(drive, &fakeDrive::positionReached, exec, &scriptExecutor::processNextCommand,
                    Qt::UniqueConnection);
        else
            disconnect(drive, &fakeDrive::positionReached, exec, &scriptExecutor::processNextCommand);
    }
    void connectDataReachedToScriptExec(bool bConnect)
    {
        if (bConnect)
            connect(drive, &fakeDrive::reachedDataPoint, exec, &scriptExecutor::processNextCommand,
                    Qt::UniqueConnection);
        else
            disconnect(drive, &fakeDrive::reachedDataPoint, exec, &scriptExecutor::processNextCommand);
    }
    void setData(int, int, double)
    {
        drive->onMotorGotoStep(500000);
        if (bAlreadyThere)
            emit drive->positionReached();
    }
    void onSetMeasurement(bool b) { bMeasuring = b; }

private:
    fakeDrive *drive;
    scriptExecutor *exec;
};

class executorRig
{
public:
    executorRig()
        : window(&drive, &exec)
    {
        QStringList *l = &log;
        QObject::connect(&exec, &scriptExecutor::commandExecuted, [l](int n, int c, int r, QString s) {
            *l << QStringLiteral("exec %1 %2 %3 '%4'").arg(n).arg(c).arg(r).arg(s);
        });
        QObject::connect(&exec, &scriptExecutor::gotoPosAbs, [l](int n) { *l << QStringLiteral("abs %1").arg(n); });
        QObject::connect(&exec, &scriptExecutor::gotoPosRel, [l](int n) { *l << QStringLiteral("rel %1").arg(n); });
        QObject::connect(&exec, &scriptExecutor::gotoData, [l](int v, int r, double a) {
            *l << QStringLiteral("data %1 %2 %3").arg(v).arg(r).arg(a);
        });
        QObject::connect(&exec, &scriptExecutor::setMeasurement,
                         [l](bool b) { *l << QStringLiteral("meas %1").arg(int(b)); });
        QObject::connect(&exec, &scriptExecutor::connectPositionReached,
                         [l](bool b) { *l << QStringLiteral("cpos %1").arg(int(b)); });
        QObject::connect(&exec, &scriptExecutor::connectDataReached,
                         [l](bool b) { *l << QStringLiteral("cdata %1").arg(int(b)); });
        QObject::connect(&exec, &scriptExecutor::stopFeedbackData, [l] { *l << QStringLiteral("stopfb"); });
        QObject::connect(&exec, &scriptExecutor::setCmdRepetition,
                         [l](int n) { *l << QStringLiteral("rep %1").arg(n); });
        QObject::connect(&exec, &scriptExecutor::getAnalogValue, [l] { *l << QStringLiteral("getA"); });
        QObject::connect(&exec, &scriptExecutor::updateDiagramMeasure,
                         [l](lvTeachIn *, bool b) { *l << QStringLiteral("point %1").arg(int(b)); });
        QObject::connect(&exec, &scriptExecutor::clearDiagram, [l] { *l << QStringLiteral("clear"); });
        QObject::connect(&exec, &scriptExecutor::newDataSeved,
                         [l](QString s) { *l << QStringLiteral("saved %1").arg(s); });
        QObject::connect(&exec, &scriptExecutor::setDiagramName,
                         [l](QString s) { *l << QStringLiteral("name %1").arg(s); });
        QObject::connect(&exec, &scriptExecutor::updateCommandExecute,
                         [l](int n, int c, int r, QString s, QString t) {
                             *l << QStringLiteral("progress %1 %2 %3 %4 %5").arg(n).arg(c).arg(r).arg(t, s);
                         });
        QObject::connect(&exec, &scriptExecutor::finished, [l] { *l << QStringLiteral("finished"); });

        // The requests reach the stand-ins as they reach the drive and window.
        QObject::connect(&exec, &scriptExecutor::gotoPosAbs, &drive, &fakeDrive::onMotorGotoStep);
        QObject::connect(&exec, &scriptExecutor::gotoPosRel, &drive, &fakeDrive::onMotorGotoRelative);
        QObject::connect(&exec, &scriptExecutor::stopFeedbackData, &drive, &fakeDrive::onStopFeedback);
        QObject::connect(&exec, &scriptExecutor::gotoData, &window, &fakeWindow::setData);
        QObject::connect(&exec, &scriptExecutor::setMeasurement, &window, &fakeWindow::onSetMeasurement);
        QObject::connect(&exec, &scriptExecutor::connectPositionReached, &window,
                         &fakeWindow::connectPositionReachedToScriptExec);
        QObject::connect(&exec, &scriptExecutor::connectDataReached, &window,
                         &fakeWindow::connectDataReachedToScriptExec);
        QObject::connect(&drive, &fakeDrive::setMotorPosition, &exec, &scriptExecutor::onMotorPositionUpdated);
        exec.init();
        window.connectPositionReachedToScriptExec(true);
        window.connectDataReachedToScriptExec(true);
    }

    // "KEYWORD value repeat" lines, numbered by their index.
    static lvScript scriptOf(const QStringList &lines, const QString &strName = QStringLiteral("test"))
    {
        lvScript script;
        script.strName = strName;
        for (const QString &line : lines) {
            const QStringList parts = line.split(QLatin1Char(' '));
            lvScriptCommand cmd;
            cmd.setCommand(script.cmdList.size(), parts.value(0), parts.value(1).toInt(), parts.value(2).toInt());
            script.cmdList.append(cmd);
        }
        return script;
    }

    void select(const QStringList &lines, const QString &strName = QStringLiteral("test"))
    {
        exec.setScript(scriptOf(lines, strName));
    }
    void run(const QStringList &lines, const QString &strName = QStringLiteral("test"))
    {
        select(lines, strName);
        exec.processScript();
    }
    // The log since the last take.
    QStringList take()
    {
        const QStringList l = log;
        log.clear();
        return l;
    }
    void sample(double d1, double d2, double d3, int nFb1 = 0, int nFb2 = 1)
    {
        exec.onGetAnalogValue(d1, d2, d3, nFb1, nFb2);
    }

    QStringList log;
    scriptExecutor exec;
    fakeDrive drive;
    fakeWindow window;
};

#endif // EXECUTORRIG_H
