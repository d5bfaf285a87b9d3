// Any bytes as a JPEG file a PDF may carry: inspected, its needed segments
// copied out as the PDF's image stream, and that stream decoded. A stream that
// is carried must be one the inspection accepts again whole, and must decode
// to the pixels of the file it came from.
#include "FuzzSupport.h"

#include "picture/JpegStream.h"

#include <QBuffer>
#include <QByteArray>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

struct Errors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<Errors*>(cinfo->err)->jump, 1); }
void quiet(j_common_ptr) { }

struct Decoder {
    jpeg_decompress_struct cinfo {};
    Errors err {};
    std::vector<JSAMPLE> pixels;
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
};

// Decodes at an eighth (the same segments, less time) with the colour space
// the PDF's dictionary gives, or the one libjpeg assumes when it is -1.
// False when libjpeg gives up; warnings about damaged scan data are allowed.
bool decode(Decoder& d, const QByteArray& bytes, int space)
{
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = errorExit;
    d.err.pub.output_message = quiet;
    jpeg_create_decompress(&d.cinfo);
    if (setjmp(d.err.jump))
        return false;
    jpeg_mem_src(
        &d.cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (space >= 0)
        d.cinfo.jpeg_color_space = J_COLOR_SPACE(space);
    d.cinfo.scale_denom = 8;
    jpeg_start_decompress(&d.cinfo);
    const std::size_t stride = std::size_t(d.cinfo.output_width) * std::size_t(d.cinfo.output_components);
    d.pixels.resize(stride * d.cinfo.output_height);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW r = d.pixels.data() + stride * d.cinfo.output_scanline;
        jpeg_read_scanlines(&d.cinfo, &r, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<JpegCarry> carry = InspectJpegStream(file);
    if (!carry)
        return 0;
    // Pixel counts the fuzzer can reach quickly only; the structure is checked above.
    if (qint64(carry->Info.Width) * carry->Info.Height > 4096 * 4096)
        return 0;
    QByteArray stream;
    QBuffer in;
    in.setData(file);
    in.open(QIODevice::ReadOnly);
    const auto write = [&stream](const char* bytes, qint64 n) {
        stream.append(bytes, qsizetype(n));
        return true;
    };
    if (CopyJpegStream(in, *carry, write) != JpegCopy::Done || stream.size() != carry->keptBytes())
        __builtin_trap();
    const std::optional<JpegCarry> again = InspectJpegStream(stream);
    if (!again || again->keptBytes() != stream.size() || again->Info.IccProfile != carry->Info.IccProfile)
        __builtin_trap(); // the stream holds nothing left out and lost nothing needed
    // The stream decodes to the very pixels the file does.
    Decoder whole, carried;
    const bool wholeDecodes = decode(whole, file, -1);
    if (!wholeDecodes)
        return 0;
    if (!decode(carried, stream, int(whole.cinfo.jpeg_color_space)) || carried.pixels != whole.pixels
        || int(carried.cinfo.image_width) != carry->Info.Width || int(carried.cinfo.image_height) != carry->Info.Height)
        __builtin_trap();
    return 0;
}
