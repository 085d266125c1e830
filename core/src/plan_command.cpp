#include "core/plan_command.h"

#include "core/amortization_plan.h"
#include "core/form_events.h"
#include "core/link_opener.h"
#include "core/plan_text.h"
#include "core/program_texts.h"
#include "core/version.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string_view>

namespace ratalia {
namespace {

constexpr std::string_view usage =
    "Uso: ratalia [--piano --capitale IMPORTO (--mesi NUMERO | --anni NUMERO) --tasso PERCENTUALE [--csv]]\n"
    "\n"
    "Senza opzioni apre la finestra. Con --piano stampa il piano di ammortamento\n"
    "di un prestito a rate mensili costanti, senza aprire alcuna finestra.\n"
    "\n"
    "  --piano                 stampa il piano di ammortamento\n"
    "  --capitale IMPORTO      il capitale prestato\n"
    "  --mesi NUMERO           la durata in mesi\n"
    "  --anni NUMERO           la durata in anni\n"
    "  --tasso PERCENTUALE     il tasso annuo, in percentuale\n"
    "  --csv                   il piano in CSV (\";\" fra i campi se il separatore decimale è \",\")\n"
    "  --help                  mostra questo aiuto\n"
    "  --version               mostra la versione\n"
    "\n"
    "I numeri si scrivono con la virgola o con il punto decimale, senza separatore delle migliaia.\n";

const std::vector<std::string_view> valueOptions{"--capitale", "--mesi", "--anni", "--tasso"};
const std::vector<std::string_view> flagOptions{"--piano", "--csv", "--help", "--version"};

bool contains(const std::vector<std::string_view>& list, std::string_view item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

struct BadInput {
    std::string message;
};

// The window's messages, on the standard error stream instead of in a box.
class StreamMessageBox : public ModalMessageBox, public LinkOpener {
public:
    explicit StreamMessageBox(std::ostream& errors) : errors_(errors) {}
    void show(const Text& message, const Text&) override
    {
        errors_ << "ratalia: " << toUtf8(message) << '\n';
        shown_ = true;
    }
    void open(const std::string&) override {}
    bool shown() const { return shown_; }

private:
    std::ostream& errors_;
    bool shown_ = false;
};

std::map<std::string, std::string, std::less<>> parsed(const std::vector<std::string>& arguments)
{
    std::map<std::string, std::string, std::less<>> options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos && name.rfind("--", 0) == 0) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (contains(valueOptions, name)) {
            if (!value) {
                if (i + 1 == arguments.size())
                    throw BadInput{"manca il valore di " + name + "."};
                value = arguments[++i];
            }
        } else if (!contains(flagOptions, name) || value) {
            throw BadInput{"opzione non riconosciuta: " + arguments[i] + " (ratalia --help elenca le opzioni)."};
        }
        if (!options.emplace(name, value.value_or("")).second)
            throw BadInput{"l'opzione " + name + " è ripetuta."};
    }
    return options;
}

int printPlan(const std::map<std::string, std::string, std::less<>>& options, const NumberText& numbers,
              std::ostream& output, std::ostream& errors)
{
    if (!options.count("--piano"))
        throw BadInput{"le opzioni del piano vogliono --piano (ratalia --help elenca le opzioni)."};
    for (const char* required : {"--capitale", "--tasso"})
        if (!options.count(required))
            throw BadInput{std::string("manca ") + required + "."};
    const bool months = options.count("--mesi") != 0;
    if (months == (options.count("--anni") != 0))
        throw BadInput{"indicare la durata con --mesi oppure con --anni."};

    StreamMessageBox messages(errors);
    FormEvents events(numbers, messages, messages);
    events.load();
    events.choose(months ? DurationUnit::Months : DurationUnit::Years);
    events.edit(Field::Capital, fromUtf8(options.find("--capitale")->second));
    events.edit(Field::Duration, fromUtf8(options.find(months ? "--mesi" : "--anni")->second));
    events.edit(Field::AnnualRate, fromUtf8(options.find("--tasso")->second));
    events.click(Button::Calculate);

    const auto terms = events.planTerms();
    if (!terms) {
        // The calculation has said what was wrong, unless every input was empty.
        if (!messages.shown())
            errors << "ratalia: " << toUtf8(texts::wrongData) << '\n';
        return 2;
    }
    const auto plan = amortizationPlan(*terms, numbers);
    if (const Text* refusal = std::get_if<Text>(&plan)) {
        errors << "ratalia: " << toUtf8(*refusal) << '\n';
        return 2;
    }
    const AmountText amounts(numbers.decimalSeparator(), numbers.groupSeparator());
    const auto& rows = std::get<AmortizationPlan>(plan);
    output << toUtf8(options.count("--csv") ? delimitedPlan(rows, amounts, csvDelimiter(numbers.decimalSeparator()))
                                            : alignedPlan(*terms, rows, amounts, numbers));
    output.flush();
    return output ? 0 : 1;
}

} // namespace

// Our options take two dashes, the window system's take one ("-platform").
bool isCommandLine(const std::vector<std::string>& arguments)
{
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& argument) { return argument.rfind("--", 0) == 0; });
}

int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, std::ostream& output,
                   std::ostream& errors)
{
    try {
        const auto options = parsed(arguments);
        if (options.count("--help")) {
            output << usage;
            return 0;
        }
        if (options.count("--version")) {
            output << "Ratalia " << version << '\n';
            return 0;
        }
        return printPlan(options, numbers, output, errors);
    } catch (const BadInput& bad) {
        errors << "ratalia: " << bad.message << '\n';
        return 2;
    }
}

} // namespace ratalia
