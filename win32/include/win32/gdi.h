#pragma once

// GDI objects owned by the object that made them, released when it goes.

#include <windows.h>

#include <string>
#include <utility>

namespace ratalia {

template <typename Handle> class GdiObject {
public:
    explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    void reset(Handle handle = nullptr)
    {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }
    Handle get() const { return handle_; }

private:
    Handle handle_;
};

using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;

// An object selected into a device context until the selection goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A device context made for a printer, or for measuring texts, deleted when it goes.
class OwnedDc {
public:
    explicit OwnedDc(HDC dc = nullptr) : dc_(dc) {}
    ~OwnedDc()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    OwnedDc(const OwnedDc&) = delete;
    OwnedDc& operator=(const OwnedDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};
using PrinterDc = OwnedDc;

// The face Windows writes its dialogs in: Segoe UI, unless the system has another.
inline std::wstring messageFace()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0] != L'\0')
        return metrics.lfMessageFont.lfFaceName;
    return L"Segoe UI";
}

// The window's face at a size in points, for a device of `dpi` dots per inch.
inline Font messageFont(int points, UINT dpi, bool bold = false, bool underline = false, const wchar_t* face = nullptr)
{
    return Font(CreateFontW(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                            underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH, face ? face : messageFace().c_str()));
}

} // namespace ratalia
