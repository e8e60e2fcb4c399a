#pragma once
#include <optional>
#include <string>

namespace kl {

// The directory of the running executable, with a trailing separator; nothing when it
// cannot be determined (the settings then stay at their built-in defaults).
std::optional<std::string> GetModuleDir();

// GetModuleDir() + "kestrilane.ini", or nothing.
std::optional<std::string> SettingsFilePath();

}  // namespace kl
