#pragma once

// The plan window described once for every front end: its commands with
// their captions, access keys, accessible names and tooltips, and the texts
// of its dialogs and messages. The figures it shows come keyed by meaning
// from the plan's texts (FigureId), so a front end builds a row for each
// figure it is given instead of counting on their number or order.

#include "loan/amortization_plan.h"
#include "loan/plan_request.h"
#include "numbers/number_text.h"
#include "numbers/text.h"
#include "plan/plan_text.h"

#include <span>
#include <string_view>
#include <vector>

namespace ratalia {

enum class PlanCommand { Copy, ExportCsv, Print, SavePdf, Close };

struct PlanCommandLayout {
    PlanCommand id;
    const char* objectName;
    std::u16string_view caption; // "&" marks the access key
    std::u16string_view accessibleName;
    std::u16string_view toolTip;
};

// The groups the inputs are shown in, in order.
enum class PlanInputGroup { PlanAndCosts, EarlyRepayment };

// An input of the plan: a choice among a few, or a field for an amount, a
// percentage, a month or an installment, placed in a group on a grid of
// rows and pairs of columns.
struct PlanInputLayout {
    PlanInput id;
    const char* objectName;
    std::u16string_view caption; // "&" marks the access key
    std::u16string_view accessibleName;
    std::u16string_view toolTip;
    bool choice;
    std::u16string_view unit;        // after a field: "€" or "%"; empty for none
    std::u16string_view placeholder; // shown in an empty field: what to type
    PlanInputGroup group;
    int row, column; // column 0 or 1, each a caption and its control
};

// One of a choice's options: what it shows, and what it stands for.
struct PlanChoice {
    Text caption;
    PlanKind kind = PlanKind::French;      // of the plan's kind
    Text value;                            // of the imposta: the percentage, as the field would hold it
    bool reduceDuration = false;           // of what a partial early repayment reduces
    CreditKind credit = CreditKind::Other; // of the kind of credit
};

// The views of the plan, one at a time: the installments, the yearly totals,
// the chart.
enum class PlanView { Installments, Years, Chart };

struct PlanViewLayout {
    PlanView id;
    const char* objectName;      // of the view shown in the tab
    std::u16string_view caption; // the tab's, "&" marking the access key
    std::u16string_view accessibleName;
    std::u16string_view toolTip;
};

// What a saved file is: its kind for the save dialog and its extension.
struct FileKind {
    std::u16string_view dialogTitle;
    std::u16string_view description; // "File CSV"
    std::u16string_view extension;   // "csv", without the point
};

struct PlanWindowLayout {
    static constexpr std::u16string_view tableName = u"Rate del piano";
    static constexpr std::u16string_view printDialogTitle = u"Stampa il piano di ammortamento";
    static constexpr std::u16string_view defaultFileName = u"piano-di-ammortamento";
    static constexpr FileKind csvFile{u"Esporta il piano in CSV", u"File CSV", u"csv"};
    static constexpr FileKind pdfFile{u"Salva il piano in PDF", u"File PDF", u"pdf"};

    static constexpr std::u16string_view inputsTitle = u"Tipo di piano e costi";
    static constexpr std::u16string_view repaymentTitle = u"Estinzione anticipata";
    // Beside the penalty: what the law allows, which the plan applies by the kind of credit.
    static constexpr std::u16string_view penaltyNote =
        u"Penale: nessuna sui mutui di una persona per la casa o per i locali della sua attività (art. 120-ter "
        u"TUB); nel credito ai consumatori al massimo l'1 % dell'importo rimborsato, lo 0,5 % se alla fine manca "
        u"un anno o meno, mai più degli interessi risparmiati, nessuna sull'estinzione di tutto un debito fino a "
        u"10.000 €, e tornano le spese iniziali in proporzione agli interessi risparmiati (art. 125-sexies TUB).";
    // In the yearly view of a plan without due dates.
    static constexpr std::u16string_view yearsNeedDates =
        u"I totali per anno seguono le scadenze: indicare il mese della prima rata.";
    static constexpr std::u16string_view yearsFileName = u"totali-per-anno";
    static constexpr std::u16string_view taegBeside =
        u"TAEG"; // shown beside the annual rate, as a foglio informativo does

    static std::span<const PlanCommandLayout> commands();
    static const PlanCommandLayout& command(PlanCommand id);
    static std::span<const PlanInputLayout> inputs();
    // The inputs of one group, in the order Tab walks them.
    static std::vector<PlanInputLayout> inputsOf(PlanInputGroup group);
    // The options of a choice, in the order shown; the region's separator in percentages.
    static std::vector<PlanChoice> choices(PlanInput id, const NumberText& numbers);
    static std::span<const PlanViewLayout> views();
};

// What "Copia" and "Esporta CSV" take from the view shown: the yearly totals
// from their own view where the plan has due dates, the installments
// otherwise; and the name the saved file is offered under.
Text viewTable(PlanView view, const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter);
std::u16string_view viewFileName(PlanView view, const AmortizationPlan& plan);

// The file a name typed in a save dialog stands for: with the kind's
// extension added when the name has none ("piano" → "piano.csv"; "piano.txt"
// stays, as typed).
Text withExtension(const Text& path, const FileKind& kind);

// The one message for a file that could not be written; the file is left as it was.
Text notSavedMessage(const Text& path);
inline constexpr std::u16string_view printFailedMessage =
    u"Impossibile stampare il piano: la stampante non ha accettato il lavoro. Non è stato stampato nulla.";
inline constexpr std::u16string_view noPrintingMessage =
    u"Impossibile stampare: il modulo di stampa del programma non è installato. Il piano si può salvare in PDF.";
inline constexpr std::u16string_view saveCancelledNote = u"Salvataggio annullato: il file non è stato scritto.";
inline constexpr std::u16string_view printCancelledNote = u"Stampa annullata.";
// The foot of a printed page, "Pagina 12 di 1962", and the progress of a
// long printout, "Pagina 12 di 1962…".
Text pageFoot(std::size_t page, std::size_t pages);
Text pageProgress(std::size_t page, std::size_t pages);
inline constexpr std::u16string_view cancelCaption = u"Annulla";

} // namespace ratalia
