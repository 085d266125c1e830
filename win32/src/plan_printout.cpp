#include "win32/plan_printout.h"

#include "form/program_texts.h"
#include "plan/plan_window_layout.h"

#include <algorithm>

namespace ratalia {
namespace {

const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The number's share of the width; the amounts share the rest alike.
constexpr double numberShare = 0.10;
// The A4 page's margins the Linux printout leaves, in millimetres.
constexpr int marginX = 18;
constexpr int marginY = 15;

int dotsFor(int millimetres, int dotsPerInch) { return MulDiv(millimetres, dotsPerInch, 254) * 10; }

} // namespace

GdiPrintout::GdiPrintout(HDC printer, const PlanReport& report)
    : dc_(printer), report_(report), columns_(columnsOf(report.plan)), yearColumns_(yearColumns(report.plan))
{
    const int dpiX = GetDeviceCaps(printer, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    body_ = messageFont(static_cast<int>(bodyPoints), static_cast<UINT>(dpiY), false, false, L"Arial");
    bold_ = messageFont(static_cast<int>(bodyPoints), static_cast<UINT>(dpiY), true, false, L"Arial");
    title_ = messageFont(static_cast<int>(titlePoints), static_cast<UINT>(dpiY), true, false, L"Arial");
    // The printable area begins at the paper's hardware offset; the margins are the paper's.
    left_ = std::max(0, dotsFor(marginX, dpiX) - GetDeviceCaps(printer, PHYSICALOFFSETX));
    top_ = std::max(0, dotsFor(marginY, dpiY) - GetDeviceCaps(printer, PHYSICALOFFSETY));
    width_ = std::max(1, GetDeviceCaps(printer, HORZRES) - 2 * left_);
    height_ = std::max(1, GetDeviceCaps(printer, VERTRES) - 2 * top_);

    const Selection selected(printer, body_.get());
    line_ = std::max(1, static_cast<int>(linePoints * dpiY / 72 + 0.5));
    RECT note{0, 0, width_, 0};
    DrawTextW(printer, wide(report.note), -1, &note, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    noteLines_ = (note.bottom - note.top + line_ - 1) / line_;

    const auto sections = planSections(report, noteLines_);
    pages_ = paginate(sections, {height_ / line_ - footLines, runningHeaderLines});
}

void GdiPrintout::text(const Text& shown, RECT box, UINT format, HFONT font) const
{
    OffsetRect(&box, left_, top_);
    const Selection selected(dc_, font);
    DrawTextW(dc_, wide(shown), -1, &box, format | DT_NOPREFIX);
}

void GdiPrintout::paintPage(std::size_t page) const
{
    SetBkMode(dc_, TRANSPARENT);
    const Text title(texts::planTitle);
    int y = 0;
    if (page > 0) {
        text(title, {0, 0, width_, line_}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, body_.get());
        y = runningHeaderLines * line_;
    }
    for (const PagePiece& piece : pages_[page].pieces) {
        switch (piece.section) {
        case Opening:
            text(title, {0, y, width_, y + titleLines * line_}, DT_LEFT | DT_TOP | DT_SINGLELINE, title_.get());
            y = figures(y + titleLines * line_, report_.figures) + line_;
            break;
        case Table:
            y = grid(y, piece, columns_, [this](std::size_t r, PlanColumn column) {
                return cellText(report_.plan, report_.plan.rows()[r], column, report_.amounts, true);
            });
            break;
        case Years:
            text(Text(yearsTitle), {0, y, width_, y + line_}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, bold_.get());
            y = grid(y + line_, piece, yearColumns_, [this](std::size_t r, YearColumn column) {
                return cellText(report_.years[r], column, report_.amounts, true);
            });
            break;
        case Closing:
            y = figures(y + line_, report_.totals) + line_;
            text(report_.note, {0, y, width_, y + noteLines_ * line_}, DT_LEFT | DT_TOP | DT_WORDBREAK, body_.get());
            y += noteLines_ * line_ + (report_.years.empty() ? 0 : line_);
            break;
        default:
            break;
        }
    }
    text(pageFoot(page + 1, pages_.size()), {0, height_ - line_, width_, height_},
         DT_CENTER | DT_VCENTER | DT_SINGLELINE, body_.get());
}

int GdiPrintout::figures(int y, const std::vector<Figure>& list) const
{
    const int split = width_ * 3 / 10;
    for (const Figure& figure : list) {
        text(figure.label + u":", {0, y, split, y + line_}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, body_.get());
        text(figure.value, {split, y, width_, y + line_}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, bold_.get());
        y += line_;
    }
    return y;
}

template <typename Column, typename CellOf>
int GdiPrintout::grid(int y, const PagePiece& piece, const std::vector<Column>& columns, CellOf cellOf) const
{
    std::vector<Text> texts;
    for (const Column column : columns)
        texts.push_back(columnTitle(column));
    cells(y, texts, bold_.get());
    y += line_;
    rule(y);
    for (std::size_t r = piece.firstRow; r < piece.firstRow + piece.rowCount; ++r) {
        texts.clear();
        for (const Column column : columns)
            texts.push_back(cellOf(r, column));
        cells(y, texts, body_.get());
        y += line_;
    }
    return y;
}

void GdiPrintout::cells(int y, const std::vector<Text>& texts, HFONT font) const
{
    const int padding = line_ * 3 / 10;
    const double amountWidth = width_ * (1 - numberShare) / static_cast<double>(texts.size() - 1);
    for (std::size_t c = 0; c < texts.size(); ++c) {
        const int left = c == 0 ? 0 : static_cast<int>(width_ * numberShare + static_cast<double>(c - 1) * amountWidth);
        const int right = c == 0 ? static_cast<int>(width_ * numberShare)
                                 : static_cast<int>(width_ * numberShare + static_cast<double>(c) * amountWidth);
        text(texts[c], {left, y, right - padding, y + line_}, DT_RIGHT | DT_VCENTER | DT_SINGLELINE, font);
    }
}

void GdiPrintout::rule(int y) const
{
    const Pen pen(CreatePen(PS_SOLID, std::max(1, line_ / 20), RGB(0, 0, 0)));
    const Selection selected(dc_, pen.get());
    MoveToEx(dc_, left_, top_ + y, nullptr);
    LineTo(dc_, left_ + width_, top_ + y);
}

} // namespace ratalia
