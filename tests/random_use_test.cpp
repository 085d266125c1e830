#include "support/session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace ratalia::test {
namespace {

// A thousand sessions of a hundred actions each by default (10^5 actions);
// RATALIA_RANDOM_ACTIONS and RATALIA_RANDOM_SEED choose a longer or another run.
long environmentNumber(const char* name, long fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

class RandomUser {
public:
    explicit RandomUser(std::uint64_t seed) : random_(seed) {}

    Action next()
    {
        Action action;
        action.field = static_cast<Field>(pick(3));
        const int roll = pick(100);
        if (roll < 30) {
            action.text = shortNumber();
        } else if (roll < 38) {
            const auto& hostile = hostileTexts();
            action.text = hostile[static_cast<std::size_t>(pick(static_cast<int>(hostile.size())))];
        } else if (roll < 55) {
            action.kind = Action::Kind::Insert;
            action.text = Text(1, u"0123456789.,e- x"[pick(16)]);
            action.position = static_cast<std::size_t>(pick(20));
        } else if (roll < 65) {
            action.kind = Action::Kind::Delete;
            action.position = static_cast<std::size_t>(pick(20));
        } else if (roll < 73) {
            action.kind = Action::Kind::Choose;
            action.unit = static_cast<DurationUnit>(pick(2));
        } else {
            action.kind = Action::Kind::Click;
            const int button = pick(10);
            action.button = button < 6 ? Button::Calculate : button < 8 ? Button::Round : Button::ResetRate;
        }
        return action;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    Text shortNumber()
    {
        static const char16_t pieces[] = u"0123456789012345678901234567890123456789..,,--e  ";
        Text text;
        const int length = 1 + pick(7);
        for (int i = 0; i < length; ++i)
            text += pieces[pick(static_cast<int>(std::size(pieces) - 1))];
        return text;
    }

    std::mt19937_64 random_;
};

TEST(RandomUseTest, every_rule_holds_after_every_action)
{
    const long total = environmentNumber("RATALIA_RANDOM_ACTIONS", 100000);
    const auto seed = static_cast<std::uint64_t>(environmentNumber("RATALIA_RANDOM_SEED", 20261207));
    constexpr int perSession = 100;
    const char16_t separators[] = {u',', u'.', u'\u066B'};

    RandomUser user(seed);
    long played = 0;
    for (int session = 0; played < total; ++session) {
        const char16_t separator = separators[session % 3];
        std::vector<Action> actions;
        for (int i = 0; i < perSession; ++i)
            actions.push_back(user.next());
        played += perSession;
        if (const auto broken = playAll(separator, actions)) {
            std::string replay;
            for (const Action& action : shrink(separator, actions))
                replay += "\n  " + action.describe();
            FAIL() << "seed " << seed << ", session " << session << ", separator U+" << std::hex
                   << static_cast<int>(separator) << std::dec << ": " << *broken << "\nshortest sequence:" << replay;
        }
    }
    RecordProperty("actions", static_cast<int>(played));
}

} // namespace
} // namespace ratalia::test
