#include "cli/command_line.h"

#include "form/form_events.h"
#include "form/link_opener.h"
#include "form/program_texts.h"
#include "form/version.h"
#include "loan/amortization_plan.h"
#include "loan/offers.h"
#include "loan/plan_request.h"
#include "numbers/input_normalizer.h"
#include "plan/offer_comparison.h"
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

constexpr std::string_view opening =
    "\n"
    "Senza opzioni apre la finestra. Con --piano stampa il piano di ammortamento\n"
    "di un prestito a rate mensili, con i suoi costi e il TAEG, senza aprire alcuna finestra.\n"
    "\n";

constexpr std::string_view closing =
    "\n"
    "Dalla rata che si può pagare:\n"
    "  ratalia --piano --rata 800 --mesi 240 --tasso 3,5               quanto si può avere in prestito\n"
    "  ratalia --piano --capitale 15000 --rata 300 --tasso 5           in quante rate si restituisce\n"
    "  ratalia --piano --capitale 200000 --mesi 240 --rata 1432,86     a quale tasso annuo (TAN)\n"
    "\n"
    "I numeri si scrivono con la virgola o con il punto decimale; negli importi il separatore\n"
    "delle migliaia della propria regione si legge come tale (1.500 è millecinquecento).\n"
    "\n"
    "Stato di uscita: 0 fatto; 2 dati errati, piano impossibile, opzioni sconosciute o mancanti;\n"
    "3 impossibile scrivere il risultato.\n";

// The command line's own options, beside the plan's inputs.
struct OwnOption {
    std::string_view name;
    std::string_view shortName; // "" for none
    std::string_view help;
    std::string_view valueName = ""; // "" for an option that takes no value
};
constexpr OwnOption ownOptions[] = {
    {"--piano", "", "stampa il piano di ammortamento"},
    {"--offerta", "",
     "il prestito di un'offerta salvata (un file .ratalia); le opzioni date accanto ne cambiano i "
     "valori",
     "FILE"},
    {"--nome", "", "con --offerta, quale offerta del file; con --salva, il nome dell'offerta salvata", "NOME"},
    {"--salva", "",
     "salva l'offerta descritta dalle opzioni nel file, aggiunta alle altre (o al posto di quella con "
     "lo stesso nome)",
     "FILE"},
    {"--confronta", "",
     "confronta le offerte dei file, una colonna per offerta, con la più conveniente per TAEG e "
     "per costo totale del credito; con --csv in CSV"},
    {"--csv", "", "il piano in CSV (\";\" fra i campi se il separatore decimale è \",\")"},
    {"--csv-annuale", "", "i totali per anno in CSV (vuole --prima-rata)"},
    {"--help", "-h", "mostra questo aiuto"},
    {"--version", "-v", "mostra la versione"},
};

// An option, whoever it belongs to: the plan's input it sets, if any.
struct OptionSpec {
    std::string_view name;
    std::string_view shortName;
    bool takesValue = false;
    std::optional<PlanInput> input;
    bool years = false;      // --anni: the duration in years
    bool repeatable = false; // given again, added to the field's text
};

std::vector<OptionSpec> allOptions()
{
    std::vector<OptionSpec> all;
    for (const PlanInputSpec& spec : planInputSpecs())
        for (const InputOption& option : spec.options)
            all.push_back({option.name, "", true, spec.id, option.name == "--anni", option.repeatable});
    for (const OwnOption& own : ownOptions)
        all.push_back({own.name, own.shortName, !own.valueName.empty(), std::nullopt, false, false});
    return all;
}

