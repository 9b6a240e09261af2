#ifndef TRANSLATIONCHOICE_H
#define TRANSLATIONCHOICE_H

#include <QString>

// The translation loaded at start from "controller"/"language file" (a ".ts"
// name as the settings page lists it from "./languages/"): the file name with
// its ".ts" ending cut off when "./languages/" plus the name exists, otherwise
// the program's English translation. The result is handed to
// QTranslator::load, which finds the compiled ".qm" of that base name.
QString translationToLoad(const QString &strLanguageFile);

#endif // TRANSLATIONCHOICE_H
