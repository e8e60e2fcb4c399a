// Where the program finds its manual: beside it in the build tree, under share/ when installed.
#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "ui/help/manual_window.h"

namespace {

namespace fs = std::filesystem;

class ManualPathTest : public ::testing::Test {
protected:
    QString WriteManual(const std::string& folder) const
    {
        fs::create_directories(dir.file(folder));
        return QString::fromStdString(dir.write(folder + "/index.html", "<html></html>"));
    }
    QString ProgramDir() const
    {
        fs::create_directories(dir.file("bin"));
        return QString::fromStdString(dir.file("bin"));
    }

    kltest::TempDir dir;
};

TEST_F(ManualPathTest, InstalledProgramFindsTheManualUnderShare)
{
    const QString installed = WriteManual("share/kestrilane/manual");
    EXPECT_EQ(ManualPathIn(ProgramDir()), QDir::cleanPath(installed));
}

TEST_F(ManualPathTest, TheManualBesideTheProgramComesFirst)
{
    WriteManual("share/kestrilane/manual");
    const QString beside = WriteManual("bin/manual");
    EXPECT_EQ(ManualPathIn(ProgramDir()), beside);
}

TEST_F(ManualPathTest, WithoutAManualThePathBesideTheProgramIsNamed)
{
    EXPECT_EQ(ManualPathIn(ProgramDir()), QDir(ProgramDir()).filePath(QStringLiteral("manual/index.html")));
}

}  // namespace
