#pragma once
// Makes room in a dialog laid out from a template (positions and sizes in
// dialog units) for controls whose texts need more than the template gave
// them in the toolkit's font and theme. A control that is too small grows;
// what lies beyond it on its row (or in its column) moves on by what the
// free space there does not absorb, a group box around it grows with it, and
// the client area grows last. Rows that do not meet the control keep their
// places, so the template's look stays where it fits.

#include <vector>

struct ReflowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool operator==(const ReflowRect&) const = default;
};

struct ReflowItem {
    ReflowRect rect;
    // The size its text needs; 0 where nothing is needed (an edit field, a
    // list, a group box).
    int needWidth = 0;
    int needHeight = 0;
    // A group box: what lies inside it stays inside it, its padding away
    // from its right and bottom edges.
    bool group = false;
};

struct ReflowSize {
    int width = 0;
    int height = 0;
    bool operator==(const ReflowSize&) const = default;
};

// Grows the items that need it and moves the others out of their way, first
// along the rows, then down the columns; the client size grows to keep the
// margin the template left at its right and bottom. groupPadding: the room
// kept between a group box's right and bottom edges and what it holds.
void ReflowToFit(std::vector<ReflowItem>& items, ReflowSize& client, int groupPadding);
