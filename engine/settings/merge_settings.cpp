#include "engine/settings/merge_settings.h"

#include <array>

#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {

MergeSettings ReadMergeSettings(const std::string& iniPath)
{
    MergeSettings settings;
    settings.insDocA = AtoiText(ReadIniString(iniPath, "MERGE", "INS_DOCA", "1", 4));
    settings.insDocB = AtoiText(ReadIniString(iniPath, "MERGE", "INS_DOCB", "1", 4));
    settings.interactive = AtoiText(ReadIniString(iniPath, "MERGE", "INTERACTIVE", "0", 4));
    settings.px = AtoiText(ReadIniString(iniPath, "MERGE", "PX", "50", 8));
    settings.py = AtoiText(ReadIniString(iniPath, "MERGE", "PY", "50", 8));
    return settings;
}

MergePrefixes ReadMergePrefixes(const std::string& iniPath)
{
    const MergePrefixes defaults;
    MergePrefixes prefixes;
    prefixes.docA = ReadIniString(iniPath, "MESSAGE", "INSDOCA", defaults.docA, 120);
    prefixes.docB = ReadIniString(iniPath, "MESSAGE", "INSDOCB", defaults.docB, 120);
    return prefixes;
}

namespace {

// The stored texts of both groups, one per key in the order of MergeEntries.
struct MergeTexts {
    std::string insDocA, insDocB, interactive, px, py;
    const MergePrefixes& prefixes;

    MergeTexts(const MergeSettings& settings, const MergePrefixes& prefixes)
        : insDocA(std::to_string(settings.insDocA)),
          insDocB(std::to_string(settings.insDocB)),
          interactive(std::to_string(settings.interactive)),
          px(std::to_string(settings.px)),
          py(std::to_string(settings.py)),
          prefixes(prefixes)
    {
    }

    std::array<IniEntry, 7> Entries() const
    {
        return {{
            {"MESSAGE", "INSDOCA", prefixes.docA},
            {"MESSAGE", "INSDOCB", prefixes.docB},
            {"MERGE", "INS_DOCA", insDocA},
            {"MERGE", "INS_DOCB", insDocB},
            {"MERGE", "INTERACTIVE", interactive},
            {"MERGE", "PX", px},
            {"MERGE", "PY", py},
        }};
    }
};

}  // namespace

bool SaveMergeSettings(const std::string& iniPath, const MergeSettings& settings,
                       const MergePrefixes& prefixes)
{
    return WriteIniStrings(iniPath, MergeTexts(settings, prefixes).Entries());
}

bool SaveMergeSettingsChanges(const std::string& iniPath, const MergeSettings& before,
                              const MergePrefixes& prefixesBefore, const MergeSettings& settings,
                              const MergePrefixes& prefixes)
{
    return WriteChangedIniStrings(iniPath, MergeTexts(settings, prefixes).Entries(),
                                  MergeTexts(before, prefixesBefore).Entries());
}

}  // namespace kl
