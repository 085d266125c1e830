#include "window_fixture.h"

#include "form/contact_links.h"
#include "form/version.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

#include <string>

namespace ratalia::test {
namespace {

struct Expected {
    const char* name;
    const char* parent;
    const char* caption; // nullptr: no caption, or one the program supplies
    QRect pixels;
};

const std::string capitalCaption = "(Capitale)" + std::string(32, ' ') + "Chiedendo  un  pagamento dilazionato di";
const std::string totalCaption =
    "(montante)" + std::string(58, ' ') + "in quanto gli interessi totali risultano essere di";

// Every control at its place, in pixels at 15 twips to a pixel.
// clang-format off
const Expected controls[] = {
    {"Frame1", "Form1", "Dati da inserire ", {16, 8, 161, 209}},
    {"Frame2", "Form1", "Risultati ", {192, 8, 161, 281}},
    {"Frame3", "Form1", "Tasso d'interesse nominale ", {16, 224, 161, 65}},
    {"Command1", "Form1", "&Calcola", {16, 296, 161, 33}},
    {"Command2", "Form1", "&Arrotonda", {192, 296, 161, 33}},
    {"Label30", "Form1", nullptr, {16, 336, 167, 13}},
    {"Label16", "Form1", nullptr, {224, 336, 129, 13}},
    {"Label9", "Form1", "€", {640, 16, 33, 17}},
    {"Label1", "Frame1", capitalCaption.c_str(), {16, 16, 137, 41}},
    {"Text1", "Frame1", nullptr, {16, 64, 105, 19}},
    {"Label8", "Frame1", "Euro", {128, 64, 25, 17}},
    {"Label13", "Frame1", "in", {16, 88, 17, 17}},
    {"Text2", "Frame1", nullptr, {16, 104, 41, 21}},
    {"Option1", "Frame1", "mesi", {64, 104, 41, 21}},
    {"Option2", "Frame1", "anni", {112, 104, 41, 21}},
    {"Label3", "Frame1", "al  tasso di  interesse  annuo", {16, 128, 137, 17}},
    {"Label19", "Frame1", "del", {16, 144, 25, 17}},
    {"Text3", "Frame1", nullptr, {80, 144, 41, 19}},
    {"Label7", "Frame1", "%", {136, 144, 17, 17}},
    {"Command3", "Frame1", "Ripristina tasso standard", {16, 168, 129, 25}},
    {"Label5", "Frame2", "Si dovranno pagare", {16, 24, 113, 17}},
    {"Text8", "Frame2", nullptr, {16, 48, 105, 19}},
    {"Label2", "Frame2", "rate", {128, 48, 25, 17}},
    {"Label4", "Frame2", "mensili   di", {16, 80, 57, 17}},
    {"Text5", "Frame2", nullptr, {16, 104, 105, 19}},
    {"Label10", "Frame2", "Euro", {128, 104, 25, 17}},
    {"Label15", "Frame2", "per un valore complessivo di", {16, 128, 121, 33}},
    {"Text6", "Frame2", nullptr, {16, 160, 105, 19}},
    {"Label11", "Frame2", "Euro", {128, 160, 25, 17}},
    {"Label18", "Frame2", totalCaption.c_str(), {16, 184, 113, 57}},
    {"Text7", "Frame2", nullptr, {16, 248, 105, 19}},
    {"Label20", "Frame2", "Euro", {128, 248, 25, 17}},
    {"Label12", "Frame3", "mensile", {8, 16, 49, 17}},
    {"Text4", "Frame3", nullptr, {16, 32, 105, 19}},
    {"Label6", "Frame3", "%", {136, 32, 17, 17}},
};
// clang-format on

QString captionOf(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return {};
}

TEST_F(WindowTest, window_has_its_caption_and_fixed_client_size)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Ratalia   Ver. ") + QLatin1String(version));
    EXPECT_EQ(window->size(), QSize(367, 361));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->objectName(), QStringLiteral("Form1"));
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

TEST_F(WindowTest, every_control_stands_where_the_layout_puts_it)
{
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.name);
        QWidget* widget = named(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(c.parent));
        EXPECT_EQ(widget->geometry(), c.pixels);
        if (c.caption) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(c.caption));
        }
    }
    EXPECT_EQ(named<QLabel>("Label16")->text(), QString::fromStdString(ContactLinks::emailAddress()));
    EXPECT_EQ(named<QLabel>("Label30")->text(), QString::fromStdString(ContactLinks::webCaption()));
}

