#include "picture/GifCanvas.h"

#include <QIODevice>
#include <QImage>
#include <QImageReader>

namespace DibDecode {
namespace {

constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;

struct GifImages {
    int count = 0;
    bool delays = false;
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
            if (pos + 1 >= size)
                break;
            const unsigned char label = d[pos++];
            if (label == 0xF9 && pos + 4 < size && d[pos] >= 4 && (d[pos + 2] | d[pos + 3]) != 0)
                result.delays = true;
            if (!skipSubBlocks())
                break;
        } else if (block == 0x2C) {
            if (pos + 9 > size)
                break;
            const unsigned char flags = d[pos + 8];
            pos += 9 + ((flags & 0x80) ? 3u * (2u << (flags & 7)) : 0u) + 1;
            if (pos > size || !skipSubBlocks())
                break;
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
    if (images.count < 2 || images.delays)
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
