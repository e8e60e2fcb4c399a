#include "ui/linedetail/line_window_style.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>

#include "ui/display/painters.h"
#include "ui/document/kestrilane_doc.h"

namespace {

// Cells beyond this come only from a damaged settings file.
constexpr int kLargestCell = 1000;

int PixelsFromSetting(int value, int fallback)
{
    const long long size = std::llabs(static_cast<long long>(value));
    return size > 0 && size <= kLargestCell ? static_cast<int>(size) : fallback;
}

}  // namespace

LineWindowStyle LineWindowStyleOf(const CKestrilaneDoc& doc, int tabPixels)
{
    LineWindowStyle style;
    style.font = doc.leftFont;
    style.upperDifference = kl::ColorFromRef(doc.colors[kl::COLOR_DOC1]);
    style.lowerDifference = kl::ColorFromRef(doc.colors[kl::COLOR_DOC2]);
    style.common = kl::ColorFromRef(doc.colors[kl::COLOR_SAME]);
    style.window = kl::ColorFromRef(doc.colors[kl::COLOR_WINDOW]);
    style.tabPixels = std::max(tabPixels, 1);
    style.fontSize = PixelsFromSetting(doc.fontSettings.size, 12);
    style.fontHeight = PixelsFromSetting(doc.fontSettings.height, 0);
    const std::vector<std::string>& names = doc.textDoc.fileNames;
    for (std::size_t side = 0; side < style.fileNames.size() && side < names.size(); ++side)
        style.fileNames[side] = QFile::decodeName(names[side].c_str());
    return style;
}

QString SideName(int side)
{
    return side == 0 ? QStringLiteral("A") : QStringLiteral("B");
}
