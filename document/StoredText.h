#pragma once
// Text stored in the program's own files (arrangement file, cache file,
// favourites): written as UTF-8; files written on Windows hold Windows-1252.
#include <QByteArray>
#include <QString>

// Decodes stored bytes: valid UTF-8 as UTF-8, anything else as Windows-1252.
[[nodiscard]] QString DecodeStoredText(const QByteArray &bytes);
// Windows-1252 to Unicode; the five bytes the code page leaves undefined map
// to the C1 control characters of the same value.
[[nodiscard]] QString DecodeWindows1252(const QByteArray &bytes);
