#include "picture/Rotate.h"

#include "picture/Resample.h"

#include <algorithm>

namespace {

// Rows of the old picture, counted from the top like getpixel, go into columns
// of the new one: left turn (x, y) -> (y, W-1-x), right turn -> (H-1-y, x).
void turnByPixel(const DIB &src, const DIB &dst, bool left, const ProgressFn &progress)
{
    const int W = DibWidth(src), H = DibHeight(src);
    for (int y = 0; y < H; ++y) {
        ReportProgress(progress, RowProgress(y, H));
        for (int x = 0; x < W; ++x) {
            if (left)
                setpixel(dst, y, W - 1 - x, getpixel(src, x, y));
            else
                setpixel(dst, H - 1 - y, x, getpixel(src, x, y));
        }
    }
}

// The same mapping on whole bytes, in square tiles so that the scattered writes
// stay in cache. Progress is reported once per band of rows.
template <int PixelBytes>
void turnByTiles(const DIB &src, const DIB &dst, bool left, const ProgressFn &progress)
{
    constexpr int Tile = 32;
    const int W = DibWidth(src), H = DibHeight(src);
    for (int y0 = 0; y0 < H; y0 += Tile) {
        ReportProgress(progress, RowProgress(y0, H));
        const int y1 = std::min(H, y0 + Tile);
        for (int x0 = 0; x0 < W; x0 += Tile) {
            const int x1 = std::min(W, x0 + Tile);
            for (int y = y0; y < y1; ++y) {
                // Top row y is stored row H-1-y; the new column is y (left) or H-1-y (right).
                const BYTE *in = DibRow(src, H - 1 - y) + std::size_t(x0) * PixelBytes;
                const std::size_t column = std::size_t(left ? y : H - 1 - y) * PixelBytes;
                for (int x = x0; x < x1; ++x) {
                    // New top row W-1-x (left) is stored row x; new top row x (right) is stored row W-1-x.
                    BYTE *out = DibRow(dst, left ? x : W - 1 - x) + column;
                    for (int b = 0; b < PixelBytes; ++b)
                        out[b] = in[b];
                    in += PixelBytes;
                }
            }
        }
    }
}

bool turn(DIB &pic, bool left, const ProgressFn &progress)
{
    ReportProgress(progress, 0);
    const int W = DibWidth(pic), H = DibHeight(pic);
    DIB turned;
    if (!pic.Bits || W <= 0 || H <= 0 || !NewDibLike(&turned, pic, H, W)) {
        ReportProgress(progress, 0);
        return false;
    }
    switch (DibBitCount(pic)) {
    case 24:
        turnByTiles<3>(pic, turned, left, progress);
        break;
    case 8:
        turnByTiles<1>(pic, turned, left, progress);
        break;
    default:
        turnByPixel(pic, turned, left, progress);
        break;
    }
    deldib(&pic);
    pic = turned;
    ReportProgress(progress, 0);
    return true;
}

template <int PixelBytes>
void mirrorBytes(const BYTE *in, BYTE *out, int width)
{
    const BYTE *from = in + std::size_t(width - 1) * PixelBytes;
    for (int x = 0; x < width; ++x, out += PixelBytes, from -= PixelBytes)
        for (int b = 0; b < PixelBytes; ++b)
            out[b] = from[b];
}

} // namespace

bool MirrorSides(DIB &pic, const ProgressFn &progress)
{
    const int W = DibWidth(pic), H = DibHeight(pic);
    DIB mirrored;
    if (!pic.Bits || W <= 0 || H <= 0 || !NewDibLike(&mirrored, pic, W, H))
        return false;
    const int bits = DibBitCount(pic);
    for (int row = 0; row < H; ++row) {
        ReportProgress(progress, RowProgress(row, H));
        const BYTE *in = DibRow(pic, row);
        BYTE *out = DibRow(mirrored, row);
        if (bits == 24) {
            mirrorBytes<3>(in, out, W);
        } else if (bits == 8) {
            mirrorBytes<1>(in, out, W);
        } else {
            // Sub-byte pixels: getpixel counts rows from the top.
            for (int x = 0; x < W; ++x)
                setpixel(mirrored, W - 1 - x, H - 1 - row, getpixel(pic, x, H - 1 - row));
        }
    }
    deldib(&pic);
    pic = mirrored;
    ReportProgress(progress, 0);
    return true;
}

bool RotLeft(DIB &pic, const ProgressFn &progress) { return turn(pic, true, progress); }

bool RotRight(DIB &pic, const ProgressFn &progress) { return turn(pic, false, progress); }

bool CopyPart(const DIB &pic, const QRect &part, DIB &out)
{
    const QRect r = part.intersected(QRect(0, 0, DibWidth(pic), DibHeight(pic)));
    DIB copy;
    if (!pic.Bits || r.isEmpty() || !NewDibLike(&copy, pic, r.width(), r.height()))
        return false;
    const int bits = DibBitCount(pic);
    for (int row = 0; row < r.height(); ++row) {
        const BYTE *in = DibRow(pic, r.y() + row);
        BYTE *to = DibRow(copy, row);
        if (bits >= 8) {
            const std::size_t bytes = std::size_t(bits / 8);
            std::copy_n(in + std::size_t(r.x()) * bytes, std::size_t(r.width()) * bytes, to);
        } else {
            // Pixels smaller than a byte: one at a time, rows counted from the top.
            const int fromTop = DibHeight(pic) - 1 - (r.y() + row), toTop = r.height() - 1 - row;
            for (int x = 0; x < r.width(); ++x)
                setpixel(copy, x, toTop, getpixel(pic, r.x() + x, fromTop));
        }
    }
    out = copy;
    return true;
}
