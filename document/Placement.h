#pragma once
// One placed picture: a frame in inches on a page. This is also the exact
// 48-byte record of the arrangement file (little-endian).
#include <cstddef>
#include <cstdint>

struct Placement {
    double Left;   // inches from the printable area's left edge
    double Top;    // inches from the printable area's top edge
    double Width;  // inches
    double Height; // inches
    std::int32_t Page;      // 1-based
    std::int32_t PictureId; // the PictureEntry shown in the frame
    std::uint8_t Cut;       // 1 = fill the frame with a centred crop, 0 = fit in
    std::uint8_t Reserved[7];
};
static_assert(sizeof(Placement) == 48);
static_assert(offsetof(Placement, Left) == 0);
static_assert(offsetof(Placement, Top) == 8);
static_assert(offsetof(Placement, Width) == 16);
static_assert(offsetof(Placement, Height) == 24);
static_assert(offsetof(Placement, Page) == 32);
static_assert(offsetof(Placement, PictureId) == 36);
static_assert(offsetof(Placement, Cut) == 40);
static_assert(offsetof(Placement, Reserved) == 41);
