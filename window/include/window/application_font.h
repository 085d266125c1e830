#pragma once

namespace ratalia {

// Menus, the plan window and Qt's dialogs use the desktop's face. Where no
// desktop names one, fontconfig may hand Qt a fixed-pitch face, and they
// would look like a terminal: switch the application to Liberation Sans,
// which the program depends on. Called when a menu or the plan window is
// about to appear, so that start-up never resolves a face the main window
// (which has its own) does not use.
void preferProportionalFont();

} // namespace ratalia
