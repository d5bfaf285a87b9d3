#pragma once
// Picture files written by the tests themselves, and a way to read DIB colours.
#include "picture/Dib.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace Fixtures {

// A picture whose four corners differ (red top-left, green top-right, blue
// bottom-left, white bottom-right) over a smooth gradient.
QImage cornerPattern(int width, int height, QImage::Format format = QImage::Format_RGB32);

// The colour of a DIB pixel with rows from the top, resolving the colour table.
QRgb dibColour(const DIB &dib, int x, int y);

bool writeFile(const QString &path, const QByteArray &data);
QByteArray readFile(const QString &path);

// TGA, 24-bit true colour, raw or run-length packets, rows stored from the top
// or from the bottom. Qt writes no TGA itself.
QByteArray tga(const QImage &img, bool rle, bool topDown);
// GIF of an Indexed8 picture (Qt writes no GIF). The LZW stream clears its
// table often enough that every code keeps the starting width.
QByteArray gif(const QImage &indexed);
// BMP whose pixels are the given run-length codes as they stand (RLE8 for 8
// bits, RLE4 for 4), with a colour table of `colours` greys.
QByteArray rleBmp(int width, int height, int bits, int colours, const QByteArray &codes);

// PCX: planes x bitsPerPixel per pixel; rows given top-down as plane-major
// scan lines already laid out as the file stores them (bytesPerLine each plane).
struct Pcx {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;
    int planes = 1;
    int bytesPerLine = 0;
    bool rle = true;
    QByteArray headerPalette;  // 16 RGB triples (48 bytes) for up to 16 colours
    QByteArray trailerPalette; // 0x0C + 768 bytes, or empty
    std::vector<QByteArray> scanLines; // per row: planes * bytesPerLine bytes
    QByteArray encode() const;
};
QByteArray pcxRle(const QByteArray &line);

// IFF: a FORM of type ILBM or PBM with BMHD, CMAP, optional CAMG and BODY.
struct Iff {
    QByteArray formType = "ILBM";
    int width = 0;
    int height = 0;
    int planes = 0;
    int masking = 0;       // 1 = a mask plane follows the colour planes
    int compression = 0;   // 1 = ByteRun1
    QByteArray cmap;       // RGB triples
    quint32 camg = 0;      // written when non-zero
    QByteArray body;       // already encoded
    QByteArray encode() const;
};
QByteArray byteRun1(const QByteArray &row);
// Interleaved plane rows of one picture row given as chunky indices (or, for
// 24 planes, 0xRRGGBB values), each plane ((width + 15) / 16) * 2 bytes.
QByteArray ilbmRow(const std::vector<quint32> &pixels, int planes);

} // namespace Fixtures
