#pragma once

#include <optional>

// What the main window's layout rule changes, in twips.
struct MainLayout
{
    double image1Left;
    double webWidth;
    double webHeight;
    double zoomLeft;
};

namespace layout {
constexpr double Image1Width = 3600;
constexpr double RightMargin = 200;
constexpr double WebHeightAllowance = 1500;
// The site's zoom, right of the status line as designed (StatusLeft 4440,
// 4335 wide, and a gap); on a window so narrow that the logo would cover it,
// left of the logo, but never over the buttons.
constexpr double ZoomLeft = 8835, ZoomWidth = 900, ZoomGap = 60, ZoomLeftmost = 4440;

// The layout rule for a window of the given outer size (twips). Nothing moves
// when the client width is 0 (a minimized window). The logo may go left of
// the window's edge; a web view size below 0 is applied as 0.
std::optional<MainLayout> mainLayout(double outerWidth, double outerHeight, double clientWidth);
}
