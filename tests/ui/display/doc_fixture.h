#pragma once
// A document of a program whose settings and profile live in a temporary folder, and texts
// loaded into it without the open sequence's questions or automatic comparison.
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "ui/app/kestrilane_app.h"
#include "engine/compare/compare_options.h"
#include "engine/document/document_ops.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"
#include "tests/support/temp_dir.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace kltest {

class DocFixture : public ::testing::Test {
protected:
    void SetUp() override { Start(); }

    // Starts the program anew on the settings file holding ini (the document reads its
    // settings when it is made).
    void Restart(const std::string& ini)
    {
        app.reset();
        dir.write("kestrilane.ini", ini);
        Start();
    }

    CKestrilaneDoc& doc() { return *app->document(); }

    // Loads the text as the next document; returns its path.
    std::string Load(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.write(name, bytes);
        std::string error;
        EXPECT_TRUE(kl::LoadIntoDocument(doc().textDoc, path, false, error)) << error;
        return path;
    }

    kltest::TempDir dir;
    std::unique_ptr<CKestrilaneApp> app;

private:
    void Start()
    {
        auto profile = std::make_unique<kl::UserProfile>(QString::fromStdString(dir.file("profile.ini")));
        app = std::make_unique<CKestrilaneApp>(dir.file("kestrilane.ini"), std::move(profile));
    }
};

}  // namespace kltest
