#pragma once

// The Qt window: builds the controls where the layout puts them, mirrors the
// form model into them and hands every user action to FormEvents. It holds no
// state of its own: the model decides, the widgets show.

#include "form/form_layout.h"
#include "form/form_mirror.h"

#include <QWidget>

#include <array>
#include <optional>

class QAction;
class QLineEdit;
class QPushButton;

namespace ratalia {

class FormEvents;
class OptionButton;
class PlanWindow;

class FormWindow : public QWidget, private FormWindowObserver {
    Q_OBJECT
public:
    // Creates the controls, then runs the start-up procedure before the window is shown.
    explicit FormWindow(FormEvents& events, QWidget* parent = nullptr);
    ~FormWindow() override;

    // Opens the plan window on the offers of files ("ratalia a.ratalia b.ratalia").
    void openOffers(const QStringList& paths);

protected:
    bool focusNextPrevChild(bool next) override;
    // Outside the input fields: the menu that opens the amortization plan.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Offers not saved in the plan window are asked about before the program ends.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void buildPlanAction();
    // With the calculation's loan, or as the plan window stands.
    void openPlan(bool withCalculation = true);
    QWidget* widgetFor(const ControlId& id) const;

    void textChanged(Field field, const Text& text) override;
    void unitChanged(DurationUnit unit) override;
    void enabledChanged(Button button, bool enabled) override;
    // The plan is there only while the results show a completed calculation.
    void planAvailabilityChanged(bool available) override;

    FormEvents& events_;
    std::array<QLineEdit*, 8> fields_{};
    std::array<QPushButton*, 3> buttons_{};
    std::array<OptionButton*, 2> options_{};
    QAction* planAction_ = nullptr;
    QAction* planAsIsAction_ = nullptr;
    PlanWindow* planWindow_ = nullptr;
    std::optional<FormMirror> mirror_; // last: detached before the widgets go
};

} // namespace ratalia
