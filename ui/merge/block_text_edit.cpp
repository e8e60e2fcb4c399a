#include "ui/merge/block_text_edit.h"

#include "engine/platform/cp932.h"

QString BlockTextForEditing(std::string_view block)
{
    QString text = QString::fromStdU16String(kl::Cp932ToUtf16(block));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string EditedBlockText(const QString& edited, std::string_view original)
{
    std::string lineEnd = "\n";
    // The first line end of the block, stepped by character so that a trail byte is never
    // taken for one.
    for (std::size_t pos = 0; pos < original.size(); pos = kl::NextChar(original, pos)) {
        if (original[pos] == '\r') {
            lineEnd = pos + 1 < original.size() && original[pos + 1] == '\n' ? "\r\n" : "\r";
            break;
        }
        if (original[pos] == '\n')
            break;
    }
    const std::string bytes = kl::Utf16ToCp932(edited.toStdU16String());
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (char c : bytes) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}
