#include "cli/command_line.h"
#include "form/form_events.h"
#include "win32/main_window.h"
#include "win32/platform.h"
#include "windows_streams.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    const ratalia::NumberText numbers(ratalia::regionalDecimalSeparator(), ratalia::regionalGroupSeparator());
    const auto arguments = ratalia::commandLineArguments();
    // Windows has no options of its own for a window: every argument is for the command line.
    if (!ratalia::opensWindow(arguments, {})) {
        ratalia::WindowsStreams streams;
        ratalia::WindowsFiles files;
        return ratalia::runCommandLine(arguments, numbers, streams, &files);
    }

    const ratalia::ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    ratalia::WindowsMessageBox messageBox;
    ratalia::ShellLinkOpener linkOpener;
    ratalia::FormEvents events(numbers, messageBox, linkOpener);
    ratalia::MainWindow window(events, instance);
    if (!window.handle())
        return 1;
    messageBox.setOwner(window.handle());
    linkOpener.setOwner(window.handle());
    ShowWindow(window.handle(), show);
    std::vector<std::wstring> files;
    for (const std::string& file : ratalia::filesToOpen(arguments, {})) {
        const ratalia::Text path = ratalia::fromUtf8(file);
        files.emplace_back(path.begin(), path.end());
    }
    if (!files.empty())
        window.openOffers(files);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
