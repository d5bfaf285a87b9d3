#include "document/ArrangementFile.h"

#include "document/StoredText.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Smallest picture record: path length, rotation, id and caption length.
constexpr qsizetype MinPictureRecord = 16;

class ByteWriter {
public:
    QByteArray bytes;
    void raw(const void* data, qsizetype n) { bytes.append(static_cast<const char*>(data), n); }
    void u8(std::uint8_t v) { bytes.append(char(v)); }
    void i32(std::int32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        raw(b, 4);
    }
    void f64(double v)
    {
        char b[8];
        qToLittleEndian(v, b);
        raw(b, 8);
    }
    void string(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        i32(std::int32_t(utf8.size()));
        bytes.append(utf8);
    }
};

// Reads from a byte array without ever passing its end; after the first
// short read every further read fails too.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& b)
        : bytes(b)
    {
    }
    qsizetype remaining() const { return bytes.size() - pos; }
    bool ok() const { return good; }
    bool take(void* out, qsizetype n)
    {
        if (!good || n < 0 || n > remaining())
            return good = false;
        std::memcpy(out, bytes.constData() + pos, std::size_t(n));
        pos += n;
        return true;
    }
    std::uint8_t u8()
    {
        std::uint8_t v = 0;
        take(&v, 1);
        return v;
    }
    std::int32_t i32()
    {
        char b[4] = {};
        take(b, 4);
        return good ? qFromLittleEndian<std::int32_t>(b) : 0;
    }
    double f64()
    {
        char b[8] = {};
        take(b, 8);
        return good ? qFromLittleEndian<double>(b) : 0.0;
    }
    QByteArray chars(std::int64_t n)
    {
        if (!good || n < 0 || n > remaining()) {
            good = false;
            return {};
        }
        QByteArray out = bytes.mid(pos, qsizetype(n));
        pos += qsizetype(n);
        return out;
    }
    QString string() { return DecodeStoredText(chars(i32())); }
    void fail() { good = false; }

private:
    const QByteArray& bytes;
    qsizetype pos = 0;
    bool good = true;
};

// The UTF-8 bytes of s cut to at most 255, never inside a character.
QByteArray FaceNameBytes(const QString& s)
{
    QByteArray utf8 = s.toUtf8();
    if (utf8.size() <= 255)
        return utf8;
    qsizetype n = 255;
    while (n > 0 && (std::uint8_t(utf8[n]) & 0xC0) == 0x80)
        --n;
    utf8.truncate(n);
    return utf8;
}

