#pragma once
// The main window's compare-mode drop-down list. Items show the presets of the settings file
// as "name (code)" decoded from code page 932; each item also keeps its code page 932 bytes,
// which are what kl::ApplyPresetText and the compare-method dialog read.
#include <string>
#include <vector>

class QComboBox;

// Empties the combo box and adds one item per stored preset (kl::LoadPresetList). No item is
// selected afterwards; the caller selects the one it wants.
void FillPresetCombo(QComboBox& combo, const std::string& iniPath);

// Empties the combo box and adds the given item texts (code page 932 bytes); no item is
// selected afterwards.
void SetPresetComboItems(QComboBox& combo, const std::vector<std::string>& itemTexts);

// The code page 932 bytes of item index; empty for an index out of range. An item added by
// other means than the two functions above gives its text encoded in code page 932.
std::string PresetComboItemBytes(const QComboBox& combo, int index);
