#pragma once
// The main window's compare-mode drop-down list. Items show the presets of the settings file
// as "name (code)" decoded from code page 932; each item carries its code as item data
// (Qt::UserRole, the code page 932 bytes), which is what kl::PresetFromCode and the
// compare-method dialog read.
#include <string>
#include <vector>

#include "engine/compare/presets.h"

class QComboBox;

// Empties the combo box and adds one item per stored preset (kl::LoadPresetList). No item is
// selected afterwards; the caller selects the one it wants.
void FillPresetCombo(QComboBox& combo, const std::string& iniPath);

// Empties the combo box and adds one item per preset (names and codes in code page 932); no
// item is selected afterwards.
void SetPresetComboItems(QComboBox& combo, const std::vector<kl::PresetRow>& presets);

// The code of item index; empty for an index out of range or an item without a code.
std::string PresetComboCode(const QComboBox& combo, int index);
