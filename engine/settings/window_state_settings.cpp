#include "engine/settings/window_state_settings.h"

#include <cstdio>
#include <string_view>

#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {

SplitterWidths ReadSplitterWidths(const std::string& iniPath)
{
    const std::string stored =
        ReadIniString(iniPath, "Settings", "underWndWidth1", "000000006000000003000000000300", 60);
    std::string_view text = stored;
    SplitterWidths widths;
    // Like scanf "%10d%10d%10d": the fields are read in turn and the first one that holds no
    // number ends the reading.
    for (int* width : {&widths.overview, &widths.left, &widths.right}) {
        if (!ScanDecimal(text, *width, 10)) {
            break;
        }
    }
    return widths;
}

bool SaveSplitterWidths(const std::string& iniPath, const SplitterWidths& widths)
{
    char text[40];
    std::snprintf(text, sizeof text, "%10d%10d%10d", widths.overview, widths.left, widths.right);
    return WriteIniString(iniPath, "Settings", "underWndWidth1", text);
}

int ReadSelectedPreset(const std::string& iniPath)
{
    return AtoiText(ReadIniString(iniPath, "COMPMODE", "SELECTED", "-1", 4));
}

bool SaveSelectedPreset(const std::string& iniPath, int index)
{
    return WriteIniString(iniPath, "COMPMODE", "SELECTED", std::to_string(index));
}

}  // namespace kl
