// The window's languages: Russian, the texts written in the code, and
// English from the translations compiled into the program. Switches every
// window at once and remembers the choice between runs.
#pragma once

#include <QString>

namespace kragmoor {

inline constexpr char kRussian[] = "ru";
inline constexpr char kEnglish[] = "en";

// Whether `code` names one of the languages above.
bool IsLanguage(const QString& code);

// The language chosen in the menu on an earlier run; Russian when none (or
// one this program does not know) was.
QString SavedLanguage();
void SaveLanguage(const QString& code);
// Whether a language was chosen on an earlier run (menu or start dialog).
bool HasSavedLanguage();

// The language a first start offers: Russian where the system's language is
// Russian, English everywhere else.
QString SystemLanguage();

// Switches the application to `code`: every widget gets a LanguageChange
// event at once. A code that names no language switches to Russian.
void ApplyLanguage(const QString& code);

// The language in force: kRussian or kEnglish.
QString CurrentLanguage();

}  // namespace kragmoor
