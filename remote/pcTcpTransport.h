#ifndef PCTCPTRANSPORT_H
#define PCTCPTRANSPORT_H

#include "remote/pcTransport.h"

#include <QString>

class QTcpServer;
class QTcpSocket;

// The PC as the one client of a TCP server. The server listens from
// listen() until its client leaves (it listens again only after the next
// listen()); a second client while one is served is refused at once.
class pcTcpTransport : public pcTransport
{
    Q_OBJECT

public:
    explicit pcTcpTransport(QObject *pParent);
    ~pcTcpTransport() override;

    // Listens on an IP literal and a port 1..65535; a server still listening
    // from before is moved. Empty on success, else why not.
    QString listen(const QString &strAddress, int nPort);
    bool hasClient() const { return pClient != nullptr; }

    // The server's and the client's signals land here.
    void acceptPending();
    void clientGone();
    void readClient();

    void write(const QByteArray &data) override;
    // Asks the client to leave and stops listening.
    void close() override;

private:
    QTcpServer *pServer = nullptr;
    QTcpSocket *pClient = nullptr;
};

#endif // PCTCPTRANSPORT_H
