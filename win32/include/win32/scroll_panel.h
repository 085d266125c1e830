#pragma once

// A column of controls taller than the room it is given, scrolled up and
// down on its own by its bar, the wheel, the keys, and by the focus: a
// control that takes the focus comes into view. Its owner places the
// controls at their places less offset(); what the controls tell their
// parent goes on to the owner. The frames of the controls' groups it paints
// itself: a frame control, which paints no background, over controls of
// its own would leave them unpainted in a panel that clips them.

#include "numbers/text.h"

#include <windows.h>

#include <vector>

namespace ratalia {

class ScrollPanel {
public:
    // A child of `parent`. A panel of inputs lets Tab walk into its
    // controls; a panel of texts alone is a stop of its own, scrolled by the arrows.
    enum class Holds { Inputs, Texts };
    ScrollPanel(HWND parent, Holds holds);
    ~ScrollPanel();
    ScrollPanel(const ScrollPanel&) = delete;
    ScrollPanel& operator=(const ScrollPanel&) = delete;

    HWND handle() const { return window_; }
    // How far the content is scrolled up, in pixels.
    int offset() const { return offset_; }
    // The content's height: the panel scrolls over what does not fit.
    void setContentHeight(int height);
    // A titled frame around a group of its controls, in the content's
    // pixels; painted by the panel itself, under its controls.
    struct Frame {
        RECT place;
        Text title;
    };
    void setFrames(std::vector<Frame> frames, HFONT font);
    // Scrolls so that the control, a child, shows whole, with `margin` above and below where there is room.
    void reveal(HWND control, int margin);
    void scrollTo(int offset);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    int room() const;
    void updateBar() const;
    int line() const;
    void paint(HDC dc) const;

    HWND window_ = nullptr;
    std::vector<Frame> frames_;
    HFONT font_ = nullptr;
    Holds holds_;
    int content_ = 0;
    int offset_ = 0;
    int wheel_ = 0; // a fine wheel's turn, until it makes a line
};

} // namespace ratalia
