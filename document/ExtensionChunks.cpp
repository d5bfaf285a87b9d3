#include "document/ExtensionChunks.h"

#include "document/ByteStream.h"
#include "document/FrameView.h"
#include "document/StoredText.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

// Most per-placement and per-picture chunks hold a count, then the index and
// value of every item that has something to keep.
template <class T, class Has, class Write> QByteArray indexedChunk(const std::vector<T>& items, Has has, Write write)
{
    std::vector<std::uint32_t> kept;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (has(items[i]))
            kept.push_back(std::uint32_t(i));
    if (kept.empty())
        return {};
    ByteWriter w;
    w.u32(std::uint32_t(kept.size()));
    for (std::uint32_t i : kept) {
        w.u32(i);
        write(w, items[i]);
    }
    return w.bytes;
}

// A count the payload cannot hold is damage; values of items the file does
// not hold are read and dropped (read gets a null item).
template <class T, class Read>
bool readIndexedChunk(const QByteArray& payload, qsizetype valueSize, std::vector<T>& items, Read read)
{
    ByteReader r(payload);
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / (4 + valueSize)))
        return false;
    for (std::uint32_t k = 0; k < n && r.ok(); ++k) {
        const std::uint32_t index = r.u32();
        read(r, index < items.size() ? &items[index] : nullptr);
    }
    return r.ok();
}

// An indexed chunk of one byte each, 0 to 3 (a turn, an intent); any other
// value is damage.
template <class T, class Set> bool readQuarterChunk(const QByteArray& payload, std::vector<T>& items, Set set)
{
    bool sound = true;
    const bool read = readIndexedChunk(payload, 1, items, [&](ByteReader& r, T* item) {
        const std::uint8_t value = r.u8();
        sound = sound && value <= 3;
        if (item && value <= 3)
            set(*item, value);
    });
    return read && sound;
}

constexpr qsizetype ToneStepSize = 1 + 256;
constexpr qsizetype TonePictureSize = 4 + 4;
constexpr std::uint8_t ToneAfterEnlarge = 1;

// Placement index and view of every placement with a chosen view.
QByteArray viewChunk(const std::vector<Placement>& placements)
{
    return indexedChunk(
        placements, [](const Placement& p) { return p.View.chosen(); },
        [](ByteWriter& w, const Placement& p) {
            w.f64(p.View.CentreX);
            w.f64(p.View.CentreY);
            w.f64(p.View.Zoom);
        });
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
    return readIndexedChunk(payload, 3 * 8, placements, [](ByteReader& r, Placement* p) {
        FrameView v;
        v.CentreX = r.f64();
        v.CentreY = r.f64();
        v.Zoom = r.f64();
        if (p)
            p->View = HeldView(v);
    });
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

// Texts by page: a count, then page and text each.
template <class Texts> void writePageTexts(ByteWriter& w, const Texts& texts)
{
    w.u32(std::uint32_t(texts.size()));
    for (const auto& [page, text] : texts) {
        w.i32(page);
        writeSheetText(w, text);
    }
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
    writePageTexts(w, sheets.Headers);
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

// A count the payload cannot hold is damage; texts of pages outside the
// arrangement's range are read and dropped.
template <class Add> bool readPageTexts(ByteReader& r, Add add)
{
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining() / (4 + SheetTextMinSize)))
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::int32_t page = r.i32();
        SheetText t;
        if (!readSheetText(r, t))
            return false;
        if (page >= 1 && page <= MaxSheetPage)
            add(int(page), std::move(t));
    }
    return true;
}

// Headers of pages outside the arrangement's range and cells of placements
// the file does not hold are dropped.
bool readSheetChunk(const QByteArray& payload, std::vector<Placement>& placements, SheetTexts& sheets)
{
    ByteReader r(payload);
    SheetTexts read;
    if (!readPageTexts(r, [&read](int page, SheetText t) { read.Headers[page] = std::move(t); }))
        return false;
    const std::uint32_t n = r.u32();
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
    writePageTexts(w, sheets.Labels);
    return w.bytes;
}

bool readLabelChunk(const QByteArray& payload, SheetTexts& sheets)
{
    ByteReader r(payload);
    std::multimap<int, SheetText> read;
    if (!readPageTexts(r, [&read](int page, SheetText t) { read.emplace(page, std::move(t)); }))
        return false;
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
    return indexedChunk(
        pictures, [](const StoredPicture& p) { return p.Mirrored; }, [](ByteWriter&, const StoredPicture&) {});
}

// Indices of pictures the file does not hold are ignored.
bool readMirrorChunk(const QByteArray& payload, std::vector<StoredPicture>& pictures)
{
    return readIndexedChunk(payload, 0, pictures, [](ByteReader&, StoredPicture* p) {
        if (p)
            p->Mirrored = true;
    });
}

