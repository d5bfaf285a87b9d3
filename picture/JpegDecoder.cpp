#include "picture/JpegDecoder.h"
#include "picture/ColourProfile.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#ifdef __linux__
#include <sys/mman.h>
#endif

// jpeglib.h first: its configuration decides which messages jerror.h declares.
#include <jpeglib.h>
#include <jerror.h>

using DibDecode::Error;

namespace {

// Progressive files can repeat scans without end; each one walks the whole
// picture, so a hostile file could keep the decoder busy for minutes.
constexpr int MaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    Error error;
};

[[noreturn]] void failWith(j_common_ptr cinfo, Error e)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    err->error = e;
    std::longjmp(err->jump, 1);
}

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    switch (cinfo->err->msg_code) {
    case JERR_OUT_OF_MEMORY:
        failWith(cinfo, Error::OutOfMemory);
    case JERR_NO_SOI:
        failWith(cinfo, Error::WrongFormat);
    default:
        failWith(cinfo, Error::Damaged);
    }
}

// Warnings that mean pixels are missing or made up end the decode; the others
// (unknown JFIF revision, extra bytes between markers, ...) leave the picture whole.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
#if JPEG_LIB_VERSION >= 70 || defined(D_ARITH_CODING_SUPPORTED)
    case JWRN_ARITH_BAD_CODE:
#endif
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        failWith(cinfo, Error::Damaged);
    default:
        break;
    }
}

void outputMessage(j_common_ptr) {}

// Source reading a QIODevice through a buffer of its own.
struct DeviceSource {
    jpeg_source_mgr pub;
    QIODevice *dev;
    JOCTET buffer[64 * 1024];
};

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo)
{
    auto *src = reinterpret_cast<DeviceSource *>(cinfo->src);
    const qint64 n = src->dev->read(reinterpret_cast<char *>(src->buffer), sizeof(src->buffer));
    if (n <= 0)
        failWith(reinterpret_cast<j_common_ptr>(cinfo), Error::Damaged);
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = std::size_t(n);
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count)
{
    auto *src = reinterpret_cast<DeviceSource *>(cinfo->src);
    while (count > 0) {
        if (src->pub.bytes_in_buffer == 0)
            fillInputBuffer(cinfo);
        const std::size_t step = std::min<std::size_t>(std::size_t(count), src->pub.bytes_in_buffer);
        src->pub.next_input_byte += step;
        src->pub.bytes_in_buffer -= step;
        count -= long(step);
    }
}

void termSource(j_decompress_ptr) {}

struct ProgressMonitor {
    jpeg_progress_mgr pub;
    DibDecode::Progress *progress;
};

void progressMonitor(j_common_ptr cinfo)
{
    auto *cd = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cd->progressive_mode && cd->input_scan_number > MaxScans)
        failWith(cinfo, Error::Damaged);
    auto *m = reinterpret_cast<ProgressMonitor *>(cinfo->progress);
    if (m->progress && m->pub.total_passes > 0 && m->pub.pass_limit > 0) {
        const std::uint64_t scale = 1000;
        const std::uint64_t done = std::uint64_t(m->pub.completed_passes) * scale +
                                   std::uint64_t(m->pub.pass_counter) * scale / std::uint64_t(m->pub.pass_limit);
        m->progress->report(done, std::uint64_t(m->pub.total_passes) * scale);
    }
}

// Large blocks are advised for huge pages over their page-aligned inside: a
// 12-megapixel picture then costs a few dozen page faults, not thousands, and
// no alignment slack is taken.
BYTE *allocateRows(std::size_t bytes)
{
    auto *p = static_cast<BYTE *>(std::malloc(bytes));
#ifdef __linux__
    constexpr std::uintptr_t Page = 4096;
    if (p && bytes >= 8 * 1024 * 1024) {
        const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(p) + Page - 1) & ~(Page - 1);
        const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(Page - 1);
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
    }
#endif
    return p;
}

struct RowsDeleter {
    void operator()(BYTE *p) const { std::free(p); }
};

