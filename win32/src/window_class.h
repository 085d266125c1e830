#pragma once

// The program's own kinds of window (the chart, the scrolling panel, the
// printout's progress) are registered once per module, on first use.

#include <windows.h>

namespace ratalia {

struct WindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    UINT style = 0;
    // Null where the window paints all of itself.
    HBRUSH background = nullptr;
};

// Registers the class unless the module already has it.
void registerOnce(HINSTANCE instance, const WindowClass& kind);

} // namespace ratalia
