#include "remote/modbusRegisterMap.h"

namespace modbusMap {

QModbusDataUnitMap registerMap()
{
    QModbusDataUnitMap map;
    map.insert(QModbusDataUnit::Coils, QModbusDataUnit(QModbusDataUnit::Coils, 0, nCoilCount));
    map.insert(QModbusDataUnit::DiscreteInputs,
               QModbusDataUnit(QModbusDataUnit::DiscreteInputs, 0, nDiscreteInputCount));
    map.insert(QModbusDataUnit::HoldingRegisters,
               QModbusDataUnit(QModbusDataUnit::HoldingRegisters, 0, nHoldingRegisterCount));
    return map;
}

positionWords publishedPosition(int nPosition)
{
    const quint32 nBits = quint32(nPosition);
    positionWords words;
    words.nLow = quint16(nBits & 0xFFFFu);
    words.nHigh = quint16((nBits >> 16) & 0xFFu);
    return words;
}

qint32 writtenPosition(quint16 nLow, quint16 nHigh)
{
    return qint32((quint32(nHigh) << 16) | quint32(nLow));
}

quint16 publishedInput(int nValue)
{
    return quint16(quint32(nValue) & 0xFFFFu);
}

} // namespace modbusMap
