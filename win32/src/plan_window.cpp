#include "win32/plan_window.h"

#include "form/program_texts.h"
#include "win32/plan_printout.h"
#include "win32/platform.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace ratalia {
namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog keyboard sends
// for Enter and Esc: Esc closes the window, Enter presses nothing of its own.
constexpr int firstCommandId = 200;
constexpr int firstInputId = 300;
constexpr int listId = 400;
constexpr int viewsId = 401;
constexpr int yearsId = 402;
constexpr int chartId = 403;

// What the window would like, in pixels at 96 dpi; it never opens larger
// than the work area.
constexpr SIZE preferredSize{820, 900};
constexpr SIZE minimumSize{520, 460};

const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
Text text(std::u16string_view view) { return Text(view); }

// The letter after "&" in a caption, in lower case; 0 for none.
wint_t accessKey(std::u16string_view caption)
{
    const auto mark = caption.find(u'&');
    return mark == std::u16string_view::npos || mark + 1 >= caption.size()
               ? 0
               : std::towlower(static_cast<wint_t>(caption[mark + 1]));
}

Text textOf(HWND control)
{
    Text shown(static_cast<std::size_t>(GetWindowTextLengthW(control)), u'\0');
    if (!shown.empty())
        GetWindowTextW(control, reinterpret_cast<wchar_t*>(shown.data()), static_cast<int>(shown.size() + 1));
    return shown;
}

// A function of its own: 32-bit Windows calls its callbacks __stdcall, which
// a lambda cannot be converted to.
BOOL CALLBACK setFont(HWND child, LPARAM font)
{
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

// An empty, resizable dialog: the controls are made from the core's layouts.
struct EmptyDialog {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

} // namespace

PlanWindow::PlanWindow(HINSTANCE instance, HWND owner, const NumberText& numbers, Warn warn)
    : owner_(owner), warn_(std::move(warn)), form_(numbers)
{
    alignas(DWORD) static const EmptyDialog empty{{WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0}, 0, 0, 0};
    CreateDialogIndirectParamW(instance, &empty.header, owner, dialogProcedure, reinterpret_cast<LPARAM>(this));
    form_.addObserver(*this);
}

PlanWindow::~PlanWindow()
{
    form_.removeObserver(*this);
    if (window_)
        DestroyWindow(window_);
}

INT_PTR CALLBACK PlanWindow::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<PlanWindow*>(lParam);
        self->window_ = dialog;
        self->build();
        return FALSE;
    }
    auto* self = reinterpret_cast<PlanWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

