#ifndef MODBUSWRITEDECODER_H
#define MODBUSWRITEDECODER_H

#include <QString>
#include <QVector>
#include <QtGlobal>

// What a master's write means for the valve, and the text the master's-side
// traffic pane shows for it. Pure: the server reads the registers, asks here,
// and then emits and resets.

struct modbusCoilAction {
    enum kind {
        NONE,
        STOP,
        PLUS,
        MINUS,
        PLUS_CONT,
        MINUS_CONT,
        START_LOOP,
        STOP_LOOP
    };
    kind eKind = NONE;
    int nSpeed = 0;       // for PLUS_CONT / MINUS_CONT; bRepeat is always false
    QString strMessage;   // whole pane text, "Coils received: ..."
};

// nAddress: the start address of the write (only that coil is interpreted);
// bOn: its value after the write (a single-coil write stores 0xFF00, so any
// non-zero value is "1"). For the feedback-loop coil, bLoopCoilBefore is the
// coil's value before the write and bLoopActive whether a loop started by the
// master is running: a repeated 1 (or 0) that changes neither starts (or
// stops) nothing, as before, while a 1 that arrives when the coil already held
// a stray 1 but no loop runs still starts it.
modbusCoilAction decodeCoilWrite(int nAddress, bool bOn, bool bLoopCoilBefore, bool bLoopActive);

struct modbusHoldingAction {
    bool bPosition = false;      // move to nPosition
    qint32 nPosition = 0;
    bool bFeedback1 = false;     // take nFeedback1 as feedback value 1
    int nFeedback1 = 0;
    bool bFeedback2 = false;
    int nFeedback2 = 0;
    bool bWrongAddress = false;  // a shape the map does not interpret
    QString strMessage;          // whole pane text, "Holding Register received: ..."
    QString strLog;              // log line, empty unless a position was written
};

// nAddress, nSize: the written range; regs: holding registers 0..6 after the
// write (missing entries read as 0).
modbusHoldingAction decodeHoldingWrite(int nAddress, int nSize, const QVector<quint16> &regs);

#endif // MODBUSWRITEDECODER_H
