#pragma once
// Resampling and colour depth of pictures. Pure functions on DIB records; the
// caller decides where the progress goes.
#include "picture/Dib.h"
#include "picture/Progress.h"

#include <QImage>
#include <QRectF>
#include <QSize>

// Makes a picture of width and height like `src` with src's depth, colour table,
// logical palette and palette flag. False (out->Bits nil) when out of memory.
bool NewDibLike(DIB *out, const DIB &src, int width, int height);

// Writes a NW x NH copy of `src` to *out in 10-bit fixed point (1024 = one
// source pixel). 24-bit pictures are interpolated bilinearly when `smooth` is on
// and the picture grows in both directions, every other case takes the nearest
// pixel. The source is not changed; out->Bits is nil when memory ran out (or
// the source or size is unusable), and the result is then false.
bool Resize(const DIB &src, int NW, int NH, bool smooth, DIB *out, const ProgressFn &progress = {});

// Replaces a 1-, 4- or 8-bit picture by a 24-bit one with the colours of its
// logical palette. Only depth 24 is a target. False when nothing was changed
// (already 24 bits, other depth, no pixels, out of memory).
bool DepthUpTo(DIB *pic, int depth, const ProgressFn &progress = {});

// Size a W x H picture is enlarged to for at least minPpi pixels per inch
// across a frame frameWidth inches wide, of which the page shows at most
// pageWidth inches (no limit when pageWidth is not positive). The height
// follows the picture's aspect. W x H when the picture is large enough.
struct QualitySize {
    std::int64_t width;
    std::int64_t height;
};
[[nodiscard]] QualitySize MinQualitySize(int W, int H, int minPpi, double frameWidth, double pageWidth);

// The part `source` of a picture (picture pixels, fractions allowed, y counted
// from the bottom row as DrawDib takes it) averaged over the area each of
// size.width() x size.height() output pixels covers, as a top-down opaque
// image; palette pictures through their colour table. Null when the source
// lies outside the picture, the size is empty or beyond the pixel limit, or
// memory ran out. Meant for shrinking: an enlargement takes the nearest pixel.
// The result is turned clockwise by `turns` quarter turns, `size` being its
// size before the turn.
[[nodiscard]] QImage ResampleToImage(const DIB &src, const QRectF &source, QSize size, int turns = 0);
