#pragma once
// The keypad's speed knob: where its pointer stands for a frequency, and what
// frequency a point dragged to means. Coordinates are the keypad face's
// client pixels; the knob turns about (232,193) over 270 degrees, from the
// lower limit at the lower left to the upper limit at the lower right.

#include <array>
#include <optional>

struct KnobPoint {
    int x = 0;
    int y = 0;
    bool operator==(const KnobPoint&) const = default;
};

using KnobPolygon = std::array<KnobPoint, 3>; // tip, then the two base corners

constexpr KnobPoint kKnobCentre { 232, 193 };
constexpr KnobPolygon kKnobPointerAtStart { KnobPoint { 216, 208 }, KnobPoint { 219, 198 }, KnobPoint { 225, 206 } };
// The area repainted when the pointer moves, and the ellipse that takes a press.
constexpr int kKnobLeft = 206, kKnobTop = 168, kKnobRight = 255, kKnobBottom = 213;

// The share of the knob's travel for a set frequency (hundredths of a hertz):
// 0 at the lower limit, 1 at the upper; clamped to 0..1, and 0 when the
// limits are equal.
double KnobFraction(unsigned setFrequency, unsigned lower, unsigned upper);

// The point, 30 pixels from the centre, that the drag routine is handed to
// place the pointer at a share of the travel.
KnobPoint KnobPointForFraction(double fraction);

struct KnobDrag {
    KnobPolygon pointer;
    // Hundredths of a hertz; absent when the point names none (straight up).
    std::optional<double> frequency;
};

// The pointer and frequency for a point the knob is dragged to; nothing for
// points that do not turn it (straight down, or more than 72 pixels below
// the centre).
std::optional<KnobDrag> DragKnob(KnobPoint point, unsigned lower, unsigned upper);
