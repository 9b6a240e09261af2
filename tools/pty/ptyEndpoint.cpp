#include "ptyEndpoint.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

ptyEndpoint::~ptyEndpoint()
{
    close();
}

bool ptyEndpoint::open()
{
    close();
    nMasterFd = posix_openpt(O_RDWR | O_NOCTTY);
    if (nMasterFd < 0)
        return false;
    if (grantpt(nMasterFd) != 0 || unlockpt(nMasterFd) != 0) {
        close();
        return false;
    }
    char buf[128];
    if (ptsname_r(nMasterFd, buf, sizeof buf) != 0) {
        close();
        return false;
    }
    strSlavePath = QString::fromLocal8Bit(buf);
    nSlaveHoldFd = ::open(buf, O_RDWR | O_NOCTTY);
    if (nSlaveHoldFd >= 0) {
        termios tio;
        if (tcgetattr(nSlaveHoldFd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(nSlaveHoldFd, TCSANOW, &tio);
        }
    }
    fcntl(nMasterFd, F_SETFL, fcntl(nMasterFd, F_GETFL) | O_NONBLOCK);
    return true;
}

void ptyEndpoint::close()
{
    if (nSlaveHoldFd >= 0)
        ::close(nSlaveHoldFd);
    if (nMasterFd >= 0)
        ::close(nMasterFd);
    nSlaveHoldFd = -1;
    nMasterFd = -1;
    strSlavePath.clear();
}

bool ptyEndpoint::linkAs(const QString &strLinkPath)
{
    if (strSlavePath.isEmpty())
        return false;
    QFile::remove(strLinkPath);
    return QFile::link(strSlavePath, strLinkPath);
}

QByteArray ptyEndpoint::read(int nTimeoutMs)
{
    QByteArray out;
    if (nMasterFd < 0)
        return out;
    pollfd pfd{nMasterFd, POLLIN, 0};
    int n = ::poll(&pfd, 1, nTimeoutMs);
    if (n <= 0 || !(pfd.revents & POLLIN))
        return out;
    char buf[4096];
    for (;;) {
        ssize_t got = ::read(nMasterFd, buf, sizeof buf);
        if (got > 0) {
            out.append(buf, int(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        break;
    }
    return out;
}

bool ptyEndpoint::write(const QByteArray &data)
{
    if (nMasterFd < 0)
        return false;
    const char *p = data.constData();
    qsizetype left = data.size();
    int nSpins = 0;
    while (left > 0) {
        ssize_t n = ::write(nMasterFd, p, size_t(left));
        if (n > 0) {
            p += n;
            left -= n;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR) && ++nSpins < 1000) {
            pollfd pfd{nMasterFd, POLLOUT, 0};
            ::poll(&pfd, 1, 10);
            continue;
        }
        return false;
    }
    return true;
}
