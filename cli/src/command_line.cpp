#include "cli/command_line.h"

#include "form/form_events.h"
#include "form/link_opener.h"
#include "form/program_texts.h"
#include "form/version.h"
#include "loan/amortization_plan.h"
#include "loan/plan_request.h"
#include "numbers/input_normalizer.h"
#include "plan/plan_text.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

namespace ratalia {
namespace {

constexpr std::string_view synopsis =
    "Uso: ratalia [--piano --capitale IMPORTO (--mesi NUMERO | --anni NUMERO) --tasso PERCENTUALE [OPZIONI…]]\n";

constexpr std::string_view description =
    "\n"
    "Senza opzioni apre la finestra. Con --piano stampa il piano di ammortamento\n"
    "di un prestito a rate mensili, con i suoi costi e il TAEG, senza aprire alcuna finestra.\n"
    "\n"
    "  --piano                    stampa il piano di ammortamento\n"
    "  --capitale IMPORTO         il capitale prestato\n"
    "  --mesi NUMERO              la durata in mesi\n"
    "  --anni NUMERO              la durata in anni\n"
    "  --tasso PERCENTUALE        il tasso annuo nominale (TAN), in percentuale\n"
    "  --ammortamento TIPO        francese (rata costante, il solito) oppure italiana\n"
    "                             (quota capitale costante)\n"
    "  --spese-iniziali IMPORTO   spese pagate all'inizio (istruttoria, perizia, …)\n"
    "  --imposta PERCENTUALE      imposta sostitutiva, in percentuale del capitale: 0,25 sui\n"
    "                             finanziamenti di più di 18 mesi, 2 su quelli per una casa che\n"
    "                             non è la prima; nessuna fino a 18 mesi (DPR 601/1973)\n"
    "  --spese-rata IMPORTO       spese pagate con ogni rata (incasso rata)\n"
    "  --spese-annue IMPORTO      spese dovute all'inizio di ogni anno del prestito, con la 1a,\n"
    "                             la 13a, la 25a rata, …; un premio annuo pagato a rate mensili\n"
    "                             va in --spese-rata, diviso per 12\n"
    "  --prima-rata MM/AAAA       il mese della prima rata: le rate con la loro scadenza\n"
    "                             e i totali per anno\n"
    "  --estinzione-dopo K        un'estinzione anticipata, con la rata K\n"
    "  --estinzione-importo IMPORTO|tutto\n"
    "                             quanto si rimborsa: un importo, o tutto il debito residuo\n"
    "  --riduci rata|durata       dopo un'estinzione parziale: la rata ricalcolata per la\n"
    "                             stessa fine (il solito), o la stessa rata e meno rate\n"
    "  --penale PERCENTUALE       la penale del contratto, in percentuale dell'importo rimborsato\n"
    "  --tipo-credito casa|consumo|altro\n"
    "                             i limiti di legge della penale: casa, nessuna penale (mutuo\n"
    "                             per la casa, art. 120-ter TUB); consumo, al massimo l'1 %\n"
    "                             (0,5 % a un anno o meno dalla fine), non più degli interessi\n"
    "                             risparmiati, nessuna su tutto un debito fino a 10.000 €, e\n"
    "                             tornano le spese iniziali (art. 125-sexies TUB); altro, il\n"
    "                             solito, la penale del contratto\n"
    "  --csv                      il piano in CSV (\";\" fra i campi se il separatore decimale è \",\")\n"
    "  --csv-annuale              i totali per anno in CSV (vuole --prima-rata)\n"
    "  -h, --help                 mostra questo aiuto\n"
    "  -v, --version              mostra la versione\n"
    "\n"
    "I numeri si scrivono con la virgola o con il punto decimale, senza separatore delle migliaia.\n"
    "\n"
    "Stato di uscita: 0 fatto; 2 dati errati, piano impossibile, opzioni sconosciute o mancanti;\n"
    "3 impossibile scrivere il risultato.\n";

struct OptionSpec {
    std::string_view name;
    std::string_view shortName; // "" for none
    bool takesValue;
};

// clang-format off
constexpr OptionSpec options[] = {
    {"--piano", "", false}, {"--capitale", "", true}, {"--mesi", "", true}, {"--anni", "", true},
    {"--tasso", "", true}, {"--ammortamento", "", true}, {"--spese-iniziali", "", true}, {"--imposta", "", true},
    {"--spese-rata", "", true}, {"--spese-annue", "", true}, {"--prima-rata", "", true},
    {"--estinzione-dopo", "", true}, {"--estinzione-importo", "", true}, {"--riduci", "", true},
    {"--penale", "", true}, {"--tipo-credito", "", true}, {"--csv", "", false}, {"--csv-annuale", "", false}, {"--help", "-h", false},
    {"--version", "-v", false},
};
// clang-format on

const OptionSpec* optionNamed(std::string_view name)
{
    const auto found = std::find_if(std::begin(options), std::end(options), [&](const OptionSpec& option) {
        return option.name == name || (!option.shortName.empty() && option.shortName == name);
    });
    return found == std::end(options) ? nullptr : found;
}

bool looksLikeOption(std::string_view argument) { return argument.rfind("--", 0) == 0 && argument.size() > 2; }

struct BadInput {
    std::string message;
    bool withSynopsis = false;
};

// The window's messages, kept in order until the command decides what to
// say: a calculation's error may give way to a clearer one.
class RecordedMessages : public ModalMessageBox, public LinkOpener {
public:
    struct Message {
        Text text;
        Text title;
    };
    void show(const Text& message, const Text& title) override { shown.push_back({message, title}); }
    void open(const std::string&) override {}
    std::vector<Message> shown;
};

using Options = std::map<std::string, std::string, std::less<>>;

// The plan's own options, as the plan window's inputs.
PlanInputs planInputs(const Options& chosen)
{
    const auto given = [&](const char* name) {
        const auto found = chosen.find(name);
        return found == chosen.end() ? Text() : fromUtf8(found->second);
    };
    PlanInputs inputs;
    if (const auto kind = chosen.find("--ammortamento"); kind != chosen.end()) {
        if (kind->second == "italiana")
            inputs.kind = PlanKind::Italian;
        else if (kind->second != "francese")
            throw BadInput{"--ammortamento: «" + kind->second +
                           "» non è un tipo di ammortamento: francese oppure italiana."};
    }
    inputs.initialFees = given("--spese-iniziali");
    inputs.substituteTax = given("--imposta");
    inputs.installmentFee = given("--spese-rata");
    inputs.annualFee = given("--spese-annue");
    inputs.firstDue = given("--prima-rata");
    inputs.repayAfter = given("--estinzione-dopo");
    inputs.repayAmount = given("--estinzione-importo");
    inputs.penalty = given("--penale");
    if (const auto credit = chosen.find("--tipo-credito"); credit != chosen.end()) {
        if (credit->second == "casa")
            inputs.credit = CreditKind::HomeMortgage;
        else if (credit->second == "consumo")
            inputs.credit = CreditKind::Consumer;
        else if (credit->second != "altro")
            throw BadInput{"--tipo-credito: «" + credit->second +
                           "» non è un tipo di credito: casa, consumo oppure altro."};
    }
    // What only an early repayment uses is no option of its own: never silently ignored.
    for (const char* alone : {"--riduci", "--penale", "--tipo-credito"})
        if (chosen.count(alone) && !chosen.count("--estinzione-dopo"))
            throw BadInput{std::string(alone) + " riguarda un'estinzione anticipata: vuole --estinzione-dopo."};
    if (const auto reduce = chosen.find("--riduci"); reduce != chosen.end()) {
        if (reduce->second == "durata")
            inputs.reduceDuration = true;
        else if (reduce->second != "rata")
            throw BadInput{"--riduci: «" + reduce->second + "» non si può ridurre: rata oppure durata."};
    }
    if (chosen.count("--csv-annuale") && inputs.firstDue.empty())
        throw BadInput{"--csv-annuale vuole --prima-rata: i totali per anno contano le scadenze."};
    if (chosen.count("--csv") && chosen.count("--csv-annuale"))
        throw BadInput{"indicare --csv oppure --csv-annuale."};
    return inputs;
}

// The loan as the window reads it, where its calculation could not finish:
// the duration rounded as it rounds it, the count of installments it would
// count, and no installment of its own.
LoanTerms typedTerms(const Text& capital, const Text& duration, const Text& rate, bool months,
                     const NumberText& numbers)
{
    LoanTerms terms;
    terms.capital = normalizedInput(capital, numbers);
    terms.duration = numbers.patternText(normalizedInput(duration, numbers), Pattern::Whole);
    terms.unit = months ? DurationUnit::Months : DurationUnit::Years;
    terms.annualRate = normalizedInput(rate, numbers);
    terms.monthlyRate = numbers.localeText(numbers.toNumber(terms.annualRate) / 100 / 12);
    terms.installmentCount = months ? terms.duration : numbers.localeText(numbers.toNumber(terms.duration) * 12);
    return terms;
}

Options parsed(const std::vector<std::string>& arguments)
{
    Options chosen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos && looksLikeOption(name)) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const OptionSpec* option = optionNamed(name);
        if (!option) {
            if (looksLikeOption(name))
                throw BadInput{"opzione non riconosciuta: " + arguments[i] + " (ratalia --help elenca le opzioni).",
                               true};
            throw BadInput{"argomento non riconosciuto: " + arguments[i] + " (ratalia --help elenca le opzioni).",
                           true};
        }
        if (option->takesValue) {
            // The next option is no value: "--capitale --mesi 24" lacks the capital.
            if (!value) {
                if (i + 1 == arguments.size() || looksLikeOption(arguments[i + 1]))
                    throw BadInput{"manca il valore di " + std::string(option->name) + "."};
                value = arguments[++i];
            }
        } else if (value) {
            throw BadInput{"l'opzione " + std::string(option->name) + " non vuole un valore.", true};
        }
        if (!chosen.emplace(option->name, value.value_or("")).second)
            throw BadInput{"l'opzione " + std::string(option->name) + " è ripetuta."};
    }
    return chosen;
}

