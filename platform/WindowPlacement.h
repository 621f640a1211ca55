#pragma once
// Where a window goes when the program places it by coordinates (beside
// another window, over a view): as near the place asked for as keeps it
// whole inside the display's work area.

struct PlaceRect {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0; // exclusive

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PlaceRect&) const = default;
};

// The window moved inside the area, shrunk to the area where it is larger,
// but never below the minimum size (it then leaves the area at the right and
// bottom, its top-left corner kept inside).
PlaceRect FitRectInside(const PlaceRect& window, const PlaceRect& area, int minWidth = 0, int minHeight = 0);
