#pragma once

// A message box that closes at once and a link opener that opens nothing: for
// benchmarks and fuzzers, where nobody is there to answer.

#include "form/link_opener.h"
#include "form/loan_form.h"

#include <string>

namespace ratalia::test {

struct Silent : ModalMessageBox, LinkOpener {
    void show(const Text&, const Text&) override {}
    void open(const std::string&) override {}
};

} // namespace ratalia::test
