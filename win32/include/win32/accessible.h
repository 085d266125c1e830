#pragma once

// What a screen reader hears of a control where its own text does not say
// it: a figure's value heard with its name ("TAEG: 3,56 %"), an input by the
// name of its row rather than by the caption above it, the chart as a chart
// with the chart in words. Windows' own object for the control answers
// everything else.

#include "numbers/text.h"

#include <windows.h>

#include <oleacc.h>

#include <map>

namespace ratalia {

struct AccessibleText {
    Text name;
    Text description;
    long role = 0; // 0: the control's own
};

// Windows' object for a window, with the name, description and role given.
// Answers WM_GETOBJECT for its client area; returns what the message returns.
LRESULT answerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleText& text);

// The controls of a window whose accessible texts are set here; each keeps
// its texts until it is destroyed, or this object goes.
class AccessibleTexts {
public:
    AccessibleTexts() = default;
    ~AccessibleTexts();
    AccessibleTexts(const AccessibleTexts&) = delete;
    AccessibleTexts& operator=(const AccessibleTexts&) = delete;

    // Sets the control's texts, and tells a screen reader listening when they changed.
    void set(HWND control, AccessibleText text);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    std::map<HWND, AccessibleText> texts_;
};

} // namespace ratalia
