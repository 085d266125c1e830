#pragma once

#include <QLineEdit>

namespace ratalia {

// A text field of the window. Alt with a letter is an access key, whether its
// button is enabled or not: it never types into a field. AltGr characters
// (the "@" of an Italian keyboard) carry no Alt modifier and type as usual.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ratalia
