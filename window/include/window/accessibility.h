#pragma once

namespace ratalia {

// What screen readers are told of the program's own widgets, where Qt's
// defaults say something untrue: the two windows are windows (not "fillers"),
// and a read-only field is read-only text, not an editable one. Installed
// once, before the first window is made; later calls do nothing.
void installAccessibility();

} // namespace ratalia
