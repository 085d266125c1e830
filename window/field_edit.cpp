#include "window/field_edit.h"

#include <QKeyEvent>

namespace ratalia {

void FieldEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ratalia
