#include "platform/TemplateReflow.h"

#include <algorithm>
#include <climits>

namespace {

// One direction of the layout: along it items grow and move; across it lies
// the band of items that a growth concerns.
struct Axis {
    int ReflowRect::*pos;
    int ReflowRect::*size;
    int ReflowRect::*crossPos;
    int ReflowRect::*crossSize;
    int ReflowItem::*need;

    int Start(const ReflowRect& r) const { return r.*pos; }
    int End(const ReflowRect& r) const { return r.*pos + r.*size; }
    int CrossStart(const ReflowRect& r) const { return r.*crossPos; }
    int CrossEnd(const ReflowRect& r) const { return r.*crossPos + r.*crossSize; }
};

constexpr Axis kAlongRows{&ReflowRect::x, &ReflowRect::width, &ReflowRect::y, &ReflowRect::height,
                          &ReflowItem::needWidth};
constexpr Axis kDownColumns{&ReflowRect::y, &ReflowRect::height, &ReflowRect::x, &ReflowRect::width,
                            &ReflowItem::needHeight};

bool CrossOverlaps(const Axis& axis, const ReflowRect& r, int lo, int hi)
{
    return axis.CrossStart(r) < hi && axis.CrossEnd(r) > lo;
}

bool Contains(const ReflowRect& outer, const ReflowRect& inner)
{
    return outer.x <= inner.x && outer.y <= inner.y && outer.Right() >= inner.Right() &&
           outer.Bottom() >= inner.Bottom();
}

// Free space after item i along the axis before something on its band: the
// next item beyond it, or the inner edge of a group box around it. INT_MAX
// when nothing bounds it but the client area, which can grow.
int RoomAfter(const std::vector<ReflowItem>& items, std::size_t i, const Axis& axis, int groupPadding)
{
    const ReflowRect& r = items[i].rect;
    int room = INT_MAX;
    for (std::size_t j = 0; j < items.size(); ++j) {
        if (j == i)
            continue;
        const ReflowRect& other = items[j].rect;
        if (!CrossOverlaps(axis, other, axis.CrossStart(r), axis.CrossEnd(r)))
            continue;
        if (items[j].group && Contains(other, r))
            room = std::min(room, axis.End(other) - groupPadding - axis.End(r));
        else if (axis.Start(other) >= axis.End(r))
            room = std::min(room, axis.Start(other) - axis.End(r));
    }
    return std::max(room, 0);
}

// Opens a gap of amount at line on the band of item i: what starts beyond the
// line moves, what spans it grows, and the band widens by every item so moved
// or grown, until no item on it is left behind.
void OpenGap(std::vector<ReflowItem>& items, std::size_t i, const Axis& axis, int line, int amount)
{
    std::vector<bool> done(items.size(), false);
    done[i] = true;
    int lo = axis.CrossStart(items[i].rect);
    int hi = axis.CrossEnd(items[i].rect);
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t j = 0; j < items.size(); ++j) {
            ReflowRect& r = items[j].rect;
            if (done[j] || !CrossOverlaps(axis, r, lo, hi))
                continue;
            if (axis.Start(r) >= line)
                r.*axis.pos += amount;
            else if (axis.End(r) > line)
                r.*axis.size += amount;
            else
                continue;
            done[j] = true;
            lo = std::min(lo, axis.CrossStart(r));
            hi = std::max(hi, axis.CrossEnd(r));
            changed = true;
        }
    }
}

int FarEnd(const std::vector<ReflowItem>& items, const Axis& axis)
{
    int end = 0;
    for (const ReflowItem& item : items)
        end = std::max(end, axis.End(item.rect));
    return end;
}

void Reflow(std::vector<ReflowItem>& items, int& clientExtent, const Axis& axis, int groupPadding)
{
    const int margin = std::max(clientExtent - FarEnd(items, axis), 0);
    // From the far end back: the items beyond one have taken their room
    // before its own room is measured.
    std::vector<std::size_t> order(items.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return axis.End(items[a].rect) > axis.End(items[b].rect);
    });
    for (std::size_t i : order) {
        ReflowItem& item = items[i];
        const int deficit = item.*axis.need - item.rect.*axis.size;
        if (deficit <= 0)
            continue;
        const int room = RoomAfter(items, i, axis, groupPadding);
        const int line = axis.End(item.rect) + (room == INT_MAX ? 0 : room);
        item.rect.*axis.size += deficit;
        if (room < deficit)
            OpenGap(items, i, axis, line, deficit - room);
    }
    clientExtent = std::max(clientExtent, FarEnd(items, axis) + margin);
}

} // namespace

void ReflowToFit(std::vector<ReflowItem>& items, ReflowSize& client, int groupPadding)
{
    Reflow(items, client.width, kAlongRows, groupPadding);
    Reflow(items, client.height, kDownColumns, groupPadding);
}
