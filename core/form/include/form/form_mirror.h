#pragma once

// A window attached to the form for as long as the mirror lives: told the
// whole state at once (fields, buttons, unit, whether there is a plan),
// then every change; detached when the mirror goes, even on an exception.

#include "form/form_events.h"

namespace ratalia {

class FormMirror {
public:
    FormMirror(FormEvents& events, FormWindowObserver& window) : events_(events), window_(window)
    {
        events.form().describeTo(window);
        window.planAvailabilityChanged(events.hasPlan());
        events.addObserver(window);
    }
    ~FormMirror() { events_.removeObserver(window_); }
    FormMirror(const FormMirror&) = delete;
    FormMirror& operator=(const FormMirror&) = delete;

private:
    FormEvents& events_;
    FormWindowObserver& window_;
};

} // namespace ratalia
