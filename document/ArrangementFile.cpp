#include "document/ArrangementFile.h"

#include "document/ByteStream.h"
#include "document/FrameView.h"
#include "document/StoredText.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Smallest picture record: path length, rotation, id and caption length.
constexpr qsizetype MinPictureRecord = 16;

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

// ---- Extension chunks ------------------------------------------------------

constexpr qsizetype ChunkHeaderSize = 4 + 2 + 4;
constexpr qsizetype ViewRecordSize = 4 + 3 * 8;
constexpr qsizetype ToneStepSize = 1 + 256;
constexpr qsizetype TonePictureSize = 4 + 4;
constexpr std::uint8_t ToneAfterEnlarge = 1;

// Placement index and view of every placement with a chosen view.
QByteArray viewChunk(const std::vector<Placement>& placements)
{
    ByteWriter w;
    std::uint32_t n = 0;
    for (const Placement& p : placements)
        n += p.View.chosen() ? 1 : 0;
    if (n == 0)
        return {};
    w.u32(n);
    for (std::size_t i = 0; i < placements.size(); ++i) {
        const FrameView& v = placements[i].View;
        if (!v.chosen())
            continue;
        w.u32(std::uint32_t(i));
        w.f64(v.CentreX);
        w.f64(v.CentreY);
        w.f64(v.Zoom);
    }
    return w.bytes;
}

// Picture record index and tone steps of every picture with any.
QByteArray toneChunk(const std::vector<PictureSteps>& pictureTones, std::size_t pictureCount)
{
    ByteWriter w;
    const std::size_t count = std::min(pictureTones.size(), pictureCount);
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < count; ++i)
        n += pictureTones[i].empty() ? 0 : 1;
    if (n == 0)
        return {};
    w.u32(n);
    for (std::size_t i = 0; i < count; ++i) {
        const PictureSteps& tones = pictureTones[i];
        if (tones.empty())
            continue;
        w.u32(std::uint32_t(i));
        w.u32(std::uint32_t(tones.size()));
        for (const PictureStep& step : tones) {
            w.u8(step.AfterEnlarge ? ToneAfterEnlarge : 0);
            w.raw(step.Table.data(), qsizetype(step.Table.size()));
        }
    }
    return w.bytes;
}

// Views held to their valid range; a view for a placement the file does not
// hold is dropped.
bool readViewChunk(const QByteArray& payload, std::vector<Placement>& placements)
{
    ByteReader r(payload);
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / ViewRecordSize))
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t index = r.u32();
        FrameView v;
        v.CentreX = r.f64();
        v.CentreY = r.f64();
        v.Zoom = r.f64();
        if (index < placements.size())
            placements[index].View = HeldView(v);
    }
    return r.ok();
}

// Tables are replayed in their order, those made before an enlargement first
// and the others after it, so each group composes into one table: the same
// pixels from at most two steps, however many the file holds.
void mergeTone(PictureSteps& tones, const PictureStep& step)
{
    for (PictureStep& known : tones)
        if (known.AfterEnlarge == step.AfterEnlarge) {
            for (auto& v : known.Table)
                v = step.Table[v];
            return;
        }
    tones.push_back(step);
}

bool readToneChunk(const QByteArray& payload, std::size_t pictureCount, std::vector<PictureSteps>& pictureTones)
{
    ByteReader r(payload);
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / TonePictureSize))
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t index = r.u32();
        const std::uint32_t count = r.u32();
        if (!r.ok() || count > std::uint64_t(r.remaining() / ToneStepSize))
            return false;
        PictureSteps tones;
        for (std::uint32_t s = 0; s < count && r.ok(); ++s) {
            PictureStep step;
            step.What = PictureStep::Kind::Tone;
            step.AfterEnlarge = (r.u8() & ToneAfterEnlarge) != 0;
            r.take(step.Table.data(), qsizetype(step.Table.size()));
            mergeTone(tones, step);
        }
        if (index < pictureCount) {
            pictureTones.resize(std::max<std::size_t>(pictureTones.size(), index + 1));
            pictureTones[index] = std::move(tones);
        }
    }
    return r.ok();
}

