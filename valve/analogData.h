#ifndef ANALOGDATA_H
#define ANALOGDATA_H

#include <QObject>
#include <QReadWriteLock>
#include <QVector>

class QTimer;

// Role of an analog input ("inputs"/"input<n> type").
enum analogInputType {
    INPUT_REMOTE_ANALOG = 0, // "Remote Analog"
    INPUT_FEEDBACK_1 = 1,    // "Feedback 1"
    INPUT_FEEDBACK_2 = 2     // "Feedback 2"
};

// What happens when a feedback input leaves its band.
enum boundaryAction {
    ACTION_CLOSE = 0, // "Close"
    ACTION_OPEN = 1,  // "Open"
    ACTION_STAY = 2   // "Stay"
};

// The three analog inputs of the valve box (0..10 V): their roles, their
// boundaries with positions and actions, and the latest voltages, sampled
// periodically and on request and published as signals.
//
// Lives in the GUI thread with its timers. The motor thread calls the getters,
// getInputVolt and isInBoundaries directly while the GUI thread changes the
// configuration, so every accessor takes the object's lock. Inputs are
// numbered 0..2 here and 1..3 in the settings keys.
class analogData : public QObject
{
    Q_OBJECT

public:
    explicit analogData(QObject *parent = nullptr);
    ~analogData() override;

    int nSampling;       // "inputs"/"sampling", ms; applied by setSampling only
    int nOutput1Config;  // "outputs"/"output1 config"; kept for its users
    int nAnalogCardType; // "controller"/"Analog Card Type": 1 reads the 10-bit card

    // Boundary and type accessors: an input outside 0..2 makes a setter do
    // nothing and a getter return -1 (-1.0 for the mV values). Every boundary
    // setter but the action setters recomputes that input's own mapping.
    void setUpperBoundary(int nInput, double dblMilliVolt, int nPosition, int nAction);
    void setUpperBoundaryValue(int nInput, double dblMilliVolt);
    void setUpperBoundarySteps(int nInput, int nPosition);
    void setUpperBoundaryAction(int nInput, int nAction);
    void setLowerBoundary(int nInput, double dblMilliVolt, int nPosition, int nAction);
    void setLowerBoundaryValue(int nInput, double dblMilliVolt);
    void setLowerBoundarySteps(int nInput, int nPosition);
    void setLowerBoundaryAction(int nInput, int nAction);
    // Type 1 and 2 make the input the Feedback 1 / Feedback 2 input; the
    // indices are not cleared when a type changes away from feedback.
    void setInputType(int nInput, int nType);

    double getUpperBoundaryValue(int nInput) const;
    double getLowerBoundaryValue(int nInput) const;
    int getUpperBoundarySteps(int nInput) const;
    int getLowerBoundarySteps(int nInput) const;
    int getUpperBoundaryAction(int nInput) const;
    int getLowerBoundaryAction(int nInput) const;
    int getInputType(int nInput) const;

    // Volts strictly between lower mV / 1000 and upper mV / 1000 of the input
    // (false for an input outside 0..2).
    bool isInBoundaries(int nInput, double dblVolt) const;
    int getFeedbackInput1() const;
    int getFeedbackInput2() const;
    // Latest voltage of card channel nIndex + 1 (0..4); -1.0 outside that range.
    double getInputVolt(int nIndex) const;

    // The linear mapping of an input's voltage to a position, kept per input:
    // slope = (upper position - lower position) / (upper V - lower V) in
    // positions per volt, offset = lower position, so a voltage u maps to
    // (u - lower mV / 1000) * slope + offset. An input whose boundaries are
    // equal has no mapping: isMapped() is false and the slope reads 0.0.
    double getSlope(int nInput) const;
    double getOffset(int nInput) const;
    bool isMapped(int nInput) const;

    // Period of the running periodic read in ms, -1 while it is not running.
    int readPeriodMs() const;

signals:
    void setAnalogValue(double dblData1, double dblData2, double dblData3, int nIsFeeadbackk1, int nIsFeedback2);
    void sampleInputs(double dblInput1, double dblInput2, double dblInput3);
    void failedToReadInputs();

public slots:
    void init();
    void onGetAnalogValue();
    void onTimerReadInputs();
    void onTimerReady18Bit();
    // Stores nSampling and (re)starts the periodic read with max(ms, 1000).
    void setSampling(int nMilliseconds);

private:
    static bool validInput(int nInput) { return nInput >= 0 && nInput < 3; }
    void recomputeMapping(int nInput); // caller holds the write lock

    mutable QReadWriteLock lock;
    QVector<double> vecSlope;
    QVector<double> vecOffset;
    QVector<bool> vecMapped;
    QVector<double> vecInputVolt;
    QVector<double> vecUpperBoundary;
    QVector<int> vecUpperBoundarySteps;
    QVector<int> vecUpperBoundaryAction;
    QVector<double> vecLowerBoundary;
    QVector<int> vecLowerBoundarySteps;
    QVector<int> vecLowerBoundaryAction;
    QVector<int> vecInputType;
    QTimer *pTimerReadInputs;
    QTimer *pTimer18Bit;
    int n18BitCounter;
    int nFeedbackInput1;
    int nFeedbackInput2;
};

#endif // ANALOGDATA_H
