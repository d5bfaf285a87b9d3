#include "picture/Dib.h"

#include <cstdlib>

int PaletteSize(int bits)
{
    switch (bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

HPALETTE CreatePalette(const LOGPALETTE256 &lp)
{
    auto pal = std::make_shared<PaletteObject>();
    const int n = lp.palNumEntries > 256 ? 256 : lp.palNumEntries;
    pal->colors.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const PALETTEENTRY &e = lp.palPalEntry[i];
        pal->colors.push_back(0xFF000000u | (std::uint32_t(e.peRed) << 16) | (std::uint32_t(e.peGreen) << 8) | e.peBlue);
    }
    return pal;
}

void RealizeDibPalette(DIB *dib)
{
    dib->Palette.reset();
    if (dib->LogPalette.palNumEntries > 0)
        dib->Palette = CreatePalette(dib->LogPalette);
}

bool newdib(DIB *out, int width, int height, int bits, const BITMAPINFOHEADER *colourSource, int colours)
{
    *out = DIB{};
    if (width <= 0 || height <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return false;
    colours = colours < 0 ? 0 : (colours > 256 ? 256 : colours);
    const std::uint32_t rowBytes = DibRowBytes(std::uint32_t(width), bits);
    const std::uint64_t imageBytes = std::uint64_t(rowBytes) * std::uint64_t(height);
    if (imageBytes == 0 || imageBytes > MaxDibImageBytes)
        return false;

    const std::size_t infoBytes = sizeof(BITMAPINFOHEADER) + std::size_t(colours) * sizeof(RGBQUAD);
    BYTE *info = static_cast<BYTE *>(std::calloc(1, infoBytes));
    if (!info)
        return false;
    BYTE *bitsMem = static_cast<BYTE *>(std::calloc(1, std::size_t(imageBytes)));
    if (!bitsMem) {
        std::free(info);
        return false;
    }
    out->InfoMem = std::shared_ptr<BYTE[]>(info, [](BYTE *p) { std::free(p); });
    out->BitsMem = std::shared_ptr<BYTE[]>(bitsMem, [](BYTE *p) { std::free(p); });

    auto *h = reinterpret_cast<BITMAPINFOHEADER *>(info);
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = WORD(bits);
    h->biCompression = BI_RGB;
    h->biSizeImage = DWORD(imageBytes);
    h->biClrUsed = DWORD(colours);
    out->Info = h;
    out->Bits = bitsMem;
    out->RowBytes = rowBytes;

    if (colours > 0) {
        RGBQUAD *dst = DibColors(*out);
        if (colourSource) {
            const auto *src = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(colourSource) +
                                                                sizeof(BITMAPINFOHEADER));
            std::memcpy(dst, src, std::size_t(colours) * sizeof(RGBQUAD));
        }
        out->LogPalette.palVersion = 0x300;
        out->LogPalette.palNumEntries = WORD(colours);
        for (int i = 0; i < colours; ++i)
            out->LogPalette.palPalEntry[i] = PALETTEENTRY{dst[i].rgbRed, dst[i].rgbGreen, dst[i].rgbBlue, 0};
        out->HasPalette = bits <= 8 ? 1 : 0;
        RealizeDibPalette(out);
    }
    return true;
}

void deldib(DIB *dib)
{
    if (dib)
        *dib = DIB{};
}

void SetDibError(DIB *dib, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    auto *area = reinterpret_cast<char *>(&dib->LogPalette);
    const std::size_t n = std::min<std::size_t>(std::size_t(bytes.size()), sizeof(LOGPALETTE256) - 1);
    std::memset(area, 0, sizeof(LOGPALETTE256));
    std::memcpy(area, bytes.constData(), n);
    dib->Bits = nullptr;
}

QString DibErrorText(const DIB &dib)
{
    const auto *area = reinterpret_cast<const char *>(&dib.LogPalette);
    const std::size_t n = strnlen(area, sizeof(LOGPALETTE256));
    return QString::fromUtf8(area, qsizetype(n));
}
