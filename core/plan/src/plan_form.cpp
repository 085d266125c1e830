#include "plan/plan_form.h"

#include "form/program_texts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ratalia {

PlanForm::PlanForm(const NumberText& numbers, FormEvents& mainWindow)
    : numbers_(numbers), amounts_(numbers.decimalSeparator(), numbers.groupSeparator()),
      mainWindow_(mainWindow), offers_{Offer{defaultOfferName(1), PlanInputs()}}
{
    mainWindow_.addObserver(*this);
}

PlanForm::~PlanForm() { mainWindow_.removeObserver(*this); }

void PlanForm::open()
{
    if (const auto terms = mainWindow_.planTerms(); terms && (!calculatedLoan_ || mainChanged_ || !outcome_))
        showLoan(*terms);
}

void PlanForm::showLoan(const LoanTerms& terms)
{
    offers_[current_].inputs = inputs_;
    if (!mainOffer_) {
        // Offers opened from files are theirs: the main window's loan comes as one more.
        offers_.push_back(Offer{freeOfferName(), PlanInputs()});
        mainOffer_ = offers_.size() - 1;
        changed_ = true;
    }
    current_ = *mainOffer_;
    inputs_ = offers_[current_].inputs;
    const PlanInputs loan(terms);
    keptSettings_ = inputs_.hasMoreThanTheLoan();
    mainChanged_ = false;
    inputs_ = inputs_.withLoanOf(loan);
    calculatedLoan_ = loan;
    windowInstallment_ = terms.installment;
    // The first offer of a file, or of several, has changed.
    changed_ = changed_ || filePath_ || offers_.size() > 1;
    ++loansShown_;
    update();
}

void PlanForm::edit(PlanInput input, Text text)
{
    // The figure worked out is the program's: a window showing it is not the user typing.
    if (workedOut(input) || inputs_.text(input) == text)
        return;
    inputs_.setText(input, std::move(text));
    keptSettings_ = false;
    changed_ = true;
    update();
}

void PlanForm::choose(PlanInput input, std::size_t option)
{
    const PlanInputSpec& spec = planInputSpec(input);
    if (option >= spec.choices.size())
        return;
    if (input == PlanInput::Solve && option != inputs_.choice(input)) {
        // The figure worked out until now becomes a given one, as it was shown.
        const PlanInput before = fieldOf(inputs_.unknown());
        inputs_.setText(before, shownText(before));
    }
    if (spec.value != InputValue::Choice) {
        // A listed field: the option's value, in the region's form.
        Text value(spec.choices[option].value);
        std::replace(value.begin(), value.end(), u',', numbers_.decimalSeparator());
        edit(input, std::move(value));
        return;
    }
    if (inputs_.choice(input) == option)
        return;
    inputs_.choose(input, option);
    keptSettings_ = false;
    changed_ = true;
    update();
}

void PlanForm::startClean()
{
    const PlanInputs clean = PlanInputs().withLoanOf(inputs_);
    keptSettings_ = false;
    if (clean == inputs_) {
        update();
        return;
    }
    inputs_ = clean;
    changed_ = true;
    update();
}

std::size_t PlanForm::shownChoice(PlanInput input) const
{
    const PlanInputSpec& spec = planInputSpec(input);
    if (spec.value == InputValue::Choice)
        return inputs_.choice(input);
    const auto read = numbers_.tryToNumber(inputs_.text(input));
    for (std::size_t k = 0; k < spec.choices.size(); ++k) {
        Text value(spec.choices[k].value);
        std::replace(value.begin(), value.end(), u',', numbers_.decimalSeparator());
        const auto option = numbers_.tryToNumber(value);
        if ((value.empty() && inputs_.text(input).find_first_not_of(u' ') == Text::npos) ||
            (read && option && *read == *option))
            return k;
    }
    return 0;
}

bool PlanForm::workedOut(PlanInput input) const { return input == fieldOf(inputs_.unknown()); }

