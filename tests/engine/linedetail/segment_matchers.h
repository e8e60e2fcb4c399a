#pragma once
// Compact descriptions of runs for table-driven expectations.
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "engine/linedetail/line_compare.h"

namespace kltest {

struct ExpectedRun {
    int start;
    int end;
    bool difference;
    bool operator==(const ExpectedRun&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ExpectedRun& r)
{
    return os << (r.difference ? "diff[" : "common[") << r.start << ", " << r.end << ")";
}

inline std::vector<ExpectedRun> Runs(const std::vector<kl::LineSegment>& segments)
{
    std::vector<ExpectedRun> runs;
    for (const kl::LineSegment& s : segments)
        runs.push_back({s.start, s.end, s.isDifference != 0});
    return runs;
}

// Test names from a case's name field: letters and digits kept, the rest as '_'.
struct CaseName {
    template <typename Info>
    std::string operator()(const Info& info) const
    {
        std::string name;
        for (const char* p = info.param.name; *p != '\0'; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    }
};

inline ExpectedRun Common(int start, int end) { return {start, end, false}; }
inline ExpectedRun Diff(int start, int end) { return {start, end, true}; }

}  // namespace kltest
