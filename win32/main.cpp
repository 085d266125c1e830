#include "core/form_events.h"
#include "win32/main_window.h"
#include "win32/platform.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    ratalia::WindowsMessageBox messageBox;
    ratalia::ShellLinkOpener linkOpener;
    ratalia::FormEvents events(ratalia::NumberText(ratalia::regionalDecimalSeparator()), messageBox, linkOpener);
    ratalia::MainWindow window(events, instance);
    if (!window.handle())
        return 1;
    messageBox.setOwner(window.handle());
    linkOpener.setOwner(window.handle());
    ShowWindow(window.handle(), show);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
