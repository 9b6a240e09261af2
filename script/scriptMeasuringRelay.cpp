#include "script/scriptMeasuringRelay.h"

#include "script/scriptExecutor.h"

void scriptMeasuringRelay::asked::ask(bool bOn)
{
    if (!bOn)
        bOff = true;
    bLastOn = bOn;
}

QVector<bool> scriptMeasuringRelay::asked::toApply() const
{
    QVector<bool> states;
    if (bOff)
        states.append(false);
    if (bLastOn)
        states.append(true);
    return states;
}

scriptMeasuringRelay::scriptMeasuringRelay(QObject *parent)
    : QObject(parent)
{
}

void scriptMeasuringRelay::follow(scriptExecutor *pExec, bool bFollow)
{
    if (bFollow)
        connect(pExec, &scriptExecutor::setMeasurement, this, &scriptMeasuringRelay::onSetMeasurement,
                Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
    else
        disconnect(pExec, &scriptExecutor::setMeasurement, this, &scriptMeasuringRelay::onSetMeasurement);
}

void scriptMeasuringRelay::onSetMeasurement(bool bOn)
{
    if (pending.put([bOn](asked &a) { a.ask(bOn); }))
        QMetaObject::invokeMethod(this, &scriptMeasuringRelay::deliver, Qt::QueuedConnection);
}

void scriptMeasuringRelay::deliver()
{
    for (const bool bOn : pending.take().toApply())
        emit setMeasurement(bOn);
}
