#pragma once
// Small valid inputs of every kind the fuzz targets read, made in memory so no
// binary seed files need to be kept. The seed generator writes them out and the
// arrangement target places the pictures beside the arrangements it opens.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace Seeds {

// OpenDib's format codes, 0 (content decides) first. The picture target takes
// its code from the first input byte, modulo the count.
inline constexpr int FormatCodes[] = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
inline constexpr int FormatCodeCount = int(sizeof(FormatCodes) / sizeof(FormatCodes[0]));
[[nodiscard]] int FormatCodeFromByte(std::uint8_t b);
[[nodiscard]] std::uint8_t ByteForFormatCode(int code);

struct File {
    QString Name; // with the extension of its format
    int FormatCode = 0;
    QByteArray Bytes;
};

// One or two small pictures per format: BMP (24-bit, 8-bit, RLE8), GIF, PNG
// (true colour with alpha, palette), JPEG (baseline, progressive, grey), TIFF,
// TGA (raw, run-length), PCX (8-bit, 16-colour planes), IFF ILBM and PBM.
[[nodiscard]] std::vector<File> Pictures();

// Arrangements over the given picture names (bare names, so they are looked up
// beside the arrangement): each picture placed, turned, cut and captioned, and
// one placement of a picture that is missing; then one arrangement per chunk
// kind of the extension area (frame views, tone steps, sheet texts, cut
// marks, mirrored pictures, order list with linked views and labels, caption
// texts) and one with every chunk.
[[nodiscard]] std::vector<File> Arrangements(const std::vector<QString> &pictureNames);

// JPEG files as a PDF may carry them: the JPEG pictures above, one with a
// colour profile, and one with metadata, a comment and bytes after its end.
[[nodiscard]] std::vector<File> Jpegs();

// Photos' metadata as cameras and photo tools write it: an EXIF block with
// camera, lens, exposure and date, an XMP description, both, and a comment.
[[nodiscard]] std::vector<File> Metadata();

// Thumbnail caches of thumbnails at 1, 4, 8 and 24 bits.
[[nodiscard]] std::vector<File> Caches();

// ICC profiles made by lcms2: RGB display profiles (sRGB, a wide and a
// swapped gamut), grey, Lab and a CMYK device link.
[[nodiscard]] std::vector<File> Profiles();

// Order lists as CSV: comma and semicolon, a byte order mark, quoted fields,
// named and typed sizes, and rows of every kind of fault.
[[nodiscard]] std::vector<File> OrderLists();

} // namespace Seeds
