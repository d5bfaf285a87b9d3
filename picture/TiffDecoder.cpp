#include "picture/TiffDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

using DibDecode::Error;

namespace {

// Largest single block libtiff may take for one strip, tile or table.
constexpr tmsize_t MaxLibraryBlock = tmsize_t(1) << 30;
// Files up to this size are read into memory whole; larger ones are read
// piecewise through the device.
constexpr qint64 MaxCopiedFileBytes = qint64(1) << 30;
// A tile larger than the picture (beyond the padding to 16 pixels) is still
// taken up to this size: writers use fixed tiles of 256 x 256 and the like.
constexpr std::uint64_t MaxPaddingTileBytes = std::uint64_t(16) << 20;

struct Handle {
    QIODevice *dev;
    bool failed = false; // an error, or a warning that data could not be read
    // The file's bytes in memory, handed to libtiff as its map: its reading of
    // uncompressed tiles insists on exact byte counts unless mapped.
    const uchar *bytes = nullptr;
    qint64 size = 0;
};

tmsize_t readProc(thandle_t h, void *buf, tmsize_t n)
{
    const qint64 got = static_cast<Handle *>(h)->dev->read(static_cast<char *>(buf), qint64(n));
    return got < 0 ? 0 : tmsize_t(got);
}
tmsize_t writeProc(thandle_t, void *, tmsize_t) { return 0; }
toff_t seekProc(thandle_t h, toff_t off, int whence)
{
    QIODevice *dev = static_cast<Handle *>(h)->dev;
    qint64 target = qint64(off);
    if (whence == SEEK_CUR)
        target += dev->pos();
    else if (whence == SEEK_END)
        target += dev->size();
    if (target < 0 || !dev->seek(target))
        return toff_t(-1);
    return toff_t(target);
}
int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t h) { return toff_t(static_cast<Handle *>(h)->dev->size()); }
int mapProc(thandle_t h, void **base, toff_t *size)
{
    const Handle *handle = static_cast<Handle *>(h);
    if (!handle->bytes)
        return 0;
    *base = const_cast<uchar *>(handle->bytes);
    *size = toff_t(handle->size);
    return 1;
}
void unmapProc(thandle_t, void *, toff_t) {}

int onError(TIFF *, void *user, const char *, const char *, va_list)
{
    static_cast<Handle *>(user)->failed = true;
    return 1;
}

// Most warnings are harmless (unknown tags and the like); those saying a
// value could not be read mean the file ends early.
int onWarning(TIFF *, void *user, const char *, const char *fmt, va_list ap)
{
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, ap);
    if (std::strstr(text, "IO error") || std::strstr(text, "Read error") || std::strstr(text, "truncated"))
        static_cast<Handle *>(user)->failed = true;
    return 1;
}

struct TiffCloser {
    void operator()(TIFF *t) const { TIFFClose(t); }
};

// The ratio by which a compression can at most shrink raw pixel data; 0 when
// it has no useful bound.
std::uint64_t bestCompression(uint16_t compression)
{
    switch (compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_PACKBITS:
        return 64; // 128 repeated bytes in two
    case COMPRESSION_LZW:
        return 4096; // a code of 9 bits or more stands for at most 4096 bytes
    case COMPRESSION_DEFLATE:
    case COMPRESSION_ADOBE_DEFLATE:
        return 1100;
    default:
        return 0;
    }
}

std::uint64_t roundUp16(std::uint64_t v) { return (v + 15) / 16 * 16; }

// Whether the tiles fit the picture: larger than it only by the padding to 16
// pixels, or small anyway. The picture itself is bounded by the file, so this
// bounds the tiles by what the file can hold.
bool tilesFitPicture(TIFF *tif, uint32_t w, uint32_t h)
{
    if (!TIFFIsTiled(tif))
        return true; // strips: every reader takes at most the picture's rows
    uint32_t tw = 0, th = 0;
    if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw) || !TIFFGetField(tif, TIFFTAG_TILELENGTH, &th) || tw == 0 ||
        th == 0)
        return false;
    const std::uint64_t bytes = TIFFTileSize64(tif);
    if (bytes == 0)
        return false;
    return (tw <= roundUp16(w) && th <= roundUp16(h)) || bytes <= MaxPaddingTileBytes;
}

