#ifndef MODBUSWRITEREQUEST_H
#define MODBUSWRITEREQUEST_H

#include <QModbusDataUnit>
#include <QModbusPdu>

// Which registers a master's request writes. The library only reports writes
// that change a value; the server looks at every accepted request instead,
// so that writing the same value twice is still seen twice.
struct modbusWriteRequest {
    QModbusDataUnit::RegisterType eTable = QModbusDataUnit::Invalid;
    int nAddress = -1;
    int nSize = 0;

    bool isWrite() const { return eTable != QModbusDataUnit::Invalid; }
};

// Write single/multiple coils, write single/multiple registers, mask write
// register and the write half of read/write multiple registers; anything else
// (and a truncated request) gives a request with table Invalid.
modbusWriteRequest writeOfRequest(const QModbusPdu &request);

#endif // MODBUSWRITEREQUEST_H
