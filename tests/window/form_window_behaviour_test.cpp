#include "window_fixture.h"

#include "window/qt_message_box.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

namespace ratalia::test {
namespace {

TEST_F(WindowTest, starts_with_the_rate_filled_and_focused)
{
    EXPECT_EQ(focused(), QStringLiteral("AnnualRate"));
    EXPECT_EQ(field("AnnualRate")->text(), QStringLiteral("6,75"));
    for (const char* name :
         {"Capital", "Duration", "MonthlyRate", "Installment", "TotalPaid", "TotalInterest", "InstallmentCount"})
        EXPECT_TRUE(field(name)->text().isEmpty()) << name;
    for (const char* name : {"MonthlyRate", "Installment", "TotalPaid", "TotalInterest", "InstallmentCount"})
        EXPECT_TRUE(field(name)->isReadOnly()) << name;
    EXPECT_TRUE(control<QRadioButton>("Months")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Years")->isChecked());
    EXPECT_FALSE(control("Calculate")->isEnabled());
    EXPECT_FALSE(control("Round")->isEnabled());
    EXPECT_TRUE(control("ResetRate")->isEnabled());
}

TEST_F(WindowTest, typing_reaches_the_model_and_results_come_back)
{
    typeInto("Capital", QStringLiteral("10000"));
    typeInto("Duration", QStringLiteral("24"));
    EXPECT_EQ(events.form().text(Field::Capital), u"10000");
    EXPECT_TRUE(control("Calculate")->isEnabled());
    QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    EXPECT_EQ(field("Installment")->text(), QStringLiteral("446,5932949505"));
    EXPECT_EQ(field("InstallmentCount")->text(), QStringLiteral("24"));
    EXPECT_TRUE(control("Round")->isEnabled());

    // Deleting a character of the capital throws the results away.
    field("Capital")->setFocus();
    field("Capital")->end(false);
    QTest::keyClick(field("Capital"), Qt::Key_Backspace);
    EXPECT_EQ(events.form().text(Field::Capital), u"1000");
    EXPECT_TRUE(field("Installment")->text().isEmpty());
    EXPECT_FALSE(control("Round")->isEnabled());
}

TEST_F(WindowTest, pasting_reaches_the_model_and_runs_the_field_rules)
{
    typeInto("Duration", QStringLiteral("24"));
    QApplication::clipboard()->setText(QStringLiteral("1.000,50"));
    field("Capital")->setFocus();
    QTest::keySequence(field("Capital"), QKeySequence::Paste);
    EXPECT_EQ(events.form().text(Field::Capital), u"1.000,50");
    EXPECT_TRUE(control("Calculate")->isEnabled());

    // Pasted into a result field, nothing changes.
    QTest::mouseClick(control("Calculate"), Qt::LeftButton); // two separators: the message, inputs emptied
    ASSERT_EQ(messages.shown.size(), 1u);
    field("MonthlyRate")->setFocus();
    QTest::keySequence(field("MonthlyRate"), QKeySequence::Paste);
    EXPECT_EQ(events.form().text(Field::MonthlyRate), field("MonthlyRate")->text().toStdU16String());
    EXPECT_NE(field("MonthlyRate")->text(), QStringLiteral("1.000,50"));
}

TEST_F(WindowTest, tab_and_shift_tab_follow_the_tab_indices)
{
    typeInto("Capital", QStringLiteral("10000"));
    typeInto("Duration", QStringLiteral("24"));
    QTest::mouseClick(control("Calculate"), Qt::LeftButton); // enables Arrotonda
    control("AnnualRate")->setFocus();
    const QStringList order{
        QStringLiteral("Duration"),  QStringLiteral("Capital"),     QStringLiteral("TotalInterest"),
        QStringLiteral("TotalPaid"), QStringLiteral("Installment"), QStringLiteral("InstallmentCount"),
        QStringLiteral("Round"),     QStringLiteral("MonthlyRate"), QStringLiteral("ResetRate"),
        QStringLiteral("Months"),    QStringLiteral("Calculate"),   QStringLiteral("AnnualRate")};
    for (const QString& expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focused(), expected);
    }
    for (auto it = order.rbegin() + 1; it != order.rend(); ++it) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focused(), *it);
    }
}

TEST_F(WindowTest, option_pair_is_one_stop_and_arrows_choose_inside_it)
{
    control("ResetRate")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(focused(), QStringLiteral("Months"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focused(), QStringLiteral("Years"));
    EXPECT_FALSE(events.form().inMonths());
    EXPECT_TRUE(control<QRadioButton>("Years")->isChecked());

    // Tab leaves the pair from the selected button and comes back to it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("AnnualRate")); // Calcola is disabled
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), QStringLiteral("Years"));

    QTest::mouseClick(control("Months"), Qt::LeftButton);
    EXPECT_TRUE(events.form().inMonths());
}

// An access key presses its button after the brief pressed look, as a click does.
void pressAccessKey(QWidget* window, Qt::Key key)
{
    QTest::keyClick(window, key, Qt::AltModifier);
    QTest::qWait(300);
}

