#pragma once

#include <QCursor>

namespace ratalia {

// The 32 × 32 pointing hand shown over the link labels, hot spot at the fingertip.
QCursor handCursor();

} // namespace ratalia
