#pragma once
// The program's own reader of BMP files and of DIBs without the file header:
// every header version from the 12-byte OS/2 core to the 124-byte one, palette
// and true-colour layouts, bit fields with alpha, and RLE4/RLE8.
#include "picture/DecodeSupport.h"

class QFile;

namespace DibDecode {

// "BM" followed by a header size this reader knows.
[[nodiscard]] bool looksLikeBmp(const QByteArray &head);
// A file that starts straight with an info header of a known size.
[[nodiscard]] bool looksLikeHeaderlessDib(const QByteArray &head);

// Decodes data (a whole file; fileHeader: it starts with the 14-byte "BM" header).
Error decodeBmp(const unsigned char *data, std::size_t size, bool fileHeader, DIB *out, Progress &progress);
// The same for an open file, read through a memory map where possible.
Error decodeBmpFile(QFile &file, bool fileHeader, DIB *out, Progress &progress);

} // namespace DibDecode