// Calls row(y, samples) for each stored row of a one-sample-per-pixel picture,
// first row first, with the row's packed samples.
template <typename RowFn> bool forEachRawRow(TIFF *tif, uint32_t w, uint32_t h, RowFn row)
{
    if (TIFFIsTiled(tif)) {
        uint32_t tw = 0, th = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &th);
        const tmsize_t tileBytes = TIFFTileSize(tif);
        const tmsize_t tileRow = TIFFTileRowSize(tif);
        const tmsize_t lineBytes = TIFFScanlineSize(tif);
        if (tw == 0 || th == 0 || tileBytes <= 0 || tileRow <= 0 || lineBytes <= 0)
            return false;
        uint16_t bps = 1;
        TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
        std::vector<uint8_t> tile(std::size_t(tileBytes), 0);
        // A band of whole rows, assembled tile by tile (tile widths are
        // multiples of 16 pixels, so every tile starts on a byte). Rows of a
        // tile past the picture's end are never copied.
        std::vector<uint8_t> band(std::size_t(lineBytes) * std::min(th, h) + std::size_t(tileRow), 0);
        for (uint32_t ty = 0; ty < h; ty += th) {
            const uint32_t rows = std::min(th, h - ty);
            for (uint32_t tx = 0; tx < w; tx += tw) {
                if (TIFFReadTile(tif, tile.data(), tx, ty, 0, 0) < 0)
                    return false;
                const std::size_t at = std::size_t(tx) * bps / 8;
                const std::size_t n = std::min<std::size_t>(std::size_t(tileRow), std::size_t(lineBytes) - at);
                for (uint32_t r = 0; r < rows; ++r)
                    std::memcpy(&band[std::size_t(r) * lineBytes + at], &tile[std::size_t(r) * tileRow], n);
            }
            for (uint32_t r = 0; r < rows; ++r)
                row(ty + r, &band[std::size_t(r) * lineBytes]);
        }
        return true;
    }
    uint32_t rps = h;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rps);
    rps = std::clamp<uint32_t>(rps, 1, h);
    const tmsize_t lineBytes = TIFFScanlineSize(tif);
    if (lineBytes <= 0)
        return false;
    std::vector<uint8_t> strip(std::size_t(lineBytes) * rps, 0);
    for (uint32_t y = 0; y < h; y += rps) {
        const uint32_t rows = std::min(rps, h - y);
        const tmsize_t want = tmsize_t(lineBytes) * rows;
        if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, y, 0), strip.data(), want) < want)
            return false;
        for (uint32_t r = 0; r < rows; ++r)
            row(y + r, &strip[std::size_t(r) * lineBytes]);
    }
    return true;
}

unsigned sampleAt(const uint8_t *s, uint32_t x, int bits)
{
    if (bits == 8)
        return s[x];
    const std::size_t bit = std::size_t(x) * unsigned(bits);
    return (s[bit >> 3] >> (8 - unsigned(bits) - (bit & 7))) & ((1u << bits) - 1);
}

