#pragma once

#include "form/loan_form.h"

class QWidget;

namespace ratalia {

// Shows the program's messages as modal QMessageBoxes over the window.
class QtMessageBox : public ModalMessageBox {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(const Text& message, const Text& title) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace ratalia
