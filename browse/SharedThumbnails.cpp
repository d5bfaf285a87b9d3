#include "browse/SharedThumbnails.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <array>
#include <sys/stat.h>
#include <cstdint>
#include <map>

namespace {
constexpr int NormalEdge = 128;
constexpr int LargeEdge = 256;
// A thumbnail file holds at most 256 x 256 pixels; anything far larger is not one.
constexpr qint64 MaxThumbnailBytes = 4 * 1024 * 1024;
const char *const Program = "snapgrid-atlas-4.0";

// Qt's PNG text takes no keys with colons, so the chunks are read and written here.
std::uint32_t Crc32(const QByteArray &bytes)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ std::uint8_t(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray BigEndian(std::uint32_t v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(b, 4);
}

// The PNG with tEXt chunks for `texts` right after its header chunk.
QByteArray WithTexts(const QByteArray &png, const QList<std::pair<QByteArray, QByteArray>> &texts)
{
    constexpr qsizetype AfterHeader = 8 + 4 + 4 + 13 + 4; // signature, IHDR
    if (png.size() < AfterHeader)
        return {};
    QByteArray chunks;
    for (const auto &[key, value] : texts) {
        const QByteArray body = QByteArray("tEXt") + key + '\0' + value;
        chunks += BigEndian(std::uint32_t(body.size() - 4)) + body + BigEndian(Crc32(body));
    }
    return png.left(AfterHeader) + chunks + png.mid(AfterHeader);
}

// The tEXt chunks before the image data, read with every length checked.
std::map<QByteArray, QByteArray> Texts(const QByteArray &png)
{
    std::map<QByteArray, QByteArray> texts;
    const auto *d = reinterpret_cast<const uchar *>(png.constData());
    qsizetype at = 8;
    while (at + 8 <= png.size()) {
        const qsizetype length = qsizetype((std::uint32_t(d[at]) << 24) | (d[at + 1] << 16) | (d[at + 2] << 8) | d[at + 3]);
        const QByteArray type = png.mid(at + 4, 4);
        if (length < 0 || length > png.size() - at - 12 || type == "IDAT" || type == "IEND")
            break;
        if (type == "tEXt") {
            const QByteArray body = png.mid(at + 8, length);
            const qsizetype zero = body.indexOf('\0');
            if (zero > 0)
                texts[body.left(zero)] = body.mid(zero + 1);
        }
        at += length + 12;
    }
    return texts;
}

QString FailureFolder() { return SharedThumbnailRoot() + QStringLiteral("/fail/") + QLatin1String(Program); }

bool MakePrivateFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

// The thumbnail's texts say it was made for this file as it is now.
bool Matches(const std::map<QByteArray, QByteArray> &texts, const SharedThumbKey &key)
{
    auto text = [&texts](const char *name) {
        const auto it = texts.find(QByteArray(name));
        return it == texts.end() ? QByteArray() : it->second;
    };
    if (text("Thumb::URI") != key.Uri)
        return false;
    bool ok = false;
    if (text("Thumb::MTime").toLongLong(&ok) != key.MTime || !ok)
        return false;
    const QByteArray size = text("Thumb::Size");
    return size.isEmpty() || size.toLongLong() == key.Size;
}

// The file's bytes, when it is a plausible thumbnail.
QByteArray ReadSmall(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > MaxThumbnailBytes || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(MaxThumbnailBytes);
}

bool WritePng(const QString &folder, const SharedThumbKey &key, const QImage &image, QSize full)
{
    if (!MakePrivateFolder(folder))
        return false;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, "png").write(image))
            return false;
    }
    QList<std::pair<QByteArray, QByteArray>> texts{{"Thumb::URI", key.Uri},
                                                   {"Thumb::MTime", QByteArray::number(key.MTime)},
                                                   {"Thumb::Size", QByteArray::number(key.Size)}};
    if (full.isValid()) {
        texts.append({QByteArray("Thumb::Image::Width"), QByteArray::number(full.width())});
        texts.append({QByteArray("Thumb::Image::Height"), QByteArray::number(full.height())});
    }
    texts.append({QByteArray("Software"), QByteArray("Snapgrid-Atlas 4.0")});
    png = WithTexts(png, texts);
    // Written under a temporary name and renamed, so a reader never sees half a file.
    QSaveFile file(folder + QLatin1Char('/') + key.Name);
    if (png.isEmpty() || !file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (file.write(png) != png.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

QString SharedThumbnailRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/thumbnails");
}

std::optional<SharedThumbKey> SharedThumbKeyFor(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    const QString absolute = info.absoluteFilePath();
    if (absolute.startsWith(SharedThumbnailRoot() + QLatin1Char('/')))
        return std::nullopt; // thumbnails of thumbnails are never made
    SharedThumbKey key;
    key.Uri = QUrl::fromLocalFile(absolute).toEncoded();
    // From the file system directly: the local time zone (and the C library's
    // time-zone state, which the interface thread also uses) plays no part.
    struct stat st {};
    if (::stat(QFile::encodeName(absolute).constData(), &st) != 0)
        return std::nullopt;
    key.MTime = qint64(st.st_mtime);
    key.Size = info.size();
    key.Name = QString::fromLatin1(QCryptographicHash::hash(key.Uri, QCryptographicHash::Md5).toHex())
               + QStringLiteral(".png");
    return key;
}

QImage ReadSharedThumbnail(const SharedThumbKey &key, int minEdge, QSize *full)
{
    for (const char *kind : {"normal", "large"}) {
        const QByteArray png =
            ReadSmall(SharedThumbnailRoot() + QLatin1Char('/') + QLatin1String(kind) + QLatin1Char('/') + key.Name);
        const std::map<QByteArray, QByteArray> texts = Texts(png);
        if (png.isEmpty() || !Matches(texts, key))
            continue;
        QBuffer buffer;
        buffer.setData(png);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > 2 * LargeEdge || size.height() > 2 * LargeEdge
            || std::max(size.width(), size.height()) < minEdge)
            continue;
        QImage image;
        if (!reader.read(&image))
            continue;
        if (full) {
            auto number = [&texts](const char *name) {
                const auto it = texts.find(QByteArray(name));
                return it == texts.end() ? 0 : it->second.toInt();
            };
            const QSize recorded(number("Thumb::Image::Width"), number("Thumb::Image::Height"));
            *full = recorded.width() > 0 && recorded.height() > 0 ? recorded : QSize();
        }
        return image;
    }
    return {};
}

bool SharedThumbnailFailed(const SharedThumbKey &key)
{
    const QByteArray png = ReadSmall(FailureFolder() + QLatin1Char('/') + key.Name);
    return !png.isEmpty() && Matches(Texts(png), key);
}

bool WriteSharedThumbnail(const SharedThumbKey &key, const QImage &picture, QSize full)
{
    if (picture.isNull())
        return false;
    QImage image = picture;
    if (std::max(image.width(), image.height()) > NormalEdge)
        image = image.scaled(NormalEdge, NormalEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return WritePng(SharedThumbnailRoot() + QStringLiteral("/normal"), key, image, full);
}

bool WriteSharedThumbnailFailure(const SharedThumbKey &key)
{
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.fill(Qt::transparent);
    return WritePng(FailureFolder(), key, dot, QSize());
}
