#pragma once

// A real FormWindow over a model whose message boxes and links are recorded.

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

    template <typename W = QWidget> W* control(const char* name) const
    {
        auto* widget = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    QString focused() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

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
