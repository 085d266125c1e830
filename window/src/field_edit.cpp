#include "window/field_edit.h"

#include "window/dialog_resources.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

namespace ratalia {

void FieldEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent* event)
{
    loadDialogResources();
    if (contextActions_.empty()) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->addSeparator();
    for (QAction* action : contextActions_)
        menu->addAction(action);
    menu->exec(event->globalPos());
}

} // namespace ratalia
