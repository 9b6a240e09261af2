#include "controllerSim.h"

#include <QFile>

#include <chrono>
#include <cmath>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int toIntOr(const QByteArray &strText, int nDefault, bool *pbOk = nullptr)
{
    bool bOk = false;
    const int n = strText.toInt(&bOk, 10);
    if (pbOk)
        *pbOk = bOk;
    return bOk ? n : nDefault;
}

// A NanoTec reports positions negated, as a sign character and a magnitude.
QByteArray signedMagnitude(qint64 nControllerValue)
{
    if (nControllerValue >= 0)
        return "+" + QByteArray::number(nControllerValue);
    return "-" + QByteArray::number(-nControllerValue);
}

constexpr int NANOTEC_STEP_RECORD_DEFAULT = 100;

} // namespace

controllerSim::controllerSim(family eFam)
    : eFamily(eFam)
{
    dblSpeed = eFamily == FAMILY_NANOTEC ? 512000.0 : 20000.0;
}

controllerSim::~controllerSim()
{
    stop();
}

int controllerSim::fullTravel() const
{
    return eFamily == FAMILY_NANOTEC ? 1024000 : 40000;
}

bool controllerSim::start(const QString &strLinkPath)
{
    stop();
    {
        std::lock_guard<std::mutex> lock(mtx);
        strLink = strLinkPath;
    }
    if (!openLine())
        return false;
    bStopRequested = false;
    bRunning = true;
    worker = std::thread([this] { run(); });
    return true;
}

void controllerSim::stop()
{
    if (bRunning) {
        bStopRequested = true;
        worker.join();
        bRunning = false;
    }
    closeLine();
    std::lock_guard<std::mutex> lock(mtx);
    if (!strLink.isEmpty())
        QFile::remove(strLink);
}

bool controllerSim::openLine()
{
    if (!line.open())
        return false;
    QString strLinkPath;
    {
        std::lock_guard<std::mutex> lock(mtx);
        strLinkPath = strLink;
    }
    if (!strLinkPath.isEmpty() && !line.linkAs(strLinkPath)) {
        line.close();
        return false;
    }
    inputBuffer.clear();
    std::lock_guard<std::mutex> lock(mtx);
    strSlave = line.slavePath();
    bLineUp = true;
    return true;
}

void controllerSim::closeLine()
{
    line.close();
    pendingReplies.clear();
    std::lock_guard<std::mutex> lock(mtx);
    bLineUp = false;
}

QString controllerSim::slavePath() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return strSlave;
}

QString controllerSim::linkPath() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return strLink;
}

void controllerSim::run()
{
    qint64 nLast = nowNs();
    qint64 nLineBackNs = -1;
    while (!bStopRequested) {
        int nDropMs = -1;
        QList<QByteArray> injects;
        {
            std::lock_guard<std::mutex> lock(mtx);
            nDropMs = nDropRequestMs;
            nDropRequestMs = -1;
            injects.swap(pendingInject);
        }
        if (nDropMs >= 0) {
            closeLine();
            {
                std::lock_guard<std::mutex> lock(mtx);
                QFile::remove(strLink);
            }
            nLineBackNs = nowNs() + qint64(nDropMs) * 1000000;
        }
        if (nLineBackNs >= 0 && nowNs() >= nLineBackNs) {
            // Keep trying: a pseudo-terminal may be short for a moment.
            if (openLine()) {
                nLineBackNs = -1;
                std::lock_guard<std::mutex> lock(mtx);
                ++nGeneration;
            }
        }

        if (line.isOpen()) {
            for (const QByteArray &data : injects)
                line.write(data);
            inputBuffer.append(line.read(5));
            int nEnd;
            while ((nEnd = inputBuffer.indexOf('\r')) >= 0) {
                const QByteArray strCommand = inputBuffer.left(nEnd);
                inputBuffer.remove(0, nEnd + 1);
                const QByteArray strReply = handleCommand(strCommand);
                if (!strReply.isNull()) {
                    int nDelay;
                    {
                        std::lock_guard<std::mutex> lock(mtx);
                        nDelay = nReplyDelayMs;
                    }
                    pendingReplies.append({nowNs() + qint64(nDelay) * 1000000, strReply});
                }
            }
            flushDueReplies();
            // Nothing a controller would take ever grows this long.
            if (inputBuffer.size() > 4096)
                inputBuffer.clear();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }

        const qint64 nNow = nowNs();
        std::lock_guard<std::mutex> lock(mtx);
        advanceMotion(double(nNow - nLast) / 1e9);
        nLast = nNow;
    }
}

void controllerSim::flushDueReplies()
{
    const qint64 nNow = nowNs();
    while (!pendingReplies.isEmpty() && pendingReplies.first().nDueNs <= nNow)
        writeReply(pendingReplies.takeFirst().strReply);
}

