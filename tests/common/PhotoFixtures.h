#pragma once
// Picture files as cameras and phones write them, made by the tests: a JPEG
// with an EXIF orientation tag, HEIC through libheif's encoder.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <libheif/heif.h>

namespace PhotoFixtures {

// img as a JPEG of the given quality.
inline QByteArray jpeg(const QImage &img, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(img);
    return bytes;
}

// The JPEG with an EXIF segment holding `tiff`, right after the start marker.
inline QByteArray withExif(const QByteArray &jpeg, const QByteArray &tiff)
{
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    const QByteArray app1 = QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + body;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

// A JPEG of img whose EXIF block holds only the orientation tag (big-endian
// TIFF header, one IFD entry).
inline QByteArray jpegWithOrientation(const QImage &img, int orientation)
{
    const QByteArray tiff = QByteArray("MM\0*\0\0\0\x08", 8) + QByteArray("\0\x01", 2) // one entry
                            + QByteArray("\x01\x12\0\x03\0\0\0\x01", 8) + char(0) + char(orientation)
                            + QByteArray(2, '\0') + QByteArray(4, '\0');
    return withExif(jpeg(img, 95), tiff);
}

// A JPEG file's bytes with `thumb` as its camera thumbnail (EXIF IFD1, as
// cameras store it: an empty IFD0 linking to IFD1 with the thumbnail's offset
// and length, the thumbnail's JPEG bytes after it).
inline QByteArray withExifThumbnail(const QByteArray &jpegBytes, const QImage &thumb)
{
    const QByteArray small = jpeg(thumb, 80);
    auto u32 = [](quint32 v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    // Big-endian TIFF: header (8), IFD0 with no entries (2 + 4), IFD1 with two (2 + 24 + 4), then the bytes.
    const quint32 ifd1 = 8 + 6, data = ifd1 + 30;
    const QByteArray tiff = QByteArray("MM\0*", 4) + u32(8) + QByteArray(2, '\0') + u32(ifd1)
                            + QByteArray("\0\x02", 2) + QByteArray("\x02\x01\0\x04", 4) + u32(1) + u32(data)
                            + QByteArray("\x02\x02\0\x04", 4) + u32(1) + u32(quint32(small.size())) + u32(0)
                            + small;
    return withExif(jpegBytes, tiff);
}

// A JPEG of img carrying `thumb` as its camera thumbnail.
inline QByteArray jpegWithExifThumbnail(const QImage &img, const QImage &thumb)
{
    return withExifThumbnail(jpeg(img, 90), thumb);
}

// A HEIC of an RGB picture, near-lossless; empty when no HEVC encoder is there.
inline QByteArray heic(const QImage &source)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB888);
    heif_context *ctx = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    QByteArray out;
    if (heif_context_get_encoder_for_format(ctx, heif_compression_HEVC, &encoder).code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 98);
        heif_encoder_set_parameter(encoder, "chroma", "444");
        heif_image *image = nullptr;
        heif_image_create(img.width(), img.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, img.width(), img.height(), 8);
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < img.height(); ++y)
            memcpy(plane + y * stride, img.constScanLine(y), size_t(img.width()) * 3);
        if (heif_context_encode_image(ctx, image, encoder, nullptr, nullptr).code == heif_error_Ok) {
            heif_writer writer{1, [](heif_context *, const void *data, size_t size, void *userdata) {
                                   static_cast<QByteArray *>(userdata)->append(static_cast<const char *>(data),
                                                                               qsizetype(size));
                                   return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                               }};
            heif_context_write(ctx, &writer, &out);
        }
        heif_image_release(image);
        heif_encoder_release(encoder);
    }
    heif_context_free(ctx);
    return out;
}

} // namespace PhotoFixtures
