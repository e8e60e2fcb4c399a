#pragma once
// Settings and presets keep their texts in code page 932; the dialogs show and edit them as
// QString.
#include <QString>
#include <string>
#include <string_view>

#include "engine/platform/cp932.h"

inline QString FromCp932(std::string_view cp932)
{
    return QString::fromStdU16String(kl::Cp932ToUtf16(cp932));
}

inline std::string ToCp932(const QString& text)
{
    return kl::Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
}
