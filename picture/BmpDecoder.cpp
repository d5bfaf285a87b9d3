#include "picture/BmpDecoder.h"

#include <QFile>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace DibDecode {
namespace {

constexpr std::size_t FileHeaderBytes = 14;

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };

quint32 le16(const unsigned char *p) { return quint32(p[0]) | (quint32(p[1]) << 8); }
quint32 le32(const unsigned char *p) { return le16(p) | (le16(p + 2) << 16); }

// 12: OS/2 core; 16..64: OS/2 2.x (fields present as far as the size reaches);
// 40, 52, 56, 108, 124: the Windows versions.
bool knownHeaderSize(quint32 n) { return n == 12 || (n >= 16 && n <= 64) || n == 108 || n == 124; }

bool os2Version2(quint32 n) { return n == 64 || (n >= 16 && n < 40); }

// One channel of a bit-field pixel, scaled to 0..255 whatever the mask's width.
class Channel
{
public:
    Channel() = default;
    explicit Channel(quint32 mask)
        : m_mask(mask)
        , m_shift(mask ? std::countr_zero(mask) : 0)
        , m_max(mask >> m_shift)
    {
    }
    [[nodiscard]] bool present() const { return m_mask != 0; }
    [[nodiscard]] BYTE operator()(quint32 pixel) const
    {
        const std::uint64_t v = (pixel & m_mask) >> m_shift;
        if (m_max == 255 || !m_max)
            return BYTE(v);
        return BYTE((v * 255 + m_max / 2) / m_max);
    }

private:
    quint32 m_mask = 0;
    int m_shift = 0;
    std::uint64_t m_max = 0;
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    quint32 compression = Rgb;
    quint32 masks[4] = {}; // red, green, blue, alpha
    std::size_t paletteAt = 0;
    int paletteEntries = 0;
    std::size_t entryBytes = 4;
    std::size_t pixelsAt = 0;
};

Error readLayout(const unsigned char *d, std::size_t size, bool fileHeader, Layout &l)
{
    const std::size_t at = fileHeader ? FileHeaderBytes : 0;
    if (size < at + 4)
        return Error::Damaged;
    const quint32 infoSize = le32(d + at);
    if (!knownHeaderSize(infoSize))
        return Error::Unsupported;
    if (size < at + infoSize)
        return Error::Damaged;
    const unsigned char *h = d + at;
    std::int64_t width, height;
    quint32 coloursUsed = 0;
    if (infoSize == 12) {
        width = le16(h + 4);
        height = le16(h + 6);
        l.bits = int(le16(h + 10));
        l.entryBytes = 3;
    } else {
        width = std::int32_t(le32(h + 4));
        height = std::int32_t(le32(h + 8));
        l.bits = int(le16(h + 14));
        l.compression = infoSize >= 20 ? le32(h + 16) : Rgb;
        coloursUsed = infoSize >= 36 ? le32(h + 32) : 0;
        if (os2Version2(infoSize) && (l.compression == 3 || l.compression == 4))
            return Error::Unsupported; // OS/2 Huffman and 24-bit RLE
    }
    if (width <= 0 || height == 0)
        return Error::Damaged;
    l.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (std::uint64_t(width) * std::uint64_t(height) > MaxPixels || width > 0x7FFFFFFF / 32)
        return Error::TooLarge;
    l.width = int(width);
    l.height = int(height);

    // Masks live in the header from 52 bytes on, else in 12 or 16 bytes after it.
    std::size_t extra = 0;
    const bool fields = l.compression == BitFields || l.compression == AlphaBitFields;
    if (fields) {
        const unsigned char *m = h + 40;
        const int count = l.compression == AlphaBitFields ? 4 : 3;
        const bool inHeader = infoSize >= 40 + 4u * quint32(count) || (count == 3 && infoSize >= 52);
        if (!inHeader) {
            extra = 4u * quint32(count);
            if (infoSize != 40 || size < at + infoSize + extra)
                return Error::Damaged;
        }
        for (int i = 0; i < count; ++i)
            l.masks[i] = le32(m + 4 * i);
        if (inHeader && infoSize >= 56)
            l.masks[3] = le32(h + 52);
    }

    switch (l.compression) {
    case Rgb:
        if (l.bits != 1 && l.bits != 2 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32)
            return Error::Unsupported;
        if (l.bits == 16) {
            l.masks[0] = 0x7C00;
            l.masks[1] = 0x03E0;
            l.masks[2] = 0x001F;
        } else if (l.bits == 32) {
            l.masks[0] = 0xFF0000;
            l.masks[1] = 0xFF00;
            l.masks[2] = 0xFF;
        }
        break;
    case Rle8:
    case Rle4:
        if (l.bits != (l.compression == Rle8 ? 8 : 4))
            return Error::Damaged;
        break;
    case BitFields:
    case AlphaBitFields:
        if (l.bits != 16 && l.bits != 32)
            return Error::Unsupported;
        if (l.bits == 16)
            for (quint32 &m : l.masks)
                m &= 0xFFFFu;
        break;
    default:
        return Error::Unsupported; // embedded JPEG or PNG, unknown methods
    }

    l.paletteAt = at + infoSize + extra;
    const quint32 offBits = fileHeader ? le32(d + 10) : 0;
    if (l.bits <= 8) {
        const quint32 most = 1u << l.bits;
        std::size_t entries = coloursUsed && coloursUsed < most ? coloursUsed : most;
        // Short palettes: the pixels' offset may leave room for fewer entries.
        if (offBits >= l.paletteAt)
            entries = std::min<std::size_t>(entries, (offBits - l.paletteAt) / l.entryBytes);
        entries = std::min<std::size_t>(entries, (size - l.paletteAt) / l.entryBytes);
        l.paletteEntries = int(entries);
    }
    const std::size_t paletteEnd = l.paletteAt + std::size_t(l.paletteEntries) * l.entryBytes;
    l.pixelsAt = offBits >= at + infoSize ? offBits : paletteEnd;
    if (l.pixelsAt >= size)
        return Error::Damaged;
    return Error::None;
}

