#pragma once

#include <QPushButton>

namespace ratalia {

// A push button that Enter presses while it has the focus, as space does.
// It is never a default button: Enter elsewhere presses nothing.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ratalia
