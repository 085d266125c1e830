#include "core/form_events.h"
#include "core/plan_command.h"
#include "win32/main_window.h"
#include "win32/platform.h"

#include <commctrl.h>
#include <windows.h>

#include <sstream>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    const ratalia::NumberText numbers(ratalia::regionalDecimalSeparator(), ratalia::regionalGroupSeparator());
    const auto arguments = ratalia::commandLineArguments();
    // Windows has no options of its own for a window: every argument is for the command line.
    if (!ratalia::opensWindow(arguments, {})) {
        std::ostringstream output;
        std::ostringstream errors;
        const int status = ratalia::runCommandLine(arguments, numbers, output, errors);
        ratalia::WriteFailure failure{};
        std::size_t kept = 0;
        ratalia::writeStandard(STD_ERROR_HANDLE, errors.str(), failure, kept);
        const std::string result = output.str();
        if (!ratalia::writeStandard(STD_OUTPUT_HANDLE, result, failure, kept)) {
            ratalia::WriteFailure ignored{};
            ratalia::writeStandard(STD_ERROR_HANDLE, ratalia::notWrittenMessage(failure, kept, result.size()) + "\n",
                                   ignored, kept);
            return ratalia::exitNotWritten;
        }
        return status;
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

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
