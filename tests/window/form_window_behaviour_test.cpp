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
    EXPECT_EQ(focused(), QStringLiteral("Text3"));
    EXPECT_EQ(field("Text3")->text(), QStringLiteral("6,75"));
    for (const char* name : {"Text1", "Text2", "Text4", "Text5", "Text6", "Text7", "Text8"})
        EXPECT_TRUE(field(name)->text().isEmpty()) << name;
    for (const char* name : {"Text4", "Text5", "Text6", "Text7", "Text8"})
        EXPECT_TRUE(field(name)->isReadOnly()) << name;
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(control("Command1")->isEnabled());
    EXPECT_FALSE(control("Command2")->isEnabled());
    EXPECT_TRUE(control("Command3")->isEnabled());
}

TEST_F(WindowTest, typing_reaches_the_model_and_results_come_back)
{
    typeInto("Text1", QStringLiteral("10000"));
    typeInto("Text2", QStringLiteral("24"));
    EXPECT_EQ(events.form().text(Field::Text1), u"10000");
    EXPECT_TRUE(control("Command1")->isEnabled());
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    EXPECT_EQ(field("Text5")->text(), QStringLiteral("446,5932949505"));
    EXPECT_EQ(field("Text8")->text(), QStringLiteral("24"));
    EXPECT_TRUE(control("Command2")->isEnabled());

    // Deleting a character of the capital throws the results away.
    field("Text1")->setFocus();
    field("Text1")->end(false);
    QTest::keyClick(field("Text1"), Qt::Key_Backspace);
    EXPECT_EQ(events.form().text(Field::Text1), u"1000");
    EXPECT_TRUE(field("Text5")->text().isEmpty());
    EXPECT_FALSE(control("Command2")->isEnabled());
}

TEST_F(WindowTest, pasting_reaches_the_model_and_runs_the_field_rules)
{
    typeInto("Text2", QStringLiteral("24"));
    QApplication::clipboard()->setText(QStringLiteral("1.000,50"));
    field("Text1")->setFocus();
    QTest::keySequence(field("Text1"), QKeySequence::Paste);
    EXPECT_EQ(events.form().text(Field::Text1), u"1.000,50");
    EXPECT_TRUE(control("Command1")->isEnabled());

    // Pasted into a result field, nothing changes.
    QTest::mouseClick(control("Command1"), Qt::LeftButton); // two separators: the message, inputs emptied
    ASSERT_EQ(messages.shown.size(), 1u);
    field("Text4")->setFocus();
    QTest::keySequence(field("Text4"), QKeySequence::Paste);
    EXPECT_EQ(events.form().text(Field::Text4), field("Text4")->text().toStdU16String());
    EXPECT_NE(field("Text4")->text(), QStringLiteral("1.000,50"));
}

TEST_F(WindowTest, tab_and_shift_tab_follow_the_tab_indices)
{
    typeInto("Text1", QStringLiteral("10000"));
    typeInto("Text2", QStringLiteral("24"));
    QTest::mouseClick(control("Command1"), Qt::LeftButton); // enables Arrotonda
    control("Text3")->setFocus();
    const QStringList order{QStringLiteral("Text2"), QStringLiteral("Text1"),   QStringLiteral("Text7"),
                            QStringLiteral("Text6"), QStringLiteral("Text5"),   QStringLiteral("Text8"),
                            QStringLiteral("Command2"), QStringLiteral("Text4"), QStringLiteral("Command3"),
                            QStringLiteral("Option1"), QStringLiteral("Command1"), QStringLiteral("Text3")};
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
    control("Command3")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(focused(), QStringLiteral("Option1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focused(), QStringLiteral("Option2"));
    EXPECT_FALSE(events.form().option1Selected());
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked());

    // Tab leaves the pair from the selected button and comes back to it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("Text3")); // Calcola is disabled
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), QStringLiteral("Option2"));

    QTest::mouseClick(control("Option1"), Qt::LeftButton);
    EXPECT_TRUE(events.form().option1Selected());
}

// An access key presses its button after the brief pressed look, as a click does.
void pressAccessKey(QWidget* window, Qt::Key key)
{
    QTest::keyClick(window, key, Qt::AltModifier);
    QTest::qWait(300);
}

