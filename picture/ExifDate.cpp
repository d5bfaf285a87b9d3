#include "picture/ExifDate.h"

#include "picture/ScaledDecode.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstring>

namespace {

constexpr qint64 HeadBytes = 128 * 1024;
constexpr std::uint16_t ExifPointerTag = 0x8769;
constexpr std::uint16_t DateTimeOriginalTag = 0x9003;

// A TIFF structure inside the APP1 payload; every read is checked against its end.
struct Tiff {
    const uchar *Data = nullptr;
    qsizetype Size = 0;
    bool Little = true;

    [[nodiscard]] bool has(qint64 at, qint64 n) const { return at >= 0 && n >= 0 && at <= Size - n; }
    [[nodiscard]] std::uint16_t u16(qint64 at) const
    {
        return Little ? std::uint16_t(Data[at] | (Data[at + 1] << 8)) : std::uint16_t((Data[at] << 8) | Data[at + 1]);
    }
    [[nodiscard]] std::uint32_t u32(qint64 at) const
    {
        const std::uint32_t a = u16(at), b = u16(at + 2);
        return Little ? (a | (b << 16)) : ((a << 16) | b);
    }
    // The value offset of `tag` in the directory at `ifd`; -1 when absent.
    [[nodiscard]] qint64 find(qint64 ifd, std::uint16_t tag, std::uint32_t *count) const
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
};

} // namespace

QDateTime ExifDateTakenFrom(const QByteArray &head)
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
            Tiff t{d + payload + 6, length - 8, true};
            if (!t.has(0, 8))
                return {};
            if (t.Data[0] == 'M' && t.Data[1] == 'M')
                t.Little = false;
            else if (t.Data[0] != 'I' || t.Data[1] != 'I')
                return {};
            std::uint32_t count = 0;
            const qint64 pointer = t.find(t.u32(4), ExifPointerTag, &count);
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
        pos = payload + length - 2;
    }
    return {};
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