// Palette and bilevel pictures: indices as stored, depth by the colours used.
Error decodeIndexed(TIFF *tif, Handle &handle, uint32_t w, uint32_t h, int bits, const RGBQUAD *table,
                    DIB *out, DibDecode::Progress *progress)
{
    std::vector<uint8_t> indices;
    try {
        indices.resize(std::size_t(w) * h);
    } catch (const std::bad_alloc &) {
        return Error::OutOfMemory;
    }
    unsigned used = 0;
    const bool ok = forEachRawRow(tif, w, h, [&](uint32_t y, const uint8_t *s) {
        uint8_t *d = &indices[std::size_t(y) * w];
        for (uint32_t x = 0; x < w; ++x) {
            d[x] = uint8_t(sampleAt(s, x, bits));
            used = std::max<unsigned>(used, d[x] + 1u);
        }
        if (progress)
            progress->report(std::uint64_t(y) + 1, std::uint64_t(h) * 2);
    });
    if (!ok || handle.failed)
        return Error::Damaged;
    const int depth = used <= 2 ? 1 : (used <= 16 ? 4 : 8);
    if (!DibDecode::newPaletteDib(out, int(w), int(h), depth, table, std::min(int(used), 1 << bits)))
        return Error::OutOfMemory;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t *s = &indices[std::size_t(y) * w];
        BYTE *d = DibRow(*out, int(h - 1 - y));
        for (uint32_t x = 0; x < w; ++x) {
            const unsigned v = s[x];
            if (depth == 8)
                d[x] = BYTE(v);
            else if (depth == 4)
                d[x >> 1] = (x & 1) ? BYTE(d[x >> 1] | v) : BYTE(v << 4);
            else if (v)
                d[x >> 3] = BYTE(d[x >> 3] | (0x80u >> (x & 7)));
        }
        if (progress)
            progress->report(std::uint64_t(h) + y + 1, std::uint64_t(h) * 2);
    }
    return Error::None;
}

// Everything else goes through libtiff's RGBA conversion (any photometric,
// depth, planar layout, tiling and alpha) a band of rows at a time.
Error decodeRgba(TIFF *tif, Handle &handle, uint32_t w, uint32_t h, DIB *out, DibDecode::Progress *progress)
{
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message))
        return handle.failed ? Error::Damaged : Error::Unsupported;
    TIFFRGBAImage img{};
    if (!TIFFRGBAImageBegin(&img, tif, 1, message))
        return handle.failed ? Error::Damaged : Error::Unsupported;
    struct End {
        TIFFRGBAImage *img;
        ~End() { TIFFRGBAImageEnd(img); }
    } end{&img};
    img.req_orientation = img.orientation; // rows as stored

    // Bands of whole strips or tiles, so none is decoded twice.
    uint32_t unit = 1;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &unit);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unit);
    unit = std::clamp<uint32_t>(unit, 1, h);
    const uint32_t band = std::min<uint32_t>(h, std::max<uint32_t>(1, 64 / unit) * unit);

    if (!newdib(out, int(w), int(h), 24, nullptr, 0))
        return Error::OutOfMemory;
    std::vector<uint32_t> raster;
    try {
        raster.resize(std::size_t(w) * band);
    } catch (const std::bad_alloc &) {
        return Error::OutOfMemory;
    }
    for (uint32_t y0 = 0; y0 < h; y0 += band) {
        const uint32_t rows = std::min(band, h - y0);
        img.row_offset = int(y0);
        img.col_offset = 0;
        if (!TIFFRGBAImageGet(&img, raster.data(), w, rows) || handle.failed)
            return Error::Damaged;
        for (uint32_t r = 0; r < rows; ++r) {
            const uint32_t *s = &raster[std::size_t(r) * w];
            BYTE *d = DibRow(*out, int(h - 1 - (y0 + r)));
            for (uint32_t x = 0; x < w; ++x, d += 3) {
                // Associated alpha: the colour already holds its share, white
                // fills the rest.
                const uint32_t p = s[x];
                const int clear = 255 - int(TIFFGetA(p));
                d[0] = BYTE(std::min(255, int(TIFFGetB(p)) + clear));
                d[1] = BYTE(std::min(255, int(TIFFGetG(p)) + clear));
                d[2] = BYTE(std::min(255, int(TIFFGetR(p)) + clear));
            }
        }
        if (progress)
            progress->report(std::uint64_t(y0) + rows, h);
    }
    return Error::None;
}