TEST_F(WindowTest, captions_fit_their_controls)
{
    for (const Expected& c : controls) {
        QWidget* widget = named(c.name);
        if (!widget || QString::fromLatin1(c.name) == QStringLiteral("Label9"))
            continue;
        SCOPED_TRACE(c.name);
        const QFontMetrics metrics(widget->font());
        const QString caption = captionOf(widget).remove(QLatin1Char('&'));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, caption);
            EXPECT_LE(needed.width(), label->width());
            EXPECT_LE(needed.height(), label->height());
        } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            QStyleOptionButton style;
            style.initFrom(option);
            style.text = caption;
            const QRect text = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
            EXPECT_LE(metrics.horizontalAdvance(caption), text.width());
            EXPECT_LE(metrics.height(), text.height());
        } else if (qobject_cast<QPushButton*>(widget)) {
            EXPECT_LE(widget->sizeHint().width(), widget->width());
        } else if (qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(caption) + 12, widget->width());
        }
    }
    // One text line is 13 pixels, as the 195-twip link labels assume.
    EXPECT_LE(QFontMetrics(named("Label16")->font()).height(), 13);
    const QString family = QFontInfo(window->font()).family();
    EXPECT_TRUE(family == QStringLiteral("MS Sans Serif") || family == QStringLiteral("Liberation Sans Narrow"))
        << family.toStdString();
}

TEST_F(WindowTest, controls_have_italian_accessible_names)
{
    // clang-format off
    const char* rows[][2] = {
        {"Text1", "Capitale"},          {"Text2", "Durata"},           {"Text3", "Tasso di interesse annuo"},
        {"Text4", "Tasso mensile"},     {"Text5", "Rata mensile"},     {"Text6", "Montante"},
        {"Text7", "Interessi totali"},  {"Text8", "Numero di rate"},   {"Command1", "Calcola"},
        {"Command2", "Arrotonda"},      {"Command3", "Ripristina tasso standard"},
        {"Option1", "mesi"},            {"Option2", "anni"},
    };
    // clang-format on
    for (const auto& row : rows) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(named(row[0]));
        ASSERT_NE(accessible, nullptr) << row[0];
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(row[1])) << row[0];
    }
    EXPECT_EQ(named("Label16")->accessibleName(), QString::fromStdString(ContactLinks::emailAddress()));
    EXPECT_EQ(named("Label30")->accessibleName(), QString::fromStdString(ContactLinks::webCaption()));
}

TEST_F(WindowTest, link_labels_look_like_links_and_other_labels_do_not)
{
    for (const char* name : {"Label16", "Label30"}) {
        QWidget* link = named(name);
        EXPECT_TRUE(link->font().underline()) << name;
        // The pointer comes over the link: the hand.
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(link, &enter);
        EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor) << name;
        EXPECT_EQ(link->cursor().pixmap().size(), QSize(32, 32)) << name;
        EXPECT_EQ(link->height(), 13) << name;
    }
    EXPECT_EQ(named("Label16")->toolTip(), QStringLiteral("E-mail"));
    EXPECT_EQ(named("Label30")->toolTip(), QStringLiteral("Sito disegni CAD"));
    for (const Expected& c : controls) {
        auto* label = qobject_cast<QLabel*>(named(c.name));
        if (label && QString::fromLatin1(c.name) != QStringLiteral("Label16") &&
            QString::fromLatin1(c.name) != QStringLiteral("Label30")) {
            EXPECT_FALSE(label->testAttribute(Qt::WA_SetCursor)) << c.name;
            EXPECT_FALSE(label->font().underline()) << c.name;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << c.name;
        }
    }
}

} // namespace
} // namespace ratalia::test
