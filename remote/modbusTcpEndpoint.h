#ifndef MODBUSTCPENDPOINT_H
#define MODBUSTCPENDPOINT_H

#include <QString>

// The address and port a Modbus TCP server may listen on. The library reads
// the address through a URL and listens on every interface when it cannot
// make a host of it, so only an IP literal and a port 1..65535 are accepted;
// anything else is refused with a text for the operator.
struct modbusTcpEndpoint {
    bool bValid = false;
    QString strServerAddress;  // as handed to the server (IPv6 in brackets)
    int nPort = 0;
    QString strError;          // why it was refused, for the traffic pane and log
};

modbusTcpEndpoint checkModbusTcpEndpoint(const QString &strAddress, int nPort);

#endif // MODBUSTCPENDPOINT_H
