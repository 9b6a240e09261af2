#include "remote/modbusWriteDecoder.h"

#include "remote/modbusRegisterMap.h"

#include <QCoreApplication>

namespace {

QString coilOnText(int nCoil)
{
    switch (nCoil) {
    case 0: return QCoreApplication::translate("qlvModbus", " coil 0 set to 1 --> Stop\n");
    case 1: return QCoreApplication::translate("qlvModbus", " coil 1 set to 1 --> Plus slow\n");
    case 2: return QCoreApplication::translate("qlvModbus", " coil 2 set to 1 --> Minus slow\n");
    case 3: return QCoreApplication::translate("qlvModbus", " coil 3 set to 1 --> Plus normal\n");
    case 4: return QCoreApplication::translate("qlvModbus", " coil 4 set to 1 --> Minus normal\n");
    case 5: return QCoreApplication::translate("qlvModbus", " coil 5 set to 1 --> Plus fast\n");
    case 6: return QCoreApplication::translate("qlvModbus", " coil 6 set to 1 --> Minus fast\n");
    default: return QString();
    }
}

QString coilOffText(int nCoil)
{
    switch (nCoil) {
    case 0: return QCoreApplication::translate("qlvModbus", " coil 0 set to 0 --> nothing\n");
    case 1: return QCoreApplication::translate("qlvModbus", " coil 1 set to 0 --> nothing\n");
    case 2: return QCoreApplication::translate("qlvModbus", " coil 2 set to 0 --> nothing\n");
    case 3: return QCoreApplication::translate("qlvModbus", " coil 3 set to 0 --> nothing\n");
    case 4: return QCoreApplication::translate("qlvModbus", " coil 4 set to 0 --> nothing\n");
    case 5: return QCoreApplication::translate("qlvModbus", " coil 5 set to 0 --> nothing\n");
    case 6: return QCoreApplication::translate("qlvModbus", " coil 6 set to 0 --> nothing\n");
    default: return QString();
    }
}

} // namespace

modbusCoilAction decodeCoilWrite(int nAddress, bool bOn, bool bLoopCoilBefore, bool bLoopActive)
{
    using namespace modbusMap;
    modbusCoilAction action;
    action.strMessage = QCoreApplication::translate("qlvModbus", "Coils received: ");

    if (nAddress >= COIL_STOP && nAddress <= COIL_MINUS_FAST) {
        if (!bOn) {
            action.strMessage += coilOffText(nAddress);
            return action;
        }
        switch (nAddress) {
        case COIL_STOP: action.eKind = modbusCoilAction::STOP; break;
        case COIL_PLUS: action.eKind = modbusCoilAction::PLUS; break;
        case COIL_MINUS: action.eKind = modbusCoilAction::MINUS; break;
        case COIL_PLUS_NORMAL: action.eKind = modbusCoilAction::PLUS_CONT; action.nSpeed = 5; break;
        case COIL_MINUS_NORMAL: action.eKind = modbusCoilAction::MINUS_CONT; action.nSpeed = 5; break;
        case COIL_PLUS_FAST: action.eKind = modbusCoilAction::PLUS_CONT; action.nSpeed = 10; break;
        case COIL_MINUS_FAST: action.eKind = modbusCoilAction::MINUS_CONT; action.nSpeed = 10; break;
        default: break;
        }
        action.strMessage += coilOnText(nAddress);
        return action;
    }

    if (nAddress == COIL_FEEDBACK_LOOP) {
        if (bOn && (!bLoopCoilBefore || !bLoopActive)) {
            action.eKind = modbusCoilAction::START_LOOP;
            action.strMessage += QCoreApplication::translate("qlvModbus", " start feedback loop\n");
        } else if (!bOn && (bLoopCoilBefore || bLoopActive)) {
            action.eKind = modbusCoilAction::STOP_LOOP;
            action.strMessage += QCoreApplication::translate("qlvModbus", " stop feedback loop\n");
        }
    }
    return action;
}

modbusHoldingAction decodeHoldingWrite(int nAddress, int nSize, const QVector<quint16> &regs)
{
    using namespace modbusMap;
    const auto reg = [&regs](int nIndex) -> quint16 {
        return nIndex >= 0 && nIndex < regs.size() ? regs.at(nIndex) : quint16(0);
    };
    const auto feedback1Text = [](quint16 nValue) {
        return QCoreApplication::translate("qlvModbus", " register 5 set to %1 --> Feedback Val1 set to %2\n").arg(nValue).arg(nValue);
    };
    const auto feedback2Text = [](quint16 nValue) {
        return QCoreApplication::translate("qlvModbus", " register 6 set to %1 --> Feedback Val2 set to %2\n").arg(nValue).arg(nValue);
    };

    modbusHoldingAction action;
    action.strMessage = QStringLiteral("Holding Register received: ");

    if (nAddress == HR_POSITION_LOW && nSize == 2) {
        const quint16 nLow = reg(HR_POSITION_LOW);
        const quint16 nHigh = reg(HR_POSITION_HIGH);
        action.bPosition = true;
        action.nPosition = writtenPosition(nLow, nHigh);
        action.strLog = QStringLiteral("holdReg written low=%1 igh=%2 pos= %3\n")
                            .arg(nLow).arg(nHigh).arg(action.nPosition);
        action.strMessage += QCoreApplication::translate("qlvModbus", " register 0 set to %1 and 1 set to %2 --> Positon set to %3\n")
                                 .arg(nLow).arg(nHigh).arg(action.nPosition);
    } else if (nAddress == HR_FEEDBACK1) {
        action.bFeedback1 = true;
        action.nFeedback1 = reg(HR_FEEDBACK1);
        action.strMessage += feedback1Text(reg(HR_FEEDBACK1));
        if (nSize == 2) {
            action.bFeedback2 = true;
            action.nFeedback2 = reg(HR_FEEDBACK2);
            action.strMessage += feedback2Text(reg(HR_FEEDBACK2));
        }
    } else if (nAddress == HR_FEEDBACK2) {
        action.bFeedback2 = true;
        action.nFeedback2 = reg(HR_FEEDBACK2);
        action.strMessage += feedback2Text(reg(HR_FEEDBACK2));
    } else {
        action.bWrongAddress = true;
        action.strMessage += QStringLiteral(" wrong adderess: %1\n").arg(nAddress);
    }
    return action;
}