void controllerSim::writeReply(const QByteArray &strReply)
{
    bool bSplitNow;
    {
        std::lock_guard<std::mutex> lock(mtx);
        bSplitNow = bSplit;
    }
    if (bSplitNow && strReply.size() > 1) {
        const int nHalf = int(strReply.size()) / 2;
        line.write(strReply.left(nHalf));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        line.write(strReply.mid(nHalf));
    } else {
        line.write(strReply);
    }
}

void controllerSim::advanceMotion(double dblSeconds)
{
    const double dblStep = dblSpeed * dblSeconds;
    const double dblDiff = double(nTarget) - dblPosition;
    if (std::fabs(dblDiff) <= dblStep)
        dblPosition = nTarget;
    else
        dblPosition += dblDiff > 0 ? dblStep : -dblStep;
}

int controllerSim::clampSteps(qint64 nSteps) const
{
    if (nSteps < 0)
        return 0;
    if (nSteps > fullTravel())
        return fullTravel();
    return int(nSteps);
}

int controllerSim::currentSteps() const
{
    return int(std::lround(dblPosition));
}

bool controllerSim::atLimit() const
{
    const int n = currentSteps();
    return n <= 0 || n >= fullTravel();
}

QByteArray controllerSim::handleCommand(const QByteArray &strCommand)
{
    std::lock_guard<std::mutex> lock(mtx);
    received.append({strCommand, nowNs()});
    cvReceived.notify_all();
    if (bSilent)
        return QByteArray();
    QByteArray strReply = eFamily == FAMILY_NANOTEC ? handleNanoTec(strCommand) : handleBergerLahr(strCommand);
    if (bGarbage)
        strReply = QByteArray("x~\x01?#\xfe%", 7);
    return strReply + '\r';
}

QByteArray controllerSim::handleBergerLahr(const QByteArray &strCommand)
{
    if (strCommand.isEmpty())
        return "?";
    const char cLetter = strCommand.at(0);
    switch (cLetter) {
    case 's':
        return (atLimit() ? "IP" : "RP") + QByteArray::number(currentSteps());
    case 'p':
        nTarget = clampSteps(qint64(nTarget) + 1);
        break;
    case 'm':
        nTarget = clampSteps(qint64(nTarget) - 1);
        break;
    case 'g': {
        bool bOk = false;
        const int n = toIntOr(strCommand.mid(1), 0, &bOk);
        if (!bOk)
            return "?";
        nTarget = clampSteps(n);
        break;
    }
    case 'h':
        nTarget = currentSteps();
        dblPosition = nTarget;
        break;
    case 'n':
        nTarget = 0;
        break;
    default:
        break;
    }
    return strCommand;
}

QByteArray controllerSim::handleNanoTec(const QByteArray &strCommand)
{
    if (!strCommand.startsWith("#1"))
        return "?";
    const QByteArray strBody = strCommand.mid(2);
    const QByteArray strEcho = strCommand.mid(1);
    if (strBody.isEmpty())
        return strEcho;

    if (strBody == "A") {
        switch (nLoadedRecord) {
        case 3:
        case 5: {
            const int nDist = bDistanceGiven ? std::abs(nDistance) : NANOTEC_STEP_RECORD_DEFAULT;
            nTarget = clampSteps(qint64(currentSteps()) + (nLoadedRecord == 3 ? nDist : -nDist));
            break;
        }
        case 6:
            nTarget = bDistanceGiven ? clampSteps(-qint64(nDistance)) : fullTravel();
            break;
        case 7:
            nTarget = bDistanceGiven ? clampSteps(-qint64(nDistance)) : 0;
            break;
        case 4:
            nTarget = 0;
            break;
        default:
            break;
        }
        return strEcho;
    }
    if (strBody.startsWith('y')) {
        nLoadedRecord = toIntOr(strBody.mid(1), 0);
        bDistanceGiven = false;
        return strEcho;
    }
    if (strBody.startsWith('s')) {
        bool bOk = false;
        nDistance = toIntOr(strBody.mid(1), 0, &bOk);
        bDistanceGiven = bOk;
        return strEcho;
    }
    if (strBody == "I" || strBody == "C")
        return strEcho + signedMagnitude(-qint64(currentSteps()));
    if (strBody == "$") {
        int nStatus = 0;
        if (currentSteps() == nTarget)
            nStatus |= 0x01;
        if (atLimit())
            nStatus |= 0x02;
        if (bPositionError)
            nStatus |= 0x04;
        return "1$" + QByteArray::number(nStatus);
    }
    if (strBody == "E")
        return "1E+" + QByteArray::number(nErrorIndex);
    if (strBody == "ZY") {
        int nWord = 0;
        if (atLimit())
            nWord |= 0x20;
        if (bOutput1)
            nWord |= 0x10000;
        return "1ZY+" + QByteArray::number(nWord);
    }
    if (strBody.startsWith('Z') && strBody.endsWith('E')) {
        const int nIndex = toIntOr(strBody.mid(1, strBody.size() - 2), 0);
        return strEcho + "+" + QByteArray::number(errorMemory.value(nIndex, 0));
    }
    if (strBody == "S") {
        nTarget = currentSteps();
        dblPosition = nTarget;
        return strEcho;
    }
    if (strBody == "D") {
        bPositionError = false;
        return strEcho;
    }
    if (strBody.startsWith('D')) {
        bool bOk = false;
        const int n = toIntOr(strBody.mid(1), 0, &bOk);
        if (bOk) {
            dblPosition = -double(n);
            nTarget = -n;
        }
        return strEcho;
    }
    if (strBody.startsWith(":port_out_a")) {
        bOutput1 = toIntOr(strBody.mid(11), 0) != 0;
        return strEcho;
    }
    return strEcho;
}

