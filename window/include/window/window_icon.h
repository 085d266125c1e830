#pragma once

#include <QIcon>

namespace ratalia {

// The red umbrella at 16 × 16 and 32 × 32 pixels, rendered when the program
// was built from its scalable drawing.
QIcon applicationIcon();

} // namespace ratalia
