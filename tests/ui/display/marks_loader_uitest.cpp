// The marks of changed rows come from workers, rows asked for last first, and belong to the
// rows they were asked for.
#include "ui/display/marks_loader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/engine/merge/compared_result.h"
#include "tests/ui/app/app_fixture.h"

namespace {

std::shared_ptr<const kl::ShownRows> PairedRows(int changedLines)
{
    std::string a;
    std::string b;
    for (int k = 0; k < changedLines; ++k) {
        a += "same " + std::to_string(k) + "\nline " + std::to_string(k) + " old words\n";
        b += "same " + std::to_string(k) + "\nline " + std::to_string(k) + " new words\n";
    }
    const auto result = std::make_shared<const kl::CompareResult>(kltest::ComparedResult(a, b));
    return std::make_shared<const kl::ShownRows>(result->texts, result, kl::DisplayOptions{kl::DISPLAY_RESULT, true});
}

TEST(MarksLoader, FindsWhatTheCharacterComparisonFindsRowsInViewFirst)
{
    const auto shown = PairedRows(12);
    CMarksLoader loader(nullptr, 1);
    std::vector<int> order;
    QObject::connect(&loader, &CMarksLoader::marksReady, [&order](int row) { order.push_back(row); });
    loader.Request(shown, 0, 9);
    loader.Request(shown, 10, shown->RowCount() - 1);  // scrolled on: these rows come first
    ASSERT_TRUE(kltest::WaitUntil([&loader] { return loader.pendingCount() == 0; }));

    std::vector<int> changed;
    for (int row = 0; row < shown->RowCount(); ++row) {
        if (!shown->IsPaired(row))
            continue;
        changed.push_back(row);
        const kl::RowMarks* marks = loader.Find(*shown, row);
        ASSERT_NE(marks, nullptr) << row;
        EXPECT_EQ(marks->runs, kl::MarkShownRow(*shown, row).runs);
    }
    ASSERT_EQ(order.size(), changed.size());
    // The row in progress when the view moved finishes first; the rows in view follow.
    EXPECT_GE(order[1], 10);
    EXPECT_EQ(loader.Find(*PairedRows(1), 1), nullptr);
}

TEST(MarksLoader, OtherRowsForgetTheMarksOfTheOldOnes)
{
    const auto first = PairedRows(40);
    CMarksLoader loader(nullptr, 2);
    loader.Request(first, 0, first->RowCount() - 1);
    const auto second = PairedRows(3);
    loader.Request(second, 0, second->RowCount() - 1);
    ASSERT_TRUE(kltest::WaitUntil([&loader] { return loader.pendingCount() == 0; }));
    EXPECT_EQ(loader.Find(*first, 1), nullptr);
    EXPECT_NE(loader.Find(*second, 1), nullptr);
}

}  // namespace