TEST_F(WindowTest, access_keys_press_only_enabled_buttons)
{
    field("Text3")->setFocus();
    pressAccessKey(window.get(), Qt::Key_C);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(field("Text4")->text().isEmpty());

    typeInto("Text1", QStringLiteral("10000"));
    typeInto("Text2", QStringLiteral("24"));
    pressAccessKey(window.get(), Qt::Key_A); // Arrotonda is still disabled
    EXPECT_TRUE(field("Text6")->text().isEmpty());
    pressAccessKey(window.get(), Qt::Key_C);
    EXPECT_EQ(field("Text6")->text(), QStringLiteral("10718,2390788112"));
    pressAccessKey(window.get(), Qt::Key_A);
    EXPECT_EQ(field("Text6")->text(), QStringLiteral("10718,24"));
}

// X reports AltGr as a group switch, not as Alt: its characters type, Alt ones never do.
TEST_F(WindowTest, altgr_characters_type_and_alt_letters_do_not)
{
    QLineEdit* capital = field("Text1");
    capital->setFocus();
    QTest::sendKeyEvent(QTest::Click, capital, Qt::Key_At, QStringLiteral("@"), Qt::GroupSwitchModifier);
    QTest::sendKeyEvent(QTest::Click, capital, Qt::Key_X, QStringLiteral("x"), Qt::AltModifier);
    EXPECT_EQ(capital->text(), QStringLiteral("@"));
    EXPECT_EQ(events.form().text(Field::Text1), u"@");
}

TEST_F(WindowTest, enter_and_escape_press_nothing_outside_buttons)
{
    typeInto("Text1", QStringLiteral("10000"));
    typeInto("Text2", QStringLiteral("24"));
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(field("Text2"), key);
        QTest::keyClick(control("Option1"), key);
    }
    EXPECT_TRUE(field("Text4")->text().isEmpty());
    EXPECT_TRUE(window->isVisible());

    control("Command1")->setFocus();
    QTest::keyClick(control("Command1"), Qt::Key_Return);
    EXPECT_FALSE(field("Text4")->text().isEmpty());

    control("Command2")->setFocus();
    QTest::keyClick(control("Command2"), Qt::Key_Space);
    EXPECT_EQ(field("Text5")->text(), QStringLiteral("446,59"));
}

TEST_F(WindowTest, result_fields_cannot_be_edited_but_can_be_copied)
{
    typeInto("Text1", QStringLiteral("10000"));
    typeInto("Text2", QStringLiteral("24"));
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QLineEdit* result = field("Text5");
    result->setFocus();
    EXPECT_EQ(focused(), QStringLiteral("Text5"));
    QTest::keyClicks(result, QStringLiteral("99"));
    QTest::keyClick(result, Qt::Key_Backspace);
    EXPECT_EQ(result->text(), QStringLiteral("446,5932949505"));
    result->selectAll();
    EXPECT_EQ(result->selectedText(), QStringLiteral("446,5932949505"));
}

TEST_F(WindowTest, assistive_technology_edits_go_through_the_model)
{
    QAccessibleInterface* capital = QAccessible::queryAccessibleInterface(field("Text1"));
    ASSERT_NE(capital, nullptr);
    capital->setText(QAccessible::Value, QStringLiteral("5000"));
    EXPECT_EQ(events.form().text(Field::Text1), u"5000");

    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(field("Text6"));
    result->setText(QAccessible::Value, QStringLiteral("123"));
    EXPECT_TRUE(events.form().text(Field::Text6).empty());
    EXPECT_TRUE(field("Text6")->text().isEmpty());
}

TEST_F(WindowTest, link_labels_open_their_targets)
{
    QTest::mouseClick(control("Label16"), Qt::LeftButton);
    QTest::mouseClick(control("Label30"), Qt::LeftButton);
    ASSERT_EQ(links.opened.size(), 2u);
    EXPECT_EQ(links.opened[0].rfind("mailto:", 0), 0u);
    EXPECT_EQ(links.opened[1].rfind("http://", 0), 0u);
    QTest::mouseClick(control("Label3"), Qt::LeftButton);
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
