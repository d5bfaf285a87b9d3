#include "picture/GifCanvas.h"

#include <QIODevice>
#include <QImage>
#include <QImageReader>

namespace DibDecode {
namespace {

constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;

struct GifImages {
    int count = 0;       // complete images
    bool delays = false;
    bool cut = false;    // the file ends inside an image
};

// Walks the blocks of a whole GIF file: how many images, and whether any
// graphic control block asks for a delay.
GifImages walkGif(const QByteArray &file)
{
    GifImages result;
    const auto *d = reinterpret_cast<const unsigned char *>(file.constData());
    const std::size_t size = std::size_t(file.size());
    if (size < 13)
        return result;
    std::size_t pos = 13 + ((d[10] & 0x80) ? 3u * (2u << (d[10] & 7)) : 0u);
    auto skipSubBlocks = [&]() {
        while (pos < size && d[pos] != 0)
            pos += std::size_t(d[pos]) + 1;
        ++pos;
        return pos <= size;
    };
    while (pos < size) {
        const unsigned char block = d[pos++];
        if (block == 0x21) {
            if (pos >= size)
                break;
            const unsigned char label = d[pos++];
            const std::size_t first = pos; // the first sub-block
            if (!skipSubBlocks())
                break;
            // Graphic control: size 4, flags, then the delay (little-endian).
            if (label == 0xF9 && d[first] >= 4 && (d[first + 2] | d[first + 3]) != 0)
                result.delays = true;
        } else if (block == 0x2C) {
            if (pos + 9 > size) {
                result.cut = true;
                break;
            }
            const unsigned char flags = d[pos + 8];
            pos += 9 + ((flags & 0x80) ? 3u * (2u << (flags & 7)) : 0u) + 1;
            if (pos > size || !skipSubBlocks()) {
                result.cut = true;
                break;
            }
            ++result.count;
        } else {
            break; // the trailer, or anything unknown
        }
    }
    return result;
}

} // namespace

bool composeGifImages(QImageReader &reader, QImage &canvas)
{
    QIODevice *dev = reader.device();
    if (!dev || dev->isSequential() || dev->size() > MaxFileBytes)
        return true;
    const qint64 resume = dev->pos();
    dev->seek(0);
    const GifImages images = walkGif(dev->readAll());
    dev->seek(resume);
    if (images.delays)
        return true;
    if (images.cut && images.count >= 1)
        return false; // a later part of the picture is missing
    if (images.count < 2)
        return true;
    // The reader draws each image onto the screen it keeps.
    for (int i = 1; i < images.count; ++i) {
        QImage next;
        if (!reader.read(&next) || next.size() != canvas.size())
            return false;
        canvas = next;
    }
    return true;
}

} // namespace DibDecode
