#include "ui/compare/preset_combo.h"

#include <QByteArray>
#include <QComboBox>
#include <QString>
#include <QVariant>

#include "engine/compare/presets.h"
#include "engine/platform/cp932.h"

namespace {

// The item data role that holds an item's code page 932 bytes.
constexpr int kBytesRole = Qt::UserRole;

}  // namespace

void FillPresetCombo(QComboBox& combo, const std::string& iniPath)
{
    SetPresetComboItems(combo, kl::LoadPresetList(iniPath));
}

void SetPresetComboItems(QComboBox& combo, const std::vector<std::string>& itemTexts)
{
    combo.clear();
    for (const std::string& text : itemTexts) {
        combo.addItem(QString::fromStdU16String(kl::Cp932ToUtf16(text)),
                      QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    }
    // Adding to an empty combo box selects the first item; the selection is the caller's.
    combo.setCurrentIndex(-1);
}

std::string PresetComboItemBytes(const QComboBox& combo, int index)
{
    if (index < 0 || index >= combo.count()) return {};
    const QVariant bytes = combo.itemData(index, kBytesRole);
    if (bytes.typeId() == QMetaType::QByteArray) return bytes.toByteArray().toStdString();
    const QString text = combo.itemText(index);
    return kl::Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                 static_cast<std::size_t>(text.size())));
}
