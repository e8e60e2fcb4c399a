// The folder comparison's named filter sets in the settings file.
#include <gtest/gtest.h>

#include "engine/settings/folder_settings.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(FolderSettings, NamedSetsComeBackAsStored)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    EXPECT_EQ(kl::ReadSelectedFolderFilter(ini), kl::FolderFilterSet{});

    kl::FolderFilterSet docs;
    docs.name = "文書";
    docs.filter.include = {"*.txt", "*.md"};
    docs.filter.exclude = {".git", "node_modules", "*.bak"};
    docs.filter.includeHidden = false;
    docs.compareAsText = true;
    ASSERT_TRUE(kl::SaveFolderFilter(ini, docs));
    kl::FolderFilterSet sources;
    sources.name = "src";
    sources.filter.include = {"*.cpp"};
    ASSERT_TRUE(kl::SaveFolderFilter(ini, sources));

    EXPECT_EQ(kl::ReadSelectedFolderFilter(ini), sources);
    EXPECT_EQ(kl::ReadFolderFilter(ini, "文書"), docs);
    EXPECT_NE(kltest::ReadFileBytes(ini).find("INCLUDE=*.txt;*.md"), std::string::npos);
    EXPECT_FALSE(kl::SaveFolderFilter("", docs));
}

}  // namespace
