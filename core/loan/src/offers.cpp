#include "loan/offers.h"

#include "loan/plan_request.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace ratalia {
namespace {

constexpr std::string_view header = "ratalia-offerte";
constexpr std::string_view offerSection = "[offerta]";
constexpr std::string_view nameKey = "nome";
constexpr std::string_view solveKey = "si-calcola";

std::string_view keyOf(const InputOption& option) { return option.name.substr(2); }

// The key a field is kept under: its first option's name; the duration's says its unit.
std::string_view keyOf(const PlanInputSpec& spec, const PlanInputs& inputs)
{
    if (spec.id == PlanInput::Duration)
        return keyOf(spec.options[inputs.unit() == DurationUnit::Years ? 1 : 0]);
    if (spec.id == PlanInput::Solve)
        return solveKey;
    return spec.options.empty() ? std::string_view() : keyOf(spec.options.front());
}

// A value kept on one line: line breaks and other controls become spaces.
std::string oneLine(const Text& text)
{
    Text clean = text;
    std::replace_if(
        clean.begin(), clean.end(), [](char16_t c) { return c < u' ' || c == 0x7F; }, u' ');
    return toUtf8(clean);
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

OffersFileError damaged(std::size_t line, Text detail)
{
    OffersFileError error;
    error.reason = OffersFileError::Reason::Damaged;
    error.line = line;
    error.detail = std::move(detail);
    return error;
}

// What a key sets: a field, and for the duration its unit.
struct Target {
    const PlanInputSpec* spec = nullptr;
    std::optional<DurationUnit> unit;
};

std::optional<Target> targetOf(std::string_view key)
{
    for (const PlanInputSpec& spec : planInputSpecs()) {
        if (spec.id == PlanInput::Solve && key == solveKey)
            return Target{&spec, std::nullopt};
        for (std::size_t k = 0; k < spec.options.size(); ++k)
            if (keyOf(spec.options[k]) == key)
                return Target{&spec,
                              spec.id == PlanInput::Duration
                                  ? std::optional<DurationUnit>(k == 1 ? DurationUnit::Years : DurationUnit::Months)
                                  : std::nullopt};
    }
    return std::nullopt;
}

} // namespace

Text defaultOfferName(std::size_t number) { return u"Offerta " + fromUtf8(std::to_string(number)); }

std::string offersFileText(std::span<const Offer> offers, const NumberText& numbers)
{
    std::string out = std::string(header) + ": " + std::to_string(offersFormatVersion) + "\n";
    for (const Offer& offer : offers) {
        out += "\n" + std::string(offerSection) + "\n";
        out += std::string(nameKey) + ": " + oneLine(offer.name) + "\n";
        for (const PlanInputSpec& spec : planInputSpecs()) {
            if (spec.id == PlanInput::Unit)
                continue; // said by the duration's key
            const std::string key(keyOf(spec, offer.inputs));
            if (spec.value == InputValue::Choice) {
                const std::size_t chosen = offer.inputs.choice(spec.id);
                if (chosen != 0 && chosen < spec.choices.size())
                    out += key + ": " + std::string(spec.choices[chosen].word) + "\n";
                continue;
            }
            const std::vector<Text> items = portableItems(spec.id, offer.inputs, numbers);
            for (const Text& item : items)
                out += key + ": " + oneLine(item) + "\n";
            // A duration in years that is worked out, and so empty, still says its unit.
            if (items.empty() && spec.id == PlanInput::Duration && offer.inputs.unit() == DurationUnit::Years)
                out += key + ":\n";
        }
    }
    return out;
}

std::variant<std::vector<Offer>, OffersFileError> readOffersFile(std::string_view bytes, const NumberText& numbers)
{
    // A byte-order mark, as some editors write one, is no part of the text.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (toUtf8(fromUtf8(bytes)) != bytes)
        return damaged(0, u"il testo non è UTF-8");
    std::vector<Offer> offers;
    std::vector<std::string> given; // the keys of the offer being read
    bool headerSeen = false;
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trimmed(line);
        if (line.empty() || line.front() == '#')
            continue;
        const auto colon = line.find(':');
        const std::string_view key = colon == std::string_view::npos ? line : trimmed(line.substr(0, colon));
        const std::string_view value = colon == std::string_view::npos ? "" : trimmed(line.substr(colon + 1));
        if (!headerSeen) {
            int version = 0;
            const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), version);
            if (key != header || failure != std::errc() || end != value.data() + value.size() || version < 1)
                return OffersFileError{OffersFileError::Reason::NotOffers, number, 0, {}};
            if (version > offersFormatVersion)
                return OffersFileError{OffersFileError::Reason::Newer, number, version, {}};
            headerSeen = true;
            continue;
        }
        if (line == offerSection) {
            offers.push_back({defaultOfferName(offers.size() + 1), PlanInputs()});
            given.clear();
            continue;
        }
        if (colon == std::string_view::npos)
            return damaged(number, u"manca «chiave: valore»");
        if (offers.empty())
            return damaged(number, u"viene prima di ogni [offerta]");
        Offer& offer = offers.back();
        const std::string keyText(key);
        if (key == nameKey) {
            if (std::find(given.begin(), given.end(), keyText) != given.end())
                return damaged(number, u"«nome» è ripetuto");
            given.push_back(keyText);
            offer.name = fromUtf8(value);
            continue;
        }
        const auto target = targetOf(key);
        if (!target)
            return damaged(number, u"«" + fromUtf8(key) + u"» non è un dato di un'offerta");
        const PlanInputSpec& spec = *target->spec;
        const bool repeatable = !spec.options.empty() && spec.options.front().repeatable;
        // The duration is one field, whichever its unit.
        const std::string field = spec.id == PlanInput::Duration ? std::string("durata") : keyText;
        if (!repeatable && std::find(given.begin(), given.end(), field) != given.end())
            return damaged(number, u"«" + fromUtf8(key) + u"» è ripetuto");
        given.push_back(field);
        if (spec.value == InputValue::Choice) {
            const auto match = std::find_if(spec.choices.begin(), spec.choices.end(),
                                            [&](const InputChoice& choice) { return choice.word == value; });
            if (match == spec.choices.end() || value.empty())
                return damaged(number, u"«" + fromUtf8(value) + u"» non è tra le scelte di «" + fromUtf8(key) + u"»");
            offer.inputs.choose(spec.id, static_cast<std::size_t>(match - spec.choices.begin()));
            continue;
        }
        if (target->unit)
            offer.inputs.choose(PlanInput::Unit, static_cast<std::size_t>(*target->unit));
        const Text read = regionalText(spec.id, fromUtf8(value), numbers);
        const Text& before = offer.inputs.text(spec.id);
        offer.inputs.setText(spec.id, before.empty() ? read : before + u"; " + read);
    }
    if (!headerSeen)
        return OffersFileError{OffersFileError::Reason::NotOffers, 0, 0, {}};
    if (offers.empty())
        return OffersFileError{OffersFileError::Reason::NoOffers, 0, 0, {}};
    return offers;
}

