#include "engine/platform/module_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ModuleDir, IsTheDirectoryHoldingThisTestProgram) {
    const std::optional<std::string> dir = kl::GetModuleDir();
    ASSERT_TRUE(dir.has_value());
    ASSERT_FALSE(dir->empty());
    EXPECT_EQ(dir->back(), '/');
    const std::filesystem::path path(*dir);
    EXPECT_TRUE(path.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(path / "platform_tests"));
}

TEST(ModuleDir, SettingsFileLiesBesideTheProgram) {
    const std::optional<std::string> dir = kl::GetModuleDir();
    const std::optional<std::string> settings = kl::SettingsFilePath();
    ASSERT_TRUE(dir.has_value());
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(*settings, *dir + "kestrilane.ini");
}

}  // namespace
