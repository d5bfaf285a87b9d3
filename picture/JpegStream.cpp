#include "picture/JpegStream.h"

#include "picture/FileCheck.h"

#include <QBuffer>
#include <QIODevice>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h first: its configuration decides which messages jerror.h declares.
#include <jerror.h>
#include <jpeglib.h>
#include <lcms2.h>

namespace {

constexpr qint64 ReadPiece = qint64(1) << 20;
// The header segments handed to libjpeg; real files have a few kilobytes.
constexpr qsizetype MaxHeaderBytes = qsizetype(4) << 20;

struct StrictErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<StrictErrors *>(cinfo->err)->jump, 1); }

// Any warning disqualifies the file.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

struct HeaderReader {
    jpeg_decompress_struct cinfo{};
    StrictErrors err{};
    bool created = false;
    ~HeaderReader()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

// Only trivially destructible locals: libjpeg leaves by longjmp.
bool readHeader(HeaderReader& r, const QByteArray& header, JpegStreamInfo* info)
{
    if (setjmp(r.err.jump))
        return false;
    r.cinfo.err = jpeg_std_error(&r.err.pub);
    r.err.pub.error_exit = errorExit;
    r.err.pub.emit_message = emitMessage;
    r.err.pub.output_message = outputMessage;
    jpeg_create_decompress(&r.cinfo);
    r.created = true;
    jpeg_mem_src(&r.cinfo, reinterpret_cast<const unsigned char*>(header.constData()),
        static_cast<unsigned long>(header.size()));
    jpeg_save_markers(&r.cinfo, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(&r.cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    info->Width = int(r.cinfo.image_width);
    info->Height = int(r.cinfo.image_height);
    info->Components = r.cinfo.num_components;
    info->AdobeInverted = r.cinfo.num_components == 4 && r.cinfo.saw_Adobe_marker;
    JOCTET *icc = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&r.cinfo, &icc, &length)) {
        info->IccProfile = QByteArray(reinterpret_cast<const char *>(icc), int(length));
        std::free(icc);
    }
    return true;
}

// The file in pieces, every byte hashed as it is read.
class Reader {
public:
    Reader(QIODevice& in, qint64 limit)
        : In(in)
        , Limit(limit)
    {
    }
    [[nodiscard]] qint64 pos() const { return Base + At; }
    int get()
    {
        if (At >= Buf.size() && !fill())
            return -1;
        return uchar(Buf[At++]);
    }
    // Moves to the next FF byte; false at the end.
    bool toNextFF()
    {
        while (true) {
            const void* ff = std::memchr(Buf.constData() + At, 0xFF, std::size_t(Buf.size() - At));
            if (ff) {
                At = static_cast<const char*>(ff) - Buf.constData();
                return true;
            }
            At = Buf.size();
            if (!fill())
                return false;
        }
    }
    bool take(qint64 n, QByteArray* out)
    {
        while (n > 0) {
            if (At >= Buf.size() && !fill())
                return false;
            const qsizetype k = qsizetype(std::min<qint64>(n, Buf.size() - At));
            if (out)
                out->append(Buf.constData() + At, k);
            At += k;
            n -= k;
        }
        return true;
    }
    // Reads to the end; false when the file is longer than the limit or unreadable.
    bool drain()
    {
        At = Buf.size();
        while (fill())
            At = Buf.size();
        return !Failed;
    }
    QByteArray hash() const { return Hash.result(); }

private:
    bool fill()
    {
        Base += Buf.size();
        At = 0;
        Buf.clear();
        if (Base >= Limit) {
            Failed = !In.atEnd();
            return false;
        }
        Buf = In.read(std::min(ReadPiece, Limit - Base));
        if (Buf.isEmpty()) {
            Failed = !In.atEnd();
            return false;
        }
        Hash.addData(Buf);
        return true;
    }
    QIODevice& In;
    qint64 Limit;
    QByteArray Buf;
    qsizetype At = 0;
    qint64 Base = 0;
    ContentHash Hash;
    bool Failed = false;
};

bool startsWith(const QByteArray& segment, const char* tag, qsizetype length)
{
    return segment.size() >= 4 + length && std::memcmp(segment.constData() + 4, tag, std::size_t(length)) == 0;
}

bool carriedFrame(unsigned char marker) { return marker == 0xC0 || marker == 0xC1 || marker == 0xC2; }

// Other frame types (lossless, hierarchical, arithmetic coding) and the
// arithmetic conditioning and hierarchical segments that only they use.
bool refusedSegment(unsigned char marker)
{
    return (marker >= 0xC3 && marker <= 0xCF && marker != 0xC4) || marker == 0xDC || marker == 0xDE || marker == 0xDF;
}

// Segments a decoder needs; an ICC profile or Adobe marker is told by its tag.
bool neededSegment(unsigned char marker, const QByteArray& segment)
{
    switch (marker) {
    case 0xC0:
    case 0xC1:
    case 0xC2:
    case 0xC4:
    case 0xDA:
    case 0xDB:
    case 0xDD:
        return true;
    case 0xE2:
        return startsWith(segment, "ICC_PROFILE\0", 12);
    case 0xEE:
        return startsWith(segment, "Adobe", 5);
    default:
        return false;
    }
}

struct Walk {
    JpegCarry Carry;
    QByteArray Header; // the kept segments up to the first scan, for libjpeg
    bool Frame = false;
    bool Scanned = false;
};

// Entropy-coded data up to the next marker that is not a restart: stuffed
// bytes (FF 00), restart markers in their order and fill bytes (FF FF...)
// belong to it. Leaves the reader after that marker's code, which it returns
// with the position of its FF; -1 on a fault.
int skipScan(Reader& r, qint64* markerAt)
{
    int restart = 0;
    while (true) {
        if (!r.toNextFF())
            return -1;
        r.get();
        int c = r.get();
        while (c == 0xFF)
            c = r.get();
        if (c < 0)
            return -1;
        if (c == 0x00)
            continue;
        if (c >= 0xD0 && c <= 0xD7) {
            if (c - 0xD0 != restart)
                return -1;
            restart = (restart + 1) % 8;
            continue;
        }
        *markerAt = r.pos() - 2;
        return c;
    }
}

bool walkSegments(Reader& r, Walk& w)
{
    if (r.get() != 0xFF || r.get() != 0xD8)
        return false;
    w.Carry.Kept.push_back({ 0, 2 });
    w.Header = QByteArray("\xFF\xD8", 2);
    int pending = -1; // a marker already read by the scan before it
    qint64 markerAt = 0;
    while (true) {
        int marker = pending;
        pending = -1;
        if (marker < 0) {
            // Fill bytes before a marker are allowed.
            if (r.get() != 0xFF)
                return false;
            marker = r.get();
            while (marker == 0xFF)
                marker = r.get();
            if (marker < 0)
                return false;
            markerAt = r.pos() - 2;
        }
        if (marker == 0xD9) {
            w.Carry.Kept.push_back({ markerAt, 2 });
            return w.Scanned;
        }
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)
            || refusedSegment(uchar(marker)))
            return false;
        QByteArray segment("\xFF", 1);
        segment.append(char(marker));
        if (!r.take(2, &segment))
            return false;
        const qint64 length = (qint64(uchar(segment[2])) << 8) | uchar(segment[3]);
        if (length < 2 || !r.take(length - 2, &segment))
            return false;
        if (carriedFrame(uchar(marker))) {
            // One frame of 8-bit samples.
            if (w.Frame || segment.size() < 5 || uchar(segment[4]) != 8)
                return false;
            w.Frame = true;
        }
        if (!neededSegment(uchar(marker), segment))
            continue;
        if (!w.Scanned) {
            if (w.Header.size() + segment.size() > MaxHeaderBytes)
                return false;
            w.Header.append(segment);
        }
        const qint64 start = markerAt;
        if (marker != 0xDA) {
            w.Carry.Kept.push_back({ start, segment.size() });
            continue;
        }
        if (!w.Frame)
            return false;
        w.Scanned = true;
        pending = skipScan(r, &markerAt);
        if (pending < 0)
            return false;
        w.Carry.Kept.push_back({ start, markerAt - start });
    }
}

} // namespace

