#include "win32/plan_window.h"

#include "form/program_texts.h"
#include "print_progress.h"
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
constexpr int installmentsId = 400;
constexpr int viewsId = 401;
constexpr int yearsId = 402;
constexpr int chartId = 403;
constexpr int noteId = 404;
constexpr int offersId = 405;
constexpr int offerNameId = 406;
constexpr int comparisonId = 407;
constexpr int comparisonChartId = 408;

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

void setText(HWND control, const Text& shown)
{
    if (textOf(control) != shown)
        SetWindowTextW(control, wide(shown));
}

const PlanViewLayout& viewLayout(PlanView id)
{
    for (const PlanViewLayout& layout : PlanWindowLayout::views())
        if (layout.id == id)
            return layout;
    return PlanWindowLayout::views().front();
}

// Windows moved together, those already in place left alone: every window
// in one run must have the same parent.
class Placement {
public:
    explicit Placement(int count) : moves_(BeginDeferWindowPos(count)) {}
    ~Placement()
    {
        if (moves_)
            EndDeferWindowPos(moves_);
    }
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;
    void operator()(HWND window, int x, int y, int width, int height)
    {
        if (!window || !moves_)
            return;
        width = std::max(width, 0);
        height = std::max(height, 0);
        RECT now{};
        GetWindowRect(window, &now);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
        if (now.left == x && now.top == y && now.right - now.left == width && now.bottom - now.top == height)
            return;
        moves_ = DeferWindowPos(moves_, window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    HDWP moves_;
};

// An empty, resizable dialog: the controls are made from the core's tables.
struct EmptyDialog {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

} // namespace

PlanWindow::PlanWindow(HINSTANCE instance, HWND mainWindow, FormEvents& events, Warn warn)
    : mainWindow_(mainWindow), warn_(std::move(warn)), form_(events.form().numbers(), events)
{
    // Not owned by the main window: a window of its own on the taskbar.
    alignas(DWORD) static const EmptyDialog empty{
        {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, 0, 0, 0, 0, 0}, 0, 0, 0};
    CreateDialogIndirectParamW(instance, &empty.header, nullptr, dialogProcedure, reinterpret_cast<LPARAM>(this));
    form_.addObserver(*this);
    planChanged();
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

HWND PlanWindow::make(HWND parent, const wchar_t* windowClass, const Text& caption, DWORD style, int id,
                      std::string_view objectName, DWORD extended)
{
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    HWND control = CreateWindowExW(extended, windowClass, wide(caption), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (!objectName.empty())
        named_[std::string(objectName)] = control;
    return control;
}

// Made in the order Tab walks them: the buttons, the inputs, the views' tabs, the view shown.
void PlanWindow::build()
{
    dpi_ = GetDpiForWindow(window_);
    font_ = messageFont(9, dpi_);
    bold_ = messageFont(9, dpi_, true);
    small_ = messageFont(8, dpi_);
    SetWindowTextW(window_, wide(form_.title()));
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(1))));
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, scaled(360));

