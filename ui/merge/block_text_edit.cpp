#include "ui/merge/block_text_edit.h"

#include "engine/platform/cp932.h"

QString BlockTextForEditing(std::string_view block, kl::TextEncoding encoding)
{
    QString text = QString::fromStdU16String(kl::DecodeToUtf16(encoding, block));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string EditedBlockText(const QString& edited, std::string_view original, kl::TextEncoding encoding)
{
    std::string lineEnd = "\n";
    // The first line end of the block, stepped by character so that a trail byte is never
    // taken for one.
    for (std::size_t pos = 0; pos < original.size(); pos = kl::NextCharIn(encoding, original, pos)) {
        if (original[pos] == '\r') {
            lineEnd = pos + 1 < original.size() && original[pos + 1] == '\n' ? "\r\n" : "\r";
            break;
        }
        if (original[pos] == '\n')
            break;
    }
    const std::string bytes = encoding == kl::TextEncoding::Utf8 ? edited.toStdString()
                                                                 : kl::Utf16ToCp932(edited.toStdU16String());
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