// Pairs of placement index and link, for the placements that have one.
QByteArray linkChunk(const std::vector<Placement>& placements)
{
    return indexedChunk(
        placements, [](const Placement& p) { return p.Link > 0; },
        [](ByteWriter& w, const Placement& p) { w.i32(p.Link); });
}

bool readLinkChunk(const QByteArray& payload, std::vector<Placement>& placements)
{
    return readIndexedChunk(payload, 4, placements, [](ByteReader& r, Placement* p) {
        const std::int32_t link = r.i32();
        if (p && link > 0 && link <= MaxLink)
            p->Link = link;
    });
}

// Pairs of placement index and quarter turns, for the turned placements.
QByteArray turnChunk(const std::vector<Placement>& placements)
{
    return indexedChunk(
        placements, [](const Placement& p) { return (p.Turn & 3) != 0; },
        [](ByteWriter& w, const Placement& p) { w.u8(std::uint8_t(p.Turn & 3)); });
}

// A turn beyond three quarters is damage: no writer makes one.
bool readTurnChunk(const QByteArray& payload, std::vector<Placement>& placements)
{
    return readQuarterChunk(payload, placements, [](Placement& p, std::uint8_t turn) { p.Turn = turn; });
}

// Pairs of picture record index and rendering intent, for the pictures
// printed at an intent of their own (a test strip's copies).
QByteArray intentChunk(const std::vector<StoredPicture>& pictures)
{
    return indexedChunk(
        pictures, [](const StoredPicture& p) { return p.PrintIntent >= 0; },
        [](ByteWriter& w, const StoredPicture& p) { w.u8(std::uint8_t(p.PrintIntent)); });
}

// An intent beyond the four is damage: no writer makes one.
bool readIntentChunk(const QByteArray& payload, std::vector<StoredPicture>& pictures)
{
    return readQuarterChunk(
        payload, pictures, [](StoredPicture& p, std::uint8_t intent) { p.PrintIntent = std::int8_t(intent); });
}

constexpr std::uint8_t CaptionOwnFont = 1;

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
    WriteCaptionFont(w, c.PageFont);
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
    c.PageFont = ReadCaptionFont(r);
    if (!r.ok())
        return false;
    out = c;
    return true;
}

} // namespace

std::vector<FileChunk> ExtensionChunksOf(const ArrangementData& d)
{
    std::vector<FileChunk> chunks;
    auto add = [&](const char* tag, QByteArray payload) {
        if (!payload.isEmpty())
            chunks.push_back(FileChunk { QByteArray(tag, 4), 1, std::move(payload) });
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
    add(TurnChunkTag, turnChunk(d.Placements));
    add(IntentChunkTag, intentChunk(d.Pictures));
    return chunks;
}

bool TakeExtensionChunks(const std::vector<FileChunk>& chunks, ArrangementData& d)
{
    using Reader = std::function<bool(const QByteArray&)>;
    const std::pair<const char*, Reader> readers[] = {
        { ViewChunkTag, [&](const QByteArray& b) { return readViewChunk(b, d.Placements); } },
        { ToneChunkTag, [&](const QByteArray& b) { return readToneChunk(b, d.Pictures.size(), d.Tones); } },
        { SheetChunkTag, [&](const QByteArray& b) { return readSheetChunk(b, d.Placements, d.Sheets); } },
        { MarksChunkTag, [&](const QByteArray& b) { return readMarksChunk(b, d.CutMarks); } },
        { MirrorChunkTag, [&](const QByteArray& b) { return readMirrorChunk(b, d.Pictures); } },
        { OrderChunkTag, [&](const QByteArray& b) { return ReadOrderChunk(b, d.Orders); } },
        { LinkChunkTag, [&](const QByteArray& b) { return readLinkChunk(b, d.Placements); } },
        { LabelChunkTag, [&](const QByteArray& b) { return readLabelChunk(b, d.Sheets); } },
        { CaptionChunkTag, [&](const QByteArray& b) { return readCaptionChunk(b, d.Captions); } },
        { TurnChunkTag, [&](const QByteArray& b) { return readTurnChunk(b, d.Placements); } },
        { IntentChunkTag, [&](const QByteArray& b) { return readIntentChunk(b, d.Pictures); } },
    };
    for (const FileChunk& c : chunks)
        for (const auto& [tag, read] : readers)
            if (c.Version == 1 && c.Tag == tag && !read(c.Payload))
                return false;
    return true;
}

namespace {
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
} // namespace

void WriteCaptionFont(ByteWriter& w, const TCaptionFont& font)
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

TCaptionFont ReadCaptionFont(ByteReader& r)
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

double HeldSheetPoints(double points)
{
    if (std::isnan(points))
        return SheetText().Points;
    return std::clamp(points, MinSheetPoints, MaxSheetPoints);
}
