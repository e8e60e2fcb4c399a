#include "engine/platform/module_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/platform/utf8_path.h"

namespace {

TEST(ModuleDir, IsTheDirectoryHoldingThisTestProgram) {
    const std::optional<std::string> dir = kl::GetModuleDir();
    ASSERT_TRUE(dir.has_value());
    ASSERT_FALSE(dir->empty());
#if defined(_WIN32)
    EXPECT_EQ(dir->back(), '\\');
    const char* program = "platform_tests.exe";
#else
    EXPECT_EQ(dir->back(), '/');
    const char* program = "platform_tests";
#endif
    const std::filesystem::path path = kl::PathFromUtf8(*dir);
    EXPECT_TRUE(path.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(path / program));
}

TEST(ModuleDir, SettingsFileLiesBesideTheProgram) {
    const std::optional<std::string> dir = kl::GetModuleDir();
    const std::optional<std::string> settings = kl::SettingsFilePath();
    ASSERT_TRUE(dir.has_value());
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(*settings, *dir + "kestrilane.ini");
}

TEST(ModuleDir, WritableProgramDirKeepsTheSettingsBesideTheProgram) {
    EXPECT_EQ(kl::SettingsFilePathFor("/opt/kl/bin/", true, "/tmp/cfg", "/home/u"),
              "/opt/kl/bin/kestrilane.ini");
}

TEST(ModuleDir, ReadOnlyProgramDirMovesTheSettingsToXdgConfigHome) {
    EXPECT_EQ(kl::SettingsFilePathFor("/usr/bin/", false, "/tmp/cfg", "/home/u"),
              "/tmp/cfg/kestrilane/kestrilane.ini");
    EXPECT_EQ(kl::SettingsFilePathFor("/usr/bin/", false, "/tmp/cfg/", "/home/u"),
              "/tmp/cfg/kestrilane/kestrilane.ini");
}

TEST(ModuleDir, UnsetOrRelativeXdgConfigHomeMeansHomeDotConfig) {
    for (const char* configHome : {"", "relative/cfg"}) {
        EXPECT_EQ(kl::SettingsFilePathFor("/usr/bin/", false, configHome, "/home/u"),
                  "/home/u/.config/kestrilane/kestrilane.ini")
            << configHome;
    }
}

TEST(ModuleDir, WithoutAUserDirectoryTheSettingsStayBesideTheProgram) {
    EXPECT_EQ(kl::SettingsFilePathFor("/usr/bin/", false, "", ""), "/usr/bin/kestrilane.ini");
    EXPECT_EQ(kl::SettingsFilePathFor("/usr/bin/", false, "cfg", "home"), "/usr/bin/kestrilane.ini");
}

}  // namespace
