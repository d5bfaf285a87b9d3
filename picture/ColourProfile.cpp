#include "picture/ColourProfile.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QImage>

#include <algorithm>

namespace {
// Rows converted together: large enough for the transform's per-call set-up to
// vanish, small enough that the scratch picture stays in the cache.
constexpr int BandRows = 32;
} // namespace

bool ConvertDibToSrgb(DIB &dib, const QByteArray &iccProfile)
{
    if (iccProfile.isEmpty())
        return true;
    return ConvertDibToSrgb(dib, QColorSpace::fromIccProfile(iccProfile));
}

bool ConvertDibToSrgb(DIB &dib, const QColorSpace &space)
{
    if (!dib.Bits || !dib.Info || !space.isValid())
        return true;
    const QColorSpace srgb(QColorSpace::SRgb);
    const QColorTransform transform = space.transformationToColorSpace(srgb);
    if (transform.isIdentity())
        return true;

    const int bits = DibBitCount(dib);
    if (bits <= 8) {
        RGBQUAD *colours = DibColors(dib);
        const int n = PaletteSize(bits);
        for (int i = 0; i < n; ++i) {
            const QRgb c = transform.map(qRgb(colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue));
            colours[i].rgbRed = BYTE(qRed(c));
            colours[i].rgbGreen = BYTE(qGreen(c));
            colours[i].rgbBlue = BYTE(qBlue(c));
        }
        // The realised palette is made from LogPalette; keep the two alike.
        if (dib.HasPalette) {
            for (int i = 0; i < std::min<int>(n, dib.LogPalette.palNumEntries); ++i)
                dib.LogPalette.palPalEntry[i] = PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
            RealizeDibPalette(&dib);
        }
        return true;
    }
    if (bits != 24)
        return true;

    const int w = DibWidth(dib);
    const int h = DibHeight(dib);
    QImage band(w, std::min(BandRows, h), QImage::Format_RGB32);
    if (band.isNull())
        return false;
    for (int y0 = 0; y0 < h; y0 += BandRows) {
        const int rows = std::min(BandRows, h - y0);
        for (int r = 0; r < rows; ++r) {
            const BYTE *s = DibRow(dib, y0 + r);
            auto *d = reinterpret_cast<QRgb *>(band.scanLine(r));
            for (int x = 0; x < w; ++x, s += 3)
                d[x] = qRgb(s[2], s[1], s[0]);
        }
        band.applyColorTransform(transform);
        for (int r = 0; r < rows; ++r) {
            const auto *s = reinterpret_cast<const QRgb *>(band.constScanLine(r));
            BYTE *d = DibRow(dib, y0 + r);
            for (int x = 0; x < w; ++x, d += 3) {
                d[0] = BYTE(qBlue(s[x]));
                d[1] = BYTE(qGreen(s[x]));
                d[2] = BYTE(qRed(s[x]));
            }
        }
    }
    return true;
}
