#include "modbusMaster.h"

#include <QElapsedTimer>
#include <QTest>

#include <modbus.h>

#include <cerrno>
#include <chrono>
#include <future>

namespace {
// Long enough for a busy sanitizer build, bounded so a lost reply ends.
constexpr int nResponseTimeoutSec = 5;
constexpr int nCallLimitMs = 30000;
} // namespace

bool modbusMaster::reply::isException(int nException) const
{
    return bDone && nRc < 0 && nErrno == int(MODBUS_ENOBASE) + nException;
}

modbusMaster::~modbusMaster()
{
    close();
}

bool modbusMaster::openTcp(int nPort)
{
    close();
    pCtx = modbus_new_tcp("127.0.0.1", nPort);
    if (!pCtx)
        return false;
    modbus_set_slave(pCtx, 1);
    modbus_set_response_timeout(pCtx, nResponseTimeoutSec, 0);
    const reply r = run([](_modbus *pCtx, QVector<quint16> &) { return modbus_connect(pCtx); });
    if (!r.ok()) {
        strLastError = QString::fromLocal8Bit(modbus_strerror(r.nErrno));
        close();
        return false;
    }
    return true;
}

bool modbusMaster::openRtuOnFd(int nFd)
{
    close();
    // The device name is never opened: the request goes over nFd.
    pCtx = modbus_new_rtu("/dev/null", 19200, 'E', 8, 1);
    if (!pCtx)
        return false;
    bBorrowedFd = true;
    modbus_set_slave(pCtx, 1);
    modbus_set_response_timeout(pCtx, nResponseTimeoutSec, 0);
    modbus_set_socket(pCtx, nFd);
    return true;
}

void modbusMaster::close()
{
    if (!pCtx)
        return;
    if (bBorrowedFd)
        modbus_set_socket(pCtx, -1);
    else
        modbus_close(pCtx);
    modbus_free(pCtx);
    pCtx = nullptr;
    bBorrowedFd = false;
}

modbusMaster::reply modbusMaster::run(const std::function<int(_modbus *, QVector<quint16> &)> &call)
{
    reply r;
    if (!pCtx)
        return r;
    _modbus *pContext = pCtx;
    auto future = std::async(std::launch::async, [pContext, call]() {
        reply result;
        errno = 0;
        result.nRc = call(pContext, result.values);
        result.nErrno = errno;
        result.bDone = true;
        return result;
    });
    QElapsedTimer timer;
    timer.start();
    while (future.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready
           && timer.elapsed() < nCallLimitMs)
        QTest::qWait(2);
    if (future.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        return r; // the future's destructor still waits; libmodbus' own time-out bounds that
    r = future.get();
    if (r.nRc < 0)
        strLastError = QString::fromLocal8Bit(modbus_strerror(r.nErrno));
    return r;
}

modbusMaster::reply modbusMaster::writeBit(int nAddress, bool bOn)
{
    return run([=](_modbus *pCtx, QVector<quint16> &) { return modbus_write_bit(pCtx, nAddress, bOn ? 1 : 0); });
}

modbusMaster::reply modbusMaster::writeBits(int nAddress, const QVector<quint16> &bits)
{
    return run([=](_modbus *pCtx, QVector<quint16> &) {
        QVector<uint8_t> raw;
        for (quint16 b : bits)
            raw.append(b ? 1 : 0);
        return modbus_write_bits(pCtx, nAddress, raw.size(), raw.data());
    });
}

modbusMaster::reply modbusMaster::writeRegister(int nAddress, quint16 nValue)
{
    return run([=](_modbus *pCtx, QVector<quint16> &) { return modbus_write_register(pCtx, nAddress, nValue); });
}

modbusMaster::reply modbusMaster::writeRegisters(int nAddress, const QVector<quint16> &values)
{
    return run([=](_modbus *pCtx, QVector<quint16> &) {
        QVector<uint16_t> raw(values.begin(), values.end());
        return modbus_write_registers(pCtx, nAddress, raw.size(), raw.data());
    });
}

modbusMaster::reply modbusMaster::readBits(int nAddress, int nCount)
{
    return run([=](_modbus *pCtx, QVector<quint16> &out) {
        QVector<uint8_t> raw(nCount, 0);
        const int rc = modbus_read_bits(pCtx, nAddress, nCount, raw.data());
        for (int i = 0; i < rc; ++i)
            out.append(raw.at(i));
        return rc;
    });
}

modbusMaster::reply modbusMaster::readInputBits(int nAddress, int nCount)
{
    return run([=](_modbus *pCtx, QVector<quint16> &out) {
        QVector<uint8_t> raw(nCount, 0);
        const int rc = modbus_read_input_bits(pCtx, nAddress, nCount, raw.data());
        for (int i = 0; i < rc; ++i)
            out.append(raw.at(i));
        return rc;
    });
}

modbusMaster::reply modbusMaster::readRegisters(int nAddress, int nCount)
{
    return run([=](_modbus *pCtx, QVector<quint16> &out) {
        QVector<uint16_t> raw(nCount, 0);
        const int rc = modbus_read_registers(pCtx, nAddress, nCount, raw.data());
        for (int i = 0; i < rc; ++i)
            out.append(raw.at(i));
        return rc;
    });
}

modbusMaster::reply modbusMaster::readInputRegisters(int nAddress, int nCount)
{
    return run([=](_modbus *pCtx, QVector<quint16> &out) {
        QVector<uint16_t> raw(nCount, 0);
        const int rc = modbus_read_input_registers(pCtx, nAddress, nCount, raw.data());
        for (int i = 0; i < rc; ++i)
            out.append(raw.at(i));
        return rc;
    });
}
