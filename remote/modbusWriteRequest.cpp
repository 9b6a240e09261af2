#include "remote/modbusWriteRequest.h"

#include <QByteArray>

namespace {

int word(const QByteArray &data, int nOffset)
{
    return (quint8(data.at(nOffset)) << 8) | quint8(data.at(nOffset + 1));
}

modbusWriteRequest make(QModbusDataUnit::RegisterType eTable, int nAddress, int nSize)
{
    modbusWriteRequest write;
    write.eTable = eTable;
    write.nAddress = nAddress;
    write.nSize = nSize;
    return write;
}

} // namespace

modbusWriteRequest writeOfRequest(const QModbusPdu &request)
{
    const QByteArray data = request.data();
    switch (request.functionCode()) {
    case QModbusPdu::WriteSingleCoil:
        if (data.size() >= 4)
            return make(QModbusDataUnit::Coils, word(data, 0), 1);
        break;
    case QModbusPdu::WriteSingleRegister:
    case QModbusPdu::MaskWriteRegister:
        if (data.size() >= 4)
            return make(QModbusDataUnit::HoldingRegisters, word(data, 0), 1);
        break;
    case QModbusPdu::WriteMultipleCoils:
        if (data.size() >= 4)
            return make(QModbusDataUnit::Coils, word(data, 0), word(data, 2));
        break;
    case QModbusPdu::WriteMultipleRegisters:
        if (data.size() >= 4)
            return make(QModbusDataUnit::HoldingRegisters, word(data, 0), word(data, 2));
        break;
    case QModbusPdu::ReadWriteMultipleRegisters:
        if (data.size() >= 8)
            return make(QModbusDataUnit::HoldingRegisters, word(data, 4), word(data, 6));
        break;
    default:
        break;
    }
    return modbusWriteRequest();
}
