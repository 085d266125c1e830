#pragma once

#include <QRadioButton>

namespace ratalia {

// One of the two option buttons. Every arrow key moves the selection to the
// other one, as in a native option group: Qt moves only towards a button that
// lies in the arrow's direction, and the pair stands side by side.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;
    void setPartner(OptionButton* partner) { partner_ = partner; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    OptionButton* partner_ = nullptr;
};

} // namespace ratalia
