#pragma once

// A real FormWindow over a model whose message boxes and links are recorded.

#include "support/names.h"
#include "support/test_form.h"
#include "window/form_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace ratalia::test {

class WindowTest : public testing::Test {
protected:
    explicit WindowTest(char16_t separator = u',')
        : events(NumberText(separator), messages, links), window(std::make_unique<FormWindow>(events))
    {
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // A control by the name of what it stands for: "Installment", "Calculate", "Months", "Email".
    template <typename W = QWidget> W* control(const char* name) const
    {
        for (const ControlLayout& c : FormLayout::controls())
            if (nameOf(c.id) == name)
                return named<W>(c.objectName);
        ADD_FAILURE() << "no control stands for " << name;
        return nullptr;
    }
    // A control by its object name in the layout table.
    template <typename W = QWidget> W* named(const char* objectName) const
    {
        auto* widget = window->findChild<W*>(QString::fromLatin1(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    // A label that stands for nothing, inside a frame: the first the layout lists.
    QWidget* plainLabel() const
    {
        for (const ControlLayout& c : FormLayout::controls())
            if (c.kind == ControlKind::Label && c.container)
                return named(c.objectName);
        ADD_FAILURE() << "the layout has no plain label inside a frame";
        return nullptr;
    }
    // What the focused control stands for.
    QString focused() const
    {
        const QWidget* focus = QApplication::focusWidget();
        for (const ControlLayout& c : FormLayout::controls())
            if (focus && focus->objectName() == QLatin1String(c.objectName))
                return QString::fromStdString(nameOf(c.id));
        return {};
    }

    void typeInto(const char* name, const QString& text)
    {
        QLineEdit* edit = field(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    RecordingMessageBox messages;
    RecordingLinkOpener links;
    FormEvents events;
    std::unique_ptr<FormWindow> window;
};

} // namespace ratalia::test
