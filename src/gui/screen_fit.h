#pragma once
// Windows that open at a size of their own are held to the screen they open
// on, their frame and title bar counted: on a screen of 800 × 600 the help
// (760 × 620) ran off the bottom.

#include <QSize>

class QScreen;
class QWidget;

namespace meridan {

// What a window manager adds around a window, at most: the borders and the
// title bar.
inline constexpr QSize kFrameAllowance{16, 40};

// The size wanted, made smaller where the screen's available area (the
// primary screen's when none is given) cannot hold it with its frame.
QSize FitToScreen(QSize wanted, const QScreen* screen = nullptr);

// The window at that size, no smaller than its minimum.
void ResizeToScreen(QWidget& window, QSize wanted);

}  // namespace meridan
