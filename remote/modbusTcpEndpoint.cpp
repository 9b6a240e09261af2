#include "remote/modbusTcpEndpoint.h"

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QHostAddress>

modbusTcpEndpoint checkModbusTcpEndpoint(const QString &strAddress, int nPort)
{
    modbusTcpEndpoint endpoint;
    QString strHost = strAddress.trimmed();
    if (strHost.startsWith(QLatin1Char('[')) && strHost.endsWith(QLatin1Char(']')))
        strHost = strHost.mid(1, strHost.size() - 2);

    QHostAddress address;
    if (strHost.isEmpty() || !address.setAddress(strHost)) {
        endpoint.strError = QCoreApplication::translate(
                                "qlvModbus", "Modbus TCP not started: \"%1\" is not an IP address\n")
                                .arg(strAddress);
        return endpoint;
    }
    if (nPort < 1 || nPort > 65535) {
        endpoint.strError = QCoreApplication::translate(
                                "qlvModbus", "Modbus TCP not started: port %1 is not in 1..65535\n")
                                .arg(nPort);
        return endpoint;
    }

    endpoint.bValid = true;
    endpoint.nPort = nPort;
    if (address.protocol() == QAbstractSocket::IPv6Protocol)
        endpoint.strServerAddress = QLatin1Char('[') + address.toString() + QLatin1Char(']');
    else
        endpoint.strServerAddress = address.toString();
    return endpoint;
}