HWND PlanWindow::make(const wchar_t* windowClass, const Text& caption, DWORD style, int id, std::string_view objectName,
                      DWORD extended)
{
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    HWND control = CreateWindowExW(extended, windowClass, wide(caption), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                   window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (!objectName.empty())
        named_.emplace(std::string(objectName), control);
    return control;
}

// Made in the order Tab walks them: the inputs, the table, the buttons.
void PlanWindow::build()
{
    dpi_ = GetDpiForWindow(window_);
    font_ = messageFont(9, dpi_);
    SetWindowTextW(window_, wide(text(texts::planTitle)));
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(1))));

    // The inputs' groups, each made before its inputs, in the order Tab walks them.
    const auto inputs = PlanWindowLayout::inputs();
    for (std::size_t k = 0; k < inputs.size(); ++k) {
        const PlanInputLayout& input = inputs[k];
        if (k == 0 || inputs[k - 1].group != input.group) {
            const bool costs = input.group == PlanInputGroup::PlanAndCosts;
            groups_.push_back(make(L"BUTTON",
                                   text(costs ? PlanWindowLayout::inputsTitle : PlanWindowLayout::repaymentTitle),
                                   BS_GROUPBOX, -1, costs ? "PlanInputs" : "EarlyRepayment"));
        }
        // A caption's access key moves the focus to the control made after it.
        HWND caption = make(L"STATIC", text(input.caption), SS_LEFT, -1, {});
        HWND control = nullptr;
        const int id = firstInputId + static_cast<int>(k);
        if (input.choice) {
            control =
                make(WC_COMBOBOXW, {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, id, input.objectName);
            for (const PlanChoice& option : PlanWindowLayout::choices(input.id, form_.numbers()))
                SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(option.caption)));
            SendMessageW(control, CB_SETCURSEL, 0, 0);
        } else {
            control = make(L"EDIT", {}, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, id, input.objectName,
                           WS_EX_CLIENTEDGE);
            SendMessageW(control, EM_SETLIMITTEXT, 32767, 0);
            if (!input.placeholder.empty())
                SendMessageW(control, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(wide(text(input.placeholder))));
        }
        inputRows_.emplace_back(caption, control);
        units_.push_back(input.unit.empty() ? nullptr
                                            : make(L"STATIC", text(input.unit), SS_LEFT | SS_NOPREFIX, -1, {}));
    }
    penaltyNote_ = make(L"STATIC", text(PlanWindowLayout::penaltyNote), SS_LEFT | SS_NOPREFIX, -1, "PenaltyNote");
    status_ = make(L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Status");

    // The views: a strip of tabs over the one shown.
    views_ = make(WC_TABCONTROLW, {}, WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, viewsId, "Views");
    for (std::size_t k = 0; k < PlanWindowLayout::views().size(); ++k) {
        Text caption = text(PlanWindowLayout::views()[k].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(caption.data());
        SendMessageW(views_, TCM_INSERTITEMW, k, reinterpret_cast<LPARAM>(&item));
    }
    const auto view = [](PlanView id) -> const PlanViewLayout& {
        for (const PlanViewLayout& layout : PlanWindowLayout::views())
            if (layout.id == id)
                return layout;
        return PlanWindowLayout::views().front();
    };
    list_ = make(WC_LISTVIEWW, text(view(PlanView::Installments).accessibleName),
                 LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP | WS_GROUP, listId,
                 view(PlanView::Installments).objectName, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    yearsHint_ = make(L"STATIC", text(PlanWindowLayout::yearsNeedDates), SS_LEFT | SS_NOPREFIX, -1, "YearsHint");
    years_ = make(WC_LISTVIEWW, text(view(PlanView::Years).accessibleName),
                  LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP | WS_GROUP, yearsId,
                  view(PlanView::Years).objectName, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(years_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    chart_ = std::make_unique<ChartView>(window_, chartId, form_.amounts(), text(view(PlanView::Chart).accessibleName));
    chart_->setFont(font_.get());
    named_.emplace(view(PlanView::Chart).objectName, chart_->handle());
    for (HWND hidden : {yearsHint_, years_})
        ShowWindow(hidden, SW_HIDE);
    totals_ = make(L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Totals");
    note_ = make(L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Note");
    // The PDF comes from Windows' own printer ("Microsoft Print to PDF"): no button of its own.
    for (std::size_t k = 0; k < PlanWindowLayout::commands().size(); ++k) {
        const PlanCommandLayout& command = PlanWindowLayout::commands()[k];
        if (command.id == PlanCommand::SavePdf)
            continue;
        buttons_.push_back(make(L"BUTTON", text(command.caption), BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
                                firstCommandId + static_cast<int>(k), command.objectName));
    }
}

HWND PlanWindow::control(std::string_view objectName) const
{
    const auto found = named_.find(objectName);
    return found == named_.end() ? nullptr : found->second;
}

int PlanWindow::textWidth(const Text& shown) const
{
    HDC dc = GetDC(window_);
    SIZE size{};
    {
        const Selection selected(dc, font_.get());
        GetTextExtentPoint32W(dc, wide(shown), static_cast<int>(shown.size()), &size);
    }
    ReleaseDC(window_, dc);
    return size.cx;
}

void PlanWindow::setFonts()
{
    font_ = messageFont(9, dpi_);
    EnumChildWindows(window_, setFont, reinterpret_cast<LPARAM>(font_.get()));
    chart_->setFont(font_.get());
}

// Where every control stands, for the window's size and DPI: the figures
// in two columns (the TAEG beside the annual rate), the inputs in a group,
// the table taking what is left, the totals, the note and the buttons at
// the foot.
void PlanWindow::layout()
{
    RECT client{};
    GetClientRect(window_, &client);
    const int margin = scaled(10), gap = scaled(6), line = scaled(20), field = scaled(23);
    const int width = client.right - 2 * margin;
    HDWP moves = BeginDeferWindowPos(64);
    const auto place = [&](HWND w, int x, int y, int cx, int cy) {
        if (w)
            moves = DeferWindowPos(moves, w, nullptr, x, y, std::max(cx, 0), std::max(cy, 0),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    };

    // The figures: captions, then values, in rows; two lists side by side,
    // the costs and the early repayment's on the right.
    int y = margin;
    int rows = 0;
    // Each list's captions as wide as its widest, so that none is cut, up to
    // half of the list's room.
    int captionWidths[2] = {scaled(110), scaled(150)};
    for (const FigureControls& figure : figures_)
        if (!figure.beside)
            captionWidths[figure.right ? 1 : 0] = std::min(
                std::max(captionWidths[figure.right ? 1 : 0], textWidth(textOf(figure.label)) + scaled(8)), width / 4);
    for (const FigureControls& figure : figures_) {
        const int column = figure.right ? margin + width / 2 : margin;
        const int captionWidth = captionWidths[figure.right ? 1 : 0];
        const int top = y + figure.row * line;
        if (figure.beside) {
            const int x = column + captionWidth + scaled(80);
            place(figure.label, x, top, scaled(44), line);
            place(figure.value, x + scaled(44), top, scaled(90), line);
        } else {
            place(figure.label, column, top, captionWidth, line);
            place(figure.value, column + captionWidth, top, width / 2 - captionWidth, figure.rows * line);
        }
        rows = std::max(rows, figure.row + figure.rows);
    }
    y += rows * line + gap;

    // The inputs: in their groups, a grid of two pairs of columns.
    int captionWidth = 0;
    for (const auto& [caption, input] : inputRows_)
        captionWidth = std::max(captionWidth, textWidth(textOf(caption)) + scaled(8));
    const int half = (width - 2 * gap) / 2;
    const auto inputs = PlanWindowLayout::inputs();
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const auto group = static_cast<PlanInputGroup>(g);
        int inputRowsShown = 0;
        for (const PlanInputLayout& input : inputs)
            if (input.group == group)
                inputRowsShown = std::max(inputRowsShown, input.row + 1);
        const bool repayment = group == PlanInputGroup::EarlyRepayment;
        const int noteHeight = repayment ? 3 * line : 0;
        const int groupHeight = scaled(20) + inputRowsShown * (field + gap) + noteHeight + gap;
        place(groups_[g], margin, y, width, groupHeight);
        for (std::size_t k = 0; k < inputRows_.size(); ++k) {
            const PlanInputLayout& input = inputs[k];
            if (input.group != group)
                continue;
            const int x = margin + gap + input.column * (half + gap);
            const int top = y + scaled(20) + input.row * (field + gap);
            const int unitWidth = units_[k] ? scaled(16) : 0;
            const int fieldWidth = half - captionWidth - unitWidth - gap;
            place(inputRows_[k].first, x, top + scaled(3), captionWidth, line);
            place(inputRows_[k].second, x + captionWidth, top, fieldWidth, input.choice ? scaled(200) : field);
            place(units_[k], x + captionWidth + fieldWidth + scaled(4), top + scaled(3), unitWidth, line);
        }
        if (repayment)
            place(penaltyNote_, margin + gap, y + scaled(20) + inputRowsShown * (field + gap), width - 2 * gap,
                  noteHeight);
        y += groupHeight + gap;
    }

    if (IsWindowVisible(status_)) {
        place(status_, margin, y, width, 2 * line);
        y += 2 * line + gap;
    }

    // From the foot up: the buttons, the note, the totals; the table between.
    const int buttonHeight = scaled(26);
    const int buttonsTop = client.bottom - margin - buttonHeight;
    int x = margin;
    for (HWND button : buttons_) {
        const int w = std::max(scaled(80), textWidth(textOf(button)) + scaled(24));
        const bool close = button == control("Close");
        place(button, close ? client.right - margin - w : x, buttonsTop, w, buttonHeight);
        if (!close)
            x += w + gap;
    }
    const int noteTop = buttonsTop - gap - 2 * line;
    place(note_, margin, noteTop, width, 2 * line);
    const int totalsTop = noteTop - 2 * line;
    place(totals_, margin, totalsTop, width, 2 * line);
    // The tabs' strip, then the view shown under it: the pages do not lie on
    // the tab control, so that each paints and takes the focus as a control of its own.
    RECT strip{0, 0, width, 0};
    TabCtrl_AdjustRect(views_, TRUE, &strip);
    const int stripHeight = std::max(scaled(24), static_cast<int>(-strip.top) + scaled(2));
    place(views_, margin, y, width, stripHeight);
    const int pageTop = y + stripHeight;
    const int pageHeight = totalsTop - gap - pageTop;
    place(list_, margin, pageTop, width, pageHeight);
    const bool hint = IsWindowVisible(yearsHint_) != FALSE;
    place(yearsHint_, margin, pageTop + gap, width, 2 * line);
    place(years_, margin, pageTop + (hint ? 2 * line + gap : 0), width, pageHeight - (hint ? 2 * line + gap : 0));
    place(chart_->handle(), margin, pageTop, width, pageHeight);
    EndDeferWindowPos(moves);
    // Controls that moved leave their old pixels behind, group boxes above
    // all, which paint no background: the whole window is painted afresh.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);

    // The number keeps what its largest needs; the amounts share the rest.
    if (!columns_.empty()) {
        const int number = textWidth(u"100000") + scaled(16);
        const int rest = (width - number - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_) - scaled(4)) /
                         std::max<int>(1, static_cast<int>(columns_.size()) - 1);
        ListView_SetColumnWidth(list_, 0, number);
        for (std::size_t c = 1; c < columns_.size(); ++c)
            ListView_SetColumnWidth(list_, static_cast<int>(c), rest);
    }
    if (!yearColumns_.empty()) {
        const int each =
            (width - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_) - scaled(4)) / static_cast<int>(yearColumns_.size());
        for (std::size_t c = 0; c < yearColumns_.size(); ++c)
            ListView_SetColumnWidth(years_, static_cast<int>(c), each);
    }
}

void PlanWindow::showFigures()
{
    for (const FigureControls& figure : figures_) {
        DestroyWindow(figure.label);
        DestroyWindow(figure.value);
    }
    figures_.clear();
    for (int id = 0; id < figureIdCount; ++id)
        named_.erase(objectName(static_cast<FigureId>(id)));
    // Each in a row of its own from `row` on, the TAEG beside the annual
    // rate, where the loan now ends on two lines; returns the row after them.
    const auto add = [&](const std::vector<Figure>& figures, bool right, int row) {
        for (std::size_t k = 0; k < figures.size(); ++k) {
            const Figure& figure = figures[k];
            const bool beside = figure.id == FigureId::Taeg && k > 0 && figures[k - 1].id == FigureId::AnnualRate;
            const int height = wrapsOnTwoLines(figure.id) ? 2 : 1;
            HWND label = make(L"STATIC", figure.label + u":", SS_LEFT | SS_NOPREFIX, -1, {});
            HWND value = make(L"STATIC", figure.value, SS_LEFT | SS_NOPREFIX, -1, {});
            named_[objectName(figure.id)] = value;
            figures_.push_back({label, value, right, beside ? row - 1 : row, beside, height});
            if (!beside)
                row += height;
        }
        return row;
    };
    add(form_.loanFigures(), false, 0);
    add(form_.repaymentFigures(), true, add(form_.costFigures(), true, 0));
}

void PlanWindow::planChanged()
{
    showFigures();
    Text totals;
    for (const Figure& total : form_.totals())
        totals += (totals.empty() ? u"" : u"    ") + total.label + u": " + total.value;
    SetWindowTextW(totals_, wide(totals));
    SetWindowTextW(note_, wide(form_.note()));
    if (form_.message())
        note(*form_.message());
    else
        ShowWindow(status_, SW_HIDE);

    const AmortizationPlan* plan = form_.plan();
    // A list view's columns, set again where they changed.
    const auto setColumns = [](HWND list, const std::vector<Text>& titles, std::vector<Text>& shown) {
        if (titles == shown)
            return;
        while (ListView_DeleteColumn(list, 0)) {
        }
        shown = titles;
        for (std::size_t c = 0; c < titles.size(); ++c) {
            Text title = titles[c];
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
            column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
            column.pszText = reinterpret_cast<wchar_t*>(title.data());
            column.iSubItem = static_cast<int>(c);
            ListView_InsertColumn(list, static_cast<int>(c), &column);
        }
    };
    columns_ = plan ? columnsOf(*plan) : std::vector<PlanColumn>();
    std::vector<Text> titles;
    for (const PlanColumn column : columns_)
        titles.push_back(columnTitle(column));
    setColumns(list_, titles, listTitles_);
    yearRows_ = plan ? yearlyTotals(*plan) : std::vector<YearTotals>();
    yearColumns_ = plan && !yearRows_.empty() ? yearColumns(*plan) : std::vector<YearColumn>();
    titles.clear();
    for (const YearColumn column : yearColumns_)
        titles.push_back(columnTitle(column));
    setColumns(years_, titles, yearTitles_);
    ListView_SetItemCountEx(years_, static_cast<int>(yearRows_.size()), 0);
    InvalidateRect(years_, nullptr, TRUE);
    chart_->show(plan);
    showView(view_);
    ListView_SetItemCountEx(list_, plan ? static_cast<int>(plan->rows().size()) : 0, 0);
    InvalidateRect(list_, nullptr, TRUE);
    layout();
}

void PlanWindow::note(std::u16string_view shown)
{
    SetWindowTextW(status_, wide(text(shown)));
    if (!IsWindowVisible(status_)) {
        ShowWindow(status_, SW_SHOWNA);
        layout();
    }
}

void PlanWindow::fitIntoWorkArea()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner_ ? owner_ : window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = std::min<int>(scaled(preferredSize.cx), work.right - work.left);
    const int height = std::min<int>(scaled(preferredSize.cy), work.bottom - work.top);
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
}

void PlanWindow::showLoan(const LoanTerms& terms)
{
    ShowWindow(status_, SW_HIDE);
    form_.showLoan(terms);
    if (!placed_)
        fitIntoWorkArea();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    layout();
    // What the user asked to see: the table, ready for the arrow keys.
    SetFocus(list_);
    if (form_.plan() && ListView_GetNextItem(list_, -1, LVNI_FOCUSED) < 0)
        ListView_SetItemState(list_, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

bool PlanWindow::translate(MSG& message)
{
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    // The views' keys, before the dialog keyboard takes them: Ctrl+Tab and
    // Ctrl+Shift+Tab move from view to view, as in any window with tabs, and
    // each view's access key shows it.
    const auto views = PlanWindowLayout::views();
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000)) {
        const auto count = static_cast<int>(views.size());
        int at = 0;
        for (int k = 0; k < count; ++k)
            if (views[static_cast<std::size_t>(k)].id == view_)
                at = k;
        at = (at + ((GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1)) % count;
        showView(views[static_cast<std::size_t>(at)].id);
        return true;
    }
    if (message.message == WM_SYSCHAR)
        for (const PlanViewLayout& view : views)
            if (accessKey(view.caption) == std::towlower(static_cast<wint_t>(message.wParam))) {
                showView(view.id);
                SetFocus(views_);
                return true;
            }
    return IsDialogMessageW(window_, &message) != FALSE;
}

void PlanWindow::showView(PlanView view)
{
    view_ = view;
    const auto views = PlanWindowLayout::views();
    for (std::size_t k = 0; k < views.size(); ++k)
        if (views[k].id == view)
            SendMessageW(views_, TCM_SETCURSEL, k, 0);
    const bool dated = form_.plan() && form_.plan()->firstDue();
    const HWND focus = GetFocus();
    const std::pair<HWND, bool> pages[] = {{list_, view == PlanView::Installments},
                                           {years_, view == PlanView::Years},
                                           {yearsHint_, view == PlanView::Years && !dated},
                                           {chart_->handle(), view == PlanView::Chart}};
    for (const auto& [page, shown] : pages)
        ShowWindow(page, shown ? SW_SHOWNA : SW_HIDE);
    // The focus never stays in a view no longer shown.
    for (const auto& [page, shown] : pages)
        if (!shown && focus == page)
            SetFocus(views_);
    layout();
}

INT_PTR PlanWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == views_ && header->code == TCN_SELCHANGE) {
            const auto chosen =
                static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(views_, TCM_GETCURSEL, 0, 0)));
            showView(PlanWindowLayout::views()[std::min(chosen, PlanWindowLayout::views().size() - 1)].id);
            return TRUE;
        }
        if (header->hwndFrom == years_ && header->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if ((info->item.mask & LVIF_TEXT) && info->item.iItem >= 0 &&
                static_cast<std::size_t>(info->item.iItem) < yearRows_.size() && info->item.iSubItem >= 0 &&
                static_cast<std::size_t>(info->item.iSubItem) < yearColumns_.size()) {
                const Text shown =
                    cellText(yearRows_[static_cast<std::size_t>(info->item.iItem)],
                             yearColumns_[static_cast<std::size_t>(info->item.iSubItem)], form_.amounts(), true);
                cell_.assign(shown.begin(), shown.end());
                info->item.pszText = cell_.data();
            }
            return TRUE;
        }
        if (header->hwndFrom == list_ && header->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            const AmortizationPlan* plan = form_.plan();
            if ((info->item.mask & LVIF_TEXT) && plan && info->item.iItem >= 0 &&
                static_cast<std::size_t>(info->item.iItem) < plan->rows().size() && info->item.iSubItem >= 0 &&
                static_cast<std::size_t>(info->item.iSubItem) < columns_.size()) {
                const PlanRow& row = plan->rows()[static_cast<std::size_t>(info->item.iItem)];
                const Text shown = cellText(*plan, row, columns_[static_cast<std::size_t>(info->item.iSubItem)],
                                            form_.amounts(), true);
                cell_.assign(shown.begin(), shown.end());
                info->item.pszText = cell_.data();
            }
            return TRUE;
        }
        return FALSE;
    }
    case WM_SIZE:
        layout();
        return TRUE;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {scaled(minimumSize.cx), scaled(minimumSize.cy)};
        return TRUE;
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        setFonts();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return TRUE;
    }
    case WM_CLOSE:
        ShowWindow(window_, SW_HIDE);
        if (owner_)
            SetActiveWindow(owner_);
        return TRUE;
    default:
        return FALSE;
    }
}

