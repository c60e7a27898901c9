#include "layout.h"

#include <algorithm>

std::optional<MainLayout> layout::mainLayout(double outerWidth, double outerHeight, double clientWidth)
{
    if (clientWidth == 0)
        return std::nullopt;
    const double image1Left = outerWidth - Image1Width - RightMargin;
    return MainLayout{image1Left, std::max(0.0, outerWidth - RightMargin),
                      std::max(0.0, outerHeight - WebHeightAllowance),
                      std::clamp(image1Left - ZoomGap - ZoomWidth, ZoomLeftmost, ZoomLeft)};
}