std::size_t rowBytesOf(const Layout &l) { return DibRowBytes(std::uint32_t(l.width), l.bits); }

unsigned indexAt(const unsigned char *row, int x, int bits)
{
    switch (bits) {
    case 8:
        return row[x];
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u;
    case 2:
        return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
    default:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    }
}

// DIB depth for the highest index in use: a 2-colour picture stored with a
// larger table still becomes a 1-bit DIB.
int depthForIndex(unsigned highest) { return highest <= 1 ? 1 : (highest <= 15 ? 4 : 8); }

void putIndex(BYTE *row, int x, int bits, unsigned v)
{
    if (bits == 8)
        row[x] = BYTE(v);
    else if (bits == 4)
        row[x >> 1] = (x & 1) ? BYTE(row[x >> 1] | v) : BYTE(v << 4);
    else if (v)
        row[x >> 3] = BYTE(row[x >> 3] | (0x80u >> (x & 7)));
}

bool makePaletteDib(const unsigned char *d, const Layout &l, int bits, DIB *out)
{
    RGBQUAD colours[256] = {};
    const int n = std::min(l.paletteEntries, PaletteSize(bits));
    for (int i = 0; i < n; ++i) {
        const unsigned char *p = d + l.paletteAt + std::size_t(i) * l.entryBytes;
        colours[i] = RGBQUAD{p[0], p[1], p[2], 0};
    }
    return newPaletteDib(out, l.width, l.height, bits, colours, n);
}

// Row r of the file (0 = first stored) as a stored DIB row.
int dibRowOf(const Layout &l, int r) { return l.topDown ? l.height - 1 - r : r; }

