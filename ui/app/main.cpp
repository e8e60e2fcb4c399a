// Kestrilane: compares two Shift_JIS texts line by line and shows them side by side.
#include <QApplication>
#include <QFile>
#include <memory>
#include <string>
#include <vector>

#include "ui/app/kestrilane_app.h"
#include "engine/platform/module_dir.h"
#include "ui/platform/translations.h"
#include "ui/settings/user_profile.h"
#include "engine/platform/large_buffer.h"

int main(int argc, char** argv)
{
    kl::ReturnLargeBlocksOnFree();
    QApplication application(argc, argv);
    InstallJapaneseTranslations(application);
    QApplication::setOrganizationName(QStringLiteral("Harrowfen"));
    QApplication::setApplicationName(QStringLiteral("Kestrilane"));

    std::vector<std::string> words;
    for (const QString& argument : QApplication::arguments())
        words.push_back(QFile::encodeName(argument).toStdString());

    CKestrilaneApp app(kl::SettingsFilePath().value_or(std::string()), std::make_unique<kl::UserProfile>());
    if (!app.InitInstance(words))
        return 1;
    return application.exec();
}
