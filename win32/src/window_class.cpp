#include "window_class.h"

namespace ratalia {

void registerOnce(HINSTANCE instance, const WindowClass& kind)
{
    WNDCLASSEXW known{};
    known.cbSize = sizeof(known);
    if (GetClassInfoExW(instance, kind.name, &known))
        return;
    WNDCLASSEXW added{};
    added.cbSize = sizeof(added);
    added.style = kind.style;
    added.lpfnWndProc = kind.procedure;
    added.hInstance = instance;
    added.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    added.hbrBackground = kind.background;
    added.lpszClassName = kind.name;
    RegisterClassExW(&added);
}

} // namespace ratalia
