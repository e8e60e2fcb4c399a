// The document's settings, fonts and colours as read from the settings file.
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "ui/app/kestrilane_app.h"
#include "ui/app/main_frame.h"
#include "ui/display/over_view.h"
#include "ui/display/text_view.h"
#include "engine/compare/compare_options.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"
#include "tests/support/temp_dir.h"

namespace {

class DocumentSettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<CKestrilaneApp> MakeApp(const std::string& iniText)
    {
        dir.write("kestrilane.ini", iniText);
        auto profile = std::make_unique<kl::UserProfile>(QString::fromStdString(dir.file("profile.ini")));
        return std::make_unique<CKestrilaneApp>(dir.file("kestrilane.ini"), std::move(profile));
    }


    kltest::TempDir dir;
};

TEST_F(DocumentSettingsTest, FontsFollowTheViewKeys)
{
    const struct {
        const char* name;
        const char* ini;
        int leftPixels;
        int leftWeight;
        int rightViewWeight;
    } cases[] = {
        {"defaults", "", 12, 400, 400},
        {"shared font", "[VIEW]\nFONTSIZE=0:-16\nFWEIGHT1=700\nFWEIGHT2=400\n", 16, 700, 700},
        {"individual fonts", "[VIEW]\nFONTSIZE=0:-16\nFWEIGHT1=700\nFWEIGHT2=400\nFONTINDIV=1\n", 16, 700, 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto app = MakeApp(c.ini);
        const CKestrilaneDoc& doc = *app->document();
        EXPECT_EQ(doc.leftFont.pixelSize(), c.leftPixels);
        EXPECT_EQ(doc.leftFont.weight(), c.leftWeight);
        EXPECT_EQ(doc.rightViewFont().weight(), c.rightViewWeight);
        EXPECT_EQ(doc.rightViewFont().pixelSize(), c.leftPixels);
    }
}

TEST_F(DocumentSettingsTest, SwitchesCompareOptionsAndColoursAreRead)
{
    auto app = MakeApp("[FLAG]\nFPARAMDO=0\nEUCCHG=1\n[COMPARE]\nUSECHECK=10\n[COLOR]\nSAME=ff\n"
                       "[MESSAGE]\nLEFT=abc\n[VIEW]\nTABSIZE=8\n");
    const CKestrilaneDoc& doc = *app->document();
    EXPECT_EQ(doc.docSettings.fParamDo, 0);
    EXPECT_EQ(doc.docSettings.fOpenDo, 1);
    EXPECT_EQ(doc.docSettings.eucChg, 1);
    EXPECT_EQ(doc.docSettings.tabSize, 8);
    EXPECT_TRUE(doc.compareOptions.ignoreNewline);
    EXPECT_FALSE(doc.compareOptions.ignoreSpaceTab);

    EXPECT_EQ(doc.colors[kl::COLOR_SAME], 0xffu);
    EXPECT_EQ(doc.leftMessage, "abc");
    const QColor base = app->mainFrame()->palette().color(QPalette::Base);
    EXPECT_EQ(doc.colors[kl::COLOR_WINDOW], kl::Rgb(base.red(), base.green(), base.blue()));

    // Nothing compared yet: the overview bar has mapped no rows.
    EXPECT_EQ(app->mainFrame()->overView()->RowCount(), -1);
    // The left view measured the tab width (8 characters) on its first update.
    EXPECT_GT(app->mainFrame()->leftView()->TabPixels(), 0);
    EXPECT_TRUE(doc.textDoc.recording);
}

}  // namespace
