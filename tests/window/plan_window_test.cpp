#include "window_fixture.h"

#include "support/plan_expectations.h"

#include "loan/offers.h"
#include "plan/plan_text.h"
#include "printing/qt_print_job.h"
#include "support/offer_expectations.h"
#include "window/plan_window.h"
#include "window/printing_module.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <map>

namespace ratalia::test {
namespace {

class PlanWindowTest : public WindowTest {
protected:
    void calculate(const char* capital, const char* duration)
    {
        typeInto("Capital", QString::fromLatin1(capital));
        typeInto("Duration", QString::fromLatin1(duration));
        QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    }

    // Right-clicks the widget and reports the context menu's entries as
    // "text [shortcut] on|off"; triggers the one starting with `choose`.
    QStringList rightClick(QWidget* widget, const QString& choose = {})
    {
        QStringList entries;
        bool seen = false;
        // Some menus block until closed, others return at once: look when it is up.
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            seen = true;
            if (!menu)
                return;
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                entries << action->text() + QLatin1Char(' ') + action->shortcut().toString() +
                               (action->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
                if (!choose.isEmpty() && action->text().startsWith(choose))
                    chosen = action;
            }
            menu->close();
            if (chosen)
                chosen->trigger();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &event);
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen; }));
        EXPECT_FALSE(entries.isEmpty()) << "no menu on " << widget->objectName().toStdString();
        return entries;
    }

    PlanWindow* planWindow() const { return window->findChild<PlanWindow*>(); }
    QString shown(PlanWindow* plan, const char* name) const
    {
        auto* label = plan->findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("no %1").arg(QLatin1String(name));
    }
    // Every field of the main window, to check that the plan changes none.
    QStringList mainFields() const
    {
        QStringList texts;
        for (const char* name : {"Capital", "Duration", "AnnualRate", "MonthlyRate", "Installment", "TotalPaid",
                                 "TotalInterest", "InstallmentCount"})
            texts << field(name)->text();
        return texts;
    }
};

TEST_F(PlanWindowTest, the_context_menu_offers_the_plan_only_while_there_is_one)
{
    const QString entry = QStringLiteral("&Piano di ammortamento… Ctrl+P");
    // The plan window as it stands, without a calculation: always there.
    const QString asIs = QStringLiteral("Piano da &impostare… Ctrl+Shift+P on");
    QWidget* label = plainLabel();
    EXPECT_EQ(rightClick(label), (QStringList{entry + " off", asIs}));

    calculate("10000", "24");
    const QStringList before = mainFields();
    for (QWidget* outside : {static_cast<QWidget*>(window.get()), label, control("Calculate"), control("Inputs")})
        EXPECT_EQ(rightClick(outside), (QStringList{entry + " on", asIs})) << outside->objectName().toStdString();
    // A result field keeps its own entries and adds the plan's; an input has none of it.
    EXPECT_EQ(rightClick(field("Installment")).filter(QStringLiteral("Piano")), (QStringList{entry + " on", asIs}));
    const QStringList inputMenu = rightClick(field("Capital"));
    EXPECT_TRUE(inputMenu.filter(QStringLiteral("Piano")).isEmpty()) << inputMenu.join(", ").toStdString();
    EXPECT_EQ(planWindow(), nullptr);

    EXPECT_EQ(rightClick(field("TotalPaid"), QStringLiteral("&Piano")).filter(QStringLiteral("Piano")),
              (QStringList{entry + " on", asIs}));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(plan));
    EXPECT_EQ(plan->windowTitle(), QStringLiteral("Piano di ammortamento"));
    const QStringList figures{shown(plan, "LoanCapital"), shown(plan, "LoanDuration"), shown(plan, "LoanRate"),
                              shown(plan, "MonthlyRate"), shown(plan, "Installment")};
    EXPECT_EQ(figures.join(" | "), QStringLiteral("10.000,00 | 24 mesi | 6,75 % | 0,0056250000 | 446,59"));
    const QAbstractItemModel* rows = plan->findChild<QTableView*>(QStringLiteral("Installments"))->model();
    ASSERT_EQ(rows->rowCount(), 24);
    QStringList first, last, titles;
    for (int c = 0; c < rows->columnCount(); ++c) {
        titles << rows->headerData(c, Qt::Horizontal).toString().replace(QLatin1Char('\n'), QLatin1Char(' '));
        first << rows->index(0, c).data().toString();
        last << rows->index(23, c).data().toString();
    }
    EXPECT_EQ(titles.join(" | "), QStringLiteral("N. | Rata | Interessi | Quota capitale | Debito residuo"));
    EXPECT_EQ(first.join(" | "), QStringLiteral("1 | 446,59 | 56,25 | 390,34 | 9.609,66"));
    EXPECT_EQ(last.join(" | "), QStringLiteral("24 | 446,68 | 2,50 | 444,18 | 0,00"));
    EXPECT_EQ(shown(plan, "Totals"),
              QStringLiteral("Totale rate: 10.718,25    Totale interessi: 718,25    Totale quote capitale: 10.000,00"));
    EXPECT_TRUE(shown(plan, "Note").startsWith(QStringLiteral("L'ultima rata è di 446,68 anziché 446,59 (+0,09)")));
    QStringList buttons;
    for (const char* name : {"Copy", "ExportCsv", "Print", "SavePdf", "Close"}) {
        const auto* button = plan->findChild<QPushButton*>(QString::fromLatin1(name));
        buttons << button->text() + QLatin1Char('=') + button->accessibleName();
    }
    EXPECT_EQ(buttons.join(" | "), QStringLiteral("&Copia=Copia | &Esporta CSV…=Esporta CSV | &Stampa…=Stampa | "
                                                  "Salva &PDF…=Salva PDF | C&hiudi=Chiudi"));
    EXPECT_EQ(mainFields(), before);

    // Esc closes it; a new input takes the plan away.
    QTest::keyClick(plan->findChild<QTableView*>(), Qt::Key_Escape);
    EXPECT_FALSE(plan->isVisible());
    typeInto("Duration", QStringLiteral("36"));
    EXPECT_EQ(rightClick(label), (QStringList{entry + " off", asIs}));
    EXPECT_TRUE(messages.shown.empty());
}