TEST_F(WindowTest, access_keys_press_only_enabled_buttons)
{
    field("AnnualRate")->setFocus();
    pressAccessKey(window.get(), Qt::Key_C);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(field("MonthlyRate")->text().isEmpty());

    typeInto("Capital", QStringLiteral("10000"));
    typeInto("Duration", QStringLiteral("24"));
    pressAccessKey(window.get(), Qt::Key_A); // Arrotonda is still disabled
    EXPECT_TRUE(field("TotalPaid")->text().isEmpty());
    pressAccessKey(window.get(), Qt::Key_C);
    EXPECT_EQ(field("TotalPaid")->text(), QStringLiteral("10718,2390788112"));
    pressAccessKey(window.get(), Qt::Key_A);
    EXPECT_EQ(field("TotalPaid")->text(), QStringLiteral("10718,24"));
}

// X reports AltGr as a group switch, not as Alt: its characters type, Alt ones never do.
TEST_F(WindowTest, altgr_characters_type_and_alt_letters_do_not)
{
    QLineEdit* capital = field("Capital");
    capital->setFocus();
    QTest::sendKeyEvent(QTest::Click, capital, Qt::Key_At, QStringLiteral("@"), Qt::GroupSwitchModifier);
    QTest::sendKeyEvent(QTest::Click, capital, Qt::Key_X, QStringLiteral("x"), Qt::AltModifier);
    EXPECT_EQ(capital->text(), QStringLiteral("@"));
    EXPECT_EQ(events.form().text(Field::Capital), u"@");
}

TEST_F(WindowTest, enter_and_escape_press_nothing_outside_buttons)
{
    typeInto("Capital", QStringLiteral("10000"));
    typeInto("Duration", QStringLiteral("24"));
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(field("Duration"), key);
        QTest::keyClick(control("Months"), key);
    }
    EXPECT_TRUE(field("MonthlyRate")->text().isEmpty());
    EXPECT_TRUE(window->isVisible());

    control("Calculate")->setFocus();
    QTest::keyClick(control("Calculate"), Qt::Key_Return);
    EXPECT_FALSE(field("MonthlyRate")->text().isEmpty());

    control("Round")->setFocus();
    QTest::keyClick(control("Round"), Qt::Key_Space);
    EXPECT_EQ(field("Installment")->text(), QStringLiteral("446,59"));
}

TEST_F(WindowTest, result_fields_cannot_be_edited_but_can_be_copied)
{
    typeInto("Capital", QStringLiteral("10000"));
    typeInto("Duration", QStringLiteral("24"));
    QTest::mouseClick(control("Calculate"), Qt::LeftButton);
    QLineEdit* result = field("Installment");
    result->setFocus();
    EXPECT_EQ(focused(), QStringLiteral("Installment"));
    QTest::keyClicks(result, QStringLiteral("99"));
    QTest::keyClick(result, Qt::Key_Backspace);
    EXPECT_EQ(result->text(), QStringLiteral("446,5932949505"));
    result->selectAll();
    EXPECT_EQ(result->selectedText(), QStringLiteral("446,5932949505"));
}

TEST_F(WindowTest, assistive_technology_edits_go_through_the_model)
{
    QAccessibleInterface* capital = QAccessible::queryAccessibleInterface(field("Capital"));
    ASSERT_NE(capital, nullptr);
    capital->setText(QAccessible::Value, QStringLiteral("5000"));
    EXPECT_EQ(events.form().text(Field::Capital), u"5000");

    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(field("TotalPaid"));
    result->setText(QAccessible::Value, QStringLiteral("123"));
    EXPECT_TRUE(events.form().text(Field::TotalPaid).empty());
    EXPECT_TRUE(field("TotalPaid")->text().isEmpty());
}

TEST_F(WindowTest, link_labels_open_their_targets)
{
    QTest::mouseClick(control("Email"), Qt::LeftButton);
    QTest::mouseClick(control("WebSite"), Qt::LeftButton);
    ASSERT_EQ(links.opened.size(), 2u);
    EXPECT_EQ(links.opened[0].rfind("mailto:", 0), 0u);
    EXPECT_EQ(links.opened[1].rfind("http://", 0), 0u);
    // A plain label is no link.
    const auto labels = FormLayout::controls();
    const auto plain = std::find_if(labels.begin(), labels.end(), [](const ControlLayout& c) {
        return c.kind == ControlKind::Label && c.container == Frame::Inputs;
    });
    QTest::mouseClick(named(plain->objectName), Qt::LeftButton);
    EXPECT_EQ(links.opened.size(), 2u);
}

// The real message box: modal, the exact text and title, one OK button, no icon.
TEST(QtMessageBoxTest, shows_text_and_title_with_one_ok_button_and_no_icon)
{
    QWidget parent;
    parent.show();
    QtMessageBox box;
    box.setParent(&parent);
    QString text, title;
    qsizetype buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Warning;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        text = shown->text();
        title = shown->windowTitle();
        buttons = shown->buttons().size();
        icon = shown->icon();
        modal = shown->isModal();
        QTest::keyClick(shown, Qt::Key_Return);
    });
    box.show(u"Sono stati inseriti uno o più dati errati", u"Errore");
    EXPECT_EQ(text, QStringLiteral("Sono stati inseriti uno o più dati errati"));
    EXPECT_EQ(title, QStringLiteral("Errore"));
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_TRUE(modal);
}

} // namespace
} // namespace ratalia::test