QList<QByteArray> controllerSim::receivedCommands() const
{
    std::lock_guard<std::mutex> lock(mtx);
    QList<QByteArray> out;
    out.reserve(received.size());
    for (const receivedCommand &c : received)
        out << c.strCommand;
    return out;
}

QVector<controllerSim::receivedCommand> controllerSim::receivedLog() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return received;
}

int controllerSim::receivedCount() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return int(received.size());
}

int controllerSim::countOf(const QByteArray &strCommand) const
{
    std::lock_guard<std::mutex> lock(mtx);
    int n = 0;
    for (const receivedCommand &c : received)
        if (c.strCommand == strCommand)
            ++n;
    return n;
}

void controllerSim::clearReceived()
{
    std::lock_guard<std::mutex> lock(mtx);
    received.clear();
}

bool controllerSim::waitForReceivedCount(int nCount, int nTimeoutMs) const
{
    std::unique_lock<std::mutex> lock(mtx);
    return cvReceived.wait_for(lock, std::chrono::milliseconds(nTimeoutMs),
                               [&] { return received.size() >= nCount; });
}

int controllerSim::position() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return currentSteps();
}

int controllerSim::target() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return nTarget;
}

bool controllerSim::isMoving() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return currentSteps() != nTarget;
}

void controllerSim::setPosition(int nSteps)
{
    std::lock_guard<std::mutex> lock(mtx);
    nTarget = clampSteps(nSteps);
    dblPosition = nTarget;
}

void controllerSim::setSpeed(int nStepsPerSecond)
{
    std::lock_guard<std::mutex> lock(mtx);
    dblSpeed = nStepsPerSecond < 1 ? 1.0 : double(nStepsPerSecond);
}

void controllerSim::setSilent(bool bOn)
{
    std::lock_guard<std::mutex> lock(mtx);
    bSilent = bOn;
}

void controllerSim::setGarbage(bool bOn)
{
    std::lock_guard<std::mutex> lock(mtx);
    bGarbage = bOn;
}

void controllerSim::setSplitReplies(bool bOn)
{
    std::lock_guard<std::mutex> lock(mtx);
    bSplit = bOn;
}

void controllerSim::setReplyDelayMs(int nDelayMs)
{
    std::lock_guard<std::mutex> lock(mtx);
    nReplyDelayMs = nDelayMs < 0 ? 0 : nDelayMs;
}

void controllerSim::dropLine(int nDownMs)
{
    std::lock_guard<std::mutex> lock(mtx);
    nDropRequestMs = nDownMs < 0 ? 0 : nDownMs;
    bLineUp = false;
}

int controllerSim::lineGeneration() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return nGeneration;
}

bool controllerSim::isLineUp() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return bLineUp;
}

void controllerSim::injectRaw(const QByteArray &data)
{
    std::lock_guard<std::mutex> lock(mtx);
    pendingInject << data;
}

void controllerSim::setPositionError(bool bError)
{
    std::lock_guard<std::mutex> lock(mtx);
    bPositionError = bError;
}

void controllerSim::setErrorMemory(int nIndex, int nNumber)
{
    std::lock_guard<std::mutex> lock(mtx);
    nErrorIndex = nIndex;
    errorMemory[nIndex] = nNumber;
}

void controllerSim::setOutput1(bool bOn)
{
    std::lock_guard<std::mutex> lock(mtx);
    bOutput1 = bOn;
}

bool controllerSim::output1() const
{
    std::lock_guard<std::mutex> lock(mtx);
    return bOutput1;
}
