#ifndef SCRIPTCHAINREQUESTS_H
#define SCRIPTCHAINREQUESTS_H

// What one chain of commands (those executed in one call, without a turn of
// the script thread's event loop) has already asked of the GUI thread. Within
// a chain nothing else runs in the script thread and no measurement point is
// taken (so a cleared diagram stays empty: a SAVE without points names
// nothing), and asking again for what the chain already asked changes
// nothing but floods the GUI thread: a loop of MEAS commands would queue a
// million measuring requests and diagram clears. Between chains the drive, the
// status strip's Stop or a remote master may have switched measuring, so each
// chain asks afresh.
class scriptChainRequests
{
public:
    // A new chain begins: nothing asked yet.
    void newChain();
    // True when measuring on (or off) must be asked for: the chain has not
    // asked for it yet, or has asked for the other since.
    bool measurement(bool bOn);
    // True when the diagram must be cleared: the chain has not cleared it yet.
    bool clearDiagram();

private:
    enum measuring { MEASURING_UNKNOWN, MEASURING_ON, MEASURING_OFF };
    measuring eMeasuring = MEASURING_UNKNOWN;
    bool bDiagramCleared = false;
};

#endif // SCRIPTCHAINREQUESTS_H
