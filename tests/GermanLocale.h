#pragma once
// Switches the process to a German locale (decimal comma) for tests that
// prove numbers are read the same whatever the user's locale. When the system
// has no compiled German locale, one is compiled into a temporary folder.

#include <QString>

// Returns the LOCPATH needed (empty when the system has the locale), or a
// null string when no German locale could be had at all.
QString PrepareGermanLocale();
inline constexpr const char* kGermanLocale = "de_DE.UTF-8";
