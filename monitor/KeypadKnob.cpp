#include "monitor/KeypadKnob.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRightStop = 0.7071; // the tangent at the lower right end stop
constexpr int kTipLength = 22;
constexpr int kBaseBack = 10;
constexpr int kPlacementRadius = 30;

int RoundHalfUp(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

} // namespace

double KnobFraction(unsigned setFrequency, unsigned lower, unsigned upper)
{
    if (upper == lower)
        return 0;
    const double f = (static_cast<double>(setFrequency) - lower) / (static_cast<double>(upper) - lower);
    return std::clamp(f, 0.0, 1.0);
}

KnobPoint KnobPointForFraction(double f)
{
    // Clockwise from straight down.
    const double degrees = f * 270 + 45;
    double r = 0; // the acute angle to the vertical axis
    int sx = 0;
    int sy = 0;
    if (f <= 1.0 / 6) {
        r = degrees, sx = -1, sy = 1;
    } else if (f <= 0.5) {
        r = 180 - degrees, sx = -1, sy = -1;
    } else if (f <= 5.0 / 6) {
        r = degrees - 180, sx = 1, sy = -1;
    } else {
        r = 360 - degrees, sx = 1, sy = 1;
    }
    const double rad = r * kPi / 180;
    return { static_cast<int>(kKnobCentre.x + sx * kPlacementRadius * std::sin(rad)),
        static_cast<int>(kKnobCentre.y + sy * kPlacementRadius * std::cos(rad)) };
}

std::optional<KnobDrag> DragKnob(KnobPoint p, unsigned lower, unsigned upper)
{
    const int cx = kKnobCentre.x;
    const int cy = kKnobCentre.y;
    if (p.x == cx) {
        if (p.y >= cy)
            return std::nullopt;
        return KnobDrag { KnobPolygon { KnobPoint { 232, 171 }, KnobPoint { 227, 180 }, KnobPoint { 237, 180 } },
            std::nullopt };
    }
    if (p.y > cy + 72)
        return std::nullopt;
    const bool left = p.x < cx;
    const bool below = p.y >= cy;
    double t = std::abs(static_cast<double>(p.y - cy) / (p.x - cx));
    if (below)
        t = std::min(t, left ? 1.0 : kRightStop);
    const double a = std::atan(t);

    // The pointer's direction as an angle on screen (y grows downwards).
    const double dx = (left ? -1 : 1) * std::cos(a);
    const double dy = (below ? 1 : -1) * std::sin(a);
    const double heading = std::atan2(dy, dx);
    const KnobPoint tip { cx + RoundHalfUp(kTipLength * dx), cy + RoundHalfUp(kTipLength * dy) };
    auto corner = [&](double side) {
        const double back = heading + kPi + side;
        return KnobPoint { RoundHalfUp(tip.x + kBaseBack * std::cos(back)), RoundHalfUp(tip.y + kBaseBack * std::sin(back)) };
    };
    const KnobPolygon pointer { tip, corner(kPi / 6), corner(-kPi / 6) };

    const double range = static_cast<double>(upper) - lower;
    const double quarter = 3 * kPi / 2;
    double share = 0;
    if (left && below)
        share = 1.0 / 6 - a / quarter;
    else if (left)
        share = 1.0 / 6 + a / quarter;
    else if (!below)
        share = 5.0 / 6 - a / quarter;
    else
        share = 5.0 / 6 + (a / std::atan(kRightStop)) / 6;
    return KnobDrag { pointer, lower + range * share };
}