// "  --spese-rata IMPORTO       spese pagate …", the help wrapped at 100 columns.
void appendHelp(std::string& out, std::string_view head, std::string_view help)
{
    constexpr std::size_t indent = 29, width = 100;
    // Columns count characters, not bytes: a UTF-8 character's later bytes take none ("FILE…").
    const auto columns = [](const std::string& text) {
        return static_cast<std::size_t>(
            std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    std::string line = "  " + std::string(head);
    if (columns(line) + 1 > indent) {
        out += line + "\n";
        line.clear();
    }
    line.append(indent - columns(line), ' ');
    std::size_t start = 0;
    bool first = true;
    while (start < help.size()) {
        std::size_t end = help.find(' ', start);
        const std::string_view word = help.substr(start, end == std::string_view::npos ? end : end - start);
        if (!first && columns(line) + 1 + word.size() > width) {
            out += line + "\n";
            line = std::string(indent, ' ');
            first = true;
        }
        if (!first)
            line += ' ';
        line.append(word.data(), word.size());
        first = false;
        start = end == std::string_view::npos ? help.size() : end + 1;
    }
    out += line + "\n";
}

std::string helpText()
{
    std::string out(opening);
    appendHelp(out, "--piano", ownOptions[0].help);
    for (const PlanInputSpec& spec : planInputSpecs())
        for (const InputOption& option : spec.options)
            appendHelp(out, std::string(option.name) + " " + std::string(option.valueName), option.help);
    for (const OwnOption& own : std::span(ownOptions).subspan(1)) {
        std::string head =
            own.shortName.empty() ? std::string(own.name) : std::string(own.shortName) + ", " + std::string(own.name);
        if (!own.valueName.empty())
            head += " " + std::string(own.valueName);
        else if (own.name == "--confronta")
            head += " FILE…";
        appendHelp(out, head, own.help);
    }
    return out + std::string(closing);
}

bool looksLikeOption(std::string_view argument) { return argument.rfind("--", 0) == 0 && argument.size() > 2; }

std::optional<OptionSpec> optionNamed(std::string_view name)
{
    for (const OptionSpec& option : allOptions())
        if (option.name == name || (!option.shortName.empty() && option.shortName == name))
            return option;
    return std::nullopt;
}

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
// The plan's own inputs from their options; the loan's three come from the
// main window's calculation.
PlanInputs planInputs(const Options& chosen, const PlanInputs& base = PlanInputs())
{
    PlanInputs inputs = base;
    for (const PlanInputSpec& spec : planInputSpecs()) {
        if (spec.section == PlanSection::Loan && spec.value != InputValue::Choice)
            continue;
        for (const InputOption& option : spec.options) {
            const auto found = chosen.find(option.name);
            if (found == chosen.end())
                continue;
            // What only an early repayment uses is no option of its own: never silently ignored.
            const bool single = !chosen.count("--estinzione-dopo") && base.text(PlanInput::RepayAfter).empty();
            if ((spec.id == PlanInput::Reduce || spec.id == PlanInput::Penalty) && single)
                throw BadInput{std::string(option.name) +
                               " riguarda un'estinzione anticipata: vuole --estinzione-dopo."};
            if (spec.id == PlanInput::Credit && single && !chosen.count("--rimborso") && !chosen.count("--extra") &&
                base.text(PlanInput::Repayments).empty() && base.text(PlanInput::Extra).empty())
                throw BadInput{std::string(option.name) +
                               " riguarda un'estinzione anticipata: vuole --estinzione-dopo, --rimborso o --extra."};
            if (spec.value != InputValue::Choice) {
                inputs.setText(spec.id, fromUtf8(found->second));
                continue;
            }
            const auto match = std::find_if(spec.choices.begin(), spec.choices.end(),
                                            [&](const InputChoice& choice) { return choice.word == found->second; });
            if (match == spec.choices.end()) {
                std::string words;
                for (std::size_t k = 0; k < spec.choices.size(); ++k)
                    words += (k == 0                         ? ""
                              : k + 1 == spec.choices.size() ? " oppure "
                                                             : ", ") +
                             std::string(spec.choices[k].word);
                throw BadInput{std::string(option.name) + ": «" + found->second + "» non è tra le scelte: " + words +
                               "."};
            }
            inputs.choose(spec.id, static_cast<std::size_t>(match - spec.choices.begin()));
        }
    }
    if (chosen.count("--csv-annuale") && inputs.text(PlanInput::FirstDue).empty())
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

// The options, and with --confronta the files it compares, in order.
Options parsed(const std::vector<std::string>& arguments, std::vector<std::string>& files)
{
    Options chosen;
    const bool comparing = std::find(arguments.begin(), arguments.end(), "--confronta") != arguments.end();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (comparing && !looksLikeOption(name)) {
            files.push_back(name);
            continue;
        }
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos && looksLikeOption(name)) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto option = optionNamed(name);
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
        if (const auto [given, added] = chosen.emplace(option->name, value.value_or("")); !added) {
            if (!option->repeatable)
                throw BadInput{"l'opzione " + std::string(option->name) + " è ripetuta."};
            given->second += "; " + value.value_or("");
        }
    }
    return chosen;
}

// The plan, its rows or its yearly totals, as the options ask.
int writePlan(const Options& chosen, const PlanOutcome& outcome, const Text& windowInstallment,
              const NumberText& numbers, std::ostream& output, std::ostream& errors)
{
    const AmountText amounts(numbers.decimalSeparator(), numbers.groupSeparator());
    if (outcome.error) {
        errors << "ratalia: " << toUtf8(inputErrorText(*outcome.error, Naming::CommandLine, amounts)) << '\n';
        return exitBadInput;
    }
    if (const auto* refused = std::get_if<PlanRefusal>(&outcome.plan)) {
        errors << "ratalia: " << toUtf8(refusalText(*refused, amounts)) << '\n';
        return exitBadInput;
    }
    const auto& rows = std::get<AmortizationPlan>(outcome.plan);
    const char16_t delimiter = csvDelimiter(numbers.decimalSeparator());
    output << toUtf8(chosen.count("--csv") ? delimitedPlan(rows, amounts, delimiter)
                     : chosen.count("--csv-annuale")
                         ? delimitedYears(rows, amounts, delimiter)
                         : alignedPlan(*outcome.loan, rows, amounts, numbers, windowInstallment));
    return exitDone;
}

// The file's bytes read as offers, or the sentence that says why not.
std::vector<Offer> offersIn(const std::string& path, Files& files, const NumberText& numbers)
{
    const auto bytes = files.read(path);
    if (!bytes)
        throw BadInput{"impossibile leggere «" + path + "»: il file non c'è o non si può aprire."};
    auto offers = readOffersFile(*bytes, numbers);
    if (const auto* error = std::get_if<OffersFileError>(&offers))
        throw BadInput{toUtf8(offersFileErrorText(*error, fromUtf8(path)))};
    return std::get<std::vector<Offer>>(std::move(offers));
}

// The inputs the options give the loan's own fields, over `inputs`.
void setLoanFields(const Options& chosen, PlanInputs& inputs)
{
    for (const auto& [option, input] : {std::pair{"--capitale", PlanInput::Capital},
                                        {"--mesi", PlanInput::Duration},
                                        {"--anni", PlanInput::Duration},
                                        {"--tasso", PlanInput::AnnualRate},
                                        {"--rata", PlanInput::Installment}})
        if (const auto found = chosen.find(option); found != chosen.end())
            inputs.setText(input, fromUtf8(found->second));
    if (chosen.count("--mesi") || chosen.count("--anni"))
        inputs.choose(PlanInput::Unit,
                      static_cast<std::size_t>(chosen.count("--anni") ? DurationUnit::Years : DurationUnit::Months));
}

// Adds the offer to the file, or puts it in place of the one of the same name.
int saveOffer(const Options& chosen, const Offer& offer, const NumberText& numbers, Files& files, std::ostream& output,
              std::ostream& errors)
{
    const std::string path = chosen.find("--salva")->second;
    std::vector<Offer> offers;
    const auto bytes = files.read(path);
    // A file that is there but cannot be read is not written over either.
    if (!bytes && files.exists(path))
        throw BadInput{"impossibile leggere «" + path + "»: l'offerta non è stata salvata."};
    if (bytes) {
        // Never written over: a file that holds no offers, or that this version cannot read whole.
        auto kept = readOffersFile(*bytes, numbers);
        if (const auto* error = std::get_if<OffersFileError>(&kept))
            throw BadInput{toUtf8(offersFileErrorText(*error, fromUtf8(path))) + " L'offerta non è stata salvata."};
        offers = std::get<std::vector<Offer>>(std::move(kept));
    }
    Offer saved = offer;
    if (saved.name.empty()) {
        // Unnamed, it takes the first name the file does not hold: it never replaces another offer.
        std::size_t number = 1;
        while (offerNamed(offers, defaultOfferName(number)))
            ++number;
        saved.name = defaultOfferName(number);
    }
    const auto same = std::find_if(offers.begin(), offers.end(), [&](const Offer& o) { return o.name == saved.name; });
    if (same != offers.end())
        *same = saved;
    else
        offers.push_back(saved);
    if (!files.write(path, offersFileText(offers, numbers))) {
        errors << "ratalia: " << toUtf8(offersNotSavedText(fromUtf8(path))) << '\n';
        return exitNotWritten;
    }
    if (!chosen.count("--piano"))
        output << "Offerta «" << toUtf8(saved.name) << "» salvata in «" << path << "» (" << offers.size()
               << (offers.size() == 1 ? " offerta" : " offerte") << " nel file).\n";
    return exitDone;
}

int printPlan(const Options& chosen, const NumberText& numbers, Files* files, std::ostream& output,
              std::ostream& errors)
{
    const bool fromFile = chosen.count("--offerta") != 0;
    const bool saving = chosen.count("--salva") != 0;
    if (!chosen.count("--piano") && !saving)
        throw BadInput{"le opzioni del piano vogliono --piano (ratalia --help elenca le opzioni)."};
    if (chosen.count("--nome") && !fromFile && !saving)
        throw BadInput{"--nome vuole --offerta o --salva."};
    if ((fromFile || saving) && !files)
        throw BadInput{"qui non si leggono né si scrivono file di offerte."};
    if (saving && !chosen.count("--piano") && (chosen.count("--csv") || chosen.count("--csv-annuale")))
        throw BadInput{"--csv e --csv-annuale vogliono --piano: --salva da solo scrive soltanto l'offerta."};
    const bool months = chosen.count("--mesi") != 0;
    if (months && chosen.count("--anni"))
        throw BadInput{"indicare la durata con --mesi oppure con --anni."};
    // Three of the four are given, and the fourth is worked out; an offer has its own.
    const bool withDuration = months || chosen.count("--anni");
    const int given = static_cast<int>(chosen.count("--capitale") + chosen.count("--tasso") + chosen.count("--rata")) +
                      (withDuration ? 1 : 0);
    if (given != 3 && !fromFile)
        throw BadInput{"delle quattro --capitale, --mesi o --anni, --tasso e --rata se ne danno tre, e la quarta si "
                       "calcola."};

    Offer offer{chosen.count("--nome") ? fromUtf8(chosen.find("--nome")->second) : Text(), PlanInputs()};
    if (fromFile) {
        const std::string path = chosen.find("--offerta")->second;
        const std::vector<Offer> offers = offersIn(path, *files, numbers);
        if (offers.size() > 1 && offer.name.empty()) {
            std::string names;
            for (const Offer& each : offers)
                names += (names.empty() ? "«" : ", «") + toUtf8(each.name) + "»";
            throw BadInput{"«" + path + "» ha " + std::to_string(offers.size()) +
                           " offerte: indicare quale con --nome (" + names + ")."};
        }
        const Offer* found = offerNamed(offers, offer.name);
        if (!found)
            throw BadInput{"in «" + path + "» non c'è un'offerta «" + toUtf8(offer.name) + "»."};
        offer = *found;
        // The figure the offer works out is not given beside it: it would be ignored.
        const PlanInput workedOut = fieldOf(offer.inputs.unknown());
        for (const auto& [option, input] : {std::pair{"--capitale", PlanInput::Capital},
                                            {"--mesi", PlanInput::Duration},
                                            {"--anni", PlanInput::Duration},
                                            {"--tasso", PlanInput::AnnualRate},
                                            {"--rata", PlanInput::Installment}})
            if (chosen.count(option) && input == workedOut)
                throw BadInput{std::string(option) + ": l'offerta «" + toUtf8(offer.name) +
                               "» calcola questa cifra dalle altre, e non la si dà."};
    }
    PlanInputs& inputs = offer.inputs;
    inputs = planInputs(chosen, inputs);
    if (chosen.count("--rata") && !fromFile) {
        // A question: the plan's own reading of the three given, the fourth worked out.
        const Unknown unknown = !chosen.count("--capitale") ? Unknown::Capital
                                : !withDuration             ? Unknown::Duration
                                : !chosen.count("--tasso")  ? Unknown::Rate
                                                            : Unknown::Installment;
        inputs.choose(PlanInput::Solve, static_cast<std::size_t>(unknown));
    }
    setLoanFields(chosen, inputs);
    if (fromFile || chosen.count("--rata") || !chosen.count("--piano")) {
        const PlanOutcome outcome = planFor(inputs, numbers);
        // Only an offer with a plan is kept: what cannot be read is said first.
        if (saving && (outcome.error || std::holds_alternative<PlanRefusal>(outcome.plan)))
            return writePlan(chosen, outcome, Text(), numbers, output, errors);
        if (saving) {
            if (const int saved = saveOffer(chosen, offer, numbers, *files, output, errors); saved != exitDone)
                return saved;
        }
        if (!chosen.count("--piano"))
            return exitDone;
        return writePlan(chosen, outcome, Text(), numbers, output, errors);
    }
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

    const PlanOutcome outcome = planFor(terms, inputs, numbers);
    if (saving) {
        if (outcome.error || std::holds_alternative<PlanRefusal>(outcome.plan))
            return writePlan(chosen, outcome, terms.installment, numbers, output, errors);
        if (const int saved = saveOffer(chosen, offer, numbers, *files, output, errors); saved != exitDone)
            return saved;
    }
    return writePlan(chosen, outcome, terms.installment, numbers, output, errors);
}

// The offers of every file side by side; names that repeat say their file.
int compare(const Options& chosen, const std::vector<std::string>& paths, const NumberText& numbers, Files* files,
            std::ostream& output)
{
    if (!files)
        throw BadInput{"qui non si leggono file di offerte."};
    if (paths.empty())
        throw BadInput{"--confronta vuole uno o più file di offerte."};
    for (const auto& [option, value] : chosen)
        if (option != "--confronta" && option != "--csv")
            throw BadInput{"con --confronta si danno solo i file, e --csv: non " + option + "."};
    std::vector<OffersFileBytes> read;
    for (const std::string& path : paths) {
        const auto bytes = files->read(path);
        if (!bytes)
            throw BadInput{"impossibile leggere «" + path + "»: il file non c'è o non si può aprire."};
        read.push_back({fromUtf8(path), *bytes});
    }
    auto gathered = offersOfFiles(read, numbers);
    if (const auto* refused = std::get_if<Text>(&gathered))
        throw BadInput{toUtf8(*refused)};
    const auto& offers = std::get<std::vector<Offer>>(gathered);
    const OfferComparison comparison = compareOffers(offers, numbers);
    output << toUtf8(chosen.count("--csv") ? delimitedComparison(comparison, csvDelimiter(numbers.decimalSeparator()))
                                           : alignedComparison(comparison));
    return exitDone;
}

} // namespace

