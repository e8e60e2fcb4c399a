#pragma once
#include <cstdint>
#include <string>

namespace kl {

// The FLAG switches and the tab size that the views and the loader read.
struct DocSettings {
    int fDispMes = 1;   // position message opposite a moved line
    int fSameCol = 1;   // common lines are not coloured
    int fOtherCol = 1;  // filler rows are coloured
    int fParamDo = 1;   // compare when two files come from the command line
    int fOpenDo = 1;    // compare when the second file is opened later
    int eucChg = 0;     // convert EUC-JP lines when loading
    int tabSize = 4;    // tab width in characters, 1-9
    int fPaired = 0;    // changed lines side by side in the result
    int fEolKind = 0;   // line ends shown by kind (CR, LF, CR LF)
    int fWrap = 0;      // long lines wrap at the pane's width
};

// The VIEW font keys. Face names are held in code page 932, as read from the settings file.
struct FontSettings {
    int size = 12;      // character width when the height is positive
    int height = -12;   // negative: character height in pixels
    std::string faceName1;
    std::string faceName2;
    std::uint8_t charSet1 = 1;
    std::uint8_t charSet2 = 1;
    int weight1 = 400;
    int weight2 = 400;
    std::uint8_t individual = 0;  // the right view has its own font
};

}  // namespace kl
