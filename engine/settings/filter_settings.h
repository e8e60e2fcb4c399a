#pragma once
// The line filter options in the settings file: COMPARE "FILTERCHECK" holds four digits
// (ignoreCase, ignoreBlankLines, useLineFilters, useSubstitutions), and section FILTER the
// two lists: LINECOUNT and L0.. for the line filters, SUBCOUNT and S0.. for the
// substitutions ("pattern", a tab, "replacement"). Stored in code page 932.
#include <string>

#include "engine/compare/compare_options.h"

namespace kl {

void LoadFilterSettings(const std::string& iniPath, CompareOptions& options);

// Stores the switches and both lists in one update; false when the file could not be written.
bool SaveFilterSettings(const std::string& iniPath, const CompareOptions& options);

}  // namespace kl