Error decode(TIFF *tif, Handle &handle, DIB *out, DibDecode::Progress *progress)
{
    uint32_t w = 0, h = 0;
    uint16_t photometric = 0, bps = 1, spp = 1, compression = COMPRESSION_NONE;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h) || w == 0 ||
        h == 0)
        return Error::Damaged;
    if (std::uint64_t(w) * h > DibDecode::MaxPixels)
        return Error::TooLarge;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    const bool hasPhotometric = TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    if (handle.failed || !tilesFitPicture(tif, w, h))
        return Error::Damaged;

    // Refuse sizes the file's bytes cannot hold before anything is allocated.
    if (const std::uint64_t ratio = bestCompression(compression)) {
        const std::uint64_t raw = (std::uint64_t(w) * bps * spp + 7) / 8 * h;
        if (std::uint64_t(sizeProc(TIFFClientdata(tif))) * ratio < raw)
            return Error::Damaged;
    }

    if (hasPhotometric && photometric == PHOTOMETRIC_PALETTE && spp == 1 &&
        (bps == 1 || bps == 2 || bps == 4 || bps == 8)) {
        uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) || !r || !g || !b)
            return Error::Damaged;
        const int n = 1 << bps;
        // Tables of 8-bit values in 16-bit fields exist; widen only real 16-bit ones.
        const bool wide = std::any_of(r, r + n, [](uint16_t v) { return v > 255; }) ||
                          std::any_of(g, g + n, [](uint16_t v) { return v > 255; }) ||
                          std::any_of(b, b + n, [](uint16_t v) { return v > 255; });
        const auto c = [wide](uint16_t v) { return BYTE(wide ? (unsigned(v) * 255u + 32767u) / 65535u : v); };
        RGBQUAD table[256] = {};
        for (int i = 0; i < n; ++i)
            table[i] = RGBQUAD{c(b[i]), c(g[i]), c(r[i]), 0};
        return decodeIndexed(tif, handle, w, h, bps, table, out, progress);
    }
    if (hasPhotometric && (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) &&
        spp == 1 && bps == 1) {
        const RGBQUAD black{0, 0, 0, 0}, white{255, 255, 255, 0};
        const RGBQUAD table[2] = {photometric == PHOTOMETRIC_MINISWHITE ? white : black,
                                  photometric == PHOTOMETRIC_MINISWHITE ? black : white};
        return decodeIndexed(tif, handle, w, h, 1, table, out, progress);
    }
    return decodeRgba(tif, handle, w, h, out, progress);
}

} // namespace

bool looksLikeTiff(const QByteArray &head)
{
    return head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4)) ||
           head.startsWith(QByteArray("II+\0", 4)) || head.startsWith(QByteArray("MM\0+", 4));
}

Error DecodeTiff(QIODevice &dev, DIB *out, DibDecode::Progress *progress)
{
    *out = DIB{};
    if (!dev.seek(0))
        return Error::CannotOpen;
    Handle handle{&dev};
    // A copy, not a memory map: a mapped file that another program shortens
    // while it is read kills the process at the first byte past its new end.
    QByteArray copy;
    QBuffer copied(&copy);
    if (qobject_cast<QFile *>(&dev) && dev.size() <= MaxCopiedFileBytes) {
        copy = dev.readAll();
        if (copy.size() != dev.size())
            return Error::Damaged;
        copied.open(QIODevice::ReadOnly);
        handle.dev = &copied;
    }
    if (auto *buffer = qobject_cast<QBuffer *>(handle.dev)) {
        handle.size = buffer->size();
        handle.bytes = reinterpret_cast<const uchar *>(buffer->data().constData());
    }
    std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions *)> options(TIFFOpenOptionsAlloc(),
                                                                          TIFFOpenOptionsFree);
    if (!options)
        return Error::OutOfMemory;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), MaxLibraryBlock);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onError, &handle);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onWarning, &handle);
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFClientOpenExt("picture", handle.bytes ? "r" : "rm", &handle, readProc, writeProc, seekProc,
                                                            closeProc, sizeProc, mapProc, unmapProc, options.get()));
    Error e = tif ? decode(tif.get(), handle, out, progress) : Error::Damaged;
    if (e == Error::None && handle.failed)
        e = Error::Damaged;
    if (e != Error::None)
        deldib(out);
    else if (progress)
        progress->report(1, 1);
    return e;
}
