#include "app/settingsKeyTable.h"

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
        {"controller", "language file", STR, false},
        {"controller", "uptime in sec", I64, true},
        {"controller", "total steps", I64, true},
        {"controller", "update cleanup", STR, false},
        {"controller", "Analog Card Type", INT, true},
        {"controller", "RTC Type", INT, true},
        {"controller", "long press time", INT, false},
        {"controller", "remote port", STR, true},

        {"motor driver", "type", STR, true},
        {"motor driver", "position", INT, true},
        {"motor driver", "calibrate on start", BOOL, true},
        {"motor driver", "continious speed", INT, true},
        // Written at start and by the settings page for the next start; the
        // port in use must not overwrite a newly chosen one on close.
        {"motor driver", "motor port", STR, false},

        {"teachIn", "teachInFile", STR, true},

        {"external feedback", "sensor name", STR, true},
        {"external feedback", "sensor data name", STR, true},
        {"external feedback", "sensor formula", STR, true},
        {"external feedback", "sensor unit", STR, true},
        {"external feedback", "sensor inputmask", STR, true},
        {"external feedback", "Prop-Value", DBL, true},
        {"external feedback", "Relative Difference", DBL, true},
        {"external feedback", "Differential Value", DBL, true},
        {"external feedback", "Integral Value", DBL, true},
        {"external feedback", "Integral Quantity", INT, true},
        {"external feedback", "Correct Sensitivity Value", DBL, true},
        {"external feedback", "relative difference new calc", DBL, true},
        {"external feedback", "number of retries new calc", INT, true},
        // Chosen on the settings page for the next start, like "motor port".
        {"external feedback", "curve use", INT, false},

        {"inputs", "sampling", INT, true},
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
    for (const auto &keys : inputKeys)
        for (int i = 0; i < 7; ++i)
            table.append({"inputs", keys[i], inputTypes[i], true});

    table += QVector<settingsKeyInfo>{
        {"outputs", "output1 config", INT, true},

        // Owned by the Remote page; the main window stores the first four
        // from the page's members on close, the source only its own combo.
        {"remote", "usb mode", INT, true},
        {"remote", "eth mode", INT, true},
        {"remote", "eth address", STR, true},
        {"remote", "eth port", INT, true},
        {"remote", "remote mode", INT, false},

        {"diagram", "pen width", INT, false},
        {"diagram", "show sensitivity", BOOL, false},
    };
    return table;
}

} // namespace

const QVector<settingsKeyInfo> &settingsKeyTable()
{
    static const QVector<settingsKeyInfo> table = buildTable();
    return table;
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
