#include "valve/settingsFieldRules.h"

#include "valve/lvSensor.h"

#include <cmath>

fieldNumber finiteFieldNumber(const QString &strText)
{
    bool bOk = false;
    const double dblValue = strText.toDouble(&bOk);
    if (bOk)
        return {std::isfinite(dblValue), std::isfinite(dblValue) ? dblValue : 0.0};
    // toDouble refuses an overflow like "1e999" the same way as a word; the
    // two are told apart by what the C parser makes of the whole text.
    const QByteArray latin = strText.trimmed().toLatin1();
    if (!latin.isEmpty()) {
        char *pEnd = nullptr;
        const double dblParsed = std::strtod(latin.constData(), &pEnd);
        if (pEnd && *pEnd == '\0' && !std::isfinite(dblParsed))
            return {false, 0.0};
    }
    return {true, 0.0};
}

fieldWholeNumber wholeFieldNumber(const QString &strText)
{
    bool bOk = false;
    const int nValue = strText.toInt(&bOk, 10);
    return {bOk, bOk ? nValue : 0};
}

fieldWholeNumber longPressTimeField(const QString &strText)
{
    const fieldWholeNumber number = wholeFieldNumber(strText);
    if (!number.bOk || number.nValue <= 0)
        return {false, 0};
    return number;
}

feedbackRoles feedbackRolesFromTypes(const int anTypes[3])
{
    feedbackRoles roles{-1, -1};
    for (int nInput = 0; nInput < 3; ++nInput) {
        if (anTypes[nInput] == 1)
            roles.nFeedback1 = nInput;
        else if (anTypes[nInput] == 2)
            roles.nFeedback2 = nInput;
    }
    return roles;
}

inputTypes typesAfterRoleChoice(const int anStored[3], int nFeedback1Input, int nFeedback2Input)
{
    inputTypes types{};
    for (int nInput = 0; nInput < 3; ++nInput) {
        const int nType = anStored[nInput];
        const bool bHeldRole = nType == 1 || nType == 2;
        const bool bChosen = nInput == nFeedback1Input || nInput == nFeedback2Input;
        types.anType[nInput] = bHeldRole && !bChosen ? 0 : nType;
    }
    if (nFeedback1Input >= 0 && nFeedback1Input < 3)
        types.anType[nFeedback1Input] = 1;
    if (nFeedback2Input >= 0 && nFeedback2Input < 3)
        types.anType[nFeedback2Input] = 2;
    return types;
}

sensorNameProblem checkSensorName(const QString &strName, const QStringList &listedNames, const QString &strOwnName)
{
    if (!lvSensor::isValidName(strName))
        return sensorNameProblem::INVALID;
    if (strName != strOwnName && listedNames.contains(strName))
        return sensorNameProblem::EXISTS;
    return sensorNameProblem::NONE;
}