void PlanWindow::command(int id, int notification)
{
    if (id == IDCANCEL) { // Esc
        SendMessageW(window_, WM_CLOSE, 0, 0);
        return;
    }
    if (id >= firstCommandId && id < firstCommandId + static_cast<int>(PlanWindowLayout::commands().size())) {
        if (notification == BN_CLICKED)
            run(PlanWindowLayout::commands()[static_cast<std::size_t>(id - firstCommandId)].id);
        return;
    }
    if (id < firstInputId || id >= firstInputId + static_cast<int>(PlanWindowLayout::inputs().size()))
        return;
    const std::size_t k = static_cast<std::size_t>(id - firstInputId);
    const PlanInputLayout& input = PlanWindowLayout::inputs()[k];
    HWND control = inputRows_[k].second;
    if (input.choice && notification == CBN_SELCHANGE) {
        const auto choice = SendMessageW(control, CB_GETCURSEL, 0, 0);
        const auto options = PlanWindowLayout::choices(input.id, form_.numbers());
        if (choice < 0 || static_cast<std::size_t>(choice) >= options.size())
            return;
        form_.choose(input.id, options[static_cast<std::size_t>(choice)]);
    } else if (!input.choice && notification == EN_CHANGE) {
        form_.edit(input.id, textOf(control));
    }
}

