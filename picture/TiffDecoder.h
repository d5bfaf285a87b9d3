#pragma once
// TIFF decoding into DIB records: palette and bilevel pictures keep their
// indices (1, 4 or 8 bits by colours in use), everything else becomes 24 bits
// with alpha composed over white. Rows stay in stored order. Thread-safe.
#include "picture/DecodeSupport.h"
#include "picture/Dib.h"

#include <QByteArray>

class QIODevice;

[[nodiscard]] bool looksLikeTiff(const QByteArray &head);

// Decodes the first picture of a TIFF read from the device (from its start).
[[nodiscard]] DibDecode::Error DecodeTiff(QIODevice &dev, DIB *out, DibDecode::Progress *progress = nullptr);
