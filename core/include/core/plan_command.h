#pragma once

// The program without its window: "ratalia --piano …" prints the plan of a
// loan, worked out by the same procedures the window's buttons run.

#include "core/number_text.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace ratalia {

// Whether the arguments ask for the command line rather than the window.
bool isCommandLine(const std::vector<std::string>& arguments);

// Runs it and returns the exit status: 0, or 2 for bad input (one message on
// `errors`). Warnings the window would show go to `errors` too.
int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, std::ostream& output,
                   std::ostream& errors);

} // namespace ratalia
