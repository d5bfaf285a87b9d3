#include "picture/DeepPng.h"

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QImageReader>

#include <cstring>

namespace DibDecode {
namespace {

constexpr qint64 MaxFileBytes = qint64(512) * 1024 * 1024;
constexpr int ColourGrey = 0;
constexpr int ColourRgb = 2;

quint32 be32(const unsigned char *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}
quint16 be16(const unsigned char *p) { return quint16((p[0] << 8) | p[1]); }

const char Signature[] = "\x89PNG\r\n\x1a\n";

// A 16-bit sample as 8 bits, rounded.
BYTE eight(quint16 v) { return BYTE((quint32(v) + 128) / 257); }

// Whether a chunk of the type comes before the first IDAT (reads the chunk
// headers only).
bool chunkBeforeData(QIODevice &dev, const char *wanted)
{
    qint64 pos = 8;
    for (;;) {
        if (!dev.seek(pos))
            return false;
        const QByteArray chunk = dev.read(8);
        if (chunk.size() < 8)
            return false;
        const QByteArray type = chunk.mid(4, 4);
        if (type == wanted)
            return true;
        if (type == "IDAT" || type == "IEND")
            return false;
        pos += 12 + qint64(be32(reinterpret_cast<const unsigned char *>(chunk.constData())));
    }
}

bool findsDeepKey(QIODevice &dev)
{
    if (!dev.seek(0))
        return false;
    const QByteArray head = dev.read(8 + 8 + 13);
    if (head.size() < 29 || !head.startsWith(QByteArray(Signature, 8)) || head.mid(12, 4) != "IHDR")
        return false;
    const auto *h = reinterpret_cast<const unsigned char *>(head.constData()) + 16;
    if (h[8] != 16 || (h[9] != ColourGrey && h[9] != ColourRgb))
        return false;
    return chunkBeforeData(dev, "tRNS");
}

bool findsProfile(QIODevice &dev)
{
    return dev.seek(0) && dev.read(8) == QByteArray(Signature, 8) && chunkBeforeData(dev, "iCCP");
}

} // namespace

bool isDeepKeyedPng(QIODevice &dev)
{
    const qint64 start = dev.pos();
    const bool keyed = findsDeepKey(dev);
    dev.seek(start);
    return keyed;
}

bool pngEmbedsProfile(QIODevice &dev)
{
    const qint64 start = dev.pos();
    const bool embeds = findsProfile(dev);
    dev.seek(start);
    return embeds;
}

Error decodeDeepKeyedPng(QIODevice &dev, DIB *out, Progress &progress)
{
    if (dev.size() > MaxFileBytes)
        return Error::TooLarge;
    dev.seek(0);
    const QByteArray file = dev.readAll();
    const auto *d = reinterpret_cast<const unsigned char *>(file.constData());
    const std::size_t size = std::size_t(file.size());
    if (size < 33)
        return Error::Damaged;
    const bool grey = d[25] == ColourGrey;

    // The same file without its tRNS chunk: Qt reads that right.
    QByteArray plain = file.left(8);
    quint16 key[3] = {};
    bool haveKey = false;
    for (std::size_t pos = 8; pos + 12 <= size;) {
        const std::size_t len = be32(d + pos);
        if (len > size - pos - 12)
            return Error::Damaged;
        if (std::memcmp(d + pos + 4, "tRNS", 4) == 0) {
            if (len < (grey ? 2u : 6u))
                return Error::Damaged;
            for (int c = 0; c < (grey ? 1 : 3); ++c)
                key[c] = be16(d + pos + 8 + 2 * c);
            haveKey = true;
        } else {
            plain.append(file.constData() + pos, qsizetype(len + 12));
        }
        pos += len + 12;
    }

    QBuffer buffer(&plain);
    buffer.open(QIODevice::ReadOnly);
    prepareImageReaders();
    QImageReader reader(&buffer, "png");
    const QSize sz = reader.size();
    if (!sz.isValid() || sz.isEmpty())
        return Error::Damaged;
    if (std::uint64_t(sz.width()) * std::uint64_t(sz.height()) > MaxPixels)
        return Error::TooLarge;
    // 8 bytes a pixel while the samples are compared, more than the readers'
    // limit allows: the picture is made here, within the pixel limit, and the
    // reader fills it. The limit itself is shared by every thread and stays.
    const QImage::Format format = reader.imageFormat();
    if (format == QImage::Format_Invalid)
        return Error::Damaged;
    QImage img(sz, format);
    if (img.isNull())
        return Error::OutOfMemory;
    if (!reader.read(&img))
        return Error::Damaged;
    img = img.convertToFormat(grey ? QImage::Format_Grayscale16 : QImage::Format_RGBX64);
    if (img.isNull())
        return Error::OutOfMemory;
    const int w = img.width();
    const int h = img.height();
    if (!newdib(out, w, h, 24, nullptr, 0))
        return Error::OutOfMemory;
    for (int y = 0; y < h; ++y) {
        BYTE *t = DibRow(*out, h - 1 - y);
        if (grey) {
            const auto *s = reinterpret_cast<const quint16 *>(img.constScanLine(y));
            for (int x = 0; x < w; ++x)
                t[3 * x] = t[3 * x + 1] = t[3 * x + 2] = haveKey && s[x] == key[0] ? 255 : eight(s[x]);
        } else {
            const auto *s = reinterpret_cast<const QRgba64 *>(img.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const bool clear = haveKey && s[x].red() == key[0] && s[x].green() == key[1] && s[x].blue() == key[2];
                t[3 * x] = clear ? 255 : eight(s[x].blue());
                t[3 * x + 1] = clear ? 255 : eight(s[x].green());
                t[3 * x + 2] = clear ? 255 : eight(s[x].red());
            }
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
    }
    return Error::None;
}

} // namespace DibDecode
