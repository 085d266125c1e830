// Presses Calcola N times on a typical loan and exits. Run twice under
// callgrind with different N, the difference gives the instructions of one
// press: a figure that, unlike time, does not move with the machine's load.

#include "window/form_events.h"
#include "window/link_opener.h"

#include <cstdlib>

namespace {
struct Silent : ratalia::MessageBox, ratalia::LinkOpener {
    void show(const ratalia::Text&, const ratalia::Text&) override {}
    void open(const std::string&) override {}
};
} // namespace

int main(int argc, char* argv[])
{
    using namespace ratalia;
    const long presses = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
    Silent silent;
    FormEvents events(NumberText(u','), silent, silent);
    events.load();
    events.edit(Field::Text2, u"24");
    for (long i = 0; i < presses; ++i) {
        events.edit(Field::Text1, i % 2 ? u"010000" : u"10000");
        events.click(Button::Command1);
    }
    return events.form().text(Field::Text8) == u"24" ? 0 : 1;
}
