#include "browse/CacheFile.h"

#include "document/StoredText.h"
#include "picture/ScaledDecode.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QDir>

#include <algorithm>
#include <cstring>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ThumbMax = 80;
constexpr const char* TempInfix = ".~";

QByteArray upperAscii(QByteArray bytes)
{
    for (char& c : bytes)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return bytes;
}

bool readExact(QFile& f, void* to, qint64 n) { return f.read(static_cast<char*>(to), n) == n; }

void putInt32(QByteArray& out, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    const char b[4] = { char(u), char(u >> 8), char(u >> 16), char(u >> 24) };
    out.append(b, 4);
}

std::int32_t getInt32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::int32_t(
        std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
}

ThumbInfo infoFromBytes(const char* p)
{
    std::int32_t v[8];
    for (int i = 0; i < 8; ++i)
        v[i] = getInt32(p + 4 * i);
    return { v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7] };
}

void putInfo(QByteArray& out, const ThumbInfo& info)
{
    for (std::int32_t v : { info.BitCount, info.ThumbWidth, info.ThumbHeight, info.FullWidth, info.FullHeight,
             info.Colours, info.SizeKB, info.Check })
        putInt32(out, v);
}

} // namespace

void ThumbList::clear()
{
    for (ThumbEntry& e : Items)
        deldib(&e.Dib);
    Items.clear();
}

QString CacheFilePath(const QString& folder)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QLatin1String(CacheFileName);
}

CacheIndex LoadBrowseInfos(const QString& folder)
{
    CacheIndex index;
    if (folder.isEmpty())
        return index;
    QFile f(CacheFilePath(folder));
    if (!f.open(QIODevice::ReadOnly))
        return index;
    unsigned char magic[2];
    char count[4];
    if (!readExact(f, magic, 2) || (magic[0] | magic[1] << 8) != CacheMagic || !readExact(f, count, 4))
        return index;
    const std::int32_t n = getInt32(count);
    const qint64 size = f.size();
    // Entries that do not fit in the file are not believed, whatever N says.
    for (std::int32_t i = 0; i < n; ++i) {
        char head[CacheNameBytes + 32 + 4];
        if (!readExact(f, head, sizeof head))
            break;
        const std::int32_t length = getInt32(head + CacheNameBytes + 32);
        const qint64 offset = f.pos();
        if (length < 40 || length > size - offset)
            break;
        CacheIndexEntry e;
        e.Name = DecodeStoredText(QByteArray(head, int(qstrnlen(head, CacheNameBytes))));
        e.Info = infoFromBytes(head + CacheNameBytes);
        e.BlockOffset = offset;
        e.BlockLength = length;
        index.push_back(e);
        if (!f.seek(offset + length))
            break;
    }
    return index;
}

int CacheColourTableBytes(int colours) { return colours > 0 && colours <= 256 ? 4 * colours : 0; }

