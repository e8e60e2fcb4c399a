#pragma once
// The merge dialog's keys: section MERGE and the prefix texts MESSAGE INSDOCA/INSDOCB.
// An empty settings path gives the defaults; writers then do nothing and return false.
#include <string>

namespace kl {

struct MergeSettings {
    int insDocA = 1;      // put the DocA prefix before lines only in DocA
    int insDocB = 1;      // put the DocB prefix before lines only in DocB
    int interactive = 0;  // ask block by block
    int px = 50;          // dialog position relative to the main window's top-left corner
    int py = 50;
};

// Marker texts put before one-sided lines, in code page 932.
struct MergePrefixes {
    std::string docA = "!DOC_A>>>";
    std::string docB = "!DOC_B>>>";
};

MergeSettings ReadMergeSettings(const std::string& iniPath);
MergePrefixes ReadMergePrefixes(const std::string& iniPath);

// Stores both groups together, as the merge dialog does when it keeps its settings.
bool SaveMergeSettings(const std::string& iniPath, const MergeSettings& settings,
                       const MergePrefixes& prefixes);

// Stores only the keys whose values differ from before (the values the dialog read or
// stored last), so that a change another window stored meanwhile to a key this one left
// alone stays. Nothing changed: nothing written, true.
bool SaveMergeSettingsChanges(const std::string& iniPath, const MergeSettings& before,
                              const MergePrefixes& prefixesBefore, const MergeSettings& settings,
                              const MergePrefixes& prefixes);

}  // namespace kl
