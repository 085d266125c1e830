#include "window/option_button.h"

#include <QKeyEvent>

namespace ratalia {

void OptionButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (partner_ && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            partner_->setFocus(Qt::OtherFocusReason);
            partner_->click();
            return;
        }
        break;
    default:
        break;
    }
    QRadioButton::keyPressEvent(event);
}

} // namespace ratalia
