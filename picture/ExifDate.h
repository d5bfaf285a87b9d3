#pragma once
// When a photograph was taken, as its camera recorded it (EXIF
// DateTimeOriginal in a JPEG's APP1 segment).
#include <QByteArray>
#include <QDateTime>
#include <QString>

// The date taken from a JPEG file's first bytes; invalid when the file has no
// such tag or the bytes are damaged. Reads at most the first 128 KB.
[[nodiscard]] QDateTime ExifDateTaken(const QString &path);
// The same from bytes already read (the start of a file).
[[nodiscard]] QDateTime ExifDateTakenFrom(const QByteArray &head);
// The date taken, else the file's modification time.
[[nodiscard]] QDateTime PictureDateTaken(const QString &path);
