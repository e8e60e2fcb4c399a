// Kestrilane: compares two texts line by line and shows them side by side.
#include <QApplication>
#include <QIcon>
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
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.harrowfen.kestrilane"));
    QIcon icon;
    for (const int size : {16, 32, 48, 128})
        icon.addFile(QStringLiteral(":/app/kestrilane-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    // The words as bytes: a file name that is no valid text in the locale must reach the
    // loader unchanged. QApplication has taken its own switches out of argv.
    std::vector<std::string> words(argv, argv + argc);

    CKestrilaneApp app(kl::SettingsFilePath().value_or(std::string()), std::make_unique<kl::UserProfile>());
    if (!app.InitInstance(words))
        return 1;
    return application.exec();
}
