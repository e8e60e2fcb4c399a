#include "engine/settings/merge_settings.h"

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

bool SaveMergeSettings(const std::string& iniPath, const MergeSettings& settings,
                       const MergePrefixes& prefixes)
{
    const std::string insDocA = std::to_string(settings.insDocA);
    const std::string insDocB = std::to_string(settings.insDocB);
    const std::string interactive = std::to_string(settings.interactive);
    const std::string px = std::to_string(settings.px);
    const std::string py = std::to_string(settings.py);
    const IniEntry entries[] = {
        {"MESSAGE", "INSDOCA", prefixes.docA},
        {"MESSAGE", "INSDOCB", prefixes.docB},
        {"MERGE", "INS_DOCA", insDocA},
        {"MERGE", "INS_DOCB", insDocB},
        {"MERGE", "INTERACTIVE", interactive},
        {"MERGE", "PX", px},
        {"MERGE", "PY", py},
    };
    return WriteIniStrings(iniPath, entries);
}

}  // namespace kl
