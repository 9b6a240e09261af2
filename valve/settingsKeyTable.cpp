#include "valve/settingsKeyTable.h"

#include <QHash>

const char *const g_pszSettingsOrganisation = "varnix";
const char *const g_pszSettingsApplication = "Pendrosix";

namespace {

// motorDriverType value of the NanoTec family.
constexpr int NANOTEC = 1;

constexpr QMetaType::Type STR = QMetaType::QString;
constexpr QMetaType::Type INT = QMetaType::Int;
constexpr QMetaType::Type I64 = QMetaType::LongLong;
constexpr QMetaType::Type DBL = QMetaType::Double;
constexpr QMetaType::Type BOOL = QMetaType::Bool;

QVector<settingsKeyInfo> buildTable()
{
    QVector<settingsKeyInfo> table = {
        // "language file", "update cleanup" and "long press time" have editors
        // of their own and are never written on close.
        {"controller", "language file", STR, false, settingKey::LanguageFile},
        {"controller", "uptime in sec", I64, true, settingKey::UptimeInSec},
        {"controller", "total steps", I64, true, settingKey::TotalSteps},
        {"controller", "update cleanup", STR, false, settingKey::UpdateCleanup},
        {"controller", "Analog Card Type", INT, true, settingKey::AnalogCardType},
        {"controller", "RTC Type", INT, true, settingKey::RtcType},
        {"controller", "long press time", INT, false, settingKey::LongPressTime},
        {"controller", "remote port", STR, true, settingKey::RemotePort},

        {"motor driver", "type", STR, true, settingKey::MotorType},
        {"motor driver", "position", INT, true, settingKey::Position},
        {"motor driver", "calibrate on start", BOOL, true, settingKey::CalibrateOnStart},
        {"motor driver", "continious speed", INT, true, settingKey::ContinuousSpeed},
        // Written at start and by the settings page for the next start; the
        // port in use must not overwrite a newly chosen one on close.
        {"motor driver", "motor port", STR, false, settingKey::MotorPort},

        {"teachIn", "teachInFile", STR, true, settingKey::TeachInFile},

        {"external feedback", "sensor name", STR, true, settingKey::SensorName},
        {"external feedback", "sensor data name", STR, true, settingKey::SensorDataName},
        {"external feedback", "sensor formula", STR, true, settingKey::SensorFormula},
        {"external feedback", "sensor unit", STR, true, settingKey::SensorUnit},
        {"external feedback", "sensor inputmask", STR, true, settingKey::SensorInputMask},
        {"external feedback", "Prop-Value", DBL, true, settingKey::PropValue},
        {"external feedback", "Relative Difference", DBL, true, settingKey::RelativeDifference},
        {"external feedback", "Differential Value", DBL, true, settingKey::DifferentialValue},
        {"external feedback", "Integral Value", DBL, true, settingKey::IntegralValue},
        {"external feedback", "Integral Quantity", INT, true, settingKey::IntegralQuantity},
        {"external feedback", "Correct Sensitivity Value", DBL, true, settingKey::CorrectSensitivity},
        {"external feedback", "relative difference new calc", DBL, true, settingKey::RelativeRecalc},
        {"external feedback", "number of retries new calc", INT, true, settingKey::RecalcTimes},
        // Chosen on the settings page for the next start, like "motor port".
        {"external feedback", "curve use", INT, false, settingKey::CurveUse},

        {"inputs", "sampling", INT, true, settingKey::Sampling},
    };
    static const char *const inputKeys[3][7] = {
        {"input1 type", "input1 upper boundary", "input1 upper boundary steps", "input1 upper boundary action",
         "input1 lower boundary", "input1 lower boundary steps", "input1 lower boundary action"},
        {"input2 type", "input2 upper boundary", "input2 upper boundary steps", "input2 upper boundary action",
         "input2 lower boundary", "input2 lower boundary steps", "input2 lower boundary action"},
        {"input3 type", "input3 upper boundary", "input3 upper boundary steps", "input3 upper boundary action",
         "input3 lower boundary", "input3 lower boundary steps", "input3 lower boundary action"},
    };
    static const QMetaType::Type inputTypes[7] = {INT, DBL, INT, INT, DBL, INT, INT};
    static const settingKey inputSettings[7] = {
        settingKey::InputType,       settingKey::UpperBoundary,      settingKey::UpperBoundarySteps,
        settingKey::UpperBoundaryAction, settingKey::LowerBoundary, settingKey::LowerBoundarySteps,
        settingKey::LowerBoundaryAction};
    for (int nInput = 0; nInput < 3; ++nInput)
        for (int i = 0; i < 7; ++i)
            table.append({"inputs", inputKeys[nInput][i], inputTypes[i], true, inputSettings[i], nInput});

    table += QVector<settingsKeyInfo>{
        {"outputs", "output1 config", INT, true, settingKey::Output1Config},

        // Owned by the Remote page; the main window stores the first four
        // from the page's members on close, the source only its own combo.
        {"remote", "usb mode", INT, true, settingKey::UsbMode},
        {"remote", "eth mode", INT, true, settingKey::EthMode},
        {"remote", "eth address", STR, true, settingKey::EthAddress},
        {"remote", "eth port", INT, true, settingKey::EthPort},
        {"remote", "remote mode", INT, false, settingKey::RemoteMode},

        {"diagram", "pen width", INT, false, settingKey::PenWidth},
        {"diagram", "show sensitivity", BOOL, false, settingKey::ShowSensitivity},
    };
    return table;
}

} // namespace

