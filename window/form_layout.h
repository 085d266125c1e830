#pragma once

// Where every control of the window stands, in twips from the top-left corner
// of its container, with its caption and tab index. The window is a fixed
// arrangement: nothing moves or resizes.

#include <span>

namespace ratalia {

enum class ControlKind { Frame, Label, LinkLabel, InputField, ResultField, OptionButton, PushButton };

struct ControlLayout {
    const char* name;
    ControlKind kind;
    const char* container; // a frame's name, or nullptr for the window itself
    const char* caption;   // UTF-8; nullptr where the program supplies it
    int left, top, width, height;
    int tabIndex;
};

struct FormLayout {
    static constexpr const char* caption = " Ratalia   Ver. 1.04";
    static constexpr int clientWidth = 5505;
    static constexpr int clientHeight = 5415;
    static constexpr int twipsPerPixel = 15;

    static std::span<const ControlLayout> controls();
};

} // namespace ratalia