// Everything with a destructor lives here, outside the frame that calls
// setjmp, so a longjmp out of the library skips nothing.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    DeviceSource src{};
    ProgressMonitor monitor{};
    std::unique_ptr<BYTE, RowsDeleter> rows;
    std::unique_ptr<JSAMPLE[]> cmyk;
    QByteArray icc; // the embedded colour profile, if any
    bool created = false;

    explicit Decoder(QIODevice &dev, DibDecode::Progress *progress)
    {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = errorExit;
        err.pub.emit_message = emitMessage;
        err.pub.output_message = outputMessage;
        err.error = Error::Damaged;
        src.dev = &dev;
        src.pub.init_source = initSource;
        src.pub.fill_input_buffer = fillInputBuffer;
        src.pub.skip_input_data = skipInputData;
        src.pub.resync_to_restart = jpeg_resync_to_restart;
        src.pub.term_source = termSource;
        monitor.pub.progress_monitor = progressMonitor;
        monitor.progress = progress;
    }
    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;
};

quint8 mul255(unsigned a, unsigned b)
{
    const unsigned t = a * b + 128u;
    return quint8((t + (t >> 8)) >> 8);
}

// Adobe writes CMYK inverted (0 = full ink), others plainly.
void rowFromCmyk(const JSAMPLE *s, BYTE *d, JDIMENSION w, bool inverted)
{
    for (JDIMENSION x = 0; x < w; ++x, s += 4, d += 3) {
        const unsigned k = inverted ? s[3] : 255u - s[3];
        const auto ink = [&](unsigned v) { return mul255(inverted ? v : 255u - v, k); };
        d[0] = ink(s[2]);
        d[1] = ink(s[1]);
        d[2] = ink(s[0]);
    }
}

// The fewest bytes the entropy-coded data of a picture can take: with Huffman
// coding every block costs at least one bit, and every MCU holds a block.
std::uint64_t leastDataBytes(const jpeg_decompress_struct &c)
{
    if (c.arith_code)
        return 0; // arithmetic coding squeezes flat pictures below any useful bound
    const std::uint64_t mcuW = 8u * std::uint64_t(std::max(1, c.max_h_samp_factor));
    const std::uint64_t mcuH = 8u * std::uint64_t(std::max(1, c.max_v_samp_factor));
    const std::uint64_t mcus = ((c.image_width + mcuW - 1) / mcuW) * ((c.image_height + mcuH - 1) / mcuH);
    return (mcus + 7) / 8;
}

