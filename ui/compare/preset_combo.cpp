#include "ui/compare/preset_combo.h"

#include <QByteArray>
#include <QComboBox>
#include <QString>
#include <QVariant>

#include "engine/platform/cp932.h"

namespace {

// The item data role that holds an item's code. The code is kept as bytes, so that a code
// written into the settings file by hand comes back unchanged when the list is stored.
constexpr int kCodeRole = Qt::UserRole;

QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void FillPresetCombo(QComboBox& combo, const std::string& iniPath)
{
    SetPresetComboItems(combo, kl::LoadPresetList(iniPath));
}

void SetPresetComboItems(QComboBox& combo, const std::vector<kl::PresetRow>& presets)
{
    combo.clear();
    for (const kl::PresetRow& preset : presets) {
        const std::string text = kl::PresetItemText(preset.name, preset.code);
        combo.addItem(QString::fromStdU16String(kl::Cp932ToUtf16(text)), Bytes(preset.code));
    }
    // Adding to an empty combo box selects the first item; the selection is the caller's.
    combo.setCurrentIndex(-1);
}

std::string PresetComboCode(const QComboBox& combo, int index)
{
    if (index < 0 || index >= combo.count()) return {};
    return combo.itemData(index, kCodeRole).toByteArray().toStdString();
}
