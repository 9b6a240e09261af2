#include "remote/pcTcpTransport.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>

Q_LOGGING_CATEGORY(lcPcTcp, "valve.pctcp")

namespace {
// The texts keep the translation context of the drive they belonged to.
QByteArray paneText(const char *pszText)
{
    return QCoreApplication::translate("motorDriver", pszText).toLatin1();
}
} // namespace

pcTcpTransport::pcTcpTransport(QObject *pParent)
    : pcTransport(pParent)
    , pServer(new QTcpServer(this))
{
    connect(pServer, &QTcpServer::newConnection, this, &pcTcpTransport::acceptPending);
}

pcTcpTransport::~pcTcpTransport()
{
    if (pClient)
        disconnect(pClient, nullptr, this, nullptr);
}

QString pcTcpTransport::listen(const QString &strAddress, int nPort)
{
    if (pServer->isListening())
        pServer->close();
    const QHostAddress address(strAddress.trimmed());
    if (address.isNull())
        return QCoreApplication::translate("motorDriver", "not an IP address");
    if (nPort < 1 || nPort > 65535)
        return QCoreApplication::translate("motorDriver", "port must be 1..65535");
    if (!pServer->listen(address, quint16(nPort)))
        return pServer->errorString();
    return QString();
}

void pcTcpTransport::acceptPending()
{
    while (QTcpSocket *pSocket = pServer->nextPendingConnection()) {
        if (pClient) {
            // One client at a time; a second one would otherwise hang on a
            // socket nobody reads.
            qCDebug(lcPcTcp) << "second connection refused: " << pSocket->peerAddress().toString();
            pSocket->abort();
            pSocket->deleteLater();
            emit note(paneText("Second connection refused\n"));
            continue;
        }
        pClient = pSocket;
        connect(pClient, &QTcpSocket::disconnected, this, &pcTcpTransport::clientGone);
        connect(pClient, &QTcpSocket::readyRead, this, &pcTcpTransport::readClient);
        if (pClient->state() == QAbstractSocket::ConnectedState)
            qCDebug(lcPcTcp) << "New connection established: " << pClient->peerAddress().toString();
        emit peerChanged();
        emit note(paneText("Connection established\n"));
        if (pClient->bytesAvailable() > 0)
            readClient();
    }
}

void pcTcpTransport::clientGone()
{
    if (!pClient)
        return;
    disconnect(pClient, nullptr, this, nullptr);
    pClient->deleteLater();
    pClient = nullptr;
    pServer->close();
    emit note(paneText("Connection closed\n"));
}

void pcTcpTransport::readClient()
{
    if (!pClient)
        return;
    const QByteArray data = pClient->readAll();
    qCDebug(lcPcTcp) << "TCP read: " << data;
    if (!data.isEmpty())
        emit received(data);
}

void pcTcpTransport::write(const QByteArray &data)
{
    if (pClient)
        pClient->write(data);
}

void pcTcpTransport::close()
{
    if (pClient)
        pClient->disconnectFromHost();
    // Without a client the server would otherwise go on listening.
    pServer->close();
}
