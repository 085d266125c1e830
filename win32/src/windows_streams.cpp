#include "windows_streams.h"

#include "win32/platform.h"

#include "numbers/text.h"

namespace ratalia {
namespace {

// A windowed program started from a console without redirection has no
// standard handles: it writes to its parent's console instead.
HANDLE standardHandle(DWORD which)
{
    const HANDLE inherited = GetStdHandle(which);
    if (inherited != nullptr && inherited != INVALID_HANDLE_VALUE)
        return inherited;
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return nullptr;
    const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return nullptr;
    SetStdHandle(which, console);
    return console;
}

} // namespace

bool WindowsStreams::write(StandardStream stream, const std::string& utf8, WriteFailure& failure, std::size_t& kept)
{
    const DWORD which = stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    kept = 0;
    if (utf8.empty())
        return true;
    const HANDLE handle = standardHandle(which);
    if (handle == nullptr) {
        failure = WriteFailure::Closed;
        return false;
    }
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const Text text = fromUtf8(utf8);
        DWORD written = 0;
        if (WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0) {
            kept = utf8.size();
            return true;
        }
        failure = WriteFailure::Other;
        return false;
    }
    const bool file = GetFileType(handle) == FILE_TYPE_DISK;
    LARGE_INTEGER start{};
    const bool known = file && SetFilePointerEx(handle, LARGE_INTEGER{}, &start, FILE_CURRENT);
    DWORD written = 0;
    const bool done = WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) != 0;
    kept = written;
    if (done && written == utf8.size())
        return true;
    const DWORD error = done ? ERROR_DISK_FULL : GetLastError();
    // A handle that was closed before the program started is no longer a valid one.
    failure = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? WriteFailure::NoSpace
              : error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_INVALID_HANDLE
                  ? WriteFailure::Closed
                  : WriteFailure::Other;
    if (known && SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) && SetEndOfFile(handle))
        kept = 0;
    return false;
}

namespace {

std::wstring widePath(const std::string& utf8)
{
    const Text text = fromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

} // namespace

std::optional<std::string> WindowsFiles::read(const std::string& path) { return readFileWhole(widePath(path)); }

bool WindowsFiles::exists(const std::string& path)
{
    return GetFileAttributesW(widePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WindowsFiles::write(const std::string& path, const std::string& bytes)
{
    return writeFileWhole(widePath(path), bytes);
}

} // namespace ratalia
