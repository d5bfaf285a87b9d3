#pragma once
// HEIF/HEIC pictures (the default of many phones) through libheif: the primary
// picture, with its tiles joined and its rotation and crop applied, as a 24-bit
// DIB in sRGB.
#include "picture/DecodeSupport.h"

class QFile;

namespace DibDecode {

// An ISO media file whose brand libheif takes (heic, heix, mif1, ...).
[[nodiscard]] bool looksLikeHeif(const QByteArray &head);
Error decodeHeif(QFile &file, DIB *out, Progress &progress);

} // namespace DibDecode
