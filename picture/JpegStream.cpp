#include "picture/JpegStream.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h first: its configuration decides which messages jerror.h declares.
#include <jpeglib.h>
#include <jerror.h>

namespace {

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
bool readHeader(HeaderReader &r, const QByteArray &file, JpegStreamInfo *info)
{
    if (setjmp(r.err.jump))
        return false;
    r.cinfo.err = jpeg_std_error(&r.err.pub);
    r.err.pub.error_exit = errorExit;
    r.err.pub.emit_message = emitMessage;
    r.err.pub.output_message = outputMessage;
    jpeg_create_decompress(&r.cinfo);
    r.created = true;
    jpeg_mem_src(&r.cinfo, reinterpret_cast<const unsigned char *>(file.constData()), static_cast<unsigned long>(file.size()));
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

// Walks the segments from SOI to EOI. Entropy-coded data may hold stuffed
// bytes (FF 00), restart markers in their order and fill bytes (FF FF...).
bool wellFormed(const QByteArray &file)
{
    const auto *p = reinterpret_cast<const unsigned char *>(file.constData());
    const std::size_t n = std::size_t(file.size());
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return false;
    std::size_t i = 2;
    bool frame = false;
    while (true) {
        // Fill bytes before a marker are allowed.
        if (i >= n || p[i] != 0xFF)
            return false;
        while (i < n && p[i] == 0xFF)
            ++i;
        if (i >= n)
            return false;
        const unsigned char marker = p[i++];
        if (marker == 0xD9)
            return frame;
        if (marker == 0x00 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            return false;
        if (i + 2 > n)
            return false;
        const std::size_t length = (std::size_t(p[i]) << 8) | p[i + 1];
        if (length < 2 || i + length > n)
            return false;
        if ((marker >= 0xC0 && marker <= 0xCF) && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            frame = true;
        i += length;
        if (marker != 0xDA)
            continue;
        if (!frame)
            return false;
        // Entropy-coded data up to the next marker that is not a restart.
        int restart = 0;
        while (true) {
            const void *ff = std::memchr(p + i, 0xFF, n - i);
            if (!ff)
                return false;
            i = std::size_t(static_cast<const unsigned char *>(ff) - p);
            std::size_t j = i + 1;
            while (j < n && p[j] == 0xFF)
                ++j;
            if (j >= n)
                return false;
            if (p[j] == 0x00) {
                i = j + 1;
            } else if (p[j] >= 0xD0 && p[j] <= 0xD7) {
                if (p[j] - 0xD0 != restart)
                    return false;
                restart = (restart + 1) % 8;
                i = j + 1;
            } else {
                i = j - 1; // the marker's own FF
                break;
            }
        }
    }
}

} // namespace

std::optional<JpegStreamInfo> InspectJpegStream(const QByteArray &file)
{
    JpegStreamInfo info;
    {
        HeaderReader reader;
        if (!readHeader(reader, file, &info))
            return std::nullopt;
    }
    if (info.Width <= 0 || info.Height <= 0 || (info.Components != 1 && info.Components != 3 && info.Components != 4))
        return std::nullopt;
    if (!wellFormed(file))
        return std::nullopt;
    return info;
}