DIB LoadThumbnail(const QString& folder, std::int64_t blockOffset, std::int32_t blockLength, int width, int height,
    int bits, int colours)
{
    DIB dib;
    if (width < 1 || height < 1 || width > ThumbMax || height > ThumbMax)
        return dib;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return dib;
    const int tableBytes = CacheColourTableBytes(colours);
    if (bits <= 8 ? colours != (1 << bits) : tableBytes != 0)
        return dib;
    const std::int64_t imageBytes = std::int64_t(DibRowBytes(std::uint32_t(width), bits)) * height;
    if (blockLength != 40 + tableBytes + imageBytes)
        return dib;

    QFile f(CacheFilePath(folder));
    if (!f.open(QIODevice::ReadOnly) || !f.seek(blockOffset))
        return dib;
    BYTE buffer[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    if (!readExact(f, buffer, 40 + tableBytes))
        return dib;
    BITMAPINFOHEADER stored;
    std::memcpy(&stored, buffer, sizeof stored);
    if (stored.biWidth != width || stored.biHeight != height || stored.biBitCount != bits)
        return dib;
    if (!newdib(&dib, width, height, bits, reinterpret_cast<const BITMAPINFOHEADER*>(buffer), tableBytes / 4))
        return dib;
    if (dib.Info->biSizeImage != imageBytes || !readExact(f, dib.Bits, imageBytes))
        deldib(&dib); // ends early: no half picture
    return dib;
}

QByteArray CacheFileBytes(const ThumbList& list)
{
    qsizetype total = 6;
    for (int i = 0; i < list.count(); ++i) {
        const DIB& dib = list.at(i).Dib;
        total += CacheNameBytes + 32 + 4 + 40;
        if (dib.Info)
            total += CacheColourTableBytes(PaletteSize(dib.Info->biBitCount));
        if (dib.Bits)
            total += qsizetype(dib.Info->biSizeImage);
    }
    QByteArray out;
    out.reserve(total);
    out.append(char(CacheMagic & 0xFF));
    out.append(char(CacheMagic >> 8));
    putInt32(out, list.count());
    for (int i = 0; i < list.count(); ++i) {
        const ThumbEntry& e = list.at(i);
        QByteArray name = e.Name.toUtf8().left(CacheNameBytes - 1);
        name.append(QByteArray(CacheNameBytes - name.size(), '\0'));
        out.append(name);
        putInfo(out, e.Info);
        const int tableBytes = e.Dib.Info ? CacheColourTableBytes(PaletteSize(e.Dib.Info->biBitCount)) : 0;
        const std::int64_t imageBytes = e.Dib.Bits ? e.Dib.Info->biSizeImage : 0;
        putInt32(out, std::int32_t(40 + tableBytes + imageBytes));
        // The DIB holds biClrUsed colours; the block always has the full table.
        QByteArray head(40 + tableBytes, '\0');
        if (e.Dib.Info) {
            const int held = std::min<int>(int(std::min<DWORD>(e.Dib.Info->biClrUsed, 256)) * 4, tableBytes);
            std::memcpy(head.data(), e.Dib.Info, std::size_t(40 + held));
        }
        out.append(head);
        if (e.Dib.Bits)
            out.append(reinterpret_cast<const char*>(e.Dib.Bits), qsizetype(imageBytes));
    }
    return out;
}

void SaveBrowseInfos(const QString& folder, const ThumbList& list)
{
    if (list.count() > 0)
        SaveCacheFile(folder, CacheFileBytes(list));
}

void SaveCacheFile(const QString& folder, const QByteArray& bytes)
{
    if (folder.isEmpty())
        return;
    const QString path = CacheFilePath(folder);
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) {
        // Only a file that shows the magic may be replaced; one that cannot be
        // read is left alone too.
        QFile f(path);
        unsigned char magic[2];
        if (!existing.isFile() || !f.open(QIODevice::ReadOnly) || !readExact(f, magic, 2)
            || (magic[0] | magic[1] << 8) != CacheMagic)
            return;
    }
    // A revisit that took every thumbnail from the cache changes nothing.
    if (existing.size() == bytes.size()) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.readAll() == bytes)
            return;
    }
    WriteFileSafely(path, bytes);
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QLatin1String(TempInfix);
    // Left by a save that was killed midway.
    QDir folder = target.absoluteDir();
    for (const QString& stale : folder.entryList({ prefix + QLatin1Char('*') }, QDir::Files | QDir::Hidden))
        folder.remove(stale);

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = QFile::encodeName(folder.filePath(prefix + QString::number(QRandomGenerator::global()->generate(), 36)));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    // Every write and the flush to the disk are checked: a full disk must not
    // replace a complete file by a cut one.
    bool ok = true;
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, std::size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok) {
            p += n;
            left -= n;
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

int FindCacheEntry(const CacheIndex& index, const QString& name, std::int32_t check)
{
    const QByteArray wanted = upperAscii(name.toUtf8());
    for (std::size_t i = 0; i < index.size(); ++i)
        if (index[i].Info.Check == check && upperAscii(index[i].Name.toUtf8()) == wanted)
            return int(i);
    return -1;
}

std::int32_t CalcCheck(const QString& path)
{
    if (const std::optional<std::int32_t> check = FileCheck(path))
        return *check;
    return std::int32_t(QRandomGenerator::global()->bounded(32767));
}
