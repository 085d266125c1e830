#pragma once

#include "model/form1.h"

namespace ratalia {

class LinkOpener;

enum class Link { Label16, Label30 };

// The window's events and the procedures they run. It owns the form model and
// is the one way in for user actions, whether they come from the Qt window or
// from a test driving the program without a screen.
class FormEvents : private ChangeHandler {
public:
    FormEvents(NumberText numbers, MessageBox& messageBox, LinkOpener& linkOpener);

    Form1& form() { return form_; }
    const Form1& form() const { return form_; }

    // The window was created and is about to be shown.
    void load();
    // The user typed, pasted or deleted in an input field; other fields are read-only.
    void edit(Field field, Text text);
    // Runs the button's procedure, only while it is enabled.
    void click(Button button);
    // Selecting the option that is already selected changes nothing.
    void select(Option option);
    void click(Link link);

private:
    void inputChanged(Field field) override;

    Form1 form_;
    LinkOpener& linkOpener_;
};

} // namespace ratalia