constexpr qsizetype SheetTextMinSize = 3 * 8 + 8 + 4;
constexpr std::int32_t MaxSheetPage = 1000;

void writeSheetText(ByteWriter& w, const SheetText& t)
{
    w.f64(t.Left);
    w.f64(t.Top);
    w.f64(t.Width);
    w.f64(t.Points);
    w.u32(std::uint32_t(t.Lines.size()));
    for (const QString& line : t.Lines)
        w.string(line);
}

// Page headers, then the caption lines of every placement that is a cell.
QByteArray sheetChunk(const SheetTexts& sheets, const std::vector<Placement>& placements)
{
    std::vector<std::pair<std::uint32_t, const SheetText*>> cells;
    for (std::size_t i = 0; i < placements.size(); ++i)
        if (const SheetText* t = sheets.cellOf(placements[i]))
            cells.emplace_back(std::uint32_t(i), t);
    if (sheets.Headers.empty() && cells.empty())
        return {};
    ByteWriter w;
    w.u32(std::uint32_t(sheets.Headers.size()));
    for (const auto& [page, text] : sheets.Headers) {
        w.i32(page);
        writeSheetText(w, text);
    }
    w.u32(std::uint32_t(cells.size()));
    for (const auto& [index, text] : cells) {
        w.u32(index);
        writeSheetText(w, *text);
    }
    return w.bytes;
}

// A text's place: NaN gives 0, anything else is held to +-1000 inches.
double heldInches(double v) { return std::isnan(v) ? 0 : std::clamp(v, -1000.0, 1000.0); }

bool readSheetText(ByteReader& r, SheetText& t)
{
    t.Left = heldInches(r.f64());
    t.Top = heldInches(r.f64());
    t.Width = heldInches(r.f64());
    t.Points = HeldSheetPoints(r.f64());
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / 4))
        return false;
    t.Lines.reserve(qsizetype(n));
    for (std::uint32_t k = 0; k < n && r.ok(); ++k)
        t.Lines.append(r.string());
    return r.ok();
}

// Headers of pages outside the arrangement's range and cells of placements
// the file does not hold are dropped.
bool readSheetChunk(const QByteArray& payload, std::vector<Placement>& placements, SheetTexts& sheets)
{
    ByteReader r(payload);
    SheetTexts read;
    std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / (4 + SheetTextMinSize)))
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::int32_t page = r.i32();
        SheetText t;
        if (!readSheetText(r, t))
            return false;
        if (page >= 1 && page <= MaxSheetPage)
            read.Headers[page] = std::move(t);
    }
    n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / (4 + SheetTextMinSize)))
        return false;
    std::vector<std::int32_t> cellOf(placements.size(), 0);
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t index = r.u32();
        SheetText t;
        if (!readSheetText(r, t))
            return false;
        if (index < placements.size())
            cellOf[index] = read.addCell(std::move(t));
    }
    if (!r.ok())
        return false;
    for (std::size_t i = 0; i < placements.size(); ++i)
        placements[i].Cell = cellOf[i];
    read.Labels = std::move(sheets.Labels); // a chunk of their own, read in any order
    sheets = std::move(read);
    return true;
}

// Labels by page; those of pages outside the arrangement's range are dropped.
QByteArray labelChunk(const SheetTexts& sheets)
{
    if (sheets.Labels.empty())
        return {};
    ByteWriter w;
    w.u32(std::uint32_t(sheets.Labels.size()));
    for (const auto& [page, text] : sheets.Labels) {
        w.i32(page);
        writeSheetText(w, text);
    }
    return w.bytes;
}

bool readLabelChunk(const QByteArray& payload, SheetTexts& sheets)
{
    ByteReader r(payload);
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / (4 + SheetTextMinSize)))
        return false;
    std::multimap<int, SheetText> read;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::int32_t page = r.i32();
        SheetText t;
        if (!readSheetText(r, t))
            return false;
        if (page >= 1 && page <= MaxSheetPage)
            read.emplace(page, std::move(t));
    }
    sheets.Labels = std::move(read);
    return true;
}

