#pragma once
// 16-bit grey and RGB PNGs with a transparent colour (tRNS): Qt's reader turns
// them into wrong pixels, so the colour key is applied here on the exact 16-bit
// samples, and transparent pixels become white.
#include "picture/DecodeSupport.h"

class QIODevice;

namespace DibDecode {

// Whether a PNG is 16 bits per sample, grey or RGB, with a tRNS chunk (reads the
// chunk headers up to the first IDAT; the position is kept).
[[nodiscard]] bool isDeepKeyedPng(QIODevice &dev);
Error decodeDeepKeyedPng(QIODevice &dev, DIB *out, Progress &progress);

// Whether a PNG embeds a colour profile (an iCCP chunk before the first IDAT;
// the position is kept). Gamma and chromaticity chunks alone do not count.
[[nodiscard]] bool pngEmbedsProfile(QIODevice &dev);

} // namespace DibDecode