int printPlan(const Options& chosen, const NumberText& numbers, std::ostream& output, std::ostream& errors)
{
    if (!chosen.count("--piano"))
        throw BadInput{"le opzioni del piano vogliono --piano (ratalia --help elenca le opzioni)."};
    for (const char* required : {"--capitale", "--tasso"})
        if (!chosen.count(required))
            throw BadInput{std::string("manca ") + required + "."};
    const bool months = chosen.count("--mesi") != 0;
    if (months == (chosen.count("--anni") != 0))
        throw BadInput{"indicare la durata con --mesi oppure con --anni."};

    const PlanInputs inputs = planInputs(chosen);
    const char* durationOption = months ? "--mesi" : "--anni";
    const Text capital = fromUtf8(chosen.find("--capitale")->second);
    const Text duration = fromUtf8(chosen.find(durationOption)->second);
    const Text rate = fromUtf8(chosen.find("--tasso")->second);
    // The window's one message for unusable data, with the option it is about.
    const struct {
        const char* option;
        const Text& typed;
        double lowest;
        bool above;
    } loan[] = {{"--capitale", capital, 0, true}, {durationOption, duration, 1, false}, {"--tasso", rate, 0, false}};
    for (const auto& input : loan) {
        const auto value = numbers.tryToNumber(normalizedInput(input.typed, numbers));
        if (!value || *value < input.lowest || (input.above && *value == input.lowest))
            throw BadInput{std::string(input.option) + " «" + toUtf8(input.typed) + "»: " + toUtf8(texts::wrongData)};
    }

    RecordedMessages messages;
    FormEvents events(numbers, messages, messages);
    events.load();
    events.choose(months ? DurationUnit::Months : DurationUnit::Years);
    events.edit(Field::Capital, capital);
    events.edit(Field::Duration, duration);
    events.edit(Field::AnnualRate, rate);
    events.click(Button::Calculate);
    // The data are good: a calculation that still failed met a power beyond
    // its doubles, which the plan, counting in cents, does without.
    for (const auto& message : messages.shown)
        if (message.text != texts::wrongData)
            errors << "ratalia: " << toUtf8(message.text) << '\n';
    const auto calculated = events.planTerms();
    const LoanTerms terms = calculated ? *calculated : typedTerms(capital, duration, rate, months, numbers);

    const AmountText amounts(numbers.decimalSeparator(), numbers.groupSeparator());
    const PlanOutcome outcome = planFor(terms, inputs, numbers);
    if (outcome.error) {
        errors << "ratalia: " << toUtf8(inputErrorText(*outcome.error, Naming::CommandLine, amounts)) << '\n';
        return exitBadInput;
    }
    const auto& plan = outcome.plan;
    if (const auto* refused = std::get_if<PlanRefusal>(&plan)) {
        errors << "ratalia: " << toUtf8(refusalText(*refused, amounts)) << '\n';
        return exitBadInput;
    }
    const auto& rows = std::get<AmortizationPlan>(plan);
    const char16_t delimiter = csvDelimiter(numbers.decimalSeparator());
    output << toUtf8(chosen.count("--csv")           ? delimitedPlan(rows, amounts, delimiter)
                     : chosen.count("--csv-annuale") ? delimitedYears(rows, amounts, delimiter)
                                                     : alignedPlan(terms, rows, amounts, numbers));
    return exitDone;
}

} // namespace

