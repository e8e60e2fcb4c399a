// Cost of one line comparison, the matcher's inner step, on typical source lines.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/compare/lines_equal.h"

namespace {

const std::string kLineA = "    result = ComputeTotal(items, count);  // running sum\r\n";
const std::string kLineB = "    result = ComputeTotal(items, count);  // running sum\n";
const std::string kLineC = "    result = ComputeTotal(items, total);  // running sum\r\n";
const std::string kLongA = std::string(400, 'x') + kLineA;
const std::string kLongB = std::string(400, 'x') + "  \t" + kLineB;

void Compare(benchmark::State& state, const std::string& first, const std::string& second,
             kl::CompareOptions options)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(kl::LinesEqual(first, second, options));
    }
}

kl::CompareOptions Plain() { return {}; }

kl::CompareOptions IgnoreNewline()
{
    kl::CompareOptions options;
    options.ignoreNewline = true;
    return options;
}

kl::CompareOptions StripAll()
{
    kl::CompareOptions options = IgnoreNewline();
    options.ignoreSpaceTab = true;
    return options;
}

kl::CompareOptions SpaceRules()
{
    kl::CompareOptions options;
    options.wideSpaceAsTwo = 1;
    options.ignoreTrailingSpaces = 1;
    return options;
}

kl::CompareOptions Delimiter()
{
    kl::CompareOptions options;
    options.method = 1;
    options.delimiter = '(';
    return options;
}

}  // namespace

BENCHMARK_CAPTURE(Compare, plain_equal, kLineA, kLineA, Plain());
BENCHMARK_CAPTURE(Compare, plain_different, kLineA, kLineC, Plain());
BENCHMARK_CAPTURE(Compare, ignore_newline, kLineA, kLineB, IgnoreNewline());
BENCHMARK_CAPTURE(Compare, strip_space_tab, kLineA, kLineC, StripAll());
BENCHMARK_CAPTURE(Compare, space_rules, kLineA, kLineC, SpaceRules());
BENCHMARK_CAPTURE(Compare, delimiter_method, kLineA, kLineC, Delimiter());
BENCHMARK_CAPTURE(Compare, strip_space_tab_long, kLongA, kLongB, StripAll());