constexpr std::uint8_t MarksOn = 1;

// Written only when marks are on, so other files keep their bytes.
QByteArray marksChunk(bool cutMarks)
{
    if (!cutMarks)
        return {};
    ByteWriter w;
    w.u8(MarksOn);
    return w.bytes;
}

// Bits this reader does not know are later additions and ignored.
bool readMarksChunk(const QByteArray& payload, bool& cutMarks)
{
    ByteReader r(payload);
    const std::uint8_t flags = r.u8();
    if (!r.ok())
        return false;
    cutMarks = (flags & MarksOn) != 0;
    return true;
}

// Record indices of the mirrored pictures, ascending.
QByteArray mirrorChunk(const std::vector<StoredPicture>& pictures)
{
    std::vector<std::uint32_t> mirrored;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].Mirrored)
            mirrored.push_back(std::uint32_t(i));
    if (mirrored.empty())
        return {};
    ByteWriter w;
    w.u32(std::uint32_t(mirrored.size()));
    for (std::uint32_t i : mirrored)
        w.u32(i);
    return w.bytes;
}

// Indices of pictures the file does not hold are ignored.
bool readMirrorChunk(const QByteArray& payload, std::vector<StoredPicture>& pictures)
{
    ByteReader r(payload);
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / 4))
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t index = r.u32();
        if (index < pictures.size())
            pictures[index].Mirrored = true;
    }
    return r.ok();
}

// Pairs of placement index and link, for the placements that have one.
QByteArray linkChunk(const std::vector<Placement>& placements)
{
    std::vector<std::pair<std::uint32_t, std::int32_t>> links;
    for (std::size_t i = 0; i < placements.size(); ++i)
        if (placements[i].Link > 0)
            links.emplace_back(std::uint32_t(i), placements[i].Link);
    if (links.empty())
        return {};
    ByteWriter w;
    w.u32(std::uint32_t(links.size()));
    for (const auto& [index, link] : links) {
        w.u32(index);
        w.i32(link);
    }
    return w.bytes;
}

bool readLinkChunk(const QByteArray& payload, std::vector<Placement>& placements)
{
    ByteReader r(payload);
    const std::uint32_t count = r.u32();
    if (!r.ok() || count > std::uint32_t(r.remaining() / 8))
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t index = r.u32();
        const std::int32_t link = r.i32();
        if (index < placements.size() && link > 0 && link <= MaxLink)
            placements[index].Link = link;
    }
    return r.ok();
}

constexpr std::uint8_t CaptionOwnFont = 1;

void writeFont(ByteWriter& w, const TCaptionFont& font)
{
    const QByteArray face = FaceNameBytes(font.Name);
    w.u8(font.Charset);
    w.i32(font.Color);
    w.u8(std::uint8_t(face.size()));
    w.raw(face.constData(), face.size());
    w.u8(font.Pitch);
    w.i32(font.PixelsPerInch);
    w.i32(font.Size);
    w.u8(font.Style);
}

TCaptionFont readFont(ByteReader& r)
{
    TCaptionFont font;
    font.Charset = r.u8();
    font.Color = r.i32();
    font.Name = DecodeStoredText(r.chars(r.u8()));
    font.Pitch = r.u8();
    font.PixelsPerInch = r.i32();
    font.Size = r.i32();
    font.Style = r.u8();
    return font;
}

// Written only when something differs from the defaults, so other files keep their bytes.
QByteArray captionChunk(const CaptionSettings& c)
{
    if (c == CaptionSettings())
        return {};
    ByteWriter w;
    w.u8(c.OwnFont ? CaptionOwnFont : 0);
    w.u8(std::uint8_t(c.Fit));
    w.string(c.Template);
    w.u8(std::uint8_t(c.HeaderAlign));
    w.string(c.Header);
    w.u8(std::uint8_t(c.FooterAlign));
    w.string(c.Footer);
    writeFont(w, c.PageFont);
    return w.bytes;
}