std::int32_t TruncatedInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    const double t = std::trunc(v);
    if (t >= double(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (t <= double(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(t);
}

} // namespace

void StoreOptions(ArrangementData& d, const ArrangementOptions& o)
{
    d.ShowFNames = o.ShowFNames ? 1 : 0;
    d.Sverh = o.Sverh ? 1 : 0;
    d.Zoom = o.Zoom;
    d.Rand = TruncatedInt(o.Rand);
    d.Space = TruncatedInt(o.Space);
    d.Transp = o.Transp ? 1 : 0;
    d.BkColor = o.BkColor;
    d.CutDefault = o.CutDefault ? 1 : 0;
    d.EnhanceQual = o.EnhanceQual ? 1 : 0;
    d.UseGrid = o.UseGrid ? 1 : 0;
    d.ShowGrid = o.ShowGrid ? 1 : 0;
    d.MinQual = o.MinQual;
    d.DBreite = o.DBreite;
    d.DHoche = o.DHoche;
    d.Grid = o.Grid;
    d.Font = o.Font;
}

ArrangementOptions LoadedOptions(const ArrangementData& d)
{
    ArrangementOptions o;
    o.ShowFNames = d.ShowFNames != 0;
    o.Sverh = d.Sverh != 0;
    o.Zoom = d.Zoom;
    o.Rand = d.Rand;
    o.Space = d.Space;
    o.Transp = d.Transp != 0;
    o.BkColor = d.BkColor;
    o.CutDefault = d.CutDefault != 0;
    o.EnhanceQual = d.EnhanceQual != 0;
    o.UseGrid = d.UseGrid != 0;
    o.ShowGrid = d.ShowGrid != 0;
    o.MinQual = d.MinQual;
    o.DBreite = d.DBreite;
    o.DHoche = d.DHoche;
    o.Grid = d.Grid;
    o.Font = d.Font;
    return o;
}

QByteArray WriteArrangement(const ArrangementData& d)
{
    ByteWriter w;
    w.raw(ArrangementMagic, ArrangementMagicSize);
    w.i32(std::int32_t(d.Placements.size()));
    for (const Placement& p : d.Placements) {
        // Field by field, so the bytes are little-endian on any host.
        w.f64(p.Left);
        w.f64(p.Top);
        w.f64(p.Width);
        w.f64(p.Height);
        w.i32(p.Page);
        w.i32(p.PictureId);
        w.u8(p.Cut);
        w.raw(p.Reserved, sizeof p.Reserved);
    }
    w.i32(d.SelectedPlacement);
    w.i32(d.SelectedPicture);
    w.i32(std::int32_t(d.Pictures.size()));
    w.i32(d.NextPictureId);
    for (std::int32_t v : { d.ShowFNames, d.Sverh, d.Zoom, d.Rand, d.Space, d.Transp, d.BkColor, d.CutDefault,
             d.EnhanceQual, d.UseGrid, d.ShowGrid })
        w.i32(v);
    for (double v : { d.MinQual, d.DBreite, d.DHoche, d.Grid })
        w.f64(v);

    const QByteArray face = FaceNameBytes(d.Font.Name);
    w.u8(d.Font.Charset);
    w.i32(d.Font.Color);
    w.u8(std::uint8_t(face.size()));
    w.raw(face.constData(), face.size());
    w.u8(d.Font.Pitch);
    w.i32(d.Font.PixelsPerInch);
    w.i32(d.Font.Size);
    w.u8(d.Font.Style);

    for (const StoredPicture& pic : d.Pictures) {
        w.string(pic.Path);
        w.i32(pic.Rotation);
        w.i32(pic.PictureId);
        w.string(pic.Caption);
    }
    return w.bytes;
}

bool HasArrangementMagic(const QByteArray& bytes)
{
    return bytes.size() >= ArrangementMagicSize
        && std::memcmp(bytes.constData(), ArrangementMagic, ArrangementMagicSize) == 0;
}

ArrangementReadStatus ReadArrangement(const QByteArray& bytes, ArrangementData& out)
{
    if (!HasArrangementMagic(bytes))
        return ArrangementReadStatus::NotArrangement;
    ByteReader r(bytes);
    r.chars(ArrangementMagicSize);
    ArrangementData d;

    // Unsigned in the file; a value negative as a signed number means none.
    const std::int32_t n = r.i32();
    if (n > 0) {
        if (n > r.remaining() / qsizetype(sizeof(Placement)))
            return ArrangementReadStatus::Damaged;
        d.Placements.resize(std::size_t(n));
        for (Placement& p : d.Placements) {
            p.Left = r.f64();
            p.Top = r.f64();
            p.Width = r.f64();
            p.Height = r.f64();
            p.Page = r.i32();
            p.PictureId = r.i32();
            p.Cut = r.u8();
            r.take(p.Reserved, sizeof p.Reserved);
        }
    }
    d.SelectedPlacement = r.i32();
    d.SelectedPicture = r.i32();
    d.PictureCount = r.i32();
    d.NextPictureId = r.i32();
    for (std::int32_t* v : { &d.ShowFNames, &d.Sverh, &d.Zoom, &d.Rand, &d.Space, &d.Transp, &d.BkColor, &d.CutDefault,
             &d.EnhanceQual, &d.UseGrid, &d.ShowGrid })
        *v = r.i32();
    for (double* v : { &d.MinQual, &d.DBreite, &d.DHoche, &d.Grid })
        *v = r.f64();

    d.Font.Charset = r.u8();
    d.Font.Color = r.i32();
    d.Font.Name = DecodeStoredText(r.chars(r.u8()));
    d.Font.Pitch = r.u8();
    d.Font.PixelsPerInch = r.i32();
    d.Font.Size = r.i32();
    d.Font.Style = r.u8();
    if (!r.ok())
        return ArrangementReadStatus::Damaged;

    if (d.PictureCount > 0) {
        if (d.PictureCount > r.remaining() / MinPictureRecord)
            return ArrangementReadStatus::Damaged;
        d.Pictures.resize(std::size_t(d.PictureCount));
        for (StoredPicture& pic : d.Pictures) {
            pic.Path = r.string();
            pic.Rotation = r.i32();
            pic.PictureId = r.i32();
            pic.Caption = r.string();
            if (!r.ok())
                return ArrangementReadStatus::Damaged;
        }
    }
    if (!r.ok())
        return ArrangementReadStatus::Damaged;
    out = std::move(d);
    return ArrangementReadStatus::Ok;
}

QString StoredFolderPart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut + 1);
}

Qt::CaseSensitivity FileSystemCaseSensitivity()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString StoredPicturePath(const QString& pictureFile, const QString& arrangementFile, Qt::CaseSensitivity cs)
{
    const QString pictureFolder = StoredFolderPart(pictureFile);
    if (!pictureFolder.isEmpty() && pictureFolder.compare(StoredFolderPart(arrangementFile), cs) == 0)
        return pictureFile.mid(pictureFolder.size());
    return pictureFile;
}

QString ResolveStoredPath(const QString& stored, const QString& arrangementFolder)
{
    if (stored.isEmpty() || !StoredFolderPart(stored).isEmpty())
        return stored;
    return arrangementFolder + stored;
}
