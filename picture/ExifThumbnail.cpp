#include "picture/ExifThumbnail.h"

#include "picture/ExifBlock.h"
#include "picture/ScaledDecode.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {
constexpr qint64 HeadBytes = 128 * 1024;
constexpr std::uint16_t ThumbnailOffsetTag = 0x0201; // JPEGInterchangeFormat
constexpr std::uint16_t ThumbnailLengthTag = 0x0202;
// An EXIF thumbnail is a few hundred pixels; a larger header is damage.
constexpr int MaxEdge = 1024;
} // namespace

QImage ExifThumbnailFrom(const QByteArray &head, int minEdge)
{
    const ExifTiff t = FindExifTiff(head);
    if (!t.Data)
        return {};
    const qint64 ifd1 = t.next(t.first());
    std::uint32_t count = 0;
    const qint64 offsetAt = t.find(ifd1, ThumbnailOffsetTag, &count);
    const qint64 lengthAt = t.find(ifd1, ThumbnailLengthTag, &count);
    if (offsetAt < 0 || lengthAt < 0)
        return {};
    const qint64 offset = t.u32(offsetAt), length = t.u32(lengthAt);
    if (length < 4 || !t.has(offset, length))
        return {};
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(t.Data + offset), qsizetype(length));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(false); // turned with the picture it stands for
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxEdge || size.height() > MaxEdge
        || std::max(size.width(), size.height()) < minEdge)
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QImage ExifThumbnail(const QString &path, int minEdge)
{
    QFile file(path);
    if (!OpenRegularFile(path, file))
        return {};
    return ExifThumbnailFrom(file.read(HeadBytes), minEdge);
}
