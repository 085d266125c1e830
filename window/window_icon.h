#pragma once

#include <QIcon>

namespace ratalia {

// The red umbrella, drawn from the program's own scalable picture at 16 × 16
// and 32 × 32 pixels.
QIcon umbrellaIcon();

} // namespace ratalia
