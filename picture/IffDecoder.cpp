#include "picture/DecodeSupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace DibDecode {
namespace {

constexpr quint32 CamgHam = 0x800;
constexpr quint32 CamgHalfBrite = 0x80;

quint32 be32(const unsigned char *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}
unsigned be16(const unsigned char *p) { return (unsigned(p[0]) << 8) | unsigned(p[1]); }

struct Bmhd {
    int width = 0;
    int height = 0;
    int planes = 0;
    int masking = 0;
    int compression = 0;
};

// Reads one row of `n` bytes, either stored or ByteRun1-packed. A run that
// would cross the end of the row is damage: every row is packed on its own.
class RowReader
{
public:
    RowReader(const unsigned char *data, std::size_t size, bool packed)
        : m_data(data)
        , m_size(size)
        , m_packed(packed)
    {
    }
    bool row(BYTE *out, std::size_t n)
    {
        if (!m_packed) {
            if (m_size - m_pos < n)
                return false;
            std::memcpy(out, m_data + m_pos, n);
            m_pos += n;
            return true;
        }
        std::size_t i = 0;
        while (i < n) {
            if (m_pos >= m_size)
                return false;
            const auto c = static_cast<signed char>(m_data[m_pos++]);
            if (c >= 0) {
                const std::size_t k = std::size_t(c) + 1;
                if (k > n - i || m_size - m_pos < k)
                    return false;
                std::memcpy(out + i, m_data + m_pos, k);
                m_pos += k;
                i += k;
            } else if (c != -128) {
                const std::size_t k = std::size_t(1 - c);
                if (k > n - i || m_pos >= m_size)
                    return false;
                std::memset(out + i, m_data[m_pos++], k);
                i += k;
            }
        }
        return true;
    }

private:
    const unsigned char *m_data;
    std::size_t m_size;
    bool m_packed;
    std::size_t m_pos = 0;
};

} // namespace

bool looksLikeIff(const QByteArray &head)
{
    return head.size() >= 12 && head.startsWith("FORM") && (head.mid(8, 4) == "ILBM" || head.mid(8, 4) == "PBM ");
}

