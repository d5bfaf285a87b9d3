#pragma once
// Carrying JPEG files unread in a PDF that Qt's PDF engine drew: each marker
// image it holds becomes a DCTDecode image whose data are the file's own
// bytes, as far as a decoder needs them.
#include "output/DevicePictures.h"

#include <QString>

#include <functional>
#include <vector>

class QIODevice;

// Writes the PDF `draft` to `out` with the stream of every marker image
// replaced by its file from `files` (the marker number indexes it), with the
// file's colour space (grey, RGB or CMYK, inverted for Adobe CMYK) and its
// embedded colour profile. A file is read while written and must still be the
// one inspected, byte for byte. Returns an error text, empty on success; `cancelled` is asked
// while the files are copied. An RGB output profile, when given, becomes the
// document's output intent: the printer its colours were converted for.
[[nodiscard]] QString CarryJpegFiles(const QString &draft, QIODevice &out, const std::vector<PassedJpeg> &files,
                                     const std::function<bool()> &cancelled = {},
                                     const QByteArray &outputProfile = {});

// The image objects of a PDF file (image XObjects); -1 when it cannot be read.
[[nodiscard]] int CountPdfImages(const QString &pdf);