// A loan with no plan opens the window all the same: why, where the table
// would be, and the inputs there to change it; no box to close.
TEST_F(PlanWindowTest, a_refusal_is_said_where_the_table_would_be_and_the_italian_plan_is_a_choice_away)
{
    typeInto("AnnualRate", QStringLiteral("3"));
    calculate("100000", "100000");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(messages.shown.empty());
    auto* absence = plan->findChild<QLabel*>(QStringLiteral("Absence"));
    ASSERT_TRUE(absence->isVisible());
    EXPECT_EQ(absence->text(), QStringLiteral("Arrotondata al centesimo, la rata di 250,00 non estingue questo "
                                              "prestito in 100.000 rate: l'ultima rata sarebbe di 100.250,00."));
    EXPECT_FALSE(plan->findChild<QPushButton*>(QStringLiteral("Copy"))->isEnabled());
    plan->findChild<QComboBox*>(QStringLiteral("Kind"))->setCurrentIndex(1);
    EXPECT_FALSE(absence->isVisible());
    EXPECT_EQ(plan->findChild<QTableView*>(QStringLiteral("Installments"))->model()->rowCount(), 100000);
    EXPECT_TRUE(plan->findChild<QPushButton*>(QStringLiteral("Copy"))->isEnabled());

    // More installments than it shows: the same, in its own words.
    typeInto("Duration", QStringLiteral("100001"));
    QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    ASSERT_TRUE(absence->isVisible());
    EXPECT_EQ(absence->text(),
              QStringLiteral("Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha "
                             "100.001."));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PlanWindowTest, copies_and_exports_the_rows_it_shows)
{
    typeInto("AnnualRate", QStringLiteral("6"));
    calculate("1000", "3");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);

    QTest::mouseClick(plan->findChild<QPushButton*>(QStringLiteral("Copy")), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromStdString(threeRowsHeader + threeRows).replace(QLatin1Char(';'), QLatin1Char('\t')));

    QTemporaryDir folder;
    const QString csvPath = folder.filePath(QStringLiteral("piano.csv"));
    ASSERT_TRUE(plan->exportCsv(csvPath));
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().toStdString(), threeRowsHeader + threeRows);
    // A file that cannot be written: one message, no file, the plan still there.
    const QString nowhere = folder.filePath(QStringLiteral("non-esiste/piano.csv"));
    EXPECT_FALSE(plan->exportCsv(nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, u"Esporta CSV");
    EXPECT_EQ(messages.shown[0].message.rfind(u"Impossibile salvare il piano in «", 0), 0u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("piano.csv")});
    EXPECT_TRUE(plan->isVisible());
}

