#include "layout.h"

#include <algorithm>

std::optional<MainLayout> layout::mainLayout(double outerWidth, double outerHeight, double clientWidth)
{
    if (clientWidth == 0)
        return std::nullopt;
    return MainLayout{outerWidth - Image1Width - RightMargin,
                      std::max(0.0, outerWidth - RightMargin),
                      std::max(0.0, outerHeight - WebHeightAllowance)};
}