Text PlanForm::shownText(PlanInput input) const
{
    if (!workedOut(input))
        return inputs_.text(input);
    const AmortizationPlan* shown = plan();
    if (!shown || !outcome_->loan)
        return {};
    const LoanReading& loan = *outcome_->loan;
    switch (input) {
    case PlanInput::Capital:
        return amounts_.grouped(loan.capital);
    case PlanInput::Duration:
        return amounts_.whole(loan.unit == DurationUnit::Years ? loan.count / 12 : loan.count);
    case PlanInput::AnnualRate:
        return numbers_.localeText(static_cast<double>(loan.annualRate.significand) *
                                   std::pow(10.0, static_cast<double>(loan.annualRate.exponent)));
    default: {
        // The first that repays capital: after a preammortamento, not its interest alone.
        const auto installments = static_cast<std::int64_t>(shown->rows().size()) - shown->leadRows();
        return amounts_.grouped(shown->row(std::min(shown->interestOnly() + 1, installments)).installment);
    }
    }
}

std::optional<Text> PlanForm::reading(PlanInput input) const
{
    if (!workedOut(input))
        return readingOf(input, inputs_, numbers_, amounts_);
    if (!plan())
        return Text();
    return workedOutNote(*outcome_->loan, numbers_, true);
}

const AmortizationPlan* PlanForm::plan() const
{
    return outcome_ ? std::get_if<AmortizationPlan>(&outcome_->plan) : nullptr;
}

std::optional<Text> PlanForm::notice() const
{
    if (mainChanged_ && outcome_)
        return Text(u"I dati della finestra principale sono cambiati: questo piano resta sul prestito di prima "
                    u"finché non si preme Calcola.");
    if (keptSettings_)
        return Text(u"Costi, date ed estinzione anticipata restano quelli inseriti prima: «Ricomincia» li toglie.");
    return std::nullopt;
}

bool PlanForm::costsKnown() const
{
    if (!outcome_ || !outcome_->error)
        return true;
    switch (outcome_->error->input) {
    case PlanInput::InitialFees:
    case PlanInput::SubstituteTax:
    case PlanInput::InstallmentFee:
    case PlanInput::AnnualFee:
        return false;
    default:
        return true;
    }
}

std::vector<Figure> PlanForm::loanFigures() const
{
    const AmortizationPlan* shown = plan();
    return shown ? ratalia::loanFigures(*outcome_->loan, *shown, amounts_, numbers_, costsKnown())
                 : std::vector<Figure>();
}

std::vector<Figure> PlanForm::costFigures() const
{
    const AmortizationPlan* shown = plan();
    return shown ? ratalia::costFigures(*shown, amounts_, costsKnown()) : std::vector<Figure>();
}

std::vector<Figure> PlanForm::repaymentFigures() const
{
    const AmortizationPlan* shown = plan();
    return shown ? ratalia::repaymentFigures(*shown, amounts_) : std::vector<Figure>();
}

std::vector<Figure> PlanForm::figures() const
{
    std::vector<Figure> all = loanFigures();
    for (const auto& more : {costFigures(), repaymentFigures()})
        all.insert(all.end(), more.begin(), more.end());
    return all;
}

std::vector<Figure> PlanForm::totals() const
{
    const AmortizationPlan* shown = plan();
    return shown ? planTotals(*shown, amounts_) : std::vector<Figure>();
}

Text PlanForm::note() const
{
    const AmortizationPlan* shown = plan();
    // The main window's installment only while this is the loan it worked out.
    const bool calculated = calculatedLoan_ && inputs_.sameLoan(*calculatedLoan_);
    return shown ? planNote(calculated ? windowInstallment_ : Text(), *shown, amounts_, numbers_) : Text();
}

std::optional<PlanReport> PlanForm::report() const
{
    const AmortizationPlan* shown = plan();
    if (!shown)
        return std::nullopt;
    return PlanReport{*shown, amounts_, figures(), yearlyTotals(*shown), totals(), note()};
}

void PlanForm::addObserver(PlanFormObserver& observer) { observers_.push_back(&observer); }

