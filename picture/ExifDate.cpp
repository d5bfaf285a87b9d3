#include "picture/ExifDate.h"

#include "picture/ExifBlock.h"
#include "picture/ScaledDecode.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstring>

namespace {

constexpr qint64 HeadBytes = 128 * 1024;
constexpr std::uint16_t ExifPointerTag = 0x8769;
constexpr std::uint16_t DateTimeOriginalTag = 0x9003;

} // namespace

ExifTiff FindExifTiff(const QByteArray &head)
{
    const auto *d = reinterpret_cast<const uchar *>(head.constData());
    const qsizetype size = head.size();
    if (size < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return {};
    qsizetype pos = 2;
    while (pos + 4 <= size && d[pos] == 0xFF) {
        const int marker = d[pos + 1];
        const qsizetype length = (d[pos + 2] << 8) | d[pos + 3];
        if (marker == 0xDA || length < 2)
            return {};
        const qsizetype payload = pos + 4;
        if (marker == 0xE1 && length >= 8 && payload + length - 2 <= size
            && std::memcmp(d + payload, "Exif\0\0", 6) == 0) {
            ExifTiff t{d + payload + 6, length - 8, true};
            if (!t.has(0, 8))
                return {};
            if (t.Data[0] == 'M' && t.Data[1] == 'M')
                t.Little = false;
            else if (t.Data[0] != 'I' || t.Data[1] != 'I')
                return {};
            return t;
        }
        pos = payload + length - 2;
    }
    return {};
}

qint64 ExifTiff::find(qint64 ifd, std::uint16_t tag, std::uint32_t *count) const
{
    if (!has(ifd, 2))
        return -1;
    const int n = u16(ifd);
    for (int i = 0; i < n; ++i) {
        const qint64 e = ifd + 2 + qint64(i) * 12;
        if (!has(e, 12))
            return -1;
        if (u16(e) == tag) {
            *count = u32(e + 4);
            return e + 8;
        }
    }
    return -1;
}

qint64 ExifTiff::next(qint64 ifd) const
{
    if (!has(ifd, 2))
        return -1;
    const qint64 link = ifd + 2 + qint64(u16(ifd)) * 12;
    if (!has(link, 4))
        return -1;
    const qint64 at = u32(link);
    return at > 0 && at != ifd && has(at, 2) ? at : -1;
}

QDateTime ExifDateTakenFrom(const QByteArray &head)
{
    const ExifTiff t = FindExifTiff(head);
    if (!t.Data)
        return {};
    std::uint32_t count = 0;
    const qint64 pointer = t.find(t.first(), ExifPointerTag, &count);
    if (pointer < 0)
        return {};
    const qint64 value = t.find(t.u32(pointer), DateTimeOriginalTag, &count);
    if (value < 0 || count < 19)
        return {};
    const qint64 text = t.u32(value);
    if (!t.has(text, 19))
        return {};
    const QString stamp = QString::fromLatin1(reinterpret_cast<const char *>(t.Data + text), 19);
    return QDateTime::fromString(stamp, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
}

QDateTime ExifDateTaken(const QString &path)
{
    QFile file(path);
    if (!OpenRegularFile(path, file))
        return {};
    return ExifDateTakenFrom(file.read(HeadBytes));
}

QDateTime PictureDateTaken(const QString &path)
{
    const QDateTime taken = ExifDateTaken(path);
    return taken.isValid() ? taken : QFileInfo(path).lastModified();
}
