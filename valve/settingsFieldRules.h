#ifndef SETTINGSFIELDRULES_H
#define SETTINGSFIELDRULES_H

#include <QString>
#include <QStringList>

// How the settings page reads its touch fields, without widgets.

// A field that feeds a number into a division or a range: text that is not a
// number counts as 0 (as it always has), but text that reads as an infinite
// or NaN value ("inf", "nan", "1e999") is refused, because it would reach the
// regulation or an input's voltage mapping as a value without meaning.
struct fieldNumber {
    bool bAccepted;
    double dblValue;
};
fieldNumber finiteFieldNumber(const QString &strText);

// A decimal whole number with a success flag, as the continuous-speed,
// pen-width and long-press fields read their text.
struct fieldWholeNumber {
    bool bOk;
    int nValue;
};
fieldWholeNumber wholeFieldNumber(const QString &strText);
// The long-press time in ms: a whole number above 0. With 0 or less every
// tap would count as a long press, so such a text is refused as a word is.
fieldWholeNumber longPressTimeField(const QString &strText);

// Which analog input (0..2) each feedback role shows, from the stored types
// of inputs 1..3: type 1 is Feedback 1, type 2 Feedback 2; when two inputs
// carry the same type the later one decides; -1 when no input carries it.
struct feedbackRoles {
    int nFeedback1;
    int nFeedback2;
};
feedbackRoles feedbackRolesFromTypes(const int anTypes[3]);

// The input types once the two roles sit on the chosen inputs (0..2): each
// chosen input takes its role's type (Feedback 2 last, when both name one
// input), and an input that held a role and is chosen for none goes back to
// type 0. Each role is then carried by one input only, so the page, the
// store and the regulation agree on where it is.
struct inputTypes {
    int anType[3];
};
inputTypes typesAfterRoleChoice(const int anStored[3], int nFeedback1Input, int nFeedback2Input);

// Why a sensor name cannot be used for a definition, or an empty text when it
// can: the name becomes a file name in the sensor folder, and names are the
// key of the sensor list, so a name already listed (other than the one being
// changed, strOwnName) is refused too.
enum class sensorNameProblem { NONE, INVALID, EXISTS };
sensorNameProblem checkSensorName(const QString &strName, const QStringList &listedNames,
                                  const QString &strOwnName = QString());

#endif // SETTINGSFIELDRULES_H
