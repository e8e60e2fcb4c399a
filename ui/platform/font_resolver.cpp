#include "ui/platform/font_resolver.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "engine/platform/cp932.h"

#ifdef KESTRILANE_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace kl {

namespace {

constexpr int kDefaultPixelSize = 12;
constexpr long long kLargestPixelSize = 512;  // a wild value in the settings file stays usable
constexpr int kNormalWeight = 400;

bool IsInstalledFamily(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

bool CoversJapanese(const QString& family)
{
    return IsInstalledFamily(family)
        && QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

#ifdef KESTRILANE_HAVE_FONTCONFIG
QString FontconfigMatch(const char* patternText)
{
    QString family;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(patternText));
    if (!pattern)
        return family;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            family = QString::fromUtf8(reinterpret_cast<const char*>(name));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return family;
}
#endif

QString FindJapaneseMonospace()
{
#ifdef KESTRILANE_HAVE_FONTCONFIG
    const QString matched = FontconfigMatch("monospace:lang=ja");
    if (!matched.isEmpty() && CoversJapanese(matched))
        return matched;
#endif
    const QStringList known = {
        QStringLiteral("IPAGothic"),
        QStringLiteral(u"IPAゴシック"),
        QStringLiteral("Noto Sans Mono CJK JP"),
        QStringLiteral("VL Gothic"),
    };
    for (const QString& family : known) {
        if (CoversJapanese(family))
            return family;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace

QString JapaneseMonospaceFamily()
{
    static const QString family = FindJapaneseMonospace();
    return family;
}

QString ResolveFontFamily(const QString& requested)
{
    if (!requested.isEmpty() && IsInstalledFamily(requested))
        return requested;
    return JapaneseMonospaceFamily();
}

QFont CreateViewFont(const std::string& faceCp932, int height, int width, int weight)
{
    QFont font(ResolveFontFamily(QString::fromStdString(Cp932ToUtf8(faceCp932))));
    const long long pixels = std::min(std::llabs(static_cast<long long>(height)), kLargestPixelSize);
    font.setPixelSize(pixels > 0 ? static_cast<int>(pixels) : kDefaultPixelSize);
    // Weight 0 means "don't care": the normal weight.
    font.setWeight(static_cast<QFont::Weight>(weight > 0 ? std::min(weight, 1000) : kNormalWeight));
    if (height > 0 && width > 0) {
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(static_cast<int>(std::clamp(width * 100LL / natural, 1LL, 4000LL)));
    }
    return font;
}

}  // namespace kl
