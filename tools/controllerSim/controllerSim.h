#ifndef CONTROLLERSIM_H
#define CONTROLLERSIM_H

#include "ptyEndpoint.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QVector>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A motor controller of either family on the master side of a pseudo-terminal,
// served from a thread of its own. The program opens the slave through a link
// (point VALVE_DEV_DIR at the link's folder). Every "\r"-ended command gets
// exactly one "\r"-ended reply line; the valve moves towards its target at a
// finite speed and the limit switch shows at both ends. The line can be made
// silent, made to answer garbage, or dropped and brought back on a new
// pseudo-terminal behind the same link. All public functions are thread-safe.
//
// Positions here are valve steps: 0 closed .. full travel open (40000 for
// BergerLahr, 1024000 for NanoTec); a NanoTec reports them negated.
class controllerSim
{
public:
    enum family { FAMILY_BERGER_LAHR = 0, FAMILY_NANOTEC = 1 };

    struct receivedCommand
    {
        QByteArray strCommand; // without its "\r"
        qint64 nArrivalNs = 0; // std::chrono::steady_clock, nanoseconds
    };

    explicit controllerSim(family eFamily);
    ~controllerSim();
    controllerSim(const controllerSim &) = delete;
    controllerSim &operator=(const controllerSim &) = delete;

    // Opens the pseudo-terminal, links its slave at strLinkPath and starts
    // serving. False when the pseudo-terminal or the link cannot be made.
    bool start(const QString &strLinkPath);
    void stop();

    family getFamily() const { return eFamily; }
    int fullTravel() const;
    QString slavePath() const;
    QString linkPath() const;

    // --- what arrived ---
    QList<QByteArray> receivedCommands() const;
    QVector<receivedCommand> receivedLog() const;
    int receivedCount() const;
    int countOf(const QByteArray &strCommand) const;
    void clearReceived();
    // Blocks until at least nCount commands arrived in all (false on time-out).
    bool waitForReceivedCount(int nCount, int nTimeoutMs) const;

    // --- the valve ---
    int position() const;
    int target() const;
    bool isMoving() const;
    // Puts the valve at nSteps at once (no motion).
    void setPosition(int nSteps);
    // Steps per second; at least 1.
    void setSpeed(int nStepsPerSecond);

    // --- faults ---
    void setSilent(bool bSilent);
    // Every reply becomes a line of junk (still one line per command).
    void setGarbage(bool bGarbage);
    // Each reply is written in two parts with a pause between them.
    void setSplitReplies(bool bSplit);
    // Replies leave nDelayMs after their command arrived (in order).
    void setReplyDelayMs(int nDelayMs);
    // Closes the line and removes the link; after nDownMs a new
    // pseudo-terminal is linked in its place.
    void dropLine(int nDownMs);
    // How many times the line came back after a drop.
    int lineGeneration() const;
    bool isLineUp() const;
    // Writes bytes to the program as they are (unsolicited data).
    void injectRaw(const QByteArray &data);

    // --- NanoTec controller state ---
    void setPositionError(bool bError);
    void setErrorMemory(int nIndex, int nNumber);
    void setOutput1(bool bOn);
    bool output1() const;

private:
    void run();
    void advanceMotion(double dblSeconds);
    QByteArray handleCommand(const QByteArray &strCommand);
    QByteArray handleBergerLahr(const QByteArray &strCommand);
    QByteArray handleNanoTec(const QByteArray &strCommand);
    bool atLimit() const;
    int clampSteps(qint64 nSteps) const;
    int currentSteps() const;
    bool openLine();
    void flushDueReplies();
    void closeLine();
    void writeReply(const QByteArray &strReply);

    const family eFamily;
    mutable std::mutex mtx;
    mutable std::condition_variable cvReceived;
    std::thread worker;
    std::atomic<bool> bStopRequested{false};
    bool bRunning = false;

    // Touched by the worker thread only.
    ptyEndpoint line;
    QByteArray inputBuffer;
    struct pendingReply
    {
        qint64 nDueNs;
        QByteArray strReply;
    };
    QList<pendingReply> pendingReplies;

    // Guarded by mtx.
    QString strLink;
    QString strSlave;
    QVector<receivedCommand> received;
    double dblPosition = 0.0;
    int nTarget = 0;
    double dblSpeed = 20000.0;
    bool bSilent = false;
    bool bGarbage = false;
    bool bSplit = false;
    int nReplyDelayMs = 0;
    int nDropRequestMs = -1;
    bool bLineUp = false;
    int nGeneration = 0;
    QList<QByteArray> pendingInject;
    // NanoTec
    int nLoadedRecord = 0;
    bool bDistanceGiven = false;
    int nDistance = 0;
    bool bPositionError = false;
    int nErrorIndex = 0;
    QMap<int, int> errorMemory;
    bool bOutput1 = false;
};

#endif // CONTROLLERSIM_H
