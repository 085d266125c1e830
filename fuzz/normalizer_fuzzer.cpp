// The input normalizer: same length, every "." and "," the regional
// separator, every other unit unchanged, never a failure.

#include "fuzz_input.h"
#include "numbers/input_normalizer.h"
#include "numbers/number_text.h"

using namespace ratalia;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const NumberText numbers(input.separator());
    const Text text = input.rest();

    const Text out = normalizedInput(text, numbers);
    if (out.size() != text.size())
        fuzz::broken("length changed");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool separator = text[i] == u'.' || text[i] == u',';
        if (out[i] != (separator ? numbers.decimalSeparator() : text[i]))
            fuzz::broken("a unit other than a separator changed, or a separator was missed");
    }
    return 0;
}
