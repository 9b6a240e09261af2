#ifndef REMOTECLIENT_H
#define REMOTECLIENT_H

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// A remote PC on TCP for the tests: a client socket in the test's thread that
// collects everything the valve sends back.
class remoteClient : public QObject
{
    Q_OBJECT
public:
    QTcpSocket socket;
    QByteArray received;
    bool bDisconnected = false;

    remoteClient()
    {
        connect(&socket, &QTcpSocket::readyRead, this, [this]() { received += socket.readAll(); });
        connect(&socket, &QTcpSocket::disconnected, this, [this]() { bDisconnected = true; });
    }

    // True once connected; a refused or dropped attempt gives false.
    bool connectTo(quint16 nPort, int nTimeoutMs = 20000)
    {
        socket.connectToHost(QStringLiteral("127.0.0.1"), nPort);
        return socket.waitForConnected(nTimeoutMs);
    }
    void send(const QByteArray &data)
    {
        socket.write(data);
        socket.flush();
    }
    // Takes the bytes received so far.
    QByteArray take()
    {
        const QByteArray out = received;
        received.clear();
        return out;
    }
};

// A port on 127.0.0.1 that nothing listens on right now.
inline quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

#endif // REMOTECLIENT_H
