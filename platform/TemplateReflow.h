#pragma once
// Makes room in a dialog laid out from a template (positions and sizes in
// dialog units) for controls whose texts need more than the template gave
// them in the toolkit's font and theme. The template's grid is kept: the
// controls that share a column (the same left edge and width) grow together,
// and where the free space beyond them does not absorb the growth, a gap
// opens at one line across the whole dialog: whatever starts at or beyond
// the line moves on, whatever reaches the line grows with it, and the client
// area grows last. Edges that were level stay level and nothing that was
// apart comes to overlap; a control whose text fits keeps its size unless a
// gap opens across it (a group box around a grown control, a control
// spanning grid columns).

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
