// Qt's own texts (the file dialog, the message boxes' buttons) in the language of the
// program's resources, from the system's Qt translations.
#pragma once

// Loads them for the language in force (GetThreadUILanguage) in place of any loaded before;
// English, or a language the system has no translations of, leaves Qt's own English.
void AfxLoadQtTranslations();
