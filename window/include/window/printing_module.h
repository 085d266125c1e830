#pragma once

#include "printing/print_job.h"

namespace ratalia {

// The printing module's entry, loaded the first time it is asked for: from
// beside the program (the build tree), from where it is installed, or by
// the system's own search. Nothing where it cannot be found.
ChoosePrinter printingModule();

} // namespace ratalia
