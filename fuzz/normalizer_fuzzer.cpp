// The input normalizer: same length, every "." and "," the regional
// separator, every other unit unchanged, never a failure.

#include "fuzz_input.h"
#include "model/input_normalizer.h"
#include "window/form_events.h"
#include "window/link_opener.h"

using namespace ratalia;

namespace {
struct Silent : MessageBox, LinkOpener {
    void show(const Text&, const Text&) override {}
    void open(const std::string&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    Silent silent;
    FormEvents events(NumberText(input.separator()), silent, silent);
    Form1& form = events.form();
    const Text text = input.rest();

    form.values().DatoInEntrata = text;
    ModificatoreDatiInEntrata_(form);
    const Text& out = form.values().DatoInUscita;
    if (out.size() != text.size())
        fuzz::broken("length changed");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool separator = text[i] == u'.' || text[i] == u',';
        if (out[i] != (separator ? form.numbers().decimalSeparator() : text[i]))
            fuzz::broken("a unit other than a separator changed, or a separator was missed");
    }
    return 0;
}
