#pragma once

// The Windows shell's parts the program uses: message boxes, opening a link,
// and the regional decimal separator.

#include "form/link_opener.h"
#include "form/loan_form.h"

#include <windows.h>

#include <objbase.h>

#include <optional>
#include <string>
#include <vector>

namespace ratalia {

// MessageBoxW with one OK button and no icon, modal to the window the user
// is in (the active one of the program's, else the main window).
class WindowsMessageBox : public ModalMessageBox {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void show(const Text& message, const Text& title) override;

private:
    HWND owner_ = nullptr;
};

// Opens a mailto: or web target with the user's default program.
class ShellLinkOpener : public LinkOpener {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void open(const std::string& target) override;

private:
    HWND owner_ = nullptr;
};

// The decimal separator of the user's regional settings, or of the named locale.
char16_t regionalDecimalSeparator(const wchar_t* locale = LOCALE_NAME_USER_DEFAULT);
// The separator of thousands in amounts; 0 where the region uses none.
char16_t regionalGroupSeparator(const wchar_t* locale = LOCALE_NAME_USER_DEFAULT);

// Writes the bytes to the file whole or not at all: into a temporary file in
// the same folder, flushed to the disk, then put in the file's place; a
// failure leaves the old file, or none, as it was.
bool writeFileWhole(const std::wstring& path, const std::string& bytes);
// The file's bytes, or nothing where it cannot be read.
std::optional<std::string> readFileWhole(const std::wstring& path);

// Puts the text on the clipboard as Unicode text, its lines ending in CR LF.
bool putOnClipboard(HWND owner, const Text& text);

// The program's arguments, without its own name, in UTF-8.
std::vector<std::string> commandLineArguments();

// COM on this thread, as the window's own: the file dialogs, the shell and
// a screen reader asking for the chart's object all need it.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
    }
    ~ComApartment()
    {
        if (initialized_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

} // namespace ratalia
