#include "ui/linedetail/line_window_style.h"

#include <QFile>
#include <algorithm>

#include "ui/display/painters.h"
#include "ui/document/kestrilane_doc.h"

LineWindowStyle LineWindowStyleOf(const CKestrilaneDoc& doc, int tabPixels)
{
    LineWindowStyle style;
    style.font = doc.leftFont;
    style.upperDifference = kl::ColorFromRef(doc.colors[kl::COLOR_DOC1]);
    style.lowerDifference = kl::ColorFromRef(doc.colors[kl::COLOR_DOC2]);
    style.common = kl::ColorFromRef(doc.colors[kl::COLOR_SAME]);
    style.window = kl::ColorFromRef(doc.colors[kl::COLOR_WINDOW]);
    style.tabPixels = std::max(tabPixels, 1);
    style.fontSize = kl::PixelsFromSetting(doc.fontSettings.size, 12);
    style.fontHeight = kl::PixelsFromSetting(doc.fontSettings.height, 0);
    const std::vector<std::string>& names = doc.textDoc.fileNames;
    for (std::size_t side = 0; side < style.fileNames.size() && side < names.size(); ++side)
        style.fileNames[side] = QFile::decodeName(names[side].c_str());
    return style;
}

QString SideName(int side)
{
    return side == 0 ? QStringLiteral("A") : QStringLiteral("B");
}
