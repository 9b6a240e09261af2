#ifndef MODBUSMASTER_H
#define MODBUSMASTER_H

#include <QString>
#include <QVector>

#include <functional>

struct _modbus;

// An independent Modbus master (libmodbus) for the tests. Each request runs
// on a worker thread while the calling thread keeps its event loop turning,
// so the server under test, which lives in the calling thread, can answer.
class modbusMaster
{
public:
    struct reply {
        bool bDone = false;    // false: the worker did not finish in time
        int nRc = -1;          // libmodbus return value
        int nErrno = 0;        // errno of the worker after the call
        QVector<quint16> values;
        bool ok() const { return bDone && nRc >= 0; }
        bool isException(int nException) const;
    };

    modbusMaster() = default;
    ~modbusMaster();
    modbusMaster(const modbusMaster &) = delete;
    modbusMaster &operator=(const modbusMaster &) = delete;

    bool openTcp(int nPort);
    // RTU over an already open descriptor (the master side of a pty pair);
    // the descriptor stays owned by the caller.
    bool openRtuOnFd(int nFd);
    void close();

    reply writeBit(int nAddress, bool bOn);
    reply writeBits(int nAddress, const QVector<quint16> &bits);
    reply writeRegister(int nAddress, quint16 nValue);
    reply writeRegisters(int nAddress, const QVector<quint16> &values);
    reply readBits(int nAddress, int nCount);
    reply readInputBits(int nAddress, int nCount);
    reply readRegisters(int nAddress, int nCount);
    reply readInputRegisters(int nAddress, int nCount);

    QString lastError() const { return strLastError; }

private:
    reply run(const std::function<int(_modbus *, QVector<quint16> &)> &call);

    _modbus *pCtx = nullptr;
    bool bBorrowedFd = false;
    QString strLastError;
};

#endif // MODBUSMASTER_H
