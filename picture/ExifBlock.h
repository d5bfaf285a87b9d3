#pragma once
// The TIFF structure inside a JPEG's EXIF (APP1) segment, read with every
// access checked against its end.
#include <QByteArray>

#include <cstdint>

struct ExifTiff {
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
    [[nodiscard]] qint64 find(qint64 ifd, std::uint16_t tag, std::uint32_t *count) const;
    // The directory after the one at `ifd` (IFD1 after IFD0); -1 when none.
    [[nodiscard]] qint64 next(qint64 ifd) const;
    // The first directory (IFD0); -1 when the header is damaged.
    [[nodiscard]] qint64 first() const { return has(4, 4) ? qint64(u32(4)) : -1; }
};

// The EXIF TIFF block in a JPEG's first bytes; Data is null when there is none
// before the first scan or the header is damaged. Points into `head`.
[[nodiscard]] ExifTiff FindExifTiff(const QByteArray &head);
