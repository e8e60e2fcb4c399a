#pragma once
// A path as it stands in a message the window shows.
#include <QString>
#include <string>

#include "engine/platform/display_path.h"

// The path's bytes as readable text: bytes that are no UTF-8 show as "\xHH" (decoding them
// as file names would turn them into replacement characters).
inline QString PathText(const std::string& path)
{
    return QString::fromStdString(kl::DisplayPath(path));
}
