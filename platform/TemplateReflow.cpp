#include "platform/TemplateReflow.h"

#include <algorithm>
#include <climits>
#include <map>
#include <utility>

namespace {

// One direction of the layout: along it items grow and move; across it lies
// the band of items that decides how much free space a control has.
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

bool CrossOverlaps(const Axis& axis, const ReflowRect& a, const ReflowRect& b)
{
    return axis.CrossStart(a) < axis.CrossEnd(b) && axis.CrossEnd(a) > axis.CrossStart(b);
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
        if (!CrossOverlaps(axis, other, r))
            continue;
        if (items[j].group && Contains(other, r))
            room = std::min(room, axis.End(other) - groupPadding - axis.End(r));
        else if (axis.Start(other) >= axis.End(r))
            room = std::min(room, axis.Start(other) - axis.End(r));
    }
    return std::max(room, 0);
}

// Opens a gap of amount at line across the whole dialog, leaving out the
// items of the growing column: an edge at or beyond the line moves on, so
// what starts there moves and what ends there grows.
void OpenGap(std::vector<ReflowItem>& items, const std::vector<bool>& growing, const Axis& axis, int line,
             int amount)
{
    for (std::size_t j = 0; j < items.size(); ++j) {
        if (growing[j])
            continue;
        ReflowRect& r = items[j].rect;
        if (axis.Start(r) >= line)
            r.*axis.pos += amount;
        else if (axis.End(r) >= line)
            r.*axis.size += amount;
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
    // The template's columns along the axis: the items that share a start
    // and a size. Gaps move a column's items alike, so they stay one.
    std::map<std::pair<int, int>, std::vector<std::size_t>> columns;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!items[i].group)
            columns[{axis.Start(items[i].rect), axis.End(items[i].rect)}].push_back(i);
    // From the far end back: the columns beyond one have taken their room
    // before its own room is measured. The gaps keep the order of the edges.
    std::vector<std::vector<std::size_t>> order;
    for (auto& [edges, members] : columns)
        order.push_back(members);
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        return axis.End(items[a.front()].rect) > axis.End(items[b.front()].rect);
    });
    int gaps = 0;
    for (const std::vector<std::size_t>& members : order) {
        const ReflowRect& first = items[members.front()].rect;
        int need = 0;
        for (std::size_t i : members)
            need = std::max(need, items[i].*axis.need);
        const int deficit = need - first.*axis.size;
        if (deficit <= 0)
            continue;
        int room = INT_MAX;
        for (std::size_t i : members)
            room = std::min(room, RoomAfter(items, i, axis, groupPadding));
        if (room < deficit) {
            std::vector<bool> growing(items.size(), false);
            for (std::size_t i : members)
                growing[i] = true;
            OpenGap(items, growing, axis, axis.End(first) + room, deficit - room);
            gaps += deficit - room;
        }
        for (std::size_t i : members)
            items[i].rect.*axis.size += deficit;
    }
    clientExtent = std::max(clientExtent + gaps, FarEnd(items, axis) + margin);
}

} // namespace

void ReflowToFit(std::vector<ReflowItem>& items, ReflowSize& client, int groupPadding)
{
    Reflow(items, client.width, kAlongRows, groupPadding);
    Reflow(items, client.height, kDownColumns, groupPadding);
}
