#pragma once

// Every control of the window: what it is, what it stands for in the model,
// where it stands (in twips from the top-left corner of its container), its
// caption, accessible name, tooltip and tab index. The window is a fixed
// arrangement: nothing moves or resizes. A front end builds its controls from
// these rows alone; the form's own control names appear here and nowhere
// else, as the object names that match a control to the window's description.

#include "form/contact_links.h"
#include "form/loan_form.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace ratalia {

enum class ControlKind { Frame, Label, LinkLabel, InputField, ResultField, OptionButton, PushButton };
enum class Frame { Inputs, Results, MonthlyRate };

// What a control stands for; a plain label stands for nothing.
using ControlId = std::variant<std::monostate, Frame, Field, Button, DurationUnit, Link>;

struct ControlLayout {
    const char* objectName;
    ControlKind kind;
    ControlId id;
    std::optional<Frame> container; // none: the window itself
    const char* caption;            // UTF-8; nullptr where the program supplies it
    const char* accessibleName;     // UTF-8; nullptr: the caption without its access-key mark
    const char* toolTip;            // nullptr: none
    int left, top, width, height;
    int tabIndex;
};

struct ControlRect {
    int left, top, width, height;
    bool operator==(const ControlRect&) const = default;
};

struct FormLayout {
    static constexpr const char* objectName = "Form1";
    static constexpr int clientWidth = 5505;
    static constexpr int clientHeight = 5415;
    static constexpr int twipsPerPixel = 15;
    // The characters a field holds at the most: a longer paste is cut to fit.
    static constexpr int maximumTextLength = 32767;

    // " Ratalia   Ver. " and the program's version.
    static std::string caption();
    static std::span<const ControlLayout> controls();
    // The row of the control that stands for `id`; every id has one.
    static const ControlLayout& control(const ControlId& id);
    // Where the control stands in the window's client area, in twips.
    static ControlRect inClientArea(const ControlLayout& control);
    // Whether it stands wholly outside the client area, where no one ever sees it.
    static bool liesOutsideClientArea(const ControlLayout& control);

    // Every control in ascending tab index: the order a window makes them
    // in, so that a dialog keyboard walks them in it.
    static std::vector<const ControlLayout*> inTabOrder();
    // The stops Tab walks, in order: the fields, the push buttons and the
    // option pair, one stop for both options (standing as the months).
    static std::vector<ControlId> tabStops();
    // The stop Tab (forward) or Shift+Tab moves the focus to from `from`
    // (nothing: from outside every stop), past the stops that cannot take it
    // (a disabled button); the option pair is entered at the chosen unit.
    // Nothing where no stop can take it.
    static std::optional<ControlId> nextTabStop(const std::optional<ControlId>& from, bool forward, DurationUnit chosen,
                                                const std::function<bool(const ControlId&)>& canTakeFocus);
};

} // namespace ratalia
