#include <gtest/gtest.h>
#include "compare/compare_options.h"
TEST(Smoke, DefaultOptions) { EXPECT_EQ(kl::ProcessCompareOptions().delimiter, '"'); }
