#pragma once
// The small picture a camera stores in a JPEG's EXIF block (IFD1), so a
// browser can show a file without decoding it.
#include <QByteArray>
#include <QImage>
#include <QString>

// The EXIF thumbnail of a JPEG file, decoded; null when the file has none, it
// is damaged, or its longer edge is shorter than minEdge. Reads at most the
// first 128 KB of the file.
[[nodiscard]] QImage ExifThumbnail(const QString &path, int minEdge);
// The same from bytes already read (the start of a file).
[[nodiscard]] QImage ExifThumbnailFrom(const QByteArray &head, int minEdge);
