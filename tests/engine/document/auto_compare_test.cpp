#include "engine/document/auto_compare.h"

#include <gtest/gtest.h>

namespace {

using kl::AutoCompare;

struct Case {
    int argIndex;
    int fParamDo;
    int fOpenDo;
    int nameCount;
    AutoCompare expected;
};

TEST(AutoCompare, DecidesFromArgumentPositionAndSwitches)
{
    const Case cases[] = {
        // Second file from the command line (position 2, or 3 after a switch).
        {2, 1, 1, 2, AutoCompare::StartAndPost},
        {3, 1, 0, 2, AutoCompare::StartAndPost},
        {2, 0, 1, 2, AutoCompare::None},
        {2, 1, 1, 1, AutoCompare::None},
        // Only the value 1 switches the rule on.
        {2, 2, 1, 2, AutoCompare::None},
        // A single file argument, the second file opened later: neither rule applies.
        {1, 1, 1, 2, AutoCompare::None},
        // Opens that do not come from the command line.
        {0, 1, 1, 2, AutoCompare::StartAndSend},
        {0, 0, 1, 2, AutoCompare::StartAndSend},
        {0, 1, 0, 2, AutoCompare::None},
        {0, 1, 1, 1, AutoCompare::StartAndSend},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "argIndex " << c.argIndex << " FPARAMDO " << c.fParamDo
                                        << " FOPENDO " << c.fOpenDo << " names " << c.nameCount);
        kl::DocSettings settings;
        settings.fParamDo = c.fParamDo;
        settings.fOpenDo = c.fOpenDo;
        EXPECT_EQ(kl::DecideAutoCompare(c.argIndex, settings, c.nameCount), c.expected);
    }
}

}  // namespace
