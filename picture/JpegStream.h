#pragma once
// What a page description needs to carry a JPEG file's bytes as they are,
// and whether the file is sound enough to be carried unread.
#include <QByteArray>

#include <optional>

struct JpegStreamInfo {
    int Width = 0; // as stored, before any turn
    int Height = 0;
    int Components = 0; // 1 grey, 3 YCbCr/RGB, 4 CMYK/YCCK
    bool AdobeInverted = false; // 4 components written with an Adobe marker (0 = full ink)
    QByteArray IccProfile; // embedded colour profile, empty when none
};

// Reads a whole JPEG file: its header through libjpeg, then every marker
// segment and the entropy-coded data up to the end-of-image marker. Empty when
// libjpeg warns about anything in the header, the file is not a JPEG, a
// segment runs past the end, the data holds a marker that does not belong
// there, or the end-of-image marker is missing, so that a file that decodes
// only with warnings is never copied as it is.
[[nodiscard]] std::optional<JpegStreamInfo> InspectJpegStream(const QByteArray &file);
