// Saving and printing onto a file system that is full: the one message, and
// no part of a file where the user asked for one. Run by full_disk.sh, which
// mounts a 64 KB file system of its own and names it in RATALIA_FULL_DISK.

#include "window_fixture.h"

#include "printing/qt_print_job.h"
#include "window/plan_window.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace ratalia::test {
namespace {

class FullDiskTest : public WindowTest {
protected:
    PlanWindow* planOf(const char* capital, const char* months, const char* rate)
    {
        events.edit(Field::Capital, QString::fromLatin1(capital).toStdU16String());
        events.edit(Field::Duration, QString::fromLatin1(months).toStdU16String());
        events.edit(Field::AnnualRate, QString::fromLatin1(rate).toStdU16String());
        events.click(Button::Calculate);
        QCoreApplication::processEvents(); // the menu entry follows the results
        window->findChild<QAction*>(QStringLiteral("OpenPlan"))->trigger();
        return window->findChild<PlanWindow*>();
    }
    // What the full file system holds afterwards.
    QStringList left() const { return QDir(full).entryList(QDir::Files | QDir::Hidden | QDir::System); }
    QString in(const char* name) const { return QDir(full).filePath(QString::fromLatin1(name)); }

    const QString full = qEnvironmentVariable("RATALIA_FULL_DISK");
};

TEST_F(FullDiskTest, a_csv_that_does_not_fit_is_not_written)
{
    ASSERT_FALSE(full.isEmpty()) << "run by full_disk.sh, which mounts the small file system";
    PlanWindow* plan = planOf("12000000", "12000", "0"); // about 400 KB of CSV
    ASSERT_NE(plan, nullptr);
    EXPECT_FALSE(plan->exportCsv(in("piano.csv")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, u"Esporta CSV");
    EXPECT_EQ(left(), QStringList());
}

TEST_F(FullDiskTest, a_pdf_that_does_not_fit_is_not_written)
{
    ASSERT_FALSE(full.isEmpty()) << "run by full_disk.sh, which mounts the small file system";
    PlanWindow* plan = planOf("2400000", "2400", "0");
    ASSERT_NE(plan, nullptr);
    EXPECT_FALSE(plan->savePdf(in("piano.pdf")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, u"Salva PDF");
    EXPECT_EQ(messages.shown[0].message.rfind(u"Impossibile salvare il piano in «", 0), 0u);
    EXPECT_EQ(left(), QStringList());
}

TEST_F(FullDiskTest, printing_to_a_file_that_does_not_fit_says_so)
{
    ASSERT_FALSE(full.isEmpty()) << "run by full_disk.sh, which mounts the small file system";
    PlanWindow* plan = planOf("2400000", "2400", "0");
    ASSERT_NE(plan, nullptr);
    QtPrintJob printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(in("stampa.pdf"));
    EXPECT_FALSE(plan->print(printer));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message.rfind(u"Impossibile salvare il piano in «", 0), 0u);
    EXPECT_EQ(left(), QStringList());
}

TEST_F(FullDiskTest, offers_that_do_not_fit_leave_their_file_as_it_was)
{
    ASSERT_FALSE(full.isEmpty()) << "run by full_disk.sh, which mounts the small file system";
    PlanWindow* plan = planOf("10000", "24", "6");
    ASSERT_NE(plan, nullptr);
    ASSERT_TRUE(plan->saveFile(in("offerte.ratalia")));
    QFile kept(in("offerte.ratalia"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray before = kept.readAll();
    kept.close();
    // Whatever room is left, taken.
    QFile filler(in("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    plan->form().renameOffer(u"Banca A");
    EXPECT_FALSE(plan->saveFile(in("offerte.ratalia")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message.rfind(u"Impossibile salvare le offerte in «", 0), 0u);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), before);
    EXPECT_EQ(left(), (QStringList{QStringLiteral("filler"), QStringLiteral("offerte.ratalia")}));
    EXPECT_TRUE(plan->windowTitle().startsWith(QLatin1Char('*')));
    // A CSV of a few rows fails the same way, once written and never flushed.
    EXPECT_FALSE(plan->exportCsv(in("piano.csv")));
    EXPECT_EQ(left(), (QStringList{QStringLiteral("filler"), QStringLiteral("offerte.ratalia")}));
    QFile::remove(in("filler"));
    QFile::remove(in("offerte.ratalia"));
}

} // namespace
} // namespace ratalia::test
