#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kl {

// The directory of the running executable, with a trailing separator; nothing when it
// cannot be determined (the settings then stay at their built-in defaults).
std::optional<std::string> GetModuleDir();

// Where the settings file belongs: "kestrilane.ini" in programDir (which ends in a
// separator) when that directory can be written, otherwise
// "<config>/kestrilane/kestrilane.ini", <config> being configHome when it is an absolute
// path and "<home>/.config" otherwise. With neither an absolute configHome nor an absolute
// home the file stays in programDir, where it can still be read.
std::string SettingsFilePathFor(std::string_view programDir, bool programDirWritable,
                                std::string_view configHome, std::string_view home);

// The settings file of this program: SettingsFilePathFor() with the executable's
// directory, whether it may hold the settings (this user may write it and it is no
// installed bin folder, one with share/kestrilane beside it), $XDG_CONFIG_HOME and $HOME;
// nothing without
// an executable directory. When the file goes to the user's configuration directory, its
// folder is created (mode 0700) so that the first write can succeed.
std::optional<std::string> SettingsFilePath();

}  // namespace kl