Error decodeIff(const QByteArray &file, DIB *out, Progress &progress)
{
    const auto *data = reinterpret_cast<const unsigned char *>(file.constData());
    const std::size_t size = std::size_t(file.size());
    if (size < 12 || !looksLikeIff(file.left(12)))
        return Error::Damaged;
    const bool chunky = std::memcmp(data + 8, "PBM ", 4) == 0;
    // The FORM may claim more than the file holds; the file's end is the bound.
    const std::size_t end = std::min<std::size_t>(size, std::size_t(be32(data + 4)) + 8);

    Bmhd bmhd;
    bool haveBmhd = false;
    std::vector<RGBQUAD> cmap;
    quint32 camg = 0;
    const unsigned char *body = nullptr;
    std::size_t bodySize = 0;
    bool cmyk = false;
    bool lineColours = false; // colour changes from line to line
    for (std::size_t pos = 12; pos + 8 <= end;) {
        const unsigned char *id = data + pos;
        const std::size_t len = be32(data + pos + 4);
        const std::size_t start = pos + 8;
        if (len > end - start) {
            if (body)
                break; // trailing chunks past the picture do not matter
            return Error::Damaged; // a chunk cut off by the end of the file
        }
        const unsigned char *c = data + start;
        if (std::memcmp(id, "SHAM", 4) == 0 || std::memcmp(id, "PCHG", 4) == 0 || std::memcmp(id, "CTBL", 4) == 0)
            lineColours = true;
        else if (std::memcmp(id, "CMYK", 4) == 0)
            cmyk = true;
        if (body) {
            pos = start + len + (len & 1);
            continue;
        }
        if (std::memcmp(id, "BMHD", 4) == 0) {
            if (len < 20)
                return Error::Damaged;
            bmhd.width = int(be16(c));
            bmhd.height = int(be16(c + 2));
            bmhd.planes = c[8];
            bmhd.masking = c[9];
            bmhd.compression = c[10];
            haveBmhd = true;
        } else if (std::memcmp(id, "CMAP", 4) == 0) {
            cmap.clear();
            for (std::size_t i = 0; i + 3 <= len && cmap.size() < 256; i += 3)
                cmap.push_back(RGBQUAD{c[i + 2], c[i + 1], c[i], 0});
        } else if (std::memcmp(id, "CAMG", 4) == 0 && len >= 4) {
            camg = be32(c);
        } else if (std::memcmp(id, "BODY", 4) == 0) {
            body = c;
            bodySize = len;
        }
        pos = start + len + (len & 1);
    }
    if (!haveBmhd || !body)
        return Error::Damaged;

    const int w = bmhd.width;
    const int h = bmhd.height;
    const int planes = bmhd.planes;
    const bool ham = !chunky && (camg & CamgHam) && planes >= 5 && planes <= 8;
    const bool halfBrite = !chunky && !ham && (camg & CamgHalfBrite) && planes == 6;
    if (w <= 0 || h <= 0)
        return Error::Damaged;
    if (bmhd.compression > 1 || (chunky && planes != 8) || (!chunky && !(planes >= 1 && planes <= 8) && planes != 24))
        return Error::Unsupported;
    // Palettes that change per line, or given only as CMYK, would show wrong colours.
    if (lineColours || (cmyk && cmap.empty()))
        return Error::Unsupported;
    if (std::uint64_t(w) * std::uint64_t(h) > MaxPixels)
        return Error::TooLarge;

    const bool mask = !chunky && bmhd.masking == 1;
    const std::size_t planeBytes = chunky ? std::size_t(w + (w & 1)) : std::size_t((w + 15) / 16) * 2;
    const std::size_t rowBytes = chunky ? planeBytes : planeBytes * std::size_t(planes + (mask ? 1 : 0));
    // ByteRun1 turns 2 bytes into at most 128.
    const std::uint64_t needed = std::uint64_t(rowBytes) * std::uint64_t(h);
    if (needed > (bmhd.compression ? std::uint64_t(bodySize) * 64 : std::uint64_t(bodySize)))
        return Error::Damaged;

    // Colour table: CMAP values written with 4 bits (low nibbles all 0) are
    // widened; missing entries fall back to grey levels for a CMAP-less file.
    const int indexBits = chunky ? 8 : std::min(planes, 8);
    std::vector<RGBQUAD> table(std::size_t(1) << indexBits, RGBQUAD{0, 0, 0, 0});
    if (cmap.empty()) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            const BYTE v = BYTE(i * 255 / (table.size() - 1));
            table[i] = RGBQUAD{v, v, v, 0};
        }
    } else {
        const bool fourBit = std::all_of(cmap.begin(), cmap.end(), [](const RGBQUAD &q) {
            return (q.rgbRed & 0x0F) == 0 && (q.rgbGreen & 0x0F) == 0 && (q.rgbBlue & 0x0F) == 0;
        });
        for (std::size_t i = 0; i < cmap.size() && i < table.size(); ++i) {
            RGBQUAD q = cmap[i];
            if (fourBit) {
                q.rgbRed = BYTE(q.rgbRed | (q.rgbRed >> 4));
                q.rgbGreen = BYTE(q.rgbGreen | (q.rgbGreen >> 4));
                q.rgbBlue = BYTE(q.rgbBlue | (q.rgbBlue >> 4));
            }
            table[i] = q;
        }
        if (halfBrite)
            for (std::size_t i = 0; i < 32; ++i)
                table[i + 32] = RGBQUAD{BYTE(table[i].rgbBlue >> 1), BYTE(table[i].rgbGreen >> 1),
                                        BYTE(table[i].rgbRed >> 1), 0};
    }

    const bool trueColour = planes == 24 || ham;
    const int dibBits = trueColour ? 24 : (indexBits == 1 ? 1 : (indexBits <= 4 ? 4 : 8));
    const bool made = trueColour ? newdib(out, w, h, 24, nullptr, 0)
                                 : newPaletteDib(out, w, h, dibBits, table.data(), int(table.size()));
    if (!made)
        return Error::OutOfMemory;

    RowReader reader(body, bodySize, bmhd.compression == 1);
    std::vector<BYTE> row(rowBytes);
    std::vector<quint32> values(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        if (!reader.row(row.data(), rowBytes))
            return Error::Damaged;
        if (chunky) {
            std::copy_n(row.data(), std::size_t(w), values.begin());
        } else {
            std::fill(values.begin(), values.end(), 0u);
            for (int p = 0; p < planes; ++p) {
                const BYTE *plane = row.data() + std::size_t(p) * planeBytes;
                for (int x = 0; x < w; ++x)
                    values[std::size_t(x)] |= quint32((plane[x >> 3] >> (7 - (x & 7))) & 1u) << p;
            }
        }
        BYTE *d = DibRow(*out, h - 1 - y);
        if (planes == 24) {
            // Planes 0..7 are red, 8..15 green, 16..23 blue, lowest bit first.
            for (int x = 0; x < w; ++x) {
                const quint32 v = values[std::size_t(x)];
                d[3 * x] = BYTE(v >> 16);
                d[3 * x + 1] = BYTE(v >> 8);
                d[3 * x + 2] = BYTE(v);
            }
        } else if (ham) {
            // Hold-and-modify: the two last planes say whether the planes below
            // them are a colour index or replace one channel of the pixel to the
            // left (HAM5 and HAM7 included).
            const int dataBits = planes - 2;
            const quint32 dataMask = (1u << dataBits) - 1;
            BYTE r = table[0].rgbRed, g = table[0].rgbGreen, b = table[0].rgbBlue;
            for (int x = 0; x < w; ++x) {
                const quint32 v = values[std::size_t(x)];
                const quint32 low = v & dataMask;
                const BYTE level = BYTE(dataBits == 4   ? low * 17
                                        : dataBits == 6 ? (low << 2) | (low >> 4)
                                                        : (low * 255 + dataMask / 2) / dataMask);
                switch (v >> dataBits) {
                case 0:
                    r = table[low].rgbRed;
                    g = table[low].rgbGreen;
                    b = table[low].rgbBlue;
                    break;
                case 1:
                    b = level;
                    break;
                case 2:
                    r = level;
                    break;
                default:
                    g = level;
                    break;
                }
                d[3 * x] = b;
                d[3 * x + 1] = g;
                d[3 * x + 2] = r;
            }
        } else {
            for (int x = 0; x < w; ++x) {
                const unsigned v = unsigned(values[std::size_t(x)]);
                if (dibBits == 8)
                    d[x] = BYTE(v);
                else if (dibBits == 4)
                    d[x >> 1] = (x & 1) ? BYTE(d[x >> 1] | v) : BYTE(v << 4);
                else if (v)
                    d[x >> 3] = BYTE(d[x >> 3] | (0x80u >> (x & 7)));
            }
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
    }
    return Error::None;
}

} // namespace DibDecode
