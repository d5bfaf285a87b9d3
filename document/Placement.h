#pragma once
// One placed picture: a frame in inches on a page. Its first 48 bytes are the
// exact record of the arrangement file (little-endian); the view that follows
// is kept in the file's extension area, as are its cell, its link and its turn.
#include <cstddef>
#include <cstdint>

// The part of the picture a frame shows: a centre in picture-normalised
// coordinates (0..1, x from the left, y from the top) and a zoom of at least 1
// (1 shows what a centred cut shows). All zero, as a new placement holds it,
// means no view was chosen and the frame shows the picture as it always has.
struct FrameView {
    double CentreX = 0;
    double CentreY = 0;
    double Zoom = 0;

    [[nodiscard]] bool chosen() const { return Zoom >= 1; }
    friend bool operator==(const FrameView &, const FrameView &) = default;
};

struct Placement {
    double Left;   // inches from the printable area's left edge
    double Top;    // inches from the printable area's top edge
    double Width;  // inches
    double Height; // inches
    std::int32_t Page;      // 1-based
    std::int32_t PictureId; // the PictureEntry shown in the frame
    std::uint8_t Cut;       // 1 = fill the frame with a centred crop, 0 = fit in
    std::uint8_t Reserved[7];
    FrameView View;
    // A contact sheet cell: 1-based index of its caption lines in the
    // arrangement's SheetTexts::Cells; 0 for an ordinary frame.
    std::int32_t Cell = 0;
    // Copies of one picture at one frame size that show the same part of it:
    // the same number, moved and zoomed together; 0 for a frame of its own.
    std::int32_t Link = 0;
    // Quarter turns clockwise (0..3) the frame shows its picture with; a
    // print sheet turns frames to pack them. Layout and view work on the
    // picture as turned.
    std::int32_t Turn = 0;
    std::int32_t Unused = 0; // keeps the record free of padding
};
inline constexpr std::size_t PlacementRecordSize = 48;
// Links run from 1 to this; room to number a sheet's links after the ones held.
inline constexpr std::int32_t MaxLink = 1 << 29;
static_assert(offsetof(Placement, Left) == 0);
static_assert(offsetof(Placement, Top) == 8);
static_assert(offsetof(Placement, Width) == 16);
static_assert(offsetof(Placement, Height) == 24);
static_assert(offsetof(Placement, Page) == 32);
static_assert(offsetof(Placement, PictureId) == 36);
static_assert(offsetof(Placement, Cut) == 40);
static_assert(offsetof(Placement, Reserved) == 41);
static_assert(offsetof(Placement, View) == PlacementRecordSize);
// No padding: undo compares placements byte for byte.
static_assert(sizeof(Placement) == PlacementRecordSize + 3 * sizeof(double) + 4 * sizeof(std::int32_t));
