#include "window/command_button.h"

#include <QKeyEvent>

namespace ratalia {

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    // The keypad's Enter is Enter too: Qt only marks it as coming from the keypad.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace ratalia