const QVector<settingsKeyInfo> &settingsKeyTable()
{
    static const QVector<settingsKeyInfo> table = buildTable();
    return table;
}

const settingsKeyInfo &settingInfo(settingKey eKey, int nInput)
{
    // Built once: the position in the table of every key and input.
    static const QHash<int, int> index = [] {
        QHash<int, int> positions;
        const QVector<settingsKeyInfo> &table = settingsKeyTable();
        for (int i = 0; i < table.size(); ++i)
            positions.insert(int(table[i].eKey) * 4 + table[i].nInput, i);
        return positions;
    }();
    const int nSlot = isInputSetting(eKey) ? qBound(0, nInput, 2) : 0;
    return settingsKeyTable().at(index.value(int(eKey) * 4 + nSlot));
}

bool isInputSetting(settingKey eKey)
{
    switch (eKey) {
    case settingKey::InputType:
    case settingKey::UpperBoundary:
    case settingKey::UpperBoundarySteps:
    case settingKey::UpperBoundaryAction:
    case settingKey::LowerBoundary:
    case settingKey::LowerBoundarySteps:
    case settingKey::LowerBoundaryAction:
        return true;
    default:
        return false;
    }
}

QStringList settingsKeysWrittenOnClose()
{
    QStringList keys;
    for (const settingsKeyInfo &info : settingsKeyTable())
        if (info.bWrittenOnClose)
            keys << info.path();
    return keys;
}

int longPressTimeFromSetting(const QVariant &stored)
{
    bool bOk = false;
    const int nMs = stored.toInt(&bOk);
    return (bOk && nMs > 0) ? nMs : g_nDefaultLongPressTimeMs;
}

portChoice motorPortAtStart(int nMotorType, const QString &strStored)
{
    if (nMotorType == NANOTEC)
        return {QStringLiteral("ttyAMA0"), true};
    if (strStored.isEmpty())
        return {QStringLiteral("ttyUSB0"), true};
    return {strStored, false};
}

portChoice remotePortAtStart(int nMotorType, const QString &strStored)
{
    if (!strStored.isEmpty())
        return {strStored, false};
    return {nMotorType == NANOTEC ? QStringLiteral("ttyUSB0") : QStringLiteral("ttyUSB1"), true};
}

QString inputKey(int nInput, const char *pszSuffix)
{
    return QStringLiteral("input%1 %2").arg(nInput + 1).arg(QLatin1String(pszSuffix));
}
