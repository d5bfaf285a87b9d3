#pragma once
// What a page description needs to carry a JPEG file's bytes unread, and
// whether the file is sound enough for that: only the segments a decoder needs
// go along, so that neither the picture's metadata (camera, position) nor
// anything appended after its end leaves with the page.
#include <QByteArray>

#include <functional>
#include <optional>
#include <vector>

class QIODevice;

struct JpegStreamInfo {
    int Width = 0; // as stored, before any turn
    int Height = 0;
    int Components = 0; // 1 grey, 3 YCbCr/RGB, 4 CMYK/YCCK
    bool AdobeInverted = false; // 4 components written with an Adobe marker (0 = full ink)
    QByteArray IccProfile; // embedded colour profile, empty when none
};

// A run of bytes of the file that goes into the carried stream.
struct JpegSpan {
    qint64 Offset = 0;
    qint64 Length = 0;
};

// A file found fit to be carried: what it is, which of its bytes to carry
// (in file order: SOI, tables, frame, restart interval, scans, EOI, and the
// colour profile and Adobe marker) and a hash of all its bytes.
struct JpegCarry {
    JpegStreamInfo Info;
    std::vector<JpegSpan> Kept;
    qint64 FileSize = 0;
    QByteArray Hash;
    [[nodiscard]] qint64 keptBytes() const;
};

// Reads a JPEG from `in` (at most maxBytes, in pieces) and decides whether it
// may be carried. Empty when it is not a JPEG; libjpeg warns about its header;
// a segment runs past the end; the data hold a marker that does not belong
// there; the end-of-image marker is missing; the frame is not 8-bit baseline,
// extended sequential or progressive with Huffman coding; or its colour
// profile does not fit the components. The bytes after the end-of-image
// marker are read for the hash only.
[[nodiscard]] std::optional<JpegCarry> InspectJpegStream(QIODevice& in, qint64 maxBytes);
[[nodiscard]] std::optional<JpegCarry> InspectJpegStream(const QByteArray& file);

enum class JpegCopy { Done, Changed, Unreadable, Cancelled, WriteFailed };

// Reads `in` from its start to its end and hands the kept spans of `carry` to
// `write` as they pass, hashing every byte read; Changed when the file is not
// the one inspected (which the caller learns only after its stream is written).
[[nodiscard]] JpegCopy CopyJpegStream(QIODevice& in, const JpegCarry& carry,
    const std::function<bool(const char*, qint64)>& write, const std::function<bool()>& cancelled = {});

// Whether an embedded profile describes the colours of a JPEG with this many
// components: a readable profile of the matching colour space and of the
// input, display, output or colour space class.
[[nodiscard]] bool JpegProfileFits(const QByteArray& icc, int components);
