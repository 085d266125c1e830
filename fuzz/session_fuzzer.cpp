// Whole sessions of user actions, with every rule of the window checked
// after each action.

#include "fuzz_input.h"
#include "support/session.h"

#include <cstdio>

using namespace ratalia;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    test::Session session(input.separator());
    for (int count = 0; !input.empty() && count < 64; ++count) {
        test::Action action;
        const std::uint8_t kind = input.byte();
        action.field = static_cast<Field>(kind / 8 % 3);
        switch (kind % 8) {
        case 0:
        case 1:
            action.text = input.text(12);
            break;
        case 2:
            action.kind = test::Action::Kind::Insert;
            action.text = Text(1, input.character());
            action.position = input.byte();
            break;
        case 3:
            action.kind = test::Action::Kind::Delete;
            action.position = input.byte();
            break;
        case 4:
            action.kind = test::Action::Kind::Choose;
            action.unit = static_cast<DurationUnit>(kind / 8 % 2);
            break;
        default:
            action.kind = test::Action::Kind::Click;
            action.button = static_cast<Button>(kind / 8 % 3);
            break;
        }
        if (const auto broken = session.play(action)) {
            std::fprintf(stderr, "%s\n", action.describe().c_str());
            fuzz::broken(broken->c_str());
        }
    }
    return 0;
}
