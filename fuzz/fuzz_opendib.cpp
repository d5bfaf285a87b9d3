// Any bytes as a picture file under any format code (the first byte picks it),
// then the decoded picture drawn small: nothing may read or write outside its
// blocks, allocate without bound or hang.
#include "FuzzSupport.h"
#include "SeedFiles.h"

#include "picture/DrawDib.h"
#include "picture/OpenDib.h"
#include "platform/DeviceContext.h"

#include <QImage>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QString path = Fuzz::ScratchFolder() + QStringLiteral("picture");
    if (!Fuzz::WriteFile(path, data + 1, size - 1))
        return 0;
    DIB dib;
    OpenDib(&dib, path, Seeds::FormatCodeFromByte(data[0]), nullptr);
    if (dib.Bits) {
        // The whole picture squeezed into a few pixels reads its first and last rows.
        QImage target(24, 24, QImage::Format_RGB32);
        target.fill(Qt::white);
        TDC dc(&target);
        DrawDib(dc, 0, 0, 24, 24, dib, 0, 0, DibWidth(dib), DibHeight(dib), false, SRCCOPY, dib.HasPalette != 0,
                dib.Palette);
    }
    deldib(&dib);
    return 0;
}
