#include "document/ArrangementFile.h"

#include "document/ByteStream.h"
#include "document/ExtensionChunks.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Smallest picture record: path length, rotation, id and caption length.
constexpr qsizetype MinPictureRecord = 16;

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

constexpr qsizetype ChunkHeaderSize = 4 + 2 + 4;

} // namespace

QByteArray WriteExtension(const std::vector<FileChunk>& chunks)
{
    if (chunks.empty())
        return {};
    ByteWriter w;
    w.raw(ExtensionSignature, 4);
    w.u16(ExtensionVersion);
    for (const FileChunk& c : chunks) {
        w.raw(c.Tag.leftJustified(4, ' ', true).constData(), 4);
        w.u16(c.Version);
        w.u32(std::uint32_t(c.Payload.size()));
        w.bytes.append(c.Payload);
    }
    return w.bytes;
}

ExtensionStatus ReadExtension(const QByteArray& bytes, qsizetype from, std::vector<FileChunk>& out)
{
    if (from < 0 || bytes.size() - from < 4 || std::memcmp(bytes.constData() + from, ExtensionSignature, 4) != 0)
        return ExtensionStatus::Absent;
    ByteReader r(bytes);
    r.seek(from + 4);
    const std::uint16_t version = r.u16();
    if (!r.ok())
        return ExtensionStatus::Damaged;
    if (version != ExtensionVersion)
        return ExtensionStatus::Absent;
    std::vector<FileChunk> chunks;
    while (r.remaining() > 0) {
        if (r.remaining() < ChunkHeaderSize)
            return ExtensionStatus::Damaged;
        FileChunk c;
        c.Tag = r.chars(4);
        c.Version = r.u16();
        c.Payload = r.chars(r.u32()); // a length past the end fails the reader
        if (!r.ok())
            return ExtensionStatus::Damaged;
        chunks.push_back(std::move(c));
    }
    out = std::move(chunks);
    return ExtensionStatus::Ok;
}

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
    d.CutMarks = o.CutMarks;
    d.Captions = o.Captions;
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
    o.CutMarks = d.CutMarks;
    o.Captions = d.Captions;
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

    WriteCaptionFont(w, d.Font);

    for (const StoredPicture& pic : d.Pictures) {
        w.string(pic.Path);
        w.i32(pic.Rotation);
        w.i32(pic.PictureId);
        w.string(pic.Caption);
    }
    w.bytes.append(WriteExtension(ExtensionChunksOf(d)));
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
        if (n > r.remaining() / qsizetype(PlacementRecordSize))
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

    d.Font = ReadCaptionFont(r);
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
    std::vector<FileChunk> chunks;
    const ExtensionStatus extension = ReadExtension(bytes, r.position(), chunks);
    if (extension == ExtensionStatus::Damaged || (extension == ExtensionStatus::Ok && !TakeExtensionChunks(chunks, d)))
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
