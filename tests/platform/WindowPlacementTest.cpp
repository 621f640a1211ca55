// Placing a window inside the display's work area.

#include "platform/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, AWindowIsMovedAndShrunkIntoTheWorkAreaButNotBelowItsMinimum)
{
    // The window inside a 1000-pixel display's work area.
    const PlaceRect area{0, 27, 1280, 1000};
    EXPECT_EQ(FitRectInside({193, 265, 193 + 894, 265 + 760}, area), (PlaceRect{193, 240, 193 + 894, 1000}));
    EXPECT_EQ(FitRectInside({-50, 0, 850, 1200}, area), (PlaceRect{0, 27, 900, 1000}));
    EXPECT_EQ(FitRectInside({-50, 0, 850, 1200}, area, 0, 1100), (PlaceRect{0, 27, 900, 1127}));
}
