#pragma once
// Shared pieces of the decoders behind OpenDib: error kinds and their texts,
// progress reporting and DIB construction helpers.
#include "picture/Dib.h"
#include "picture/Progress.h"

#include <QByteArray>
#include <QString>

class QIODevice;
class QImage;
class QImageReader;

namespace DibDecode {

enum class Error {
    None,
    CannotOpen,
    Empty,
    UnknownFormat,
    WrongFormat, // not a picture of the format the caller named
    Damaged,
    TooLarge,
    Unsupported,
    OutOfMemory,
    Changed, // no longer the file a picture was made from
};

// The error text OpenDib leaves in a failed DIB.
QString errorText(Error e);
// The same, naming the format a WrongFormat file was opened as (e.g. "JPEG").
QString errorText(Error e, const QString &formatName);

// Largest picture any decoder accepts, in pixels; bounds the memory of one decode.
constexpr std::uint64_t MaxPixels = 256ull * 1024 * 1024;

// Hands percentages on, only when the percentage changes.
class Progress
{
public:
    explicit Progress(ProgressFn report)
        : m_report(std::move(report))
    {
    }
    void report(std::uint64_t done, std::uint64_t total);
    // Hands on the final 0.
    void finish();

private:
    ProgressFn m_report;
    int m_last = -1;
};

// A colour channel of coverage a (0..255) composed over white.
inline BYTE overWhite(unsigned c, unsigned a)
{
    const unsigned t = c * a + 255u * (255u - a) + 128u;
    return BYTE((t + (t >> 8)) >> 8);
}

// A decoded QImage as a DIB by the depth rules of OpenDib; paletteFormat turns a
// true-colour picture of at most 256 colours into a palette DIB (GIF).
Error imageToDib(const QImage &img, DIB *out, Progress &progress, bool paletteFormat);
// The error kind of the exception being handled; call it only in a catch
// block. A decode that throws fails like any other: out of memory, or damaged.
Error exceptionError() noexcept;
// The error kind of a failed QImageReader.
Error readerError(const QImageReader &reader);
// Sets the readers' allocation limit; thread-safe, takes effect once.
void prepareImageReaders();

// Makes a palette DIB whose colour table holds all PaletteSize(bits) entries:
// the given colours first, black after them, so every index is a valid colour.
bool newPaletteDib(DIB *out, int width, int height, int bits, const RGBQUAD *colours, int count);

// Makes a 24-bit DIB that takes over `rows`, a malloc'd block of height
// bottom-up rows of DibRowBytes(width, 24) bytes. Frees rows on failure.
bool adopt24BitRows(DIB *out, int width, int height, BYTE *rows);

// Whether a file holds all the data its header announces (read from the
// device's current position, which is left anywhere).
[[nodiscard]] bool bmpDataComplete(QIODevice &dev);
[[nodiscard]] bool gifDataComplete(QIODevice &dev); // up to the end of the first image
// A headerless DIB: BITMAPINFOHEADER, colour table and rows with no file header.
[[nodiscard]] bool dibDataComplete(QIODevice &dev);
// A GIF's declared size against the pixel limit and against the most pixels
// its bytes could encode; None when plausible (read from the device's start).
[[nodiscard]] Error gifSizeCheck(QIODevice &dev);

// Own decoders for the formats the image readers lack or read poorly. They take the whole
// file, check every offset against its size, and fill out on success.
[[nodiscard]] bool looksLikePcx(const QByteArray &head);
[[nodiscard]] bool looksLikeIff(const QByteArray &head);
// TGA has no signature: only a plausible header.
[[nodiscard]] bool looksLikeTga(const QByteArray &head);
Error decodePcx(const QByteArray &file, DIB *out, Progress &progress);
Error decodeIff(const QByteArray &file, DIB *out, Progress &progress);
Error decodeTga(const QByteArray &file, DIB *out, Progress &progress);

} // namespace DibDecode
