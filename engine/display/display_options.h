#pragma once
// How the text views show the texts: the display mode, and in the result whether changed
// lines stand side by side. Both views always show the same.

namespace kl {

enum DisplayMode : int {
    DISPLAY_SOURCE = 0,  // the texts as loaded, numbered line by line
    DISPLAY_RESULT = 1,  // the aligned comparison result
};

struct DisplayOptions {
    DisplayMode mode = DISPLAY_RESULT;
    // In the result: a DocA-only line and the DocB-only line that replaced it share one
    // "changed" row instead of standing each beside a filler.
    bool paired = false;

    bool operator==(const DisplayOptions&) const = default;
};

}  // namespace kl

// The window classes name the modes without the namespace, like their other members.
using kl::DISPLAY_RESULT;
using kl::DISPLAY_SOURCE;
