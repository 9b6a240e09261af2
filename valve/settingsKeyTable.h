#ifndef SETTINGSKEYTABLE_H
#define SETTINGSKEYTABLE_H

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The settings store of the valve: every group and key it holds, with the type
// its main writer stores and whether closing the main window writes it. Keys
// are read without defaults (a missing key is 0, false or empty); the few
// built-in defaults are the functions below.

// Organisation and application name of the store (native format).
extern const char *const g_pszSettingsOrganisation;
extern const char *const g_pszSettingsApplication;

// Every setting by name; the seven input settings exist once per analog
// input and take the input index 0..2 besides.
enum class settingKey {
    LanguageFile, UptimeInSec, TotalSteps, UpdateCleanup, AnalogCardType, RtcType, LongPressTime, RemotePort,
    MotorType, Position, CalibrateOnStart, ContinuousSpeed, MotorPort,
    TeachInFile,
    SensorName, SensorDataName, SensorFormula, SensorUnit, SensorInputMask,
    PropValue, RelativeDifference, DifferentialValue, IntegralValue, IntegralQuantity, CorrectSensitivity,
    RelativeRecalc, RecalcTimes, CurveUse,
    Sampling,
    InputType, UpperBoundary, UpperBoundarySteps, UpperBoundaryAction,
    LowerBoundary, LowerBoundarySteps, LowerBoundaryAction,
    Output1Config,
    UsbMode, EthMode, EthAddress, EthPort, RemoteMode,
    PenWidth, ShowSensitivity,
};

struct settingsKeyInfo
{
    const char *pszGroup;
    const char *pszKey;
    QMetaType::Type eStoredType;
    // MainWindow::writeSettings stores it when the window is closed.
    bool bWrittenOnClose;
    settingKey eKey;
    // 0..2 for the input settings, 0 for the others.
    int nInput = 0;

    QString path() const { return QString::fromLatin1(pszGroup) + QLatin1Char('/') + QString::fromLatin1(pszKey); }
};

const QVector<settingsKeyInfo> &settingsKeyTable();
// The table entry of a setting (of input nInput for the input settings).
const settingsKeyInfo &settingInfo(settingKey eKey, int nInput = 0);
bool isInputSetting(settingKey eKey);
// "group/key" of every key that closing the window writes.
QStringList settingsKeysWrittenOnClose();

// "controller"/"long press time": a missing, unreadable or non-positive value
// counts as 2000 ms, because with 0 every tap would be a long press.
int longPressTimeFromSetting(const QVariant &stored);
constexpr int g_nDefaultLongPressTimeMs = 2000;

// The serial ports used at start, from the controller family and the stored
// name; bWriteBack says whether the constructor stores the name it chose.
struct portChoice
{
    QString strPort;
    bool bWriteBack;
};
// "motor driver"/"motor port": NanoTec always "ttyAMA0" (stored); otherwise
// the stored name, or "ttyUSB0" (stored) when there is none.
portChoice motorPortAtStart(int nMotorType, const QString &strStored);
// "controller"/"remote port": the stored name, or when there is none
// "ttyUSB0" with NanoTec and "ttyUSB1" otherwise (stored).
portChoice remotePortAtStart(int nMotorType, const QString &strStored);

// Settings-store key names of one analog input (index 0..2 -> "input1".."input3").
QString inputKey(int nInput, const char *pszSuffix);

#endif // SETTINGSKEYTABLE_H