    // The PDF comes from Windows' own printer ("Microsoft Print to PDF"): no button of its own.
    for (std::size_t k = 0; k < PlanWindowLayout::commands().size(); ++k) {
        const PlanCommandLayout& command = PlanWindowLayout::commands()[k];
        if (command.id == PlanCommand::SavePdf || command.id == PlanCommand::StartClean || offersCommand(command.id))
            continue;
        makeCommand(window_, command.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP);
    }
    buildInputs();
    keyFigures_ = make(window_, L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "KeyFigures");
    SendMessageW(keyFigures_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
    buildViews();
    absence_ = make(window_, L"STATIC", {}, SS_CENTER | SS_NOPREFIX, -1, "Absence");
    status_ = make(window_, L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Status");
}

HWND PlanWindow::makeCommand(HWND parent, PlanCommand id, DWORD style)
{
    const PlanCommandLayout& command = PlanWindowLayout::command(id);
    const auto index = static_cast<int>(&command - PlanWindowLayout::commands().data());
    HWND button = make(parent, L"BUTTON", text(command.caption), style, firstCommandId + index, command.objectName);
    accessible_.set(button, {text(command.accessibleName), {}});
    addToolTip(button, command.toolTip);
    buttons_.emplace_back(id, button);
    return button;
}

void PlanWindow::addToolTip(HWND control, std::u16string_view tip)
{
    if (tip.empty())
        return;
    Text shown(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = reinterpret_cast<wchar_t*>(shown.data());
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The inputs as the core's table lists them, section by section, in a
// column that scrolls on its own: each caption over its field, the unit
// beside it, what it read under it.
void PlanWindow::buildInputs()
{
    inputs_ = std::make_unique<ScrollPanel>(window_, ScrollPanel::Holds::Inputs);
    const HWND panel = inputs_->handle();
    named_["Inputs"] = panel;
    accessible_.set(panel, {text(PlanWindowLayout::inputsName), {}});
    // The offers first: which is shown, a copy of it, its removal, its name, the file they are kept in.
    offersCaption_ = make(panel, L"STATIC", text(PlanWindowLayout::offersCaption), SS_LEFT | SS_NOPREFIX, -1, {});
    offers_ = make(panel, WC_COMBOBOXW, {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, offersId, "Offers");
    accessible_.set(offers_, {text(PlanWindowLayout::offersName), {}});
    addToolTip(offers_, PlanWindowLayout::offersToolTip);
    const DWORD buttonStyle = BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP | WS_GROUP;
    makeCommand(panel, PlanCommand::NewOffer, buttonStyle);
    makeCommand(panel, PlanCommand::RemoveOffer, buttonStyle);
    offerNameCaption_ = make(panel, L"STATIC", text(PlanWindowLayout::offerNameCaption), SS_LEFT | SS_NOPREFIX, -1, {});
    offerName_ = make(panel, L"EDIT", {}, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, offerNameId, "OfferName",
                      WS_EX_CLIENTEDGE);
    accessible_.set(offerName_, {text(PlanWindowLayout::offerNameName), {}});
    addToolTip(offerName_, PlanWindowLayout::offerNameToolTip);
    for (const PlanCommand id : {PlanCommand::OpenOffers, PlanCommand::SaveOffers, PlanCommand::SaveOffersAs})
        makeCommand(panel, id, buttonStyle);
    std::optional<PlanSection> section;
    for (const PlanInputSpec& spec : planInputSpecs()) {
        if (!section || *section != spec.section) {
            section = spec.section;
            sections_.push_back(spec.section);
        }
        InputControls row{spec.id};
        // A caption's access key moves the focus to the control made after it.
        if (!spec.caption.empty())
            row.caption = make(panel, L"STATIC", text(spec.caption), SS_LEFT, -1, {});
        const int id = firstInputId + static_cast<int>(spec.id);
        if (spec.listed()) {
            row.control = make(panel, WC_COMBOBOXW, {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, id,
                               spec.objectName);
            for (const Text& caption : choiceCaptions(spec.id, form_.numbers()))
                SendMessageW(row.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(caption)));
        } else {
            row.control = make(panel, L"EDIT", {}, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, id,
                               spec.objectName, WS_EX_CLIENTEDGE);
            SendMessageW(row.control, EM_SETLIMITTEXT, 32767, 0);
            if (!spec.placeholder.empty())
                SendMessageW(row.control, EM_SETCUEBANNER, FALSE,
                             reinterpret_cast<LPARAM>(wide(text(spec.placeholder))));
        }
        accessible_.set(row.control, {text(spec.accessibleName), {}});
        addToolTip(row.control, spec.toolTip);
        if (!spec.unit.empty())
            row.unit = make(panel, L"STATIC", text(spec.unit), SS_LEFT | SS_NOPREFIX, -1, {});
        if (!spec.listed()) {
            row.reading = make(panel, L"STATIC", {}, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, -1,
                               std::string(spec.objectName) + "Reading");
            SendMessageW(row.reading, WM_SETFONT, reinterpret_cast<WPARAM>(small_.get()), FALSE);
        }
        inputRows_.push_back(row);
    }
    // What the law allows, at the foot of the early repayment's section.
    penaltyNote_ =
        make(panel, L"STATIC", text(PlanWindowLayout::penaltyNote), SS_LEFT | SS_NOPREFIX, -1, "PenaltyNote");
    SendMessageW(penaltyNote_, WM_SETFONT, reinterpret_cast<WPARAM>(small_.get()), FALSE);
    startClean_ = makeCommand(panel, PlanCommand::StartClean, buttonStyle);
    notice_ = make(panel, L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Notice");
}

// The views: a strip of tabs over the one shown. The pages do not lie on the
// tab control, so that each paints and takes the focus as a control of its own.
void PlanWindow::buildViews()
{
    views_ = make(window_, WC_TABCONTROLW, {}, WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, viewsId, "Views");
    for (std::size_t k = 0; k < PlanWindowLayout::views().size(); ++k) {
        Text caption = text(PlanWindowLayout::views()[k].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(caption.data());
        SendMessageW(views_, TCM_INSERTITEMW, k, reinterpret_cast<LPARAM>(&item));
    }

    const PlanViewLayout& summary = viewLayout(PlanView::Summary);
    summary_ = std::make_unique<ScrollPanel>(window_, ScrollPanel::Holds::Texts);
    named_[summary.objectName] = summary_->handle();
    accessible_.set(summary_->handle(), {text(summary.accessibleName), {}});

    const PlanViewLayout& rows = viewLayout(PlanView::Installments);
    const DWORD listStyle = LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP | WS_GROUP;
    installments_ = std::make_unique<PlanListView>(make(window_, WC_LISTVIEWW, text(rows.accessibleName), listStyle,
                                                        installmentsId, rows.objectName, WS_EX_CLIENTEDGE),
                                                   PlanTable::Kind::Installments, form_.amounts());
    totals_ = make(window_, L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Totals");
    // Read-only text: the note scrolls where a small window has no room for all of it.
    note_ = make(window_, L"EDIT", {}, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, noteId, "Note");

    const PlanViewLayout& years = viewLayout(PlanView::Years);
    yearsHint_ =
        make(window_, L"STATIC", text(PlanWindowLayout::yearsNeedDates), SS_LEFT | SS_NOPREFIX, -1, "YearsHint");
    years_ = std::make_unique<PlanListView>(
        make(window_, WC_LISTVIEWW, text(years.accessibleName), listStyle, yearsId, years.objectName, WS_EX_CLIENTEDGE),
        PlanTable::Kind::Years, form_.amounts());

    const PlanViewLayout& chart = viewLayout(PlanView::Chart);
    chart_ = std::make_unique<ChartView>(window_, chartId, form_.amounts(), text(chart.accessibleName));
    chart_->setFont(9, dpi_);
    named_[chart.objectName] = chart_->handle();

    // The offers side by side: the table of figures, the sentence on which is cheaper, the debts over time.
    const PlanViewLayout& compared = viewLayout(PlanView::Comparison);
    comparison_ = make(window_, WC_LISTVIEWW, text(PlanWindowLayout::comparisonTableName),
                       LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_TABSTOP | WS_GROUP,
                       comparisonId, compared.objectName, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(comparison_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    verdict_ = make(window_, L"STATIC", {}, SS_LEFT | SS_NOPREFIX, -1, "Verdict");
    comparisonChart_ = std::make_unique<ChartView>(window_, comparisonChartId, form_.amounts(),
                                                   text(PlanWindowLayout::comparisonChartName));
    comparisonChart_->setFont(9, dpi_);
    named_["ComparisonChart"] = comparisonChart_->handle();
}

HWND PlanWindow::control(std::string_view objectName) const
{
    const auto found = named_.find(objectName);
    return found == named_.end() ? nullptr : found->second;
}

int PlanWindow::textWidth(const Text& shown, HFONT font) const
{
    SIZE size{};
    const Selection selected(measure_.get(), font);
    GetTextExtentPoint32W(measure_.get(), wide(shown), static_cast<int>(shown.size()), &size);
    return size.cx;
}

// The height of the text wrapped at spaces within `width`; a line for an empty text.
int PlanWindow::textHeight(const Text& shown, HFONT font, int width) const
{
    RECT box{0, 0, std::max(1, width), 0};
    const Selection selected(measure_.get(), font);
    DrawTextW(measure_.get(), shown.empty() ? L" " : wide(shown), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return box.bottom - box.top;
}

void PlanWindow::setFonts()
{
    font_ = messageFont(9, dpi_);
    bold_ = messageFont(9, dpi_, true);
    small_ = messageFont(8, dpi_);
    const auto setFont = [](HWND control, HFONT font) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    for (const auto& [name, control] : named_)
        setFont(control, font_.get());
    for (const InputControls& row : inputRows_) {
        for (HWND control : {row.caption, row.control, row.unit})
            if (control)
                setFont(control, font_.get());
        if (row.reading)
            setFont(row.reading, small_.get());
    }
    setFont(penaltyNote_, small_.get());
    setFont(keyFigures_, bold_.get());
    for (const FigureControls& figure : figures_) {
        setFont(figure.label, figure.heading ? bold_.get() : font_.get());
        if (figure.value)
            setFont(figure.value, font_.get());
    }
    chart_->setFont(9, dpi_);
    comparisonChart_->setFont(9, dpi_);
    for (HWND control : {offersCaption_, offerNameCaption_})
        setFont(control, font_.get());
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, scaled(360));
}

// The inputs' column, for its inner width: returns the height of all it holds.
int PlanWindow::layoutInputs(int width)
{
    const int gap = scaled(6), pad = scaled(8), line = scaled(18), field = scaled(23);
    const int smallLine = textHeight(u"=", small_.get(), width);
    const int top = -inputs_->offset();
    const int inner = width - 2 * gap;
    const int fieldLeft = gap + pad, fieldRoom = inner - 2 * pad;
    const int unitWidth = scaled(18), unitChoice = scaled(88);
    Placement place(static_cast<int>(inputRows_.size()) * 4 + 24);
    int y = gap;
    std::vector<ScrollPanel::Frame> frames;
    {
        // The offers' group: the list and its two buttons on one line, the name, the file's three buttons.
        const int frameTop = y;
        y += line + gap;
        const auto buttonWidth = [&](PlanCommand id) {
            for (const auto& [command, button] : buttons_)
                if (command == id)
                    return std::max(scaled(60), textWidth(textOf(button), font_.get()) + scaled(16));
            return 0;
        };
        const auto buttonOf = [&](PlanCommand id) {
            for (const auto& [command, button] : buttons_)
                if (command == id)
                    return button;
            return HWND{};
        };
        place(offersCaption_, fieldLeft, top + y, fieldRoom, line);
        y += line;
        const int newWidth = buttonWidth(PlanCommand::NewOffer), removeWidth = buttonWidth(PlanCommand::RemoveOffer);
        place(offers_, fieldLeft, top + y, fieldRoom - newWidth - removeWidth - 2 * gap, scaled(240));
        place(buttonOf(PlanCommand::RemoveOffer), fieldLeft + fieldRoom - removeWidth, top + y, removeWidth, field);
        place(buttonOf(PlanCommand::NewOffer), fieldLeft + fieldRoom - removeWidth - gap - newWidth, top + y, newWidth,
              field);
        y += field + scaled(4);
        place(offerNameCaption_, fieldLeft, top + y, fieldRoom, line);
        y += line;
        place(offerName_, fieldLeft, top + y, fieldRoom, field);
        y += field + scaled(6);
        int x = fieldLeft;
        for (const PlanCommand id : {PlanCommand::OpenOffers, PlanCommand::SaveOffers, PlanCommand::SaveOffersAs}) {
            const int width = std::min(buttonWidth(id), fieldLeft + fieldRoom - x);
            place(buttonOf(id), x, top + y, width, field);
            x += width + gap / 2;
        }
        y += field + gap;
        frames.push_back({{gap, frameTop, gap + inner, y}, text(PlanWindowLayout::offersHeading)});
        y += gap;
    }
    for (const PlanSection section : sections_) {
        const int frameTop = y;
        y += line + gap;
        for (const InputControls& row : inputRows_) {
            const PlanInputSpec& spec = planInputSpec(row.id);
            if (spec.section != section || row.id == PlanInput::Unit)
                continue;
            place(row.caption, fieldLeft, top + y, fieldRoom, line);
            y += line;
            // The duration's unit beside it, as the unit of an amount is.
            const bool duration = row.id == PlanInput::Duration;
            const int beside = duration ? unitChoice + gap : row.unit ? unitWidth + gap : 0;
            place(row.control, fieldLeft, top + y, fieldRoom - beside, spec.listed() ? scaled(240) : field);
            if (duration)
                for (const InputControls& unit : inputRows_)
                    if (unit.id == PlanInput::Unit)
                        place(unit.control, fieldLeft + fieldRoom - unitChoice, top + y, unitChoice, scaled(120));
            place(row.unit, fieldLeft + fieldRoom - unitWidth, top + y + scaled(4), unitWidth, line);
            y += field + scaled(2);
            if (row.reading) {
                place(row.reading, fieldLeft, top + y, fieldRoom, smallLine);
                y += smallLine;
            }
            y += scaled(4);
        }
        if (section == PlanSection::EarlyRepayment) {
            const int height = textHeight(text(PlanWindowLayout::penaltyNote), small_.get(), fieldRoom);
            place(penaltyNote_, fieldLeft, top + y, fieldRoom, height);
            y += height + gap;
        }
        frames.push_back({{gap, frameTop, gap + inner, y}, text(sectionTitle(section))});
        y += gap;
    }
    inputs_->setFrames(std::move(frames), font_.get());
    const int buttonWidth = std::max(scaled(90), textWidth(textOf(startClean_), font_.get()) + scaled(24));
    place(startClean_, gap, top + y, buttonWidth, scaled(26));
    y += scaled(26) + gap;
    const Text notice = textOf(notice_);
    const int noticeHeight = notice.empty() ? 0 : textHeight(notice, font_.get(), inner);
    place(notice_, gap, top + y, inner, noticeHeight);
    return y + noticeHeight + gap;
}

// Every figure, for the summary's inner width: returns the height of all it shows.
int PlanWindow::layoutSummary(int width)
{
    const int gap = scaled(6), line = textHeight(u"=", font_.get(), width);
    const int top = -summary_->offset();
    const int room = width - 2 * gap;
    // The captions as wide as the widest, up to a little over half the room; a longer one wraps.
    int labelWidth = 0;
    for (const FigureControls& figure : figures_)
        if (!figure.heading)
            labelWidth = std::max(labelWidth, textWidth(textOf(figure.label), font_.get()) + scaled(10));
    labelWidth = std::min(labelWidth, room * 11 / 20);
    const int valueWidth = room - labelWidth;
    Placement place(static_cast<int>(figures_.size()) * 2 + 1);
    int y = gap;
    for (std::size_t k = 0; k < figures_.size(); ++k) {
        const FigureControls& figure = figures_[k];
        if (figure.heading) {
            if (k > 0)
                y += line / 2;
            place(figure.label, gap, top + y, room, line);
            y += line + scaled(2);
            continue;
        }
        const int height = std::max(textHeight(textOf(figure.label), font_.get(), labelWidth),
                                    textHeight(textOf(figure.value), font_.get(), valueWidth));
        place(figure.label, gap, top + y, labelWidth, height);
        place(figure.value, gap + labelWidth, top + y, valueWidth, height);
        y += height + scaled(2);
    }
    return y + gap;
}

// Where every control stands, for the window's size and DPI: the inputs'
// column on the left, the key figures and the views on the right, the
// status and the buttons at the foot.
void PlanWindow::layout()
{
    if (!window_)
        return;
    RECT client{};
    GetClientRect(window_, &client);
    const int margin = scaled(10), gap = scaled(6);
    const int line = textHeight(u"=", font_.get(), client.right);
    {
        Placement place(24);
        // From the foot up: the buttons, the status.
        const int buttonHeight = scaled(26);
        const int buttonsTop = client.bottom - margin - buttonHeight;
        int x = margin;
        for (const auto& [command, button] : buttons_) {
            if (command == PlanCommand::StartClean || offersCommand(command))
                continue;
            const int width = std::max(scaled(80), textWidth(textOf(button), font_.get()) + scaled(24));
            const bool close = command == PlanCommand::Close;
            place(button, close ? client.right - margin - width : x, buttonsTop, width, buttonHeight);
            if (!close)
                x += width + gap;
        }
        // Two lines kept for the status, so that nothing above moves as it comes and goes.
        const int statusTop = buttonsTop - gap - 2 * line;
        place(status_, margin, statusTop, client.right - 2 * margin, 2 * line);
        const int bottom = statusTop - gap;

        const int inputsWidth = scaled(PlanWindowLayout::inputsWidth);
        place(inputs_->handle(), margin, margin, inputsWidth, bottom - margin);

        const int left = margin + inputsWidth + 2 * gap;
        const int width = client.right - margin - left;
        const int keyHeight = 2 * textHeight(u"=", bold_.get(), width);
        place(keyFigures_, left, margin, width, keyHeight);
        const int viewsTop = margin + keyHeight + gap;
        place(absence_, left, viewsTop + scaled(24), width, bottom - viewsTop - scaled(24));
        RECT strip{0, 0, width, 0};
        TabCtrl_AdjustRect(views_, TRUE, &strip);
        const int stripHeight = std::max(scaled(24), static_cast<int>(-strip.top) + scaled(2));
        place(views_, left, viewsTop, width, stripHeight);
        const int pageTop = viewsTop + stripHeight;
        const int pageHeight = bottom - pageTop;
        place(summary_->handle(), left, pageTop, width, pageHeight);
        place(chart_->handle(), left, pageTop, width, pageHeight);
        // The comparison: its table over the verdict over the chart.
        const int verdictHeight = textHeight(textOf(verdict_), font_.get(), width);
        const int tableHeight = std::max(6 * line, (pageHeight - verdictHeight) * 9 / 20);
        place(comparison_, left, pageTop, width, tableHeight);
        place(verdict_, left, pageTop + tableHeight + gap, width, verdictHeight);
        const int chartTop = pageTop + tableHeight + verdictHeight + 2 * gap;
        place(comparisonChart_->handle(), left, chartTop, width, bottom - chartTop);

        // The totals and the note under the table: the note gets what is
        // left of a third of the page, and scrolls beyond it.
        const int totalsHeight = textHeight(textOf(totals_), font_.get(), width);
        const int noteWanted =
            textHeight(textOf(note_), font_.get(), width - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_));
        const int noteHeight = std::min(noteWanted, std::max(2 * line, pageHeight / 3 - totalsHeight));
        const int listHeight = pageHeight - totalsHeight - noteHeight - 2 * gap;
        place(installments_->handle(), left, pageTop, width, listHeight);
        place(totals_, left, pageTop + listHeight + gap, width, totalsHeight);
        place(note_, left, pageTop + listHeight + gap + totalsHeight + gap, width, noteHeight);
        ShowScrollBar(note_, SB_VERT, noteWanted > noteHeight);

        const bool hint = IsWindowVisible(yearsHint_) != FALSE;
        const int hintHeight = hint ? textHeight(text(PlanWindowLayout::yearsNeedDates), font_.get(), width) + gap : 0;
        place(yearsHint_, left, pageTop + gap, width, hintHeight);
        place(years_->handle(), left, pageTop + hintHeight, width, pageHeight - hintHeight);
    }
    RECT panel{};
    GetClientRect(inputs_->handle(), &panel);
    inputs_->setContentHeight(layoutInputs(panel.right));
    GetClientRect(summary_->handle(), &panel);
    summary_->setContentHeight(layoutSummary(panel.right));
    installments_->fitColumns();
    years_->fitColumns();
}

void PlanWindow::showInputs()
{
    for (const InputControls& row : inputRows_) {
        const PlanInputSpec& spec = planInputSpec(row.id);
        if (spec.listed()) {
            const auto shown = static_cast<LRESULT>(form_.shownChoice(row.id));
            if (SendMessageW(row.control, CB_GETCURSEL, 0, 0) != shown)
                SendMessageW(row.control, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
            continue;
        }
        setText(row.control, form_.shownText(row.id));
        // The figure worked out from the others is the program's: read only, on the window's ground.
        const bool workedOut = form_.workedOut(row.id);
        if (((GetWindowLongW(row.control, GWL_STYLE) & ES_READONLY) != 0) != workedOut)
            SendMessageW(row.control, EM_SETREADONLY, workedOut, 0);
        const auto reading = form_.reading(row.id);
        const Text read = reading ? (reading->empty() || workedOut ? *reading : u"= " + *reading) : Text(u"?");
        setText(row.reading, read);
        // A screen reader hears what the field read, or for the penalty what the law allows.
        accessible_.set(row.control, {text(spec.accessibleName),
                                      row.id == PlanInput::Penalty ? text(PlanWindowLayout::penaltyNote) : read});
    }
}

// The figures in the summary, under their groups' headings; made again only
// where the figures shown are others, otherwise their texts change in place.
void PlanWindow::showFigures()
{
    struct Entry {
        std::optional<FigureId> id; // none for a heading
        Text label, value;
    };
    std::vector<Entry> entries;
    const auto group = [&](std::u16string_view heading, const std::vector<Figure>& figures) {
        if (figures.empty())
            return;
        entries.push_back({std::nullopt, text(heading), {}});
        for (const Figure& figure : figures)
            entries.push_back({figure.id, figure.label + u":", figure.value});
    };
    group(PlanWindowLayout::loanHeading, form_.loanFigures());
    group(PlanWindowLayout::costsHeading, form_.costFigures());
    group(PlanWindowLayout::repaymentHeading, form_.repaymentFigures());

    // The same figures in the same places: the value shown in each place is the one named for it.
    bool same = entries.size() == figures_.size();
    for (std::size_t k = 0; same && k < entries.size(); ++k)
        same = entries[k].id ? figures_[k].value && control(objectName(*entries[k].id)) == figures_[k].value
                             : figures_[k].heading;
    if (!same) {
        for (const FigureControls& figure : figures_) {
            DestroyWindow(figure.label);
            if (figure.value)
                DestroyWindow(figure.value);
        }
        figures_.clear();
        for (int id = 0; id < figureIdCount; ++id)
            named_.erase(objectName(static_cast<FigureId>(id)));
        const HWND panel = summary_->handle();
        for (const Entry& entry : entries) {
            HWND label = make(panel, L"STATIC", entry.label, SS_LEFT | SS_NOPREFIX, -1, {});
            HWND value = nullptr;
            if (entry.id)
                value = make(panel, L"STATIC", entry.value, SS_LEFT | SS_NOPREFIX, -1, objectName(*entry.id));
            else
                SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
            figures_.push_back({label, value, !entry.id});
        }
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        setText(figures_[k].label, entries[k].label);
        if (!entries[k].id)
            continue;
        setText(figures_[k].value, entries[k].value);
        // A screen reader hears what the figure is and what it is worth.
        Text name = entries[k].label;
        name += u" " + entries[k].value;
        accessible_.set(figures_[k].value, {std::move(name), {}});
    }
    setText(keyFigures_, keyFiguresLine(form_.figures()));
}

void PlanWindow::showOffers()
{
    const auto count = static_cast<int>(form_.offerCount());
    bool same = SendMessageW(offers_, CB_GETCOUNT, 0, 0) == count;
    std::vector<wchar_t> item;
    for (int k = 0; same && k < count; ++k) {
        const Text& name = form_.offerName(static_cast<std::size_t>(k));
        item.assign(static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(offers_, CB_GETLBTEXTLEN, k, 0))) + 1,
                    L'\0');
        SendMessageW(offers_, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(item.data()));
        same = Text(reinterpret_cast<const char16_t*>(item.data())) == name;
    }
    if (!same) {
        SendMessageW(offers_, CB_RESETCONTENT, 0, 0);
        for (int k = 0; k < count; ++k)
            SendMessageW(offers_, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(wide(form_.offerName(static_cast<std::size_t>(k)))));
    }
    SendMessageW(offers_, CB_SETCURSEL, form_.currentOffer(), 0);
    setText(offerName_, form_.offerName(form_.currentOffer()));
    setText(window_, form_.title());
}

void PlanWindow::showComparison()
{
    const OfferComparison comparison = form_.comparison();
    ListView_DeleteAllItems(comparison_);
    while (ListView_DeleteColumn(comparison_, 0)) {
    }
    const auto addColumn = [&](int at, const Text& title, int format) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = format;
        column.pszText = const_cast<wchar_t*>(wide(title));
        column.iSubItem = at;
        ListView_InsertColumn(comparison_, at, &column);
    };
    addColumn(0, Text(), LVCFMT_LEFT);
    for (std::size_t k = 0; k < comparison.names.size(); ++k)
        addColumn(static_cast<int>(k) + 1, comparison.names[k], LVCFMT_RIGHT);
    cheapest_.clear();
    for (std::size_t r = 0; r < comparison.rows.size(); ++r) {
        const ComparisonRow& row = comparison.rows[r];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<wchar_t*>(wide(row.label));
        ListView_InsertItem(comparison_, &item);
        for (std::size_t k = 0; k < row.values.size(); ++k)
            ListView_SetItemText(comparison_, static_cast<int>(r), static_cast<int>(k) + 1,
                                 const_cast<wchar_t*>(wide(row.values[k])));
        const std::string_view id = row.id;
        cheapest_.push_back(id == "Taeg"           ? comparison.lowestRate
                            : id == "CostOfCredit" ? comparison.lowestCost
                                                   : std::vector<bool>(row.values.size(), false));
    }
    // Each column as wide as its widest text in the list's own font, the
    // name over it included, with room for the bold of the cheapest: none cut, none stretched.
    const auto measured = [&](const Text& shown) {
        return ListView_GetStringWidth(comparison_, const_cast<wchar_t*>(wide(shown)));
    };
    for (std::size_t c = 0; c <= comparison.names.size(); ++c) {
        int width = c == 0 ? 0 : measured(comparison.names[c - 1]);
        for (const ComparisonRow& row : comparison.rows)
            width = std::max(width, c == 0 ? measured(row.label) : measured(row.values[c - 1]) * 23 / 20);
        ListView_SetColumnWidth(comparison_, static_cast<int>(c), width + scaled(20));
    }
    Text said = comparison.verdict;
    for (const Text& note : comparison.notes)
        said += u"\n" + note;
    setText(verdict_, said);
    comparisonChart_->show(comparison);
}

LRESULT PlanWindow::drawComparisonItem(NMLVCUSTOMDRAW& draw) const
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
        const auto offer = static_cast<std::size_t>(std::max(0, draw.iSubItem - 1));
        const bool marked =
            draw.iSubItem > 0 && row < cheapest_.size() && offer < cheapest_[row].size() && cheapest_[row][offer];
        // Every cell says its font: one that kept the last cell's would be bold too.
        SelectObject(draw.nmcd.hdc, marked ? bold_.get() : font_.get());
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool PlanWindow::canExport() const { return comparing() ? form_.offerCount() > 0 : form_.canExport(); }

void PlanWindow::planChanged()
{
    if (!window_)
        return;
    showOffers();
    showComparison();
    showInputs();
    showFigures();
    setText(totals_, totalsLine(form_.totals()));
    Text noteText = form_.note();
    // The edit control breaks lines only at CR LF.
    for (std::size_t at = 0; (at = noteText.find(u'\n', at)) != Text::npos; at += 2)
        noteText.insert(at, 1, u'\r');
    setText(note_, noteText);
    setText(status_, form_.error() ? *form_.error() : Text());
    setText(notice_, form_.notice() ? *form_.notice() : Text());

    const AmortizationPlan* plan = form_.plan();
    setText(absence_, plan ? Text() : form_.refusal() ? *form_.refusal() : text(PlanWindowLayout::noLoanYet));
    installments_->show(plan);
    years_->show(plan);
    chart_->show(plan);
    enableExports();
    showView(view_);
    // A new loan opens at its top.
    if (form_.loansShown() != loansShown_) {
        loansShown_ = form_.loansShown();
        for (const PlanListView* list : {installments_.get(), years_.get()})
            if (list->rowCount() > 0) {
                ListView_EnsureVisible(list->handle(), 0, FALSE);
                ListView_SetItemState(list->handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
                ListView_SetItemState(list->handle(), 0, LVIS_FOCUSED, LVIS_FOCUSED);
            }
        summary_->scrollTo(0);
    }
}

// Nothing goes out as if it were the plan on screen while an input is
// wrong, nor twice at once.
void PlanWindow::enableExports()
{
    for (const auto& [command, button] : buttons_)
        if (command == PlanCommand::RemoveOffer)
            EnableWindow(button, form_.offerCount() > 1);
        else if (command != PlanCommand::Close && command != PlanCommand::StartClean && !offersCommand(command))
            EnableWindow(button, canExport() && !printing_);
}

void PlanWindow::place()
{
    // The preferred client size, within the work area with the frame around it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(mainWindow_ ? mainWindow_ : window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT frame{0, 0, scaled(PlanWindowLayout::preferredWidth), scaled(PlanWindowLayout::preferredHeight)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)), dpi_);
    RECT smallest{0, 0, scaled(PlanWindowLayout::minimumWidth), scaled(PlanWindowLayout::minimumHeight)};
    AdjustWindowRectExForDpi(&smallest, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)), dpi_);
    RECT main{};
    if (mainWindow_)
        GetWindowRect(mainWindow_, &main);
    const ScreenRect where =
        placeBeside({main.left, main.top, main.right - main.left, main.bottom - main.top},
                    {work.left, work.top, work.right - work.left, work.bottom - work.top}, frame.right - frame.left,
                    frame.bottom - frame.top, smallest.right - smallest.left);
    SetWindowPos(window_, nullptr, where.left, where.top, where.width, where.height, SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
}

void PlanWindow::open(bool withCalculation)
{
    if (withCalculation)
        form_.open();
    if (!placed_)
        place();
    ShowWindow(window_, SW_SHOW);
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
    layout();
    // What the user asked to see: the table, ready for the arrow keys; the capital where there is no plan.
    if (form_.plan() && withCalculation) {
        if (view_ != PlanView::Installments)
            showView(PlanView::Installments);
        SetFocus(installments_->handle());
        if (ListView_GetNextItem(installments_->handle(), -1, LVNI_FOCUSED) < 0)
            ListView_SetItemState(installments_->handle(), 0, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        SetFocus(control(planInputSpec(PlanInput::Solve).objectName));
    }
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
        if (!form_.plan())
            return true;
        const auto count = static_cast<int>(views.size());
        int at = 0;
        for (int k = 0; k < count; ++k)
            if (views[static_cast<std::size_t>(k)].id == view_)
                at = k;
        at = (at + ((GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1)) % count;
        showView(views[static_cast<std::size_t>(at)].id);
        return true;
    }
    // The offers' keys: Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S.
    if (message.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        for (const PlanCommandLayout& command : PlanWindowLayout::commands()) {
            const std::u16string_view keys = command.shortcut;
            if (keys.empty() || static_cast<WPARAM>(keys.back()) != message.wParam ||
                (keys.find(u"Shift+") != std::u16string_view::npos) != shift)
                continue;
            run(command.id);
            return true;
        }
    }
    if (message.message == WM_SYSCHAR && form_.plan())
        for (const PlanViewLayout& view : views)
            if (const wint_t key = accessKey(view.caption);
                key != 0 && key == std::towlower(static_cast<wint_t>(message.wParam))) {
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
    const bool shown = form_.plan() != nullptr;
    const bool dated = shown && form_.plan()->firstDue();
    const HWND focus = GetFocus();
    // Where the loan has no plan, why, in the views' place.
    const std::pair<HWND, bool> pages[] = {
        {views_, shown},
        {summary_->handle(), shown && view == PlanView::Summary},
        {installments_->handle(), shown && view == PlanView::Installments},
        {totals_, shown && view == PlanView::Installments},
        {note_, shown && view == PlanView::Installments},
        {years_->handle(), shown && view == PlanView::Years},
        {yearsHint_, shown && view == PlanView::Years && !dated},
        {chart_->handle(), shown && view == PlanView::Chart},
        {comparison_, shown && view == PlanView::Comparison},
        {verdict_, shown && view == PlanView::Comparison},
        {comparisonChart_->handle(), shown && view == PlanView::Comparison},
        {absence_, !shown},
    };
    for (const auto& [page, visible] : pages)
        ShowWindow(page, visible ? SW_SHOWNA : SW_HIDE);
    // The focus never stays in a view no longer shown.
    for (const auto& [page, visible] : pages)
        if (!visible && focus == page)
            SetFocus(shown ? views_ : control(planInputSpec(PlanInput::Solve).objectName));
    enableExports();
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
        if (header->hwndFrom == comparison_ && header->code == NM_CUSTOMDRAW) {
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, drawComparisonItem(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
            return TRUE;
        }
        if (header->code == LVN_GETDISPINFOW)
            for (PlanListView* list : {installments_.get(), years_.get()})
                if (header->hwndFrom == list->handle()) {
                    list->answer(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
                    return TRUE;
                }
        return FALSE;
    }
    case WM_CTLCOLORSTATIC: {
        // What a field read, in the grey of a hint: it is the program's, not the user's.
        const auto control = reinterpret_cast<HWND>(lParam);
        for (const InputControls& row : inputRows_)
            if (row.reading == control) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
                SetBkColor(dc, GetSysColor(COLOR_3DFACE));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_3DFACE));
            }
        return FALSE;
    }
    case WM_SIZE:
        layout();
        return TRUE;
    case WM_SHOWWINDOW:
        // A shown window follows each new calculation of the main window.
        form_.setShown(wParam != FALSE);
        return FALSE;
    case WM_GETMINMAXINFO: {
        RECT frame{0, 0, scaled(PlanWindowLayout::minimumWidth), scaled(PlanWindowLayout::minimumHeight)};
        AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                                 static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)), dpi_);
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
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
        // Offers not saved are asked about first.
        if (!settleUnsaved())
            return TRUE;
        ShowWindow(window_, SW_HIDE);
        if (mainWindow_)
            SetForegroundWindow(mainWindow_);
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
    const auto commands = PlanWindowLayout::commands();
    if (id >= firstCommandId && id < firstCommandId + static_cast<int>(commands.size())) {
        if (notification == BN_CLICKED)
            run(commands[static_cast<std::size_t>(id - firstCommandId)].id);
        return;
    }
    if (id == offersId && notification == CBN_SELCHANGE) {
        const auto chosen = SendMessageW(offers_, CB_GETCURSEL, 0, 0);
        if (chosen >= 0)
            form_.selectOffer(static_cast<std::size_t>(chosen));
        return;
    }
    if (id == offerNameId && notification == EN_CHANGE) {
        form_.renameOffer(textOf(offerName_));
        return;
    }
    if (id < firstInputId || id >= firstInputId + static_cast<int>(planInputCount))
        return;
    const auto input = static_cast<PlanInput>(id - firstInputId);
    const HWND control = inputRows_[static_cast<std::size_t>(input)].control;
    if (planInputSpec(input).listed()) {
        if (notification != CBN_SELCHANGE)
            return;
        const auto choice = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (choice >= 0)
            form_.choose(input, static_cast<std::size_t>(choice));
    } else if (notification == EN_CHANGE) {
        form_.edit(input, textOf(control));
    }
}

void PlanWindow::run(PlanCommand command)
{
    switch (command) {
    case PlanCommand::Copy:
        if (canExport())
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
    case PlanCommand::StartClean:
        form_.startClean();
        break;
    case PlanCommand::NewOffer:
        form_.copyOffer();
        SetFocus(offerName_);
        SendMessageW(offerName_, EM_SETSEL, 0, -1);
        break;
    case PlanCommand::RemoveOffer:
        form_.removeOffer();
        break;
    case PlanCommand::OpenOffers:
        chooseOffersFile();
        break;
    case PlanCommand::SaveOffers:
        saveOffers(false);
        break;
    case PlanCommand::SaveOffersAs:
        saveOffers(true);
        break;
    }
}

void PlanWindow::chooseOffersFile()
{
    if (!settleUnsaved())
        return;
    const FileKind& kind = PlanWindowLayout::offersFile;
    std::wstring chosen(65536, L'\0');
    Text filter = text(kind.description) + u'\0' + u"*." + text(kind.extension) + u'\0';
    const Text title = text(PlanWindowLayout::openOffersTitle);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = wide(filter);
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrTitle = wide(title);
    // Several files at once: their offers side by side.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameW(&dialog))
        return;
    // One file: its path. Several: the folder, then each name, each ended by a null.
    std::vector<std::wstring> parts;
    for (const wchar_t* at = chosen.c_str(); *at != L'\0'; at += std::wcslen(at) + 1)
        parts.emplace_back(at);
    std::vector<std::wstring> paths;
    if (parts.size() == 1)
        paths = parts;
    for (std::size_t k = 1; k < parts.size(); ++k)
        paths.push_back(parts[0] + L"\\" + parts[k]);
    openFiles(paths);
}

bool PlanWindow::openFiles(const std::vector<std::wstring>& paths)
{
    std::vector<OffersFileBytes> files;
    for (const std::wstring& path : paths) {
        const Text name(path.begin(), path.end());
        const auto bytes = readFileWhole(path);
        if (!bytes) {
            warn_(notOpenedMessage(name), text(PlanWindowLayout::openOffersTitle));
            return false;
        }
        files.push_back({name, *bytes});
    }
    if (const auto refused = form_.openFiles(files)) {
        warn_(*refused, text(PlanWindowLayout::openOffersTitle));
        return false;
    }
    return true;
}

bool PlanWindow::saveFile(const std::wstring& path)
{
    const Text name(path.begin(), path.end());
    if (writeFileWhole(path, form_.fileBytes())) {
        form_.saved(name);
        return true;
    }
    warn_(offersNotSavedText(name), text(PlanWindowLayout::offersFile.dialogTitle));
    return false;
}

bool PlanWindow::saveOffers(bool choose)
{
    std::optional<std::wstring> path;
    if (form_.filePath() && !choose)
        path = std::wstring(form_.filePath()->begin(), form_.filePath()->end());
    else
        path = chooseSaveFile(PlanWindowLayout::offersFile, PlanWindowLayout::offersFileName);
    return path && saveFile(*path);
}

bool PlanWindow::settleUnsaved()
{
    const auto question = form_.unsavedQuestion();
    if (!question)
        return true;
    const Text title = text(PlanWindowLayout::unsavedTitle);
    switch (MessageBoxW(window_, wide(*question), wide(title), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return saveOffers(false);
    case IDNO:
        return true;
    default:
        return false;
    }
}

Text PlanWindow::tabSeparated() const
{
    if (comparing())
        return comparisonTable(form_.comparison(), u'\t');
    return form_.plan() ? viewTable(view_, *form_.plan(), form_.amounts(), u'\t') : Text();
}

std::optional<std::wstring> PlanWindow::chooseSaveFile(const FileKind& kind, std::u16string_view fileName)
{
    std::wstring path(32768, L'\0');
    const Text name = text(fileName) + u"." + text(kind.extension);
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
        return std::nullopt;
    path.resize(std::wcslen(path.c_str()));
    const Text chosen = withExtension(Text(path.begin(), path.end()), kind);
    return std::wstring(chosen.begin(), chosen.end());
}

void PlanWindow::chooseCsvFile()
{
    if (!canExport())
        return;
    const auto path = comparing()
                          ? chooseSaveFile(PlanWindowLayout::comparisonCsvFile, PlanWindowLayout::comparisonFileName)
                          : chooseSaveFile(viewFileKind(view_, *form_.plan()), viewFileName(view_, *form_.plan()));
    if (path)
        exportCsv(*path);
}

bool PlanWindow::exportCsv(const std::wstring& path)
{
    if (!canExport())
        return false;
    const AmountText& amounts = form_.amounts();
    const char16_t delimiter = csvDelimiter(amounts.decimalSeparator());
    const std::string bytes = toUtf8(comparing() ? comparisonTable(form_.comparison(), delimiter)
                                                 : viewTable(view_, *form_.plan(), amounts, delimiter));
    if (writeFileWhole(path, bytes))
        return true;
    warn_(notSavedMessage(Text(path.begin(), path.end())), u"Esporta CSV");
    return false;
}

void PlanWindow::choosePrinter()
{
    if (!canExport())
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
    if (!canExport() || !printer || printing_)
        return false;
    // The printout keeps its own copy: a new calculation meanwhile changes the window, not the pages.
    const std::optional<OfferComparison> comparison =
        comparing() ? std::optional<OfferComparison>(form_.comparison()) : std::nullopt;
    const std::optional<PlanReport> report = comparing() ? std::nullopt : form_.report();
    const GdiPrintout printout =
        comparison ? GdiPrintout(printer, *comparison, form_.amounts()) : GdiPrintout(printer, *report);

    const Text title(comparison ? PlanWindowLayout::comparisonTitle : texts::planTitle);
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = wide(title);
    document.lpszOutput = output;
    enum class Outcome { Done, Cancelled, Failed } outcome = Outcome::Done;
    printing_ = true;
    enableExports();
    if (StartDocW(printer, &document) <= 0) {
        // Microsoft Print to PDF, asked for a file name, may be cancelled there.
        outcome = GetLastError() == ERROR_CANCELLED ? Outcome::Cancelled : Outcome::Failed;
    } else {
        {
            PrintProgress progress(window_, text(PlanWindowLayout::printProgressTitle), printout.pageCount());
            for (std::size_t page = 0; page < printout.pageCount() && outcome == Outcome::Done; ++page) {
                if (!progress.next(page + 1))
                    outcome = Outcome::Cancelled;
                else if (StartPage(printer) <= 0)
                    outcome = Outcome::Failed;
                else {
                    printout.paintPage(page);
                    if (EndPage(printer) <= 0)
                        outcome = Outcome::Failed;
                }
            }
        }
        if (outcome != Outcome::Done)
            AbortDoc(printer);
        else if (EndDoc(printer) <= 0)
            outcome = Outcome::Failed;
    }
    printing_ = false;
    enableExports();
    if (outcome == Outcome::Cancelled)
        note(printCancelledNote);
    else if (outcome == Outcome::Failed)
        warn_(Text(printFailedMessage), u"Stampa");
    return outcome == Outcome::Done;
}

void PlanWindow::note(std::u16string_view shown) { setText(status_, text(shown)); }

} // namespace ratalia
