#pragma once

namespace ratalia {

// What menus, the plan window and Qt's own dialogs need and the main window
// does not, loaded when the first of them is about to appear so that
// start-up loads nothing the first window does not show:
// - Qt's Italian, so that the save and print dialogs and a field's menu
//   speak the program's language (where qt6-translations-l10n is installed);
// - a proportional face: where no desktop names one, fontconfig may hand Qt
//   a fixed-pitch face and they would look like a terminal, so the
//   application switches to Liberation Sans, which the program depends on.
// Every call after the first does nothing.
void loadDialogResources();

} // namespace ratalia