qint64 JpegCarry::keptBytes() const
{
    qint64 n = 0;
    for (const JpegSpan& s : Kept)
        n += s.Length;
    return n;
}

bool JpegProfileFits(const QByteArray& icc, int components)
{
    cmsHPROFILE p = cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
    if (!p)
        return false;
    const cmsColorSpaceSignature space = cmsGetColorSpace(p);
    const cmsProfileClassSignature kind = cmsGetDeviceClass(p);
    cmsCloseProfile(p);
    const cmsColorSpaceSignature wanted = components == 1 ? cmsSigGrayData
        : components == 3                                 ? cmsSigRgbData
                                                          : cmsSigCmykData;
    return space == wanted
        && (kind == cmsSigInputClass || kind == cmsSigDisplayClass || kind == cmsSigOutputClass
            || kind == cmsSigColorSpaceClass);
}

std::optional<JpegCarry> InspectJpegStream(QIODevice& in, qint64 maxBytes)
{
    Reader reader(in, maxBytes);
    Walk walk;
    if (!walkSegments(reader, walk) || !reader.drain())
        return std::nullopt;
    JpegCarry& carry = walk.Carry;
    {
        HeaderReader header;
        if (!readHeader(header, walk.Header, &carry.Info))
            return std::nullopt;
    }
    const JpegStreamInfo& info = carry.Info;
    if (info.Width <= 0 || info.Height <= 0 || (info.Components != 1 && info.Components != 3 && info.Components != 4))
        return std::nullopt;
    if (!info.IccProfile.isEmpty() && !JpegProfileFits(info.IccProfile, info.Components))
        return std::nullopt;
    carry.FileSize = reader.pos();
    carry.Hash = reader.hash();
    return std::move(carry);
}

std::optional<JpegCarry> InspectJpegStream(const QByteArray& file)
{
    QBuffer buffer;
    buffer.setData(file);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    return InspectJpegStream(buffer, file.size());
}

JpegCopy CopyJpegStream(QIODevice& in, const JpegCarry& carry, const std::function<bool(const char*, qint64)>& write,
    const std::function<bool()>& cancelled)
{
    ContentHash hash;
    qint64 at = 0;
    std::size_t span = 0;
    while (true) {
        if (cancelled && cancelled())
            return JpegCopy::Cancelled;
        const QByteArray piece = in.read(ReadPiece);
        if (piece.isEmpty()) {
            if (!in.atEnd())
                return JpegCopy::Unreadable;
            break;
        }
        hash.addData(piece);
        const qint64 end = at + piece.size();
        while (span < carry.Kept.size() && carry.Kept[span].Offset < end) {
            const JpegSpan& s = carry.Kept[span];
            const qint64 from = std::max(s.Offset, at), to = std::min(s.Offset + s.Length, end);
            if (to > from && !write(piece.constData() + (from - at), to - from))
                return JpegCopy::WriteFailed;
            if (s.Offset + s.Length > end)
                break;
            ++span;
        }
        at = end;
        if (at > carry.FileSize)
            return JpegCopy::Changed;
    }
    return at == carry.FileSize && hash.result() == carry.Hash ? JpegCopy::Done : JpegCopy::Changed;
}