bool opensWindow(const std::vector<std::string>& arguments, std::span<const WindowSystemOption> windowSystemOptions)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const std::string_view name = argument.substr(0, argument.find('='));
        const auto option = std::find_if(windowSystemOptions.begin(), windowSystemOptions.end(),
                                         [&](const WindowSystemOption& o) { return o.name == name; });
        if (option == windowSystemOptions.end())
            return false;
        if (option->takesValue && name.size() == argument.size() && ++i == arguments.size())
            return false;
    }
    return true;
}

int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, std::ostream& output,
                   std::ostream& errors)
{
    try {
        const auto chosen = parsed(arguments);
        if (chosen.count("--help")) {
            output << synopsis << description;
            return exitDone;
        }
        if (chosen.count("--version")) {
            output << "Ratalia " << version << '\n';
            return exitDone;
        }
        return printPlan(chosen, numbers, output, errors);
    } catch (const BadInput& bad) {
        errors << "ratalia: " << bad.message << '\n';
        if (bad.withSynopsis)
            errors << synopsis;
        return exitBadInput;
    }
}

int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, StandardStreams& streams)
{
    std::ostringstream output;
    std::ostringstream errors;
    const int status = runCommandLine(arguments, numbers, output, errors);
    WriteFailure failure{};
    std::size_t kept = 0;
    streams.write(StandardStream::Error, errors.str(), failure, kept);
    const std::string result = output.str();
    if (!streams.write(StandardStream::Output, result, failure, kept)) {
        WriteFailure ignored{};
        streams.write(StandardStream::Error, notWrittenMessage(failure, kept, result.size()) + "\n", ignored, kept);
        return exitNotWritten;
    }
    return status;
}

std::string notWrittenMessage(WriteFailure failure, std::size_t written, std::size_t total)
{
    const char* why = "";
    switch (failure) {
    case WriteFailure::NoSpace:
        why = ": lo spazio sul disco è esaurito";
        break;
    case WriteFailure::TooLarge:
        why = ": il file supera la dimensione consentita";
        break;
    case WriteFailure::Closed:
        why = ": l'uscita è chiusa";
        break;
    case WriteFailure::Other:
        break;
    }
    if (written == 0)
        return std::string("ratalia: impossibile scrivere il risultato") + why + "; non è stato scritto nulla.";
    return std::string("ratalia: impossibile scrivere tutto il risultato") + why + "; ne sono stati scritti " +
           std::to_string(written) + " byte su " + std::to_string(total) + ".";
}

} // namespace ratalia