// "Esporta CSV…" through its dialog: a name typed without an extension gets one.
TEST_F(PlanWindowTest, the_save_dialog_adds_the_extension)
{
    typeInto("AnnualRate", QStringLiteral("6"));
    calculate("1000", "3");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    QTemporaryDir folder;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(folder.filePath(QStringLiteral("dlg")));
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(plan->findChild<QPushButton*>(QStringLiteral("ExportCsv")), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Esporta il piano in CSV"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("dlg.csv")});
    QFile csv(folder.filePath(QStringLiteral("dlg.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().endsWith(QByteArray::fromStdString(threeRows)));
}

// A PDF read back as text: the figures on page 1, the table's header on
// every page, 120 rows, page numbers, the totals at the end; printing to a
// PDF file gives the same pages.
TEST_F(PlanWindowTest, prints_every_row_under_a_header_on_every_page)
{
    calculate("25000", "10");
    control<QRadioButton>("Years")->click();
    QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("piano.pdf"));
    const QString printed = folder.filePath(QStringLiteral("stampa.pdf"));
    ASSERT_TRUE(plan->savePdf(saved));
    QtPrintJob printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(printed);
    ASSERT_TRUE(plan->print(printer));
    EXPECT_TRUE(messages.shown.empty());

    const auto textOf = [](const QString& pdf) {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(pdftotext.waitForFinished(20000)) << "pdftotext (poppler-utils) did not run";
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    };
    const QString text = textOf(saved);
    // The print dialog's page, the same rows.
    const QString printedText = textOf(printed);
    EXPECT_TRUE(printedText.contains(QStringLiteral("Pagina 1 di ")));
    EXPECT_TRUE(printedText.contains(QRegularExpression(QStringLiteral("\\n +120 +287,07 +1,61 +285,46 +0,00\\n"))));
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    // A4 less its margins is 757 points, 56 lines of 13,5: 54 above the foot.
    // Page 1: the title, 10 figures and a blank line, the header, 40 rows;
    // page 2: the running header, the table's header, 51 rows; page 3: the
    // last 29 rows and the 7 lines of the totals and the note.
    ASSERT_EQ(pages.size(), 3);
    for (int k = 0; k < pages.size(); ++k) {
        SCOPED_TRACE(k + 1);
        EXPECT_TRUE(pages[k].contains(QStringLiteral("Pagina %1 di %2").arg(k + 1).arg(pages.size())));
        EXPECT_EQ(pages[k].contains(QStringLiteral("Capitale")), k == 0);
        if (k + 1 < pages.size()) {
            EXPECT_TRUE(pages[k].contains(
                QRegularExpression(QStringLiteral("N\\. +Rata +Interessi +Quota capitale +Debito residuo"))));
        }
    }
    EXPECT_TRUE(pages[0].contains(QRegularExpression(QStringLiteral("Capitale: +25\\.000,00"))));
    EXPECT_TRUE(pages[0].contains(QRegularExpression(QStringLiteral("Durata: +10 anni \\(120 rate\\)"))));
    EXPECT_TRUE(
        pages[0].contains(QRegularExpression(QStringLiteral("\\n +1 +287,06 +140,63 +146,43 +24\\.853,57\\n"))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n +120 +287,07 +1,61 +285,46 +0,00\\n"))));
    const auto rows = text.count(QRegularExpression(
        QStringLiteral("\\n +\\d+ +[\\d.]+,\\d\\d +[\\d.]+,\\d\\d +[\\d.]+,\\d\\d +[\\d.]+,\\d\\d\\n")));
    EXPECT_EQ(rows, 120);
    EXPECT_TRUE(pages.last().contains(QRegularExpression(QStringLiteral("Totale rate: +34\\.447,21"))));
    EXPECT_TRUE(pages.last().contains(QRegularExpression(QStringLiteral("Totale quote capitale: +25\\.000,00"))));
}

// Saving 100 000 rows as PDF takes seconds: the progress shows, a new
// Calcola meanwhile changes the window and not the pages being written, and
// Annulla stops it without leaving a file.
TEST_F(PlanWindowTest, a_long_save_shows_its_progress_and_can_be_cancelled)
{
    typeInto("AnnualRate", QStringLiteral("0,02"));
    calculate("100000000", "100000");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    QTemporaryDir folder;
    QString seen, title;
    QTimer poll;
    bool recalculated = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = plan->findChild<QProgressDialog*>(QStringLiteral("Progress"));
        if (!progress || !progress->isVisible() || progress->value() < 5)
            return;
        if (!recalculated) {
            // The main window is not waiting for the save: a shorter loan there, at once.
            recalculated = true;
            typeInto("Duration", QStringLiteral("12"));
            QTest::mouseClick(control("Calculate"), Qt::LeftButton);
            return;
        }
        if (progress->value() < 10)
            return;
        seen = progress->labelText();
        title = progress->windowTitle();
        poll.stop();
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    poll.start(20);
    EXPECT_FALSE(plan->savePdf(folder.filePath(QStringLiteral("piano.pdf"))));
    const auto progress = QRegularExpression(QStringLiteral("^Pagina (\\d+) di (\\d+)…$")).match(seen);
    ASSERT_TRUE(progress.hasMatch()) << seen.toStdString();
    EXPECT_GT(progress.captured(2).toInt(), 1000);
    EXPECT_EQ(title, QStringLiteral("Salva PDF"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(shown(plan, "Status"), QStringLiteral("Salvataggio annullato: il file non è stato scritto."));
    EXPECT_EQ(plan->plan()->rows().size(), 12u);
    EXPECT_TRUE(messages.shown.empty());
}

// The costs of a foglio informativo typed in the plan window: the TAEG and
// the totals follow at once; a wrong input gets one message and loses
// nothing typed elsewhere; the Italian plan is a choice away.
TEST_F(PlanWindowTest, costs_typed_in_the_window_give_the_taeg)
{
    typeInto("AnnualRate", QStringLiteral("6"));
    calculate("200000", "240");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    const QStringList before = mainFields();
    const auto typeIn = [&](const char* name, const QString& text) {
        auto* field = plan->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(field, nullptr) << name;
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    };
    const auto rows = [&] { return plan->findChild<QTableView*>(QStringLiteral("Installments"))->model(); };
    const auto status = [&] {
        auto* label = plan->findChild<QLabel*>(QStringLiteral("Status"));
        return label->isVisible() ? label->text() : QString();
    };

    EXPECT_EQ(shown(plan, "Taeg"), QStringLiteral("6,17 %"));
    EXPECT_EQ(rows()->columnCount(), 5);
    typeIn("InitialFees", QStringLiteral("4000"));
    EXPECT_EQ(shown(plan, "Taeg"), QStringLiteral("6,43 %"));
    EXPECT_EQ(shown(plan, "Received"), QStringLiteral("196.000,00"));
    EXPECT_EQ(shown(plan, "ContractInterest"), QStringLiteral("143.887,30"));
    EXPECT_EQ(shown(plan, "CostOfCredit"), QStringLiteral("147.887,30"));
    EXPECT_EQ(shown(plan, "TotalDue"), QStringLiteral("343.887,30"));
    // Paid at the start, they take no column of the rows.
    EXPECT_EQ(rows()->columnCount(), 5);

    plan->findChild<QComboBox*>(QStringLiteral("SubstituteTax"))->setCurrentIndex(1);
    EXPECT_EQ(shown(plan, "SubstituteTaxPaid"), QStringLiteral("500,00"));
    EXPECT_EQ(shown(plan, "Received"), QStringLiteral("195.500,00"));

    typeIn("InstallmentFee", QStringLiteral("abc"));
    EXPECT_EQ(status(), QStringLiteral("Spese per rata: «abc» non è un importo."));
    EXPECT_EQ(shown(plan, "Taeg"), QStringLiteral("—"));
    EXPECT_EQ(plan->findChild<QLineEdit*>(QStringLiteral("InitialFees"))->text(), QStringLiteral("4000"));
    EXPECT_EQ(rows()->rowCount(), 240);
    typeIn("InstallmentFee", QStringLiteral("2,5"));
    EXPECT_EQ(status(), QString());
    ASSERT_EQ(rows()->columnCount(), 7);
    EXPECT_EQ(rows()->index(0, 4).data().toString(), QStringLiteral("2,50"));
    EXPECT_EQ(rows()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Pagamento"));

    plan->findChild<QComboBox*>(QStringLiteral("Kind"))->setCurrentIndex(1);
    EXPECT_EQ(shown(plan, "PlanKind"), QStringLiteral("Quota capitale costante (all'italiana)"));
    EXPECT_EQ(shown(plan, "Principal"), QStringLiteral("833,33"));
    EXPECT_EQ(shown(plan, "FirstInstallment"), QStringLiteral("1.833,33"));
    EXPECT_EQ(rows()->index(0, 1).data().toString(), QStringLiteral("1.833,33"));
    EXPECT_EQ(mainFields(), before);
    EXPECT_TRUE(messages.shown.empty());
}

// Due dates and an early repayment typed in the plan window: its figures,
// the rows, the yearly totals Copia takes from their view, the chart and
// what a screen reader reads of it, and the printout's yearly table.
TEST_F(PlanWindowTest, shows_the_loan_over_time_with_an_early_repayment)
{
    typeInto("AnnualRate", QStringLiteral("3,5"));
    calculate("100000", "240");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    const QStringList before = mainFields();
    for (const auto& [name, text] :
         {std::pair{"FirstDue", "01/2027"}, {"RepayAfter", "60"}, {"RepayAmount", "20000"}}) {
        auto* field = plan->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(field, nullptr) << name;
        field->setFocus();
        QTest::keyClicks(field, QString::fromLatin1(text));
    }
    plan->findChild<QComboBox*>(QStringLiteral("Reduce"))->setCurrentIndex(1);

    for (const auto& [name, text] : earlyRepaymentFigures)
        EXPECT_EQ(shown(plan, name.c_str()).toStdString(), text) << name;
    const QAbstractItemModel* rows = plan->findChild<QTableView*>(QStringLiteral("Installments"))->model();
    ASSERT_EQ(static_cast<std::size_t>(rows->rowCount()), earlyRepaymentRows);
    QStringList row60;
    for (int c = 0; c < rows->columnCount(); ++c)
        row60 << rows->index(59, c).data().toString();
    EXPECT_EQ(row60.join(QLatin1Char('|')).toStdString(), earlyRepaymentRow60);
    EXPECT_EQ(shown(plan, "Status"), QString()) << "a message";

    // Copia takes the table of the view shown.
    plan->showView(PlanView::Years);
    QTest::mouseClick(plan->findChild<QPushButton*>(QStringLiteral("Copy")), Qt::LeftButton);
    const std::string years = QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(years.substr(0, earlyRepaymentYears.size()), earlyRepaymentYears);
    EXPECT_FALSE(plan->findChild<QLabel*>(QStringLiteral("YearsHint"))->isVisible());

    plan->showView(PlanView::Chart);
    auto* chart = plan->findChild<QWidget*>(QStringLiteral("Chart"));
    ASSERT_TRUE(chart && chart->isVisible());
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->role(), QAccessible::Chart);
    EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral("Grafico del piano"));
    const QString words = reader->text(QAccessible::Description);
    EXPECT_TRUE(words.contains(QStringLiteral("la quota capitale supera gli interessi dalla rata 4 (apr 2027)")))
        << words.toStdString();
    EXPECT_TRUE(words.endsWith(QStringLiteral("con un rimborso anticipato di 20.000,00 con la rata 60 (dic 2031), in "
                                              "187 rate.")))
        << words.toStdString();
    // What it draws: both shares of the installments and the debt's line.
    const QImage picture = chart->grab().toImage();
    const auto has = [&](QColor colour) {
        for (int y = 0; y < picture.height(); y += 2)
            for (int x = 0; x < picture.width(); x += 2)
                if (picture.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(has(QColor(0xd9, 0x6c, 0x1e))) << "no interest";
    EXPECT_TRUE(has(QColor(0x3b, 0x7d, 0xc9))) << "no principal";
    EXPECT_TRUE(has(chart->palette().color(QPalette::Text))) << "no debt line or axes";

    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("piano.pdf"));
    ASSERT_TRUE(plan->savePdf(saved));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), saved, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression(
        QStringLiteral("Fine del prestito: +con la rata 187 \\(lug 2042\\) anziché la 240 \\(dic 2046\\)"))));
    EXPECT_TRUE(
        text.contains(QRegularExpression(QStringLiteral("\\n +60 +dic 2031 +579,96 +237,62 +342,34 +20\\.000,00"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Totali per anno")));
    EXPECT_TRUE(text.contains(
        QRegularExpression(QStringLiteral("\\n +2031 +12 +2\\.916,49 +4\\.043,03 +20\\.000,00 +61\\.126,54\\n"))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n +2042 +7 +36,67 +3\\.513,39 +0,00\\n"))));
    EXPECT_EQ(mainFields(), before);
    EXPECT_TRUE(messages.shown.empty());
}

// A new Calcola brings its loan and keeps the plan's other inputs, saying
// so; "Ricomincia" clears them; a main window whose data changed since is
// said to be out of step.
TEST_F(PlanWindowTest, a_new_loan_keeps_the_settings_says_so_and_can_start_clean)
{
    typeInto("AnnualRate", QStringLiteral("6"));
    calculate("200000", "240");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    auto* fees = plan->findChild<QLineEdit*>(QStringLiteral("InitialFees"));
    fees->setFocus();
    QTest::keyClicks(fees, QStringLiteral("4000"));
    EXPECT_EQ(shown(plan, "Notice"), QString());

    typeInto("Duration", QStringLiteral("120"));
    EXPECT_EQ(shown(plan, "Notice"), QStringLiteral("I dati della finestra principale sono cambiati: questo piano "
                                                    "resta sul prestito di prima finché non si preme Calcola."));
    EXPECT_EQ(plan->plan()->rows().size(), 240u);
    QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    EXPECT_EQ(plan->plan()->rows().size(), 120u);
    EXPECT_EQ(plan->findChild<QLineEdit*>(QStringLiteral("Duration"))->text(), QStringLiteral("120"));
    EXPECT_EQ(fees->text(), QStringLiteral("4000"));
    EXPECT_EQ(shown(plan, "Received"), QStringLiteral("196.000,00"));
    EXPECT_EQ(shown(plan, "Notice"), QStringLiteral("Costi, date ed estinzione anticipata restano quelli inseriti "
                                                    "prima: «Ricomincia» li toglie."));

    QTest::mouseClick(plan->findChild<QPushButton*>(QStringLiteral("StartClean")), Qt::LeftButton);
    EXPECT_EQ(fees->text(), QString());
    EXPECT_EQ(shown(plan, "Received"), QStringLiteral("200.000,00"));
    EXPECT_EQ(shown(plan, "Notice"), QString());
    EXPECT_EQ(plan->plan()->rows().size(), 120u);
}

// An amount copied from a foglio informativo keeps its thousands, and each
// field says what it read; while one cannot be read, nothing goes out as if
// it were the plan on screen.
TEST_F(PlanWindowTest, fields_say_what_they_read_and_a_wrong_one_stops_the_exports)
{
    typeInto("AnnualRate", QStringLiteral("6"));
    calculate("200000", "240");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    const auto typeIn = [&](const char* name, const QString& text) {
        auto* field = plan->findChild<QLineEdit*>(QString::fromLatin1(name));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    };
    const auto exports = [&] {
        QStringList states;
        for (const char* name : {"Copy", "ExportCsv", "Print", "SavePdf"})
            states << QString::fromLatin1(name) +
                          (plan->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled() ? "+" : "-");
        return states.join(QLatin1Char(' '));
    };
    typeIn("InitialFees", QStringLiteral("1.500"));
    EXPECT_EQ(shown(plan, "InitialFeesReading"), QStringLiteral("= 1.500,00 €"));
    EXPECT_EQ(shown(plan, "Received"), QStringLiteral("198.500,00"));
    typeIn("FirstDue", QStringLiteral("1/2027"));
    EXPECT_EQ(shown(plan, "FirstDueReading"), QStringLiteral("= gen 2027"));
    EXPECT_EQ(exports(), QStringLiteral("Copy+ ExportCsv+ Print+ SavePdf+"));

    QApplication::clipboard()->setText(QStringLiteral("prima"));
    typeIn("InitialFees", QStringLiteral("1.50.000"));
    EXPECT_EQ(shown(plan, "InitialFeesReading"), QStringLiteral("?"));
    EXPECT_EQ(shown(plan, "Status"), QStringLiteral("Spese iniziali: «1.50.000» non è un importo."));
    EXPECT_EQ(exports(), QStringLiteral("Copy- ExportCsv- Print- SavePdf-"));
    QTemporaryDir folder;
    EXPECT_FALSE(plan->exportCsv(folder.filePath(QStringLiteral("piano.csv"))));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("prima"));
    typeIn("InitialFees", QStringLiteral("1.500,00"));
    EXPECT_EQ(exports(), QStringLiteral("Copy+ ExportCsv+ Print+ SavePdf+"));
}

// A screen reader hears each figure's name and its value.
TEST_F(PlanWindowTest, every_figure_reads_as_its_name_and_its_value)
{
    typeInto("AnnualRate", QStringLiteral("6"));
    calculate("200000", "240");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    std::size_t figures = 0;
    for (auto* label : plan->findChildren<QLabel*>()) {
        const std::string name = label->objectName().toStdString();
        if (name != "Taeg" && name != "TotalDue" && name != "Installment" && name != "LoanCapital")
            continue;
        ++figures;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(label);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->text(QAccessible::Name).toStdString(), (name == "Taeg"          ? "TAEG: 6,17 %"
                                                                  : name == "TotalDue"    ? "Totale dovuto: 343.887,30"
                                                                  : name == "Installment" ? "Rata: 1.432,86"
                                                                                          : "Capitale: 200.000,00"));
    }
    EXPECT_EQ(figures, 4u);
}

// Each column as wide as its title, whatever columns the plan has: on one
// line where the view has room, on two where not, never cut; a new loan
// opens its table at the top.
TEST_F(PlanWindowTest, column_titles_are_whole_and_a_new_plan_opens_at_its_top)
{
    typeInto("AnnualRate", QStringLiteral("3,5"));
    calculate("100000", "240");
    rightClick(plainLabel(), QStringLiteral("&Piano"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    plan->resize(PlanWindowLayout::minimumWidth, PlanWindowLayout::minimumHeight);
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> typed;
    } cases[] = {
        {"the installments alone", {}},
        {"dates and a repayment", {{"FirstDue", "01/2027"}, {"RepayAfter", "60"}, {"RepayAmount", "20000"}}},
        {"every column",
         {{"InitialFees", "1500"},
          {"InstallmentFee", "2"},
          {"AnnualFee", "30"},
          {"Penalty", "1"},
          {"RepayAmount", "tutto"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, text] : c.typed) {
            auto* field = plan->findChild<QLineEdit*>(QString::fromLatin1(name));
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(text));
        }
        for (const char* name : {"Installments", "Years"}) {
            plan->showView(std::string(name) == "Years" ? PlanView::Years : PlanView::Installments);
            auto* table = plan->findChild<QTableView*>(QString::fromLatin1(name));
            QCoreApplication::processEvents();
            const QFontMetrics metrics(table->horizontalHeader()->font());
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                const QString title = table->model()->headerData(column, Qt::Horizontal).toString();
                for (const QString& line : title.split(QLatin1Char('\n')))
                    EXPECT_LE(metrics.horizontalAdvance(line), table->columnWidth(column))
                        << name << ": " << line.toStdString();
            }
        }
    }
    plan->showView(PlanView::Installments);
    auto* table = plan->findChild<QTableView*>(QStringLiteral("Installments"));
    table->scrollToBottom();
    ASSERT_GT(table->verticalScrollBar()->value(), 0);
    typeInto("Duration", QStringLiteral("120"));
    QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    EXPECT_EQ(table->verticalScrollBar()->value(), 0);
}

// The plan window opened without a calculation, from the menu's other entry,
// answers the four questions in its own fields: the figure worked out shows
// in its field, read only, and says so.
TEST_F(PlanWindowTest, works_out_the_capital_the_duration_and_the_rate_from_the_installment)
{
    rightClick(plainLabel(), QStringLiteral("Piano da &impostare"));
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(plan));
    auto* solve = plan->findChild<QComboBox*>(QStringLiteral("Solve"));
    EXPECT_EQ(QApplication::focusWidget(), solve);
    const auto input = [&](const char* name) { return plan->findChild<QLineEdit*>(QString::fromLatin1(name)); };
    const auto typeIn = [&](const char* name, const char* text) {
        QLineEdit* field = input(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromUtf8(text));
    };
    const struct {
        const char* name;
        int solve; // la rata, il capitale, la durata, il tasso annuo
        std::vector<std::pair<const char*, const char*>> typed;
        const char* field;   // the one worked out
        const char* shown;   // in it
        const char* reading; // under it
        const char* figure;  // among the figures
        const char* value;
    } questions[] = {
        {"how much with 800 a month",
         1,
         {{"GivenInstallment", "800"}, {"Duration", "240"}, {"AnnualRate", "3,5"}},
         "Capital",
         "137.941,47",
         "calcolato",
         "LoanCapital",
         "137.941,47 (calcolato)"},
        {"in how many months 15 000 at 300",
         2,
         {{"Capital", "15000"}, {"GivenInstallment", "300"}, {"AnnualRate", "5"}},
         "Duration",
         "57",
         "calcolata",
         "LoanDuration",
         "57 mesi (calcolata)"},
        {"at what rate 3 000 over 12 months at 263,61",
         3,
         {{"Capital", "3000"}, {"Duration", "12"}, {"GivenInstallment", "263,61"}},
         "AnnualRate",
         "9,9",
         "calcolato (stessa rata da 9,8978 a 9,9049 %)",
         "LoanRate",
         "9,9 % (calcolato; ogni TAN da 9,8978 % a 9,9049 % dà questa rata)"},
        {"the installment, as after a calculation",
         0,
         {{"Capital", "10000"}, {"Duration", "24"}, {"AnnualRate", "6,75"}},
         "GivenInstallment",
         "446,59",
         "calcolata",
         "Installment",
         "446,59"},
    };
    for (const auto& q : questions) {
        SCOPED_TRACE(q.name);
        solve->setFocus();
        QTest::keyClick(solve, Qt::Key_Home);
        for (int k = 0; k < q.solve; ++k)
            QTest::keyClick(solve, Qt::Key_Down);
        for (const auto& [name, text] : q.typed)
            typeIn(name, text);
        EXPECT_EQ(input(q.field)->text(), QString::fromUtf8(q.shown));
        EXPECT_TRUE(input(q.field)->isReadOnly());
        EXPECT_EQ(shown(plan, (std::string(q.field) + "Reading").c_str()), QString::fromUtf8(q.reading));
        EXPECT_EQ(shown(plan, q.figure), QString::fromUtf8(q.value));
        // The answer leads the figures always in view.
        const std::map<std::string, QString> labels{
            {"LoanCapital", "Capitale"}, {"LoanDuration", "Durata"}, {"LoanRate", "Tasso annuo"}};
        if (q.solve != 0) {
            // With the note in brief: the interval is said under the field and in the summary.
            const QString value = QString::fromUtf8(q.value).section(';', 0, 0);
            const QString brief = value.endsWith(')') ? value : value + ')';
            EXPECT_TRUE(shown(plan, "KeyFigures").startsWith(labels.at(q.figure) + ' ' + brief))
                << shown(plan, "KeyFigures").toStdString();
        }
        // The others are the user's.
        for (const auto& [name, text] : q.typed)
            EXPECT_FALSE(input(name)->isReadOnly()) << name;
        EXPECT_NE(plan->plan(), nullptr);
    }
    // An installment that pays no more than the interest: why, in the table's place.
    QTest::keyClick(solve, Qt::Key_Home);
    QTest::keyClick(solve, Qt::Key_Down);
    QTest::keyClick(solve, Qt::Key_Down);
    typeIn("GivenInstallment", "50");
    EXPECT_EQ(shown(plan, "Absence"), QStringLiteral("Una rata di 50,00 non supera gli interessi del primo mese "
                                                     "(56,25): il debito non scenderebbe mai."));
    EXPECT_TRUE(messages.shown.empty());
}

// The print dialog comes from a module loaded on first use, not at start-up.
TEST_F(PlanWindowTest, offers_from_two_files_side_by_side_kept_in_a_file_and_asked_about)
{
    QTemporaryDir folder;
    const auto write = [&](const char* name, const std::string& bytes) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return file.fileName();
    };
    const auto banks = twoBanks();
    const NumberText numbers(u',');
    const QString a = write("a.ratalia", offersFileText(std::span(banks).first(1), numbers));
    const QString b = write("b.ratalia", offersFileText(std::span(banks).last(1), numbers));
    window->openOffers({a, b});
    PlanWindow* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    auto* offers = plan->findChild<QComboBox*>(QStringLiteral("Offers"));
    auto* name = plan->findChild<QLineEdit*>(QStringLiteral("OfferName"));
    ASSERT_EQ(offers->count(), 2);
    EXPECT_EQ(offers->itemText(0), QStringLiteral("Banca A"));
    EXPECT_EQ(offers->itemText(1), QStringLiteral("Banca B"));
    EXPECT_EQ(name->text(), QStringLiteral("Banca A"));
    EXPECT_EQ(plan->findChild<QLineEdit*>(QStringLiteral("Capital"))->text(), QStringLiteral("180000"));

    // Confronto: a column an offer, the cheapest by TAEG and by cost in bold, and why they differ.
    plan->showView(PlanView::Comparison);
    auto* table = plan->findChild<QTableWidget*>(QStringLiteral("Comparison"));
    ASSERT_NE(table, nullptr);
    int taegRow = -1, costRow = -1;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString label = table->verticalHeaderItem(r)->text();
        taegRow = label == QStringLiteral("TAEG") ? r : taegRow;
        costRow = label == QStringLiteral("Costo totale del credito") ? r : costRow;
    }
    ASSERT_GE(taegRow, 0);
    EXPECT_EQ(table->item(taegRow, 0)->text().toStdString(), taegOf("3,1", 300, 150'000, 0));
    EXPECT_EQ(table->item(taegRow, 1)->text().toStdString(), taegOf("3,4", 240, 80'000, 200));
    EXPECT_TRUE(table->item(taegRow, 0)->font().bold());
    EXPECT_FALSE(table->item(taegRow, 1)->font().bold());
    EXPECT_TRUE(table->item(costRow, 1)->font().bold());
    EXPECT_TRUE(shown(plan, "Verdict").startsWith(QStringLiteral("«Banca A» ha il TAEG più basso")));
    QTest::mouseClick(plan->findChild<QPushButton*>(QStringLiteral("Copy")), Qt::LeftButton);
    const QStringList copied = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    EXPECT_EQ(copied[0], QStringLiteral("Offerta\tBanca A\tBanca B"));
    EXPECT_TRUE(copied.contains(QStringLiteral("TAEG\t") + table->item(taegRow, 0)->text() + QLatin1Char('\t') +
                                table->item(taegRow, 1)->text()));

    // Salva PDF… takes the comparison while it is shown: its title, its rows, its verdict.
    const QString pdf = folder.filePath(QStringLiteral("confronto.pdf"));
    ASSERT_TRUE(plan->savePdf(pdf));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Confronto delle offerte"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QRegularExpression(QStringLiteral("TAEG +") + table->item(taegRow, 0)->text() +
                                                    QStringLiteral(" +") + table->item(taegRow, 1)->text())))
        << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("«Banca A» ha il TAEG più basso")));

    // A third offer starts as a copy of the one shown; its name is typed at once.
    QTest::mouseClick(plan->findChild<QPushButton*>(QStringLiteral("NewOffer")), Qt::LeftButton);
    EXPECT_EQ(offers->count(), 3);
    EXPECT_EQ(plan->focusWidget(), name);
    QTest::keyClicks(name, QStringLiteral("Banca C"));
    EXPECT_EQ(offers->itemText(2), QStringLiteral("Banca C"));
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->item(taegRow, 2)->text(), table->item(taegRow, 0)->text());

    // Kept in a file of its own, named in the title; a damaged or newer file opens nothing.
    const QString kept = folder.filePath(QStringLiteral("tre.ratalia"));
    ASSERT_TRUE(plan->saveFile(kept));
    EXPECT_EQ(plan->windowTitle(), QStringLiteral("tre.ratalia — Piano di ammortamento"));
    QFile saved(kept);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count("[offerta]"), 3);
    EXPECT_FALSE(plan->openFiles({write("nuovo.ratalia", "ratalia-offerte: 7\n[offerta]\n")}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message.rfind(u"Il file «", 0), 0u);
    EXPECT_NE(messages.shown[0].message.find(u"versione più recente"), Text::npos);
    EXPECT_EQ(offers->count(), 3);
    EXPECT_EQ(name->text(), QStringLiteral("Banca C"));

    // A change is asked about before the window closes: Annulla keeps it open, Non salvare lets it go.
    QTest::keyClicks(plan->findChild<QLineEdit*>(QStringLiteral("InitialFees")), QStringLiteral("0"));
    EXPECT_EQ(plan->windowTitle(), QStringLiteral("*tre.ratalia — Piano di ammortamento"));
    const auto answer = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [button, &kept] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text().toStdU16String(), u"Le offerte di «" + kept.toStdU16String() +
                                                        u"» sono cambiate dall'ultimo salvataggio. Salvarle?");
            box->button(button)->click();
        });
        plan->close();
    };
    answer(QMessageBox::Cancel);
    EXPECT_TRUE(plan->isVisible());
    answer(QMessageBox::Discard);
    EXPECT_FALSE(plan->isVisible());
}

TEST(PrintingModuleTest, is_found_and_loaded_on_first_use) { EXPECT_NE(printingModule(), nullptr); }

} // namespace
} // namespace ratalia::test