Error decodeIndexed(const unsigned char *d, const Layout &l, DIB *out, Progress &progress)
{
    const std::size_t rowBytes = rowBytesOf(l);
    const unsigned char *pixels = d + l.pixelsAt;
    unsigned highest = l.bits == 1 ? 1 : 0;
    for (int r = 0; r < l.height && highest < (1u << l.bits) - 1; ++r) {
        const unsigned char *s = pixels + std::size_t(r) * rowBytes;
        for (int x = 0; x < l.width; ++x)
            highest = std::max(highest, indexAt(s, x, l.bits));
    }
    const int bits = depthForIndex(highest);
    if (!makePaletteDib(d, l, bits, out))
        return Error::OutOfMemory;
    for (int r = 0; r < l.height; ++r) {
        const unsigned char *s = pixels + std::size_t(r) * rowBytes;
        BYTE *t = DibRow(*out, dibRowOf(l, r));
        if (bits == l.bits) {
            std::memcpy(t, s, out->RowBytes);
            // Padding bits past the last pixel stay clear.
            const std::size_t used = (std::size_t(l.width) * std::size_t(bits) + 7) / 8;
            std::memset(t + used, 0, out->RowBytes - used);
            if (const int spare = int(used * 8 - std::size_t(l.width) * std::size_t(bits)))
                t[used - 1] = BYTE(t[used - 1] & (0xFFu << spare));
        } else {
            for (int x = 0; x < l.width; ++x)
                putIndex(t, x, bits, indexAt(s, x, l.bits));
        }
        progress.report(std::uint64_t(r) + 1, std::uint64_t(l.height));
    }
    return Error::None;
}

Error decodeTrueColour(const unsigned char *d, const Layout &l, DIB *out, Progress &progress)
{
    if (!newdib(out, l.width, l.height, 24, nullptr, 0))
        return Error::OutOfMemory;
    const std::size_t rowBytes = rowBytesOf(l);
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]), alpha(l.masks[3]);
    const bool plain32 = l.bits == 32 && l.masks[0] == 0xFF0000 && l.masks[1] == 0xFF00 && l.masks[2] == 0xFF &&
                         !alpha.present();
    for (int r = 0; r < l.height; ++r) {
        const unsigned char *s = d + l.pixelsAt + std::size_t(r) * rowBytes;
        BYTE *t = DibRow(*out, dibRowOf(l, r));
        if (l.bits == 24) {
            std::memcpy(t, s, std::size_t(l.width) * 3);
        } else if (plain32) {
            for (int x = 0; x < l.width; ++x, s += 4, t += 3) {
                t[0] = s[0];
                t[1] = s[1];
                t[2] = s[2];
            }
        } else {
            const int step = l.bits / 8;
            for (int x = 0; x < l.width; ++x, s += step, t += 3) {
                const quint32 v = step == 2 ? le16(s) : le32(s);
                BYTE b = blue(v), g = green(v), rr = red(v);
                if (alpha.present()) {
                    const unsigned a = alpha(v);
                    b = overWhite(b, a);
                    g = overWhite(g, a);
                    rr = overWhite(rr, a);
                }
                t[0] = b;
                t[1] = g;
                t[2] = rr;
            }
        }
        progress.report(std::uint64_t(r) + 1, std::uint64_t(l.height));
    }
    return Error::None;
}