void PlanWindow::run(PlanCommand command)
{
    ShowWindow(status_, SW_HIDE);
    switch (command) {
    case PlanCommand::Copy:
        putOnClipboard(window_, tabSeparated());
        break;
    case PlanCommand::ExportCsv:
        chooseCsvFile();
        break;
    case PlanCommand::Print:
        choosePrinter();
        break;
    case PlanCommand::SavePdf:
        break; // Windows' own PDF printer does it
    case PlanCommand::Close:
        SendMessageW(window_, WM_CLOSE, 0, 0);
        break;
    }
    layout();
}

Text PlanWindow::tabSeparated() const
{
    return form_.plan() ? viewTable(view_, *form_.plan(), form_.amounts(), u'\t') : Text();
}

void PlanWindow::chooseCsvFile()
{
    const FileKind& kind = PlanWindowLayout::csvFile;
    std::wstring path(32768, L'\0');
    const Text name = text(form_.plan() ? viewFileName(view_, *form_.plan()) : PlanWindowLayout::defaultFileName) +
                      u"." + text(kind.extension);
    std::copy(name.begin(), name.end(), path.begin());
    // "File CSV\0*.csv\0\0"
    Text filter = text(kind.description) + u'\0' + u"*." + text(kind.extension) + u'\0';
    const Text title = text(kind.dialogTitle);
    const Text extension = text(kind.extension);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = wide(filter);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = wide(title);
    // The dialog adds the extension before it asks about overwriting.
    dialog.lpstrDefExt = wide(extension);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return;
    path.resize(std::wcslen(path.c_str()));
    const Text chosen = withExtension(Text(path.begin(), path.end()), kind);
    exportCsv(std::wstring(chosen.begin(), chosen.end()));
}