// Runs with only trivially destructible locals: the library leaves by longjmp.
Error decodeInto(Decoder &d, int numerator, int denominator, bool headerOnly, JpegHeader *header, DIB *out)
{
    j_decompress_ptr cinfo = &d.cinfo;
    if (setjmp(d.err.jump))
        return d.err.error;
    jpeg_create_decompress(cinfo);
    d.created = true;
    cinfo->src = &d.src.pub;
    cinfo->progress = &d.monitor.pub;
    if (!headerOnly)
        jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    if (header) {
        header->width = int(cinfo->image_width);
        header->height = int(cinfo->image_height);
        header->components = cinfo->num_components;
    }
    if (headerOnly)
        return Error::None;

    const qint64 remaining = d.src.dev->isSequential() ? -1 : d.src.dev->bytesAvailable() +
                                                                   qint64(d.src.pub.bytes_in_buffer);
    if (remaining >= 0 && std::uint64_t(remaining) < leastDataBytes(*cinfo))
        return Error::Damaged;

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    cinfo->scale_num = unsigned(numerator);
    cinfo->scale_denom = unsigned(denominator);
    jpeg_calc_output_dimensions(cinfo);
    const std::uint64_t w = cinfo->output_width, h = cinfo->output_height;
    if (w == 0 || h == 0)
        return Error::Damaged;
    if (w * h > DibDecode::MaxPixels)
        return Error::TooLarge;

    const std::size_t rowBytes = DibRowBytes(std::uint32_t(w), 24);
    d.rows.reset(allocateRows(rowBytes * std::size_t(h)));
    if (!d.rows)
        return Error::OutOfMemory;
    if (cmyk) {
        d.cmyk.reset(new (std::nothrow) JSAMPLE[std::size_t(w) * 4]);
        if (!d.cmyk)
            return Error::OutOfMemory;
    }
    BYTE *base = d.rows.get();
    const std::size_t pad = rowBytes - std::size_t(w) * 3;
    if (pad)
        for (std::size_t y = 0; y < h; ++y)
            std::memset(base + y * rowBytes + rowBytes - pad, 0, pad);

    JOCTET *icc = nullptr;
    unsigned int iccLength = 0;
    if (jpeg_read_icc_profile(cinfo, &icc, &iccLength)) {
        d.icc = QByteArray(reinterpret_cast<const char *>(icc), int(iccLength));
        std::free(icc);
    }
    jpeg_start_decompress(cinfo);
    const bool inverted = cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        const std::size_t y = cinfo->output_scanline;
        BYTE *row = base + (std::size_t(h) - 1 - y) * rowBytes;
        if (cmyk) {
            JSAMPROW line = d.cmyk.get();
            if (jpeg_read_scanlines(cinfo, &line, 1) != 1)
                return Error::Damaged;
            rowFromCmyk(line, row, JDIMENSION(w), inverted);
        } else {
            // Rows go bottom-up, so each call gets the few rows the library
            // has ready, pointed at their places.
            JSAMPROW lines[16];
            const JDIMENSION n = std::min<JDIMENSION>(JDIMENSION(h - y), 16);
            for (JDIMENSION i = 0; i < n; ++i)
                lines[i] = row - std::size_t(i) * rowBytes;
            if (jpeg_read_scanlines(cinfo, lines, n) == 0)
                return Error::Damaged;
        }
    }
    jpeg_finish_decompress(cinfo);
    if (!DibDecode::adopt24BitRows(out, int(w), int(h), d.rows.release()))
        return Error::OutOfMemory;
    return Error::None;
}

} // namespace

Error ReadJpegHeader(QIODevice &dev, JpegHeader *out)
{
    *out = JpegHeader{};
    Decoder d(dev, nullptr);
    return decodeInto(d, 1, 1, true, out, nullptr);
}

namespace {
Error decodeAt(QIODevice &dev, int numerator, int denominator, DIB *out, DibDecode::Progress *progress)
{
    *out = DIB{};
    Error e;
    {
        Decoder d(dev, progress);
        e = decodeInto(d, numerator, denominator, false, nullptr, out);
        if (e == Error::None && !d.icc.isEmpty())
            ConvertDibToSrgb(*out, d.icc);
    }
    if (e != Error::None)
        deldib(out);
    else if (progress)
        progress->report(1, 1);
    return e;
}
} // namespace

Error DecodeJpeg(QIODevice &dev, int scaleDenominator, DIB *out, DibDecode::Progress *progress)
{
    if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8)
        scaleDenominator = 1;
    return decodeAt(dev, 1, scaleDenominator, out, progress);
}

Error DecodeJpegEighths(QIODevice &dev, int eighths, DIB *out)
{
    return decodeAt(dev, std::clamp(eighths, 1, 8), 8, out, nullptr);
}

int JpegScaleFor(const JpegHeader &header, int minWidth, int minHeight)
{
    for (int d : {8, 4, 2}) {
        const int w = (header.width + d - 1) / d, h = (header.height + d - 1) / d;
        if (w >= minWidth && h >= minHeight)
            return d;
    }
    return 1;
}

Error DecodeJpegFile(const QString &fileName, int minWidth, int minHeight, DIB *out)
{
    *out = DIB{};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Error::CannotOpen;
    int denominator = 1;
    if (minWidth > 0 || minHeight > 0) {
        JpegHeader header;
        const Error e = ReadJpegHeader(file, &header);
        if (e != Error::None)
            return e;
        denominator = JpegScaleFor(header, minWidth, minHeight);
        file.seek(0);
    }
    return DecodeJpeg(file, denominator, out, nullptr);
}
