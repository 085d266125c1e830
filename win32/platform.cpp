#include "win32/platform.h"

#include <shellapi.h>

namespace ratalia {

void WindowsMessageBox::show(const Text& message, const Text& title)
{
    MessageBoxW(owner_, reinterpret_cast<const wchar_t*>(message.c_str()),
                reinterpret_cast<const wchar_t*>(title.c_str()), MB_OK);
}

void ShellLinkOpener::open(const std::string& target)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, target.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, target.c_str(), -1, wide.data(), length);
    // Nothing is reported: without a mail program or browser the click does nothing.
    ShellExecuteW(owner_, nullptr, wide.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}

char16_t regionalDecimalSeparator(const wchar_t* locale)
{
    wchar_t separator[8]{};
    if (GetLocaleInfoEx(locale, LOCALE_SDECIMAL, separator, 8) == 0 || separator[0] == 0)
        return u'.';
    return static_cast<char16_t>(separator[0]);
}

} // namespace ratalia
