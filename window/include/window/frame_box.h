#pragma once

#include <QGroupBox>

namespace ratalia {

// A captioned frame whose caption sits on its top border, so that controls
// placed near the top of the frame stay clear of the border line.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ratalia
