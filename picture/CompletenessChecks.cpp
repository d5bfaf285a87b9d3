#include "picture/DecodeSupport.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

// Some of Qt's readers accept a cut-off file and fill the missing rows with a
// neutral colour. A truncated photograph should fail to open instead, so these
// walks confirm that the file holds all the data its header announces.

namespace DibDecode {
namespace {

// Buffered forward reader over a device for the JPEG structure walk.
class StreamBytes
{
public:
    explicit StreamBytes(QIODevice &dev)
        : m_dev(dev)
    {
    }
    // -1 at the end of the data.
    int get()
    {
        if (m_pos == m_len && !fill())
            return -1;
        return m_buf[m_pos++];
    }
    bool skip(qint64 n)
    {
        while (n > 0) {
            if (m_pos == m_len && !fill())
                return false;
            const qint64 step = std::min<qint64>(n, m_len - m_pos);
            m_pos += int(step);
            n -= step;
        }
        return true;
    }

private:
    bool fill()
    {
        const qint64 n = m_dev.read(reinterpret_cast<char *>(m_buf), sizeof(m_buf));
        m_pos = 0;
        m_len = n > 0 ? int(n) : 0;
        return m_len > 0;
    }
    QIODevice &m_dev;
    unsigned char m_buf[64 * 1024];
    int m_pos = 0;
    int m_len = 0;
};

quint32 le16(const unsigned char *p) { return quint32(p[0]) | (quint32(p[1]) << 8); }
quint32 le32(const unsigned char *p) { return le16(p) | (le16(p + 2) << 16); }

} // namespace

namespace {

// The rows of a bitmap whose info header (at least 16 bytes of it) is in h and
// whose rows start at offBits.
bool bitmapRowsComplete(QIODevice &dev, const unsigned char *h, qint64 offBits)
{
    const qint64 fileSize = dev.size();
    const quint32 infoSize = le32(h);
    std::int64_t width, height;
    quint32 bits, compression = 0;
    if (infoSize == 12) {
        width = le16(h + 4);
        height = std::int16_t(le16(h + 6));
        bits = le16(h + 10);
    } else if (infoSize >= 40) {
        width = std::int32_t(le32(h + 4));
        height = std::int32_t(le32(h + 8));
        bits = le16(h + 14);
        compression = le32(h + 16);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || offBits >= fileSize)
        return false;
    height = std::abs(height);
    if (compression == 0 || compression == 3) {
        const std::uint64_t rowBytes = ((std::uint64_t(width) * bits + 31) / 32) * 4;
        return std::uint64_t(offBits) + rowBytes * std::uint64_t(height) <= std::uint64_t(fileSize);
    }
    if (compression != 1 && compression != 2)
        return true; // embedded formats: left to the reader
    // RLE8 / RLE4: walk the codes up to the end-of-picture escape.
    if (!dev.seek(offBits))
        return false;
    StreamBytes in(dev);
    for (;;) {
        const int count = in.get();
        const int value = in.get();
        if (count < 0 || value < 0)
            return false;
        if (count > 0)
            continue;
        if (value == 1)
            return true;
        if (value == 0)
            continue;
        if (value == 2) {
            if (!in.skip(2))
                return false;
            continue;
        }
        const qint64 bytes = compression == 1 ? value : (value + 1) / 2;
        if (!in.skip(bytes + (bytes & 1)))
            return false;
    }
}

} // namespace

bool bmpDataComplete(QIODevice &dev)
{
    unsigned char h[54] = {};
    if (dev.read(reinterpret_cast<char *>(h), 54) < 26 || h[0] != 'B' || h[1] != 'M')
        return false;
    return bitmapRowsComplete(dev, h + 14, le32(h + 10));
}

bool dibDataComplete(QIODevice &dev)
{
    unsigned char h[40] = {};
    const qint64 got = dev.read(reinterpret_cast<char *>(h), 40);
    const quint32 infoSize = le32(h);
    if (got < 12 || (infoSize != 12 && (infoSize < 40 || got < 40)))
        return false;
    // Without a file header the rows follow the colour table (and, for bit
    // fields in a 40-byte header, the three masks).
    const quint32 bits = infoSize == 12 ? le16(h + 10) : le16(h + 14);
    quint64 colours = bits <= 8 ? (1u << bits) : 0;
    qint64 extra = 0;
    if (infoSize >= 40) {
        const quint32 used = le32(h + 32);
        if (used != 0)
            colours = std::min<quint64>(used, 1u << 16);
        if (infoSize == 40 && le32(h + 16) == 3)
            extra = 12;
    }
    const qint64 offBits = qint64(infoSize) + qint64(colours) * (infoSize == 12 ? 3 : 4) + extra;
    return bitmapRowsComplete(dev, h, offBits);
}

bool gifDataComplete(QIODevice &dev)
{
    StreamBytes in(dev);
    if (!in.skip(10))
        return false;
    const int flags = in.get();
    if (flags < 0 || !in.skip(2 + ((flags & 0x80) ? 3 * (2 << (flags & 7)) : 0)))
        return false;
    auto skipSubBlocks = [&in] {
        for (;;) {
            const int n = in.get();
            if (n <= 0)
                return n == 0;
            if (!in.skip(n))
                return false;
        }
    };
    for (;;) {
        const int block = in.get();
        if (block == 0x21) {
            if (in.get() < 0 || !skipSubBlocks())
                return false;
        } else if (block == 0x2C) {
            if (!in.skip(8))
                return false;
            const int imageFlags = in.get();
            if (imageFlags < 0 || !in.skip(((imageFlags & 0x80) ? 3 * (2 << (imageFlags & 7)) : 0) + 1))
                return false;
            return skipSubBlocks();
        } else {
            return false;
        }
    }
}

Error gifSizeCheck(QIODevice &dev)
{
    const qint64 fileSize = dev.size();
    if (!dev.seek(0))
        return Error::Damaged;
    StreamBytes in(dev);
    unsigned char h[13];
    for (unsigned char &b : h) {
        const int v = in.get();
        if (v < 0)
            return Error::Damaged;
        b = (unsigned char)v;
    }
    std::uint64_t pixels = std::uint64_t(le16(h + 6)) * le16(h + 8);
    // A first frame larger than the screen it is on counts too.
    if (in.skip((h[10] & 0x80) ? 3 * (2 << (h[10] & 7)) : 0)) {
        int block = in.get();
        for (; block == 0x21; block = in.get()) {
            in.get();
            for (int n = in.get(); n > 0 && in.skip(n); n = in.get()) {
            }
        }
        unsigned char d[8];
        bool whole = block == 0x2C;
        for (unsigned char &b : d) {
            const int v = in.get();
            whole = whole && v >= 0;
            b = (unsigned char)std::max(v, 0);
        }
        if (whole)
            pixels = std::max(pixels, std::uint64_t(le16(d + 4)) * le16(d + 6));
    }
    // The reader holds the canvas at 4 bytes a pixel besides the DIB: from
    // the limit on that is too much.
    if (pixels >= MaxPixels)
        return Error::TooLarge;
    // Every LZW code takes at least two bits and stands for at most 4096
    // pixels, so the bytes bound the pixels a file can fill; a picture that
    // claims more cannot be whole.
    if (pixels > std::uint64_t(fileSize) * 4 * 4096)
        return Error::Damaged;
    return Error::None;
}

} // namespace DibDecode
