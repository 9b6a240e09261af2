#ifndef WRITEREPORTINGSERVER_H
#define WRITEREPORTINGSERVER_H

#include "remote/modbusWriteRequest.h"

#include <QModbusPdu>

#include <functional>
#include <utility>

// A Modbus server (RTU slave or TCP server) that reports every write a master
// makes, changed or not, once the library has accepted it and before the
// reply leaves. The server's own setData() calls are not reported, so the
// owner needs no disconnect/reconnect dance around its writes.
template <class Device>
class writeReportingServer : public Device
{
public:
    using writeHandler = std::function<void(QModbusDataUnit::RegisterType, int, int)>;

    explicit writeReportingServer(QObject *pParent)
        : Device(pParent)
    {
    }

    void setWriteHandler(writeHandler handler) { m_handler = std::move(handler); }

protected:
    QModbusResponse processRequest(const QModbusPdu &request) override
    {
        QModbusResponse response = Device::processRequest(request);
        if (m_handler && !response.isException()) {
            const modbusWriteRequest write = writeOfRequest(request);
            if (write.isWrite()) {
                // Copy: the handler may clear itself (the owner stops the server).
                const writeHandler handler = m_handler;
                handler(write.eTable, write.nAddress, write.nSize);
            }
        }
        return response;
    }

private:
    writeHandler m_handler;
};

#endif // WRITEREPORTINGSERVER_H
