#include "win32/platform.h"

#include <shellapi.h>

#include <cstring>

namespace ratalia {

void WindowsMessageBox::show(const Text& message, const Text& title)
{
    // Over the window the user is working in, the plan window's included:
    // a box owned by another would bring that one to the front.
    const HWND active = GetActiveWindow();
    MessageBoxW(active ? active : owner_, reinterpret_cast<const wchar_t*>(message.c_str()),
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

char16_t regionalGroupSeparator(const wchar_t* locale)
{
    wchar_t separator[8]{};
    if (GetLocaleInfoEx(locale, LOCALE_STHOUSAND, separator, 8) == 0)
        return u',';
    return static_cast<char16_t>(separator[0]);
}

bool writeFileWhole(const std::wstring& path, const std::string& bytes)
{
    const auto slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
    wchar_t temporary[MAX_PATH]{};
    if (GetTempFileNameW(folder.c_str(), L"rat", 0, temporary) == 0)
        return false;
    const HANDLE file =
        CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = file != INVALID_HANDLE_VALUE;
    if (written) {
        DWORD count = 0;
        written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) != 0 &&
                  count == bytes.size() && FlushFileBuffers(file) != 0;
        written = CloseHandle(file) != 0 && written;
    }
    // An old file is replaced, keeping what Windows keeps of it; a new one is moved into place.
    if (written) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            written = ReplaceFileW(path.c_str(), temporary, nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr) != 0;
        else
            written = MoveFileExW(temporary, path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!written)
        DeleteFileW(temporary);
    return written;
}

std::optional<std::string> readFileWhole(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(file, &size) != 0 && size.QuadPart < (1LL << 30);
    if (read) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD count = 0;
        read = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) != 0 &&
                                 count == bytes.size());
    }
    CloseHandle(file);
    return read ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

bool putOnClipboard(HWND owner, const Text& plain)
{
    // Windows' programs end their lines with CR LF.
    Text text;
    text.reserve(plain.size() + plain.size() / 16);
    for (const char16_t c : plain) {
        if (c == u'\n' && (text.empty() || text.back() != u'\r'))
            text += u'\r';
        text += c;
    }
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const SIZE_T size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    bool put = false;
    if (memory) {
        if (void* place = GlobalLock(memory)) {
            std::memcpy(place, text.c_str(), size);
            GlobalUnlock(memory);
            put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put)
            GlobalFree(memory); // the clipboard took it only where it said so
    }
    CloseClipboard();
    return put;
}

std::vector<std::string> commandLineArguments()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring_view argument(arguments[i]);
        result.push_back(toUtf8(TextView(reinterpret_cast<const char16_t*>(argument.data()), argument.size())));
    }
    LocalFree(arguments);
    return result;
}

char16_t regionalDecimalSeparator(const wchar_t* locale)
{
    wchar_t separator[8]{};
    if (GetLocaleInfoEx(locale, LOCALE_SDECIMAL, separator, 8) == 0 || separator[0] == 0)
        return u'.';
    return static_cast<char16_t>(separator[0]);
}

} // namespace ratalia
