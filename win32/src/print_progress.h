#pragma once

// A long printout's progress: "Pagina k di n…", a bar, and Annulla, in a
// small window over the plan window, which waits meanwhile. It shows only
// once the printout has taken a moment, and keeps the windows painting.

#include "numbers/text.h"
#include "win32/gdi.h"

#include <windows.h>

#include <cstddef>

namespace ratalia {

class PrintProgress {
public:
    PrintProgress(HWND owner, const Text& title, std::size_t pages);
    ~PrintProgress();
    PrintProgress(const PrintProgress&) = delete;
    PrintProgress& operator=(const PrintProgress&) = delete;

    // Page `page` (from 1) is next: shows it where a moment has passed, and
    // answers the user. Returns false once the user has cancelled.
    bool next(std::size_t page);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void open();
    void pump();

    HWND owner_;
    Text title_;
    std::size_t pages_;
    ULONGLONG started_;
    ULONGLONG shown_ = 0;
    HWND window_ = nullptr;
    HWND label_ = nullptr;
    HWND bar_ = nullptr;
    Font font_;
    bool ownerWasEnabled_ = false;
    bool cancelled_ = false;
};

} // namespace ratalia
