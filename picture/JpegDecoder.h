#pragma once
// JPEG decoding straight into DIB rows, at full size or scaled down by 2, 4 or 8
// while decoding. Free functions with no shared state: safe on any thread.
#include "picture/DecodeSupport.h"
#include "picture/Dib.h"

#include <QString>

class QIODevice;

struct JpegHeader {
    int width = 0;  // full size as the file declares it
    int height = 0;
    int components = 0;
};

// Reads the header from the device's current position.
[[nodiscard]] DibDecode::Error ReadJpegHeader(QIODevice &dev, JpegHeader *out);

// Decodes from the device's current position into *out (24 bits, bottom-up BGR
// rows; grey becomes grey 24-bit, CMYK and YCCK are converted). scaleDenominator
// is 1, 2, 4 or 8; a scaled side is the full side divided and rounded up.
// On failure *out is empty. progress may be null.
[[nodiscard]] DibDecode::Error DecodeJpeg(QIODevice &dev, int scaleDenominator, DIB *out,
                                          DibDecode::Progress *progress = nullptr);

// The same at eighths/8 of the full size (1 .. 8), each side rounded up:
// libjpeg scales in the DCT by any number of eighths.
[[nodiscard]] DibDecode::Error DecodeJpegEighths(QIODevice &dev, int eighths, DIB *out);

// The largest of 8, 4, 2, 1 whose scaled size is still at least minWidth x
// minHeight (1 when even the full size is smaller).
[[nodiscard]] int JpegScaleFor(const JpegHeader &header, int minWidth, int minHeight);

// Decodes a file at the smallest of the scales whose size is at least
// minWidth x minHeight; pass 0, 0 for full size.
[[nodiscard]] DibDecode::Error DecodeJpegFile(const QString &fileName, int minWidth, int minHeight, DIB *out);
