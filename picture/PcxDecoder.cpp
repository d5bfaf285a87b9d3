#include "picture/DecodeSupport.h"

#include <algorithm>
#include <vector>

namespace DibDecode {
namespace {

constexpr int HeaderBytes = 128;
constexpr int TrailerPaletteBytes = 769; // 0x0C marker + 256 RGB triples

unsigned le16(const unsigned char *p) { return unsigned(p[0]) | (unsigned(p[1]) << 8); }

// Decodes one scan line (all planes) from the run-length stream. Runs may carry
// over into the next scan line, as some writers produce, but never past the
// picture: `pending` keeps a run's remainder between lines.
class PcxRle
{
public:
    PcxRle(const unsigned char *data, std::size_t size, bool compressed)
        : m_data(data)
        , m_size(size)
        , m_compressed(compressed)
    {
    }
    bool line(BYTE *out, std::size_t n)
    {
        std::size_t i = 0;
        while (i < n) {
            if (m_pending > 0) {
                const std::size_t k = std::min<std::size_t>(m_pending, n - i);
                std::fill_n(out + i, k, m_value);
                i += k;
                m_pending -= k;
                continue;
            }
            if (m_pos >= m_size)
                return false;
            const BYTE b = m_data[m_pos++];
            if (!m_compressed || b < 0xC0) {
                out[i++] = b;
                continue;
            }
            if (m_pos >= m_size)
                return false;
            m_value = m_data[m_pos++];
            m_pending = b & 0x3Fu;
        }
        return true;
    }
    // A run still pending after the last line overflows the picture.
    [[nodiscard]] bool overflowed() const { return m_pending > 0; }

private:
    const unsigned char *m_data;
    std::size_t m_size;
    bool m_compressed;
    std::size_t m_pos = 0;
    std::size_t m_pending = 0;
    BYTE m_value = 0;
};

} // namespace

bool looksLikePcx(const QByteArray &head)
{
    if (head.size() < HeaderBytes)
        return false;
    const auto *h = reinterpret_cast<const unsigned char *>(head.constData());
    const bool version = h[1] == 0 || h[1] == 2 || h[1] == 3 || h[1] == 4 || h[1] == 5;
    const bool bpp = h[3] == 1 || h[3] == 2 || h[3] == 4 || h[3] == 8;
    return h[0] == 0x0A && version && h[2] <= 1 && bpp && h[65] >= 1 && h[65] <= 4;
}

Error decodePcx(const QByteArray &file, DIB *out, Progress &progress)
{
    if (file.size() < HeaderBytes)
        return Error::Damaged;
    const auto *h = reinterpret_cast<const unsigned char *>(file.constData());
    const std::size_t fileSize = std::size_t(file.size());
    const int bpp = h[3];
    const int planes = h[65];
    const unsigned xmin = le16(h + 4), ymin = le16(h + 6), xmax = le16(h + 8), ymax = le16(h + 10);
    const std::size_t bytesPerLine = le16(h + 66);
    if (xmax < xmin || ymax < ymin)
        return Error::Damaged;
    const int width = int(xmax - xmin + 1);
    const int height = int(ymax - ymin + 1);

    int dibBits;
    if (bpp == 1 && planes == 1)
        dibBits = 1;
    else if ((bpp == 1 && planes <= 4) || (planes == 1 && (bpp == 2 || bpp == 4)))
        dibBits = 4;
    else if (bpp == 8 && planes == 1)
        dibBits = 8;
    else if (bpp == 8 && (planes == 3 || planes == 4))
        dibBits = 24;
    else
        return Error::Unsupported;

    if (std::uint64_t(width) * std::uint64_t(height) > MaxPixels)
        return Error::TooLarge;
    if (bytesPerLine * 8 < std::size_t(width) * std::size_t(bpp))
        return Error::Damaged;

    // An 8-bit picture keeps its palette in the last 769 bytes.
    std::size_t dataEnd = fileSize;
    const bool trailer = dibBits == 8 && fileSize >= HeaderBytes + TrailerPaletteBytes &&
                         h[fileSize - TrailerPaletteBytes] == 0x0C;
    if (trailer)
        dataEnd -= TrailerPaletteBytes;

    // What the data can expand to: 63 bytes per 2-byte run at most.
    const std::size_t lineBytes = bytesPerLine * std::size_t(planes);
    const std::uint64_t needed = std::uint64_t(lineBytes) * std::uint64_t(height);
    const std::uint64_t dataBytes = dataEnd - HeaderBytes;
    if (needed > (h[2] ? dataBytes * 63 / 2 + 63 : dataBytes))
        return Error::Damaged;

    RGBQUAD colours[256] = {};
    int colourCount = 0;
    if (dibBits == 1) {
        colours[1] = RGBQUAD{255, 255, 255, 0};
        colourCount = 2;
    } else if (dibBits == 4) {
        colourCount = 16;
        for (int i = 0; i < 16; ++i)
            colours[i] = RGBQUAD{h[16 + 3 * i + 2], h[16 + 3 * i + 1], h[16 + 3 * i], 0};
    } else if (dibBits == 8) {
        colourCount = 256;
        const unsigned char *p = h + fileSize - TrailerPaletteBytes + 1;
        for (int i = 0; i < 256; ++i)
            colours[i] = trailer ? RGBQUAD{p[3 * i + 2], p[3 * i + 1], p[3 * i], 0}
                                 : RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0}; // no palette: grey levels
    }
    const bool made = dibBits == 24 ? newdib(out, width, height, 24, nullptr, 0)
                                    : newPaletteDib(out, width, height, dibBits, colours, colourCount);
    if (!made)
        return Error::OutOfMemory;

    PcxRle rle(h + HeaderBytes, dataEnd - HeaderBytes, h[2] != 0);
    std::vector<BYTE> line(lineBytes);
    for (int y = 0; y < height; ++y) {
        if (!rle.line(line.data(), lineBytes))
            return Error::Damaged;
        BYTE *d = DibRow(*out, height - 1 - y);
        const BYTE *s = line.data();
        switch (dibBits) {
        case 1:
        case 8:
            std::copy_n(s, (std::size_t(width) * std::size_t(dibBits) + 7) / 8, d);
            break;
        case 24:
            for (int x = 0; x < width; ++x) {
                d[3 * x] = s[2 * bytesPerLine + std::size_t(x)];
                d[3 * x + 1] = s[bytesPerLine + std::size_t(x)];
                d[3 * x + 2] = s[x];
                if (planes == 4) { // the fourth plane is alpha
                    const unsigned a = s[3 * bytesPerLine + std::size_t(x)];
                    for (int c = 0; c < 3; ++c)
                        d[3 * x + c] = overWhite(d[3 * x + c], a);
                }
            }
            break;
        default: // 4-bit DIB from 1-bit planes, 2-bit or 4-bit packed pixels
            for (int x = 0; x < width; ++x) {
                unsigned v = 0;
                if (bpp == 1) {
                    for (int p = 0; p < planes; ++p)
                        v |= ((s[std::size_t(p) * bytesPerLine + std::size_t(x >> 3)] >> (7 - (x & 7))) & 1u) << p;
                } else if (bpp == 2) {
                    v = (s[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
                } else {
                    v = (s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u;
                }
                d[x >> 1] = (x & 1) ? BYTE(d[x >> 1] | v) : BYTE(v << 4);
            }
            break;
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(height));
    }
    if (rle.overflowed())
        return Error::Damaged;
    return Error::None;
}

} // namespace DibDecode