bool PlanWindow::exportCsv(const std::wstring& path)
{
    const AmortizationPlan* plan = form_.plan();
    if (!plan)
        return false;
    const AmountText& amounts = form_.amounts();
    const std::string bytes = toUtf8(viewTable(view_, *plan, amounts, csvDelimiter(amounts.decimalSeparator())));
    if (writeFileWhole(path, bytes))
        return true;
    warn_(notSavedMessage(Text(path.begin(), path.end())), u"Esporta CSV");
    return false;
}

void PlanWindow::choosePrinter()
{
    if (!form_.plan())
        return;
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgW(&dialog)) {
        // Nothing chosen is no failure; a dialog that could not open is.
        if (CommDlgExtendedError() != 0)
            warn_(Text(printFailedMessage), u"Stampa");
        return;
    }
    const PrinterDc printer(dialog.hDC);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    print(printer.get(), nullptr);
}

bool PlanWindow::print(HDC printer, const wchar_t* output)
{
    const AmortizationPlan* plan = form_.plan();
    if (!plan || !printer)
        return false;
    const PlanReport report = *form_.report();
    const GdiPrintout printout(printer, report);

    const Text title(texts::planTitle);
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = wide(title);
    document.lpszOutput = output;
    if (StartDocW(printer, &document) <= 0) {
        // Microsoft Print to PDF, asked for a file name, may be cancelled there.
        if (GetLastError() == ERROR_CANCELLED)
            note(printCancelledNote);
        else
            warn_(Text(printFailedMessage), u"Stampa");
        return false;
    }
    for (std::size_t page = 0; page < printout.pageCount(); ++page) {
        // A long plan takes a while: say how far it got, and keep the windows painting.
        if (page % 25 == 0) {
            note(pageProgress(page + 1, printout.pageCount()));
            UpdateWindow(window_);
            MSG pending;
            while (PeekMessageW(&pending, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
                DispatchMessageW(&pending);
        }
        if (StartPage(printer) <= 0) {
            AbortDoc(printer);
            ShowWindow(status_, SW_HIDE);
            warn_(Text(printFailedMessage), u"Stampa");
            return false;
        }
        printout.paintPage(page);
        if (EndPage(printer) <= 0) {
            AbortDoc(printer);
            ShowWindow(status_, SW_HIDE);
            warn_(Text(printFailedMessage), u"Stampa");
            return false;
        }
    }
    ShowWindow(status_, SW_HIDE);
    if (EndDoc(printer) <= 0) {
        warn_(Text(printFailedMessage), u"Stampa");
        return false;
    }
    return true;
}

} // namespace ratalia
