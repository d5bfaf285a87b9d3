#include "picture/DecodeSupport.h"

#include <algorithm>
#include <vector>

// Qt's TGA reader only takes uncompressed files with the version 2 footer;
// most files in the wild are run-length coded or footer-less, so the program
// reads TGA itself.

namespace DibDecode {
namespace {

constexpr int HeaderBytes = 18;

unsigned le16(const unsigned char *p) { return unsigned(p[0]) | (unsigned(p[1]) << 8); }

struct TgaHeader {
    int idLength, mapType, type, mapFirst, mapLength, mapEntryBits, width, height, depth, descriptor;
    explicit TgaHeader(const unsigned char *h)
        : idLength(h[0])
        , mapType(h[1])
        , type(h[2])
        , mapFirst(int(le16(h + 3)))
        , mapLength(int(le16(h + 5)))
        , mapEntryBits(h[7])
        , width(int(le16(h + 12)))
        , height(int(le16(h + 14)))
        , depth(h[16])
        , descriptor(h[17])
    {
    }
    [[nodiscard]] bool colourMapped() const { return type == 1 || type == 9; }
    [[nodiscard]] bool grey() const { return type == 3 || type == 11; }
    [[nodiscard]] bool rle() const { return type >= 9; }
};

bool validEntryBits(int bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

// One colour from 2, 3 or 4 stored bytes; the fourth byte is alpha when `alpha`.
RGBQUAD colourOf(const unsigned char *p, int bytes, bool alpha)
{
    if (bytes == 2) {
        const unsigned v = le16(p);
        auto five = [](unsigned c) { return BYTE((c << 3) | (c >> 2)); };
        return RGBQUAD{five(v & 31), five((v >> 5) & 31), five((v >> 10) & 31), 0};
    }
    if (bytes == 4 && alpha && p[3] != 255)
        return RGBQUAD{overWhite(p[0], p[3]), overWhite(p[1], p[3]), overWhite(p[2], p[3]), 0};
    return RGBQUAD{p[0], p[1], p[2], 0};
}

} // namespace

bool looksLikeTga(const QByteArray &head)
{
    if (head.size() < HeaderBytes)
        return false;
    const TgaHeader t(reinterpret_cast<const unsigned char *>(head.constData()));
    const bool typeOk = t.type == 1 || t.type == 2 || t.type == 3 || t.type == 9 || t.type == 10 || t.type == 11;
    if (!typeOk || t.mapType > 1 || t.width == 0 || t.height == 0)
        return false;
    if (t.colourMapped())
        return t.mapType == 1 && t.depth == 8 && validEntryBits(t.mapEntryBits) && t.mapLength > 0;
    if (t.mapType == 1 && !validEntryBits(t.mapEntryBits))
        return false;
    return t.grey() ? (t.depth == 8 || t.depth == 16) : (t.depth == 15 || t.depth == 16 || t.depth == 24 || t.depth == 32);
}

Error decodeTga(const QByteArray &file, DIB *out, Progress &progress)
{
    if (!looksLikeTga(file.left(HeaderBytes)))
        return file.size() < HeaderBytes ? Error::Damaged : Error::Unsupported;
    const auto *data = reinterpret_cast<const unsigned char *>(file.constData());
    const std::size_t size = std::size_t(file.size());
    const TgaHeader t(data);
    const int w = t.width;
    const int h = t.height;
    if (std::uint64_t(w) * std::uint64_t(h) > MaxPixels)
        return Error::TooLarge;

    const std::size_t entryBytes = std::size_t((t.mapEntryBits + 7) / 8);
    const std::size_t mapBytes = t.mapType ? std::size_t(t.mapLength) * entryBytes : 0;
    const std::size_t start = HeaderBytes + std::size_t(t.idLength) + mapBytes;
    if (start > size)
        return Error::Damaged;
    const std::size_t pixelBytes = std::size_t((t.depth + 7) / 8);
    const std::uint64_t pixels = std::uint64_t(w) * std::uint64_t(h);
    const std::uint64_t dataBytes = size - start;
    // A run packet (1 + pixelBytes bytes) gives at most 128 pixels.
    if (t.rle() ? pixels > dataBytes / (1 + pixelBytes) * 128 + 128 : pixels * pixelBytes > dataBytes)
        return Error::Damaged;

    // Any attribute bits make the last byte of a 32-bit or grey pixel its alpha,
    // however many bits the descriptor counts.
    const bool alpha = (t.descriptor & 0x0F) != 0;
    if (t.colourMapped()) {
        const int count = std::min(t.mapLength, 256);
        std::vector<RGBQUAD> colours(static_cast<std::size_t>(count));
        const unsigned char *map = data + HeaderBytes + t.idLength;
        // 32-bit entries carry alpha, unless every one is 0 (writers that leave it unset).
        bool mapAlpha = false;
        for (int i = 0; entryBytes == 4 && i < count && !mapAlpha; ++i)
            mapAlpha = map[std::size_t(i) * 4 + 3] != 0;
        for (int i = 0; i < count; ++i)
            colours[std::size_t(i)] = colourOf(map + std::size_t(i) * entryBytes, int(entryBytes), mapAlpha);
        const int bits = count <= 2 ? 1 : (count <= 16 ? 4 : 8);
        if (!newPaletteDib(out, w, h, bits, colours.data(), count))
            return Error::OutOfMemory;
    } else if (!newdib(out, w, h, 24, nullptr, 0)) {
        return Error::OutOfMemory;
    }

    const bool topDown = t.descriptor & 0x20;
    const bool rightToLeft = t.descriptor & 0x10;
    const int bits = DibBitCount(*out);
    const unsigned char *src = data + start;
    const unsigned char *const end = data + size;
    std::size_t runLeft = 0; // pixels left in the current packet
    bool repeat = false;
    std::vector<BYTE> row(std::size_t(w) * pixelBytes);
    for (int y = 0; y < h; ++y) {
        if (!t.rle()) {
            std::copy_n(src, row.size(), row.begin());
            src += row.size();
        } else {
            // Packets may run on into the next row, but not past the picture.
            for (std::size_t x = 0; x < std::size_t(w);) {
                if (runLeft == 0) {
                    if (src >= end)
                        return Error::Damaged;
                    repeat = *src & 0x80;
                    runLeft = std::size_t(*src & 0x7F) + 1;
                    ++src;
                    if (std::size_t(end - src) < (repeat ? pixelBytes : runLeft * pixelBytes))
                        return Error::Damaged;
                }
                const std::size_t k = std::min(runLeft, std::size_t(w) - x);
                for (std::size_t i = 0; i < k; ++i)
                    std::copy_n(src + (repeat ? 0 : i * pixelBytes), pixelBytes, &row[(x + i) * pixelBytes]);
                if (!repeat)
                    src += k * pixelBytes;
                x += k;
                runLeft -= k;
                if (repeat && runLeft == 0)
                    src += pixelBytes;
            }
        }
        BYTE *d = DibRow(*out, topDown ? h - 1 - y : y);
        for (int x = 0; x < w; ++x) {
            const unsigned char *p = &row[std::size_t(rightToLeft ? w - 1 - x : x) * pixelBytes];
            if (t.colourMapped()) {
                const int v = std::clamp(int(p[0]) - t.mapFirst, 0, std::min(t.mapLength, 256) - 1);
                if (bits == 8)
                    d[x] = BYTE(v);
                else if (bits == 4)
                    d[x >> 1] = (x & 1) ? BYTE(d[x >> 1] | v) : BYTE(v << 4);
                else if (v)
                    d[x >> 3] = BYTE(d[x >> 3] | (0x80u >> (x & 7)));
            } else if (t.grey()) {
                d[3 * x] = d[3 * x + 1] = d[3 * x + 2] = pixelBytes == 2 && alpha ? overWhite(p[0], p[1]) : p[0];
            } else {
                const RGBQUAD c = colourOf(p, int(pixelBytes), alpha);
                d[3 * x] = c.rgbBlue;
                d[3 * x + 1] = c.rgbGreen;
                d[3 * x + 2] = c.rgbRed;
            }
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
    }
    if (runLeft > 0)
        return Error::Damaged; // a packet running past the last pixel
    return Error::None;
}

} // namespace DibDecode