Text offersFileErrorText(const OffersFileError& error, TextView fileName)
{
    const Text file = u"«" + Text(fileName) + u"»";
    switch (error.reason) {
    case OffersFileError::Reason::NotOffers:
        return u"Il file " + file + u" non è un file di offerte di Ratalia: non è stato aperto nulla.";
    case OffersFileError::Reason::Newer:
        return u"Il file " + file + u" è scritto da una versione più recente di Ratalia (formato " +
               fromUtf8(std::to_string(error.version)) + u"; questa legge fino al " +
               fromUtf8(std::to_string(offersFormatVersion)) +
               u"): non è stato aperto nulla. Si apre con una versione più recente.";
    case OffersFileError::Reason::NoOffers:
        return u"Il file " + file + u" non contiene alcuna offerta: non è stato aperto nulla.";
    case OffersFileError::Reason::Damaged:
        break;
    }
    return u"Il file " + file + u" è danneggiato" +
           (error.line > 0 ? u" alla riga " + fromUtf8(std::to_string(error.line)) : Text()) + u" (" + error.detail +
           u"): non è stato aperto nulla.";
}

std::variant<std::vector<Offer>, Text> offersOfFiles(std::span<const OffersFileBytes> files, const NumberText& numbers)
{
    std::vector<Offer> offers;
    std::vector<std::size_t> from;
    for (std::size_t f = 0; f < files.size(); ++f) {
        auto read = readOffersFile(files[f].bytes, numbers);
        if (const auto* error = std::get_if<OffersFileError>(&read))
            return offersFileErrorText(*error, files[f].path);
        for (Offer& offer : std::get<std::vector<Offer>>(read)) {
            offers.push_back(std::move(offer));
            from.push_back(f);
        }
    }
    std::vector<Text> names;
    for (const Offer& offer : offers)
        names.push_back(offer.name);
    for (std::size_t k = 0; k < offers.size(); ++k)
        if (std::count(names.begin(), names.end(), names[k]) > 1 && files.size() > 1) {
            const Text& path = files[from[k]].path;
            const auto slash = path.find_last_of(u"/\\");
            offers[k].name += u" (" + (slash == Text::npos ? path : path.substr(slash + 1)) + u")";
        }
    return offers;
}

Text offersNotSavedText(TextView fileName)
{
    return u"Impossibile salvare le offerte in «" + Text(fileName) +
           u"». Il file non è stato scritto, e quello di prima, se c'era, è com'era: scegliere un'altra cartella o "
           u"un altro nome e riprovare.";
}

const Offer* offerNamed(std::span<const Offer> offers, TextView name)
{
    if (name.empty())
        return offers.empty() ? nullptr : &offers.front();
    const auto found =
        std::find_if(offers.begin(), offers.end(), [&](const Offer& offer) { return offer.name == name; });
    return found == offers.end() ? nullptr : &*found;
}

} // namespace ratalia