namespace {

// A file of offers by its name, "Banca A.ratalia", as the desktop and
// Explorer pass them: any other word is for the command line.
bool isOffersFile(std::string_view argument)
{
    const std::string extension = toUtf8(offersExtension);
    if (argument.size() <= extension.size() || argument.front() == '-')
        return false;
    return std::equal(
        extension.begin(), extension.end(), argument.end() - static_cast<std::ptrdiff_t>(extension.size()),
        [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b); });
}

// The window's arguments: the window system's options, and files of
// offers. Nothing where any other is there.
std::optional<std::vector<std::string>> windowFiles(const std::vector<std::string>& arguments,
                                                    std::span<const WindowSystemOption> windowSystemOptions)
{
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (isOffersFile(argument)) {
            files.push_back(arguments[i]);
            continue;
        }
        const std::string_view name = argument.substr(0, argument.find('='));
        const auto option = std::find_if(windowSystemOptions.begin(), windowSystemOptions.end(),
                                         [&](const WindowSystemOption& o) { return o.name == name; });
        if (option == windowSystemOptions.end())
            return std::nullopt;
        if (option->takesValue && name.size() == argument.size() && ++i == arguments.size())
            return std::nullopt;
    }
    return files;
}

} // namespace

bool opensWindow(const std::vector<std::string>& arguments, std::span<const WindowSystemOption> windowSystemOptions)
{
    return windowFiles(arguments, windowSystemOptions).has_value();
}

std::vector<std::string> filesToOpen(const std::vector<std::string>& arguments,
                                     std::span<const WindowSystemOption> windowSystemOptions)
{
    return windowFiles(arguments, windowSystemOptions).value_or(std::vector<std::string>());
}

int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, std::ostream& output,
                   std::ostream& errors, Files* files)
{
    try {
        std::vector<std::string> paths;
        const auto chosen = parsed(arguments, paths);
        if (chosen.count("--help")) {
            output << synopsis << helpText();
            return exitDone;
        }
        if (chosen.count("--version")) {
            output << "Ratalia " << version << '\n';
            return exitDone;
        }
        if (chosen.count("--confronta"))
            return compare(chosen, paths, numbers, files, output);
        return printPlan(chosen, numbers, files, output, errors);
    } catch (const BadInput& bad) {
        errors << "ratalia: " << bad.message << '\n';
        if (bad.withSynopsis)
            errors << synopsis;
        return exitBadInput;
    }
}

int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, StandardStreams& streams,
                   Files* files)
{
    std::ostringstream output;
    std::ostringstream errors;
    const int status = runCommandLine(arguments, numbers, output, errors, files);
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