// Walks the RLE codes, handing every pixel inside the picture to put(x, row, index)
// (row counted in file order). Pixels the codes skip (by delta, end of line or an
// early end of picture) are never handed out; codes reaching past the right edge
// are clipped. Damaged when the data ends inside a code, or before both the
// end-of-picture code and the last row's end of line: a cut file is not another
// picture.
template <class Put> Error walkRle(const unsigned char *d, std::size_t size, const Layout &l, Put put)
{
    const bool four = l.compression == Rle4;
    const int w = l.width, h = l.height;
    std::size_t p = l.pixelsAt;
    int x = 0, y = 0;
    while (y < h) {
        if (size - p < 2)
            return Error::Damaged;
        const unsigned count = d[p], value = d[p + 1];
        p += 2;
        if (count) {
            for (unsigned i = 0; i < count && x < w; ++i, ++x)
                put(x, y, four ? ((i & 1) ? value & 15u : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (size - p < 2)
                return Error::Damaged;
            x = std::min(x + d[p], w);
            y += d[p + 1];
            p += 2;
        } else {
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (size - p < bytes)
                return Error::Damaged;
            for (unsigned i = 0; i < value && x < w; ++i, ++x)
                put(x, y, four ? ((d[p + i / 2] >> ((i & 1) ? 0 : 4)) & 15u) : d[p + i]);
            p = std::min(size, p + bytes + (bytes & 1)); // stretches are padded to 16 bits
        }
    }
    return Error::None;
}

// Canvases up to this many pixels are read whatever their codes paint.
constexpr std::uint64_t RleFreeCanvas = 4096ull * 4096;
// A larger canvas must be painted to at least this fraction by its codes. Two
// bytes paint at most 255 pixels, so the memory stays in proportion to the file.
constexpr std::uint64_t RleCanvasPerPainted = 8;

// Two walks: the first checks the codes, counts the pixels they paint and finds
// the highest index before anything is allocated, the second fills the zeroed DIB.
Error decodeRle(const unsigned char *d, std::size_t size, const Layout &l, DIB *out, Progress &progress)
{
    unsigned highest = 0;
    std::uint64_t painted = 0;
    if (const Error e = walkRle(d, size, l,
                                [&](int, int, unsigned v) {
                                    highest = std::max(highest, v);
                                    ++painted;
                                });
        e != Error::None)
        return e;
    const std::uint64_t canvas = std::uint64_t(l.width) * std::uint64_t(l.height);
    if (canvas > RleFreeCanvas && painted * RleCanvasPerPainted < canvas)
        return Error::TooLarge;
    const int bits = depthForIndex(highest);
    if (!makePaletteDib(d, l, bits, out))
        return Error::OutOfMemory;
    int lastRow = -1;
    const Error e = walkRle(d, size, l, [&](int x, int r, unsigned v) {
        putIndex(DibRow(*out, dibRowOf(l, r)), x, bits, v);
        if (r != lastRow) {
            lastRow = r;
            progress.report(std::uint64_t(r) + 1, std::uint64_t(l.height));
        }
    });
    return e;
}

} // namespace

bool looksLikeBmp(const QByteArray &head)
{
    return head.size() >= 18 && head[0] == 'B' && head[1] == 'M' &&
           knownHeaderSize(le32(reinterpret_cast<const unsigned char *>(head.constData()) + FileHeaderBytes));
}

bool looksLikeHeaderlessDib(const QByteArray &head)
{
    if (head.size() < 16)
        return false;
    const auto *h = reinterpret_cast<const unsigned char *>(head.constData());
    const quint32 n = le32(h);
    if (!knownHeaderSize(n))
        return false;
    const quint32 bits = n == 12 ? le16(h + 10) : le16(h + 14);
    const quint32 planes = n == 12 ? le16(h + 8) : le16(h + 12);
    return planes == 1 && bits >= 1 && bits <= 32;
}

Error decodeBmp(const unsigned char *data, std::size_t size, bool fileHeader, DIB *out, Progress &progress)
{
    Layout l;
    if (const Error e = readLayout(data, size, fileHeader, l); e != Error::None)
        return e;
    if (l.compression == Rle8 || l.compression == Rle4)
        return decodeRle(data, size, l, out, progress);
    // Stored rows: the file must hold them all before anything is allocated.
    if (std::uint64_t(rowBytesOf(l)) * std::uint64_t(l.height) > size - l.pixelsAt)
        return Error::Damaged;
    return l.bits <= 8 ? decodeIndexed(data, l, out, progress) : decodeTrueColour(data, l, out, progress);
}

Error decodeBmpFile(QFile &file, bool fileHeader, DIB *out, Progress &progress)
{
    const qint64 size = file.size();
    if (size <= 0)
        return Error::Empty;
    // Read, not memory-mapped: a mapped file that another program shortens
    // while it is decoded kills the process at the first byte past its new end.
    // No larger than the largest picture can need.
    if (std::uint64_t(size) > MaxPixels * 4 + (std::uint64_t(1) << 20))
        return Error::TooLarge;
    if (!file.seek(0))
        return Error::CannotOpen;
    const QByteArray data = file.readAll();
    if (data.size() != size)
        return Error::Damaged;
    return decodeBmp(reinterpret_cast<const unsigned char *>(data.constData()), std::size_t(size), fileHeader, out,
                     progress);
}

} // namespace DibDecode
