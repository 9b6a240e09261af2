#ifndef PTYENDPOINT_H
#define PTYENDPOINT_H

#include <QByteArray>
#include <QString>

// The master side of a pseudo-terminal pair, in raw mode. The slave side is
// what the program opens as its serial port (through a link in the folder that
// VALVE_DEV_DIR names). The endpoint keeps its own descriptor of the slave open
// so that the program may close and reopen its end without the master seeing
// a hang-up.
class ptyEndpoint
{
public:
    ptyEndpoint() = default;
    ~ptyEndpoint();
    ptyEndpoint(const ptyEndpoint &) = delete;
    ptyEndpoint &operator=(const ptyEndpoint &) = delete;

    bool open();
    void close();
    bool isOpen() const { return nMasterFd >= 0; }
    int masterFd() const { return nMasterFd; }
    QString slavePath() const { return strSlavePath; }

    // Creates (or replaces) a symbolic link to the slave.
    bool linkAs(const QString &strLinkPath);

    // Waits up to nTimeoutMs for data and returns what is there (may be empty).
    QByteArray read(int nTimeoutMs);
    bool write(const QByteArray &data);

private:
    int nMasterFd = -1;
    int nSlaveHoldFd = -1;
    QString strSlavePath;
};

#endif // PTYENDPOINT_H
