// Any bytes as the start of a photo file: its metadata segments cut out within
// the read limit and parsed. Nothing may crash, hang or allocate without
// bound, and no value may come back longer than the limit.
#include "FuzzSupport.h"

#include "picture/PictureMetadata.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const QByteArray segments = JpegMetadataSegments(file);
    if (segments.size() > MetadataReadLimit + 2)
        __builtin_trap();
    const PictureMetadata m = ParsePictureMetadata(segments);
    for (const QString *v : {&m.Camera, &m.Lens, &m.Shutter, &m.Aperture, &m.Iso, &m.Focal, &m.Description})
        if (v->size() > MetadataValueLimit)
            __builtin_trap();
    // The same bytes handed over whole, as a damaged file might be.
    (void)ParsePictureMetadata(bytes.left(MetadataReadLimit));
    return 0;
}
