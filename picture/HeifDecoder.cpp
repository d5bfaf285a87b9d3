#include "picture/HeifDecoder.h"

#include "picture/ColourProfile.h"

#include <QColorSpace>
#include <QFile>

#include <libheif/heif.h>

#include <memory>

namespace DibDecode {

namespace {

// A phone picture is a few MB; this bounds what is read into memory.
constexpr qint64 MaxHeifFileBytes = qint64(512) * 1024 * 1024;
// Largest side libheif is allowed to assemble (tiles included).
constexpr int MaxHeifSide = 65535;

struct ContextFree {
    void operator()(heif_context *c) const { heif_context_free(c); }
};
struct HandleFree {
    void operator()(heif_image_handle *h) const { heif_image_handle_release(h); }
};
struct ImageFree {
    void operator()(heif_image *i) const { heif_image_release(i); }
};

// The profile of the picture: an ICC profile as stored, or the common cases of
// the coded colour description (primaries of Display P3 or BT.2020 with the
// sRGB curve).
QColorSpace pictureColourSpace(const heif_image_handle *handle)
{
    switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_prof:
    case heif_color_profile_type_rICC: {
        const size_t size = heif_image_handle_get_raw_color_profile_size(handle);
        if (size == 0 || size > 4 * 1024 * 1024)
            return {};
        QByteArray icc(qsizetype(size), Qt::Uninitialized);
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    case heif_color_profile_type_nclx: {
        heif_color_profile_nclx *nclx = nullptr;
        if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok || !nclx)
            return {};
        QColorSpace space;
        if (nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1)
            space = QColorSpace(QColorSpace::DisplayP3);
        heif_nclx_color_profile_free(nclx);
        return space;
    }
    default:
        return {};
    }
}

} // namespace

bool looksLikeHeif(const QByteArray &head)
{
    if (head.size() < 12 || head.mid(4, 4) != "ftyp")
        return false;
    const heif_filetype_result r
        = heif_check_filetype(reinterpret_cast<const uint8_t *>(head.constData()), int(head.size()));
    return r == heif_filetype_yes_supported;
}

Error decodeHeif(QFile &file, DIB *out, Progress &progress)
{
    if (file.size() > MaxHeifFileBytes)
        return Error::TooLarge;
    if (!file.seek(0))
        return Error::CannotOpen;
    const QByteArray data = file.readAll();
    if (data.size() != file.size())
        return Error::CannotOpen;

    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context)
        return Error::OutOfMemory;
    heif_context_set_maximum_image_size_limit(context.get(), MaxHeifSide);
    if (heif_context_read_from_memory_without_copy(context.get(), data.constData(), size_t(data.size()), nullptr).code
        != heif_error_Ok)
        return Error::Damaged;
    heif_image_handle *rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok || !rawHandle)
        return Error::Damaged;
    const std::unique_ptr<heif_image_handle, HandleFree> handle(rawHandle);

    const int w = heif_image_handle_get_width(handle.get());
    const int h = heif_image_handle_get_height(handle.get());
    if (w <= 0 || h <= 0)
        return Error::Damaged;
    if (std::uint64_t(w) * std::uint64_t(h) > MaxPixels)
        return Error::TooLarge;

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    heif_image *rawImage = nullptr;
    const heif_error decoded = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                                 nullptr);
    const std::unique_ptr<heif_image, ImageFree> image(rawImage);
    if (decoded.code == heif_error_Memory_allocation_error)
        return Error::OutOfMemory;
    if (decoded.code != heif_error_Ok || !image)
        return decoded.code == heif_error_Unsupported_feature || decoded.code == heif_error_Unsupported_filetype
                   ? Error::Unsupported
                   : Error::Damaged;

    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int iw = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int ih = heif_image_get_height(image.get(), heif_channel_interleaved);
    const int channels = alpha ? 4 : 3;
    if (!plane || iw <= 0 || ih <= 0 || stride < iw * channels || std::uint64_t(iw) * std::uint64_t(ih) > MaxPixels)
        return Error::Damaged;
    if (!newdib(out, iw, ih, 24, nullptr, 0))
        return Error::OutOfMemory;
    for (int y = 0; y < ih; ++y) {
        const uint8_t *s = plane + std::size_t(y) * std::size_t(stride);
        BYTE *d = DibRow(*out, ih - 1 - y);
        for (int x = 0; x < iw; ++x, s += channels, d += 3) {
            if (alpha && s[3] != 255) {
                d[0] = overWhite(s[2], s[3]);
                d[1] = overWhite(s[1], s[3]);
                d[2] = overWhite(s[0], s[3]);
            } else {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(ih));
    }
    ConvertDibToSrgb(*out, pictureColourSpace(handle.get()));
    return Error::None;
}

} // namespace DibDecode
