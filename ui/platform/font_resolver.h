#pragma once
// Turning the face names of the settings file into fonts that exist on this system. The
// default face of the settings is a Windows font; where it is not installed the views use
// the system's Japanese monospace font, in which a full-width character is two half-width
// cells wide.
#include <QFont>
#include <QString>
#include <string>

namespace kl {

// requested when it is an installed family, else the Japanese monospace family.
QString ResolveFontFamily(const QString& requested);

// The system's Japanese monospace family: fontconfig's choice for "monospace:lang=ja" when
// it covers Japanese, else the first installed of a list of known Japanese monospace
// fonts, else the system's fixed-pitch font. Determined once per process.
QString JapaneseMonospaceFamily();

// A view font from the settings' values: faceCp932 is the face name in code page 932;
// a negative height is the character height in pixels, a positive one the cell height;
// width (used only with a positive height) is the average character width in pixels, 0
// for the font's own; weight is 1-1000 (400 normal, 700 bold; 0 normal).
QFont CreateViewFont(const std::string& faceCp932, int height, int width, int weight);

}  // namespace kl