PageTextAlign heldAlign(std::uint8_t v) { return v <= 2 ? PageTextAlign(v) : PageTextAlign::Centre; }

bool readCaptionChunk(const QByteArray& payload, CaptionSettings& out)
{
    ByteReader r(payload);
    CaptionSettings c;
    const std::uint8_t flags = r.u8();
    c.OwnFont = (flags & CaptionOwnFont) != 0;
    const std::uint8_t fit = r.u8();
    c.Fit = fit <= 2 ? CaptionFit(fit) : CaptionFit::Clip;
    c.Template = r.string();
    c.HeaderAlign = heldAlign(r.u8());
    c.Header = r.string();
    c.FooterAlign = heldAlign(r.u8());
    c.Footer = r.string();
    c.PageFont = readFont(r);
    if (!r.ok())
        return false;
    out = c;
    return true;
}

std::vector<FileChunk> chunksOf(const ArrangementData& d)
{
    std::vector<FileChunk> chunks;
    auto add = [&](const char* tag, QByteArray payload) {
        if (!payload.isEmpty())
            chunks.push_back(FileChunk{QByteArray(tag, 4), 1, std::move(payload)});
    };
    add(ViewChunkTag, viewChunk(d.Placements));
    add(ToneChunkTag, toneChunk(d.Tones, d.Pictures.size()));
    add(SheetChunkTag, sheetChunk(d.Sheets, d.Placements));
    add(MarksChunkTag, marksChunk(d.CutMarks));
    add(MirrorChunkTag, mirrorChunk(d.Pictures));
    add(OrderChunkTag, OrderChunkPayload(d.Orders));
    add(LinkChunkTag, linkChunk(d.Placements));
    add(LabelChunkTag, labelChunk(d.Sheets));
    add(CaptionChunkTag, captionChunk(d.Captions));
    add(IntentChunkTag, IntentChunkPayload(d.Pictures));
    return chunks;
}

// Takes the chunks this program knows into d; others (and other versions of
// known ones) are skipped.
bool takeChunks(const std::vector<FileChunk>& chunks, ArrangementData& d)
{
    for (const FileChunk& c : chunks) {
        if (c.Version != 1)
            continue;
        if (c.Tag == ViewChunkTag && !readViewChunk(c.Payload, d.Placements))
            return false;
        if (c.Tag == ToneChunkTag && !readToneChunk(c.Payload, d.Pictures.size(), d.Tones))
            return false;
        if (c.Tag == SheetChunkTag && !readSheetChunk(c.Payload, d.Placements, d.Sheets))
            return false;
        if (c.Tag == MarksChunkTag && !readMarksChunk(c.Payload, d.CutMarks))
            return false;
        if (c.Tag == MirrorChunkTag && !readMirrorChunk(c.Payload, d.Pictures))
            return false;
        if (c.Tag == OrderChunkTag && !ReadOrderChunk(c.Payload, d.Orders))
            return false;
        if (c.Tag == LinkChunkTag && !readLinkChunk(c.Payload, d.Placements))
            return false;
        if (c.Tag == LabelChunkTag && !readLabelChunk(c.Payload, d.Sheets))
            return false;
        if (c.Tag == IntentChunkTag && !ReadIntentChunk(c.Payload, d.Pictures))
            return false;
        if (c.Tag == CaptionChunkTag && !readCaptionChunk(c.Payload, d.Captions))
            return false;
    }
    return true;
}

} // namespace

double HeldSheetPoints(double points)
{
    if (std::isnan(points))
        return SheetText().Points;
    return std::clamp(points, MinSheetPoints, MaxSheetPoints);
}

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

    writeFont(w, d.Font);

    for (const StoredPicture& pic : d.Pictures) {
        w.string(pic.Path);
        w.i32(pic.Rotation);
        w.i32(pic.PictureId);
        w.string(pic.Caption);
    }
    w.bytes.append(WriteExtension(chunksOf(d)));
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

    d.Font = readFont(r);
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
    if (extension == ExtensionStatus::Damaged || (extension == ExtensionStatus::Ok && !takeChunks(chunks, d)))
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
