// Presses Calcola N times on a typical loan and exits. Run twice under
// callgrind with different N, the difference gives the instructions of one
// press: a figure that, unlike time, does not move with the machine's load.

#include "form/form_events.h"
#include "form/link_opener.h"
#include "support/silent.h"

#include <cstdlib>

int main(int argc, char* argv[])
{
    using namespace ratalia;
    const long presses = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
    ratalia::test::Silent silent;
    FormEvents events(NumberText(u','), silent, silent);
    events.load();
    events.edit(Field::Duration, u"24");
    for (long i = 0; i < presses; ++i) {
        events.edit(Field::Capital, i % 2 ? u"010000" : u"10000");
        events.click(Button::Calculate);
    }
    return events.form().text(Field::InstallmentCount) == u"24" ? 0 : 1;
}
