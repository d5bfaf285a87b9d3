#pragma once
// The order packing's lengths and room, shared by the packing and its lower
// bounds. Only for arrange/Order*.cpp.
#include "arrange/SheetLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QRectF>

namespace OrderUnits {
// Hundredths of a millimetre: whole numbers keep the free-rectangle
// bookkeeping exact, and rounding each frame's cell up never lets two frames
// come closer than the gap.
using Unit = std::int64_t;
constexpr double PerMm = 100;
// Lengths that add up to the room exactly must still fit after rounding.
constexpr double Slack = 1e-6;

inline Unit CellUp(double mm) { return Unit(std::ceil(mm * PerMm - Slack)); }
inline Unit RoomDown(double mm) { return Unit(std::floor(mm * PerMm + Slack)); }

// The usable area, and in units grown by the gap.
struct Room {
    QRectF Usable;
    Unit W = 0, H = 0, Gap = 0;
    double GapMm = 0;
};

inline Room RoomOf(const SheetArea &sheet, const SheetSpacing &spacing)
{
    Room r;
    SheetSpacing plain = spacing;
    plain.Borderless = false; // orders are cut with a margin all round
    r.Usable = UsableArea(sheet, plain);
    r.GapMm = std::max(0.0, spacing.Gap);
    if (!r.Usable.isEmpty()) {
        r.W = RoomDown(r.Usable.width() + r.GapMm);
        r.H = RoomDown(r.Usable.height() + r.GapMm);
    }
    return r;
}

inline bool ValidSize(QSizeF s)
{
    return std::isfinite(s.width()) && std::isfinite(s.height()) && s.width() > 0 && s.height() > 0
        && s.width() <= 10000 && s.height() <= 10000;
}
} // namespace OrderUnits
