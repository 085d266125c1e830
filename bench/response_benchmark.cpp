// The time from a mouse click on Calcola in the real window until the
// results are painted on screen, from asking for the plan of 100 000
// installments until its table is painted, and for saving it as PDF.

#include "form/form_events.h"
#include "form/form_layout.h"
#include "form/link_opener.h"
#include "support/silent.h"
#include "window/form_window.h"
#include "window/plan_chart_view.h"
#include "window/plan_window.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>

namespace ratalia {
namespace {

// Counts the paint events of the field written last by Calcola.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// The real window over a silent model, shown on screen.
struct ShownWindow {
    ShownWindow() : events(NumberText(u','), silent, silent), window(events)
    {
        window.show();
        shown = QTest::qWaitForWindowExposed(&window);
    }
    // Calcola on a loan of 100 000 monthly installments, the largest plan shown.
    void calculateLongestPlan()
    {
        events.edit(Field::Capital, u"100000000");
        events.edit(Field::Duration, u"100000");
        events.edit(Field::AnnualRate, u"0,02");
        events.click(Button::Calculate);
        QCoreApplication::processEvents();
    }
    test::Silent silent;
    FormEvents events;
    FormWindow window;
    bool shown = false;
};

void clickToPaint(benchmark::State& state)
{
    ShownWindow shown;
    if (!shown.shown) {
        state.SkipWithError("the window was never shown");
        return;
    }
    FormEvents& events = shown.events;
    FormWindow& window = shown.window;
    events.edit(Field::Duration, u"24");
    auto* calculateButton =
        window.findChild<QPushButton*>(QString::fromLatin1(FormLayout::control(Button::Calculate).objectName));
    auto* interest =
        window.findChild<QLineEdit*>(QString::fromLatin1(FormLayout::control(Field::TotalInterest).objectName));
    PaintCounter counter;
    interest->installEventFilter(&counter);

    bool other = false;
    for (auto _ : state) {
        events.edit(Field::Capital, other ? u"10001" : u"10000"); // a fresh calculation each time
        other = !other;
        QCoreApplication::processEvents();
        const int before = counter.paints;
        const auto start = std::chrono::steady_clock::now();
        QTest::mouseClick(calculateButton, Qt::LeftButton);
        while (counter.paints == before)
            QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(clickToPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// Ctrl+P's action on a loan of 100 000 monthly installments until the table's
// rows are painted; the window is closed between openings.
void planWindowToPaint(benchmark::State& state)
{
    ShownWindow shown;
    if (!shown.shown) {
        state.SkipWithError("the window was never shown");
        return;
    }
    FormWindow& window = shown.window;
    shown.calculateLongestPlan();
    auto* open = window.findChild<QAction*>(QStringLiteral("OpenPlan"));
    PaintCounter counter;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        open->trigger();
        auto* plan = window.findChild<PlanWindow*>();
        QWidget* rows = plan->findChild<QTableView*>(QStringLiteral("Installments"))->viewport();
        rows->installEventFilter(&counter);
        const int before = counter.paints;
        while (counter.paints == before)
            QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        rows->removeEventFilter(&counter);
        plan->close();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(planWindowToPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The chart of those 100 000 rows, from its plan to its pixels: the core's
// model and the paint of the view, shown in the plan window.
void chart100000(benchmark::State& state)
{
    ShownWindow shown;
    if (!shown.shown) {
        state.SkipWithError("the window was never shown");
        return;
    }
    shown.calculateLongestPlan();
    shown.window.findChild<QAction*>(QStringLiteral("OpenPlan"))->trigger();
    auto* plan = shown.window.findChild<PlanWindow*>();
    plan->showView(PlanView::Chart);
    auto* chart = plan->findChild<PlanChartView*>();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        chart->show(plan->plan());
        chart->repaint();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(chart100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Salva PDF…" of those 100 000 rows, from the call until the file is whole
// (about 2 000 A4 pages), with its progress shown.
void planPdf100000(benchmark::State& state)
{
    ShownWindow shown;
    if (!shown.shown) {
        state.SkipWithError("the window was never shown");
        return;
    }
    shown.calculateLongestPlan();
    shown.window.findChild<QAction*>(QStringLiteral("OpenPlan"))->trigger();
    auto* plan = shown.window.findChild<PlanWindow*>();
    QTemporaryDir folder;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool saved = plan->savePdf(folder.filePath(QStringLiteral("piano.pdf")));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!saved)
            state.SkipWithError("the PDF was not saved");
    }
}
BENCHMARK(planPdf100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ratalia

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
