#pragma once
// Qt's own texts (standard buttons, file dialogs, context menus of edit fields) in Japanese,
// to match the program's Japanese texts whatever the system language.
class QCoreApplication;

// Installs Qt's Japanese translations into app and makes Japanese the default locale. Returns
// false when the translation files are not installed; Qt's texts then stay English.
bool InstallJapaneseTranslations(QCoreApplication& app);
