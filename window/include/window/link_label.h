#pragma once

#include <QLabel>

namespace ratalia {

// A label that acts as a link: underlined, with the hand pointer, clickable.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool handShown_ = false;
};

} // namespace ratalia