void PlanForm::removeObserver(PlanFormObserver& observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void PlanForm::planAvailabilityChanged(bool available)
{
    if (available) {
        // A shown window follows each new calculation.
        if (shown_)
            showLoan(*mainWindow_.planTerms());
        return;
    }
    if (!outcome_ || mainChanged_)
        return;
    mainChanged_ = true;
    for (PlanFormObserver* observer : observers_)
        observer->planChanged();
}

void PlanForm::show(std::size_t offer)
{
    offers_[current_].inputs = inputs_;
    current_ = offer;
    inputs_ = offers_[offer].inputs;
    keptSettings_ = false;
    ++loansShown_; // another loan: it opens at its top
    update();
}

void PlanForm::selectOffer(std::size_t offer)
{
    if (offer < offers_.size() && offer != current_)
        show(offer);
}

Text PlanForm::freeOfferName() const
{
    // A name no other offer has: "Offerta 3" after two.
    std::size_t number = offers_.size() + 1;
    const auto taken = [&](const Text& name) {
        return std::any_of(offers_.begin(), offers_.end(), [&](const Offer& o) { return o.name == name; });
    };
    while (taken(defaultOfferName(number)))
        ++number;
    return defaultOfferName(number);
}

void PlanForm::copyOffer()
{
    offers_[current_].inputs = inputs_;
    offers_.push_back(Offer{freeOfferName(), inputs_});
    changed_ = true;
    show(offers_.size() - 1);
}

void PlanForm::removeOffer()
{
    if (offers_.size() < 2)
        return;
    offers_.erase(offers_.begin() + static_cast<std::ptrdiff_t>(current_));
    if (mainOffer_ && *mainOffer_ == current_)
        mainOffer_.reset();
    else if (mainOffer_ && *mainOffer_ > current_)
        --*mainOffer_;
    current_ = current_ == 0 ? 0 : current_ - 1;
    inputs_ = offers_[current_].inputs;
    changed_ = true;
    keptSettings_ = false;
    ++loansShown_;
    update();
}

void PlanForm::renameOffer(Text name)
{
    if (offers_[current_].name == name)
        return;
    offers_[current_].name = std::move(name);
    changed_ = true;
    for (PlanFormObserver* observer : observers_)
        observer->planChanged();
}

OfferComparison PlanForm::comparison() const { return compareOffers(offers_, numbers_); }

Text PlanForm::title() const
{
    if (!filePath_)
        return Text(texts::planTitle);
    // The file's own name, without its folders: "offerte.ratalia — Piano di ammortamento".
    const auto slash = filePath_->find_last_of(u"/\\");
    const Text name = slash == Text::npos ? *filePath_ : filePath_->substr(slash + 1);
    return (changed_ ? u"*" : u"") + name + u" — " + Text(texts::planTitle);
}

std::string PlanForm::fileBytes() const { return offersFileText(offers_, numbers_); }

void PlanForm::saved(Text path)
{
    filePath_ = std::move(path);
    changed_ = false;
    for (PlanFormObserver* observer : observers_)
        observer->planChanged();
}

std::optional<Text> PlanForm::openFiles(std::span<const OffersFileBytes> files)
{
    auto read = offersOfFiles(files, numbers_);
    if (const auto* refused = std::get_if<Text>(&read))
        return *refused;
    offers_ = std::get<std::vector<Offer>>(std::move(read));
    current_ = 0;
    mainOffer_.reset();
    inputs_ = offers_.front().inputs;
    // The offers are the file's: the main window's calculation is no longer theirs.
    calculatedLoan_.reset();
    windowInstallment_.clear();
    keptSettings_ = false;
    mainChanged_ = false;
    // Offers from several files are kept in a new one, named when first saved.
    filePath_ = files.size() == 1 ? std::optional<Text>(files.front().path) : std::nullopt;
    changed_ = files.size() > 1;
    ++loansShown_;
    update();
    return std::nullopt;
}

std::optional<Text> PlanForm::unsavedQuestion() const
{
    if (!changed_ || (!filePath_ && offers_.size() < 2))
        return std::nullopt;
    return filePath_ ? u"Le offerte di «" + *filePath_ + u"» sono cambiate dall'ultimo salvataggio. Salvarle?"
                     : Text(u"Le offerte non sono state salvate in un file. Salvarle?");
}

void PlanForm::update()
{
    offers_[current_].inputs = inputs_;
    outcome_ = planFor(inputs_, numbers_);
    refusal_.reset();
    error_.reset();
    if (outcome_->error)
        error_ = inputErrorText(*outcome_->error, Naming::Window, amounts_);
    else if (const auto* refused = std::get_if<PlanRefusal>(&outcome_->plan); refused && outcome_->loan)
        refusal_ = refusalText(*refused, amounts_);
    for (PlanFormObserver* observer : observers_)
        observer->planChanged();
}

} // namespace ratalia
