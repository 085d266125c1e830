#pragma once

#include <QLineEdit>

#include <vector>

namespace ratalia {

// A text field of the window. Alt with a letter is an access key, whether its
// button is enabled or not: it never types into a field. AltGr characters
// (the "@" of an Italian keyboard) carry no Alt modifier and type as usual.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

    // Offered after the usual entries of the field's context menu.
    void addContextAction(QAction* action) { contextActions_.push_back(action); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::vector<QAction*> contextActions_;
};

} // namespace ratalia
