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
#include "plan/offer_comparison.h"
#include "plan/plan_text.h"

#include <span>
#include <string_view>
#include <vector>

namespace ratalia {

enum class PlanCommand {
    Copy,
    ExportCsv,
    Print,
    SavePdf,
    Close,
    StartClean,
    // The offers' own, at the top of the inputs: a copy of the one shown, its
    // removal, and the file they are kept in.
    NewOffer,
    RemoveOffer,
    OpenOffers,
    SaveOffers,
    SaveOffersAs,
};

struct PlanCommandLayout {
    PlanCommand id;
    const char* objectName;
    std::u16string_view caption; // "&" marks the access key
    std::u16string_view accessibleName;
    std::u16string_view toolTip;
    // Its key besides Tab, as the systems write it ("Ctrl+S"); empty for none.
    std::u16string_view shortcut = u"";
};

// Whether the command is among the offers' at the top of the inputs, not the window's at its foot.
bool offersCommand(PlanCommand id);

// A choice's options as a window lists them, the region's separator in the
// values' captions ("0,25 % (oltre 18 mesi)" under Italian settings).
std::vector<Text> choiceCaptions(PlanInput id, const NumberText& numbers);

// The views of the plan, one at a time: every figure, the installments, the
// yearly totals, the chart.
enum class PlanView { Summary, Installments, Years, Chart, Comparison };

struct PlanViewLayout {
    PlanView id;
    const char* objectName;      // of the view shown in the tab
    std::u16string_view caption; // the tab's, "&" marking the access key
    std::u16string_view accessibleName;
    std::u16string_view toolTip;
};

// A rectangle of the screen, in its own pixels.
struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

// Where a plan window of `width` × `height` (its frame included) opens:
// beside the main window, to its right, else to its left, where the work
// area has room; narrower beside it where the room left keeps the window's
// smallest width; otherwise as near it as the work area allows, never over
// it where that can be helped, and always inside the work area.
ScreenRect placeBeside(const ScreenRect& main, const ScreenRect& workArea, int width, int height, int minimumWidth);

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
    static constexpr FileKind yearsCsvFile{u"Esporta i totali per anno in CSV", u"File CSV", u"csv"};
    static constexpr FileKind pdfFile{u"Salva il piano in PDF", u"File PDF", u"pdf"};
    static constexpr FileKind offersFile{u"Salva le offerte", u"Offerte di Ratalia", u"ratalia"};
    static constexpr FileKind comparisonCsvFile{u"Esporta il confronto in CSV", u"File CSV", u"csv"};
    static constexpr FileKind comparisonPdfFile{u"Salva il confronto in PDF", u"File PDF", u"pdf"};
    static constexpr std::u16string_view openOffersTitle = u"Apri le offerte";
    static constexpr std::u16string_view offersFileName = u"offerte";
    static constexpr std::u16string_view comparisonFileName = u"confronto-offerte";
    static constexpr std::u16string_view comparisonTitle = u"Confronto delle offerte";
    // The offers' group above the inputs: the list of offers, the name of the one shown.
    static constexpr std::u16string_view offersHeading = u"Offerte";
    static constexpr std::u16string_view offersCaption = u"Offerta mostrata:";
    static constexpr std::u16string_view offersName = u"Offerta mostrata";
    static constexpr std::u16string_view offersToolTip =
        u"Le offerte da confrontare, ognuna un prestito intero; la prima è quella della finestra principale";
    static constexpr std::u16string_view offerNameCaption = u"Nome:";
    static constexpr std::u16string_view offerNameName = u"Nome dell'offerta";
    static constexpr std::u16string_view offerNameToolTip = u"Il nome dell'offerta, per esempio la banca che la fa";
    // The question over unsaved offers: its title and its three answers.
    static constexpr std::u16string_view unsavedTitle = u"Offerte non salvate";
    // The comparison view's parts, for the screen reader and the tests.
    static constexpr std::u16string_view comparisonTableName = u"Cifre delle offerte a confronto";
    static constexpr std::u16string_view comparisonChartName = u"Grafico del debito delle offerte";
    // The titles of a long printout's progress, short enough for its dialog.
    static constexpr std::u16string_view printProgressTitle = u"Stampa";
    static constexpr std::u16string_view saveProgressTitle = u"Salva PDF";

    // The window's parts, for the screen reader and the tests.
    static constexpr std::u16string_view inputsName = u"Dati del piano";
    static constexpr std::u16string_view keyFiguresName = u"Cifre principali";
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
    // Where the table would be, while the loan itself cannot be read.
    static constexpr std::u16string_view noLoanYet =
        u"Il piano appare quando capitale, durata e tasso annuo sono inseriti e letti.";
    // The headings of the summary's three groups of figures.
    static constexpr std::u16string_view loanHeading = u"Il prestito";
    static constexpr std::u16string_view costsHeading = u"Costi del contratto";
    static constexpr std::u16string_view repaymentHeading = u"Estinzione anticipata";
    // What the window wants at 1× on a large screen, in device-independent pixels.
    static constexpr int preferredWidth = 1080;
    static constexpr int preferredHeight = 720;
    // The inputs' column, and the smallest window that holds both parts.
    static constexpr int inputsWidth = 330;
    static constexpr int minimumWidth = 760;
    static constexpr int minimumHeight = 460;

    static std::span<const PlanCommandLayout> commands();
    static const PlanCommandLayout& command(PlanCommand id);
    static std::span<const PlanViewLayout> views();
};

// The figures always in view above the tabs, on one line: the installment
// (the first and the last of the Italian plan), the TAEG, the cost of the
// credit, the total due, and what an early repayment saves:
// "Rata 446,59   ·   TAEG 6,96 %   ·   …".
Text keyFiguresLine(const std::vector<Figure>& all);
// The totals under the table on one line: "Totale rate: 10.718,25    Totale interessi: 718,25    …".
Text totalsLine(const std::vector<Figure>& totals);

// What "Copia" and "Esporta CSV" take from the view shown: the yearly totals
// from their own view where the plan has due dates, the installments
// otherwise; and the name the saved file is offered under.
Text viewTable(PlanView view, const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter);
std::u16string_view viewFileName(PlanView view, const AmortizationPlan& plan);
const FileKind& viewFileKind(PlanView view, const AmortizationPlan& plan);

// The file a name typed in a save dialog stands for: with the kind's
// extension added when the name has none ("piano" → "piano.csv"; "piano.txt"
// stays, as typed).
Text withExtension(const Text& path, const FileKind& kind);

// What Copia, Esporta CSV and the printout take from the comparison: the
// figures of every offer, separated by `delimiter`.
Text comparisonTable(const OfferComparison& comparison, char16_t delimiter);

// The one message for a file that could not be written; the file is left as it was.
Text notSavedMessage(const Text& path);
// The one message for a file of offers that could not be read: nothing was opened.
Text notOpenedMessage(const Text& path);
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
