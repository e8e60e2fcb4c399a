#pragma once
// What OK in a settings dialog does: the document takes the dialog's values, its keys are
// written to the settings file in one replacement, and the caller shows the document anew.
// Each answers false when the settings file could not be written; the values then still
// apply for this session.
#include <string>

#include "engine/settings/view_settings.h"
#include "ui/settings/color_text_set.h"

class CKestrilaneDoc;

bool ApplyColorTextValues(CKestrilaneDoc& doc, const std::string& iniPath, const ColorTextValues& values);
bool ApplyFontSettings(CKestrilaneDoc& doc, const std::string& iniPath, const kl::FontSettings& fonts);
bool ApplyEnvironmentSettings(CKestrilaneDoc& doc, const std::string& iniPath, const kl::DocSettings& settings);
// The 表示 menu's switches: changed lines side by side, line ends by kind.
bool ApplyDisplaySwitches(CKestrilaneDoc& doc, const std::string& iniPath, bool paired, bool eolKind, bool wrap);

// The document's current values, as the colour dialog edits them.
ColorTextValues ColorTextValuesOf(const CKestrilaneDoc& doc);
