#pragma once
// Decoding a picture file at the size a use needs rather than at full size:
// a JPEG is decoded at 1/2, 1/4 or 1/8 scale inside the decoder, other formats
// are decoded whole. Safe to call from any thread; touches no widget and sends
// no progress.
#include "picture/Dib.h"

#include <QSize>
#include <QString>

#include <cstdint>

class QFile;

// The full-size picture as OpenDib would make it.
struct PictureHeader {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    std::uint32_t ImageBytes = 0; // its biSizeImage
};

struct ScaledPicture {
    DIB Dib; // owned by the caller (deldib); Bits nil on failure, with OpenDib's error text
    PictureHeader Full; // valid when Dib has pixels
};

// Decodes a file (format code as for OpenDib) to a picture no smaller than the
// full picture fitted into box (aspect kept), or at full size; an empty box
// asks for full size. The depth is the full picture's.
[[nodiscard]] ScaledPicture DecodeScaled(const QString &path, int formatCode, QSize box);
// The scales a JPEG may be decoded at: 1/8, 1/4 or 1/2, or any number of
// eighths (printing, which wants the fewest pixels that still cover a frame).
enum class DctScales { Powers, Eighths };
// The same from a file the caller opened with OpenRegularFile; path gives the
// format by its extension.
[[nodiscard]] ScaledPicture DecodeScaled(QFile &file, const QString &path, int formatCode, QSize box,
                                         DctScales scales = DctScales::Powers);

// The full picture's size and depth from the file's header alone. False when
// the depth is known only after decoding (palette pictures) or the header is
// unreadable.
[[nodiscard]] bool ReadPictureHeader(const QString &path, PictureHeader *out);

// Opens a file for reading only when it is a regular file; FIFOs and devices,
// which could block the caller for good, are refused without waiting.
bool OpenRegularFile(const QString &path, QFile &file);
