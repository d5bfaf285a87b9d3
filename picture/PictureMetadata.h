#pragma once
// What a photograph says about itself (EXIF, IPTC and XMP in a JPEG's APP
// segments), as plain values for captions. Read once on the decoding pool and
// kept with the picture.
#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>

class QIODevice;

struct PictureMetadata {
    QDateTime Taken;     // DateTimeOriginal as the camera wrote it (no time zone); invalid when absent
    QDateTime FileTime;  // the file's modification time
    QString Camera;      // make and model, the make left out when the model repeats it
    QString Lens;
    QString Shutter;     // "1/250 s"
    QString Aperture;    // "f/5.6"
    QString Iso;         // "ISO 200"
    QString Focal;       // "50 mm"
    QSize Size;          // pixels as the EXIF block states them; the decoded size is the caller's
    QString Description; // the picture's own title: XMP dc:description, IPTC caption or EXIF ImageDescription

    friend bool operator==(const PictureMetadata &, const PictureMetadata &) = default;
};

// Most bytes of APP segments read from one file: a block claiming more is cut there.
inline constexpr qint64 MetadataReadLimit = 1024 * 1024;
// Longest value kept, in characters; longer ones are cut.
inline constexpr int MetadataValueLimit = 4096;

// The start marker and the APP and comment segments of a JPEG up to its first
// other marker, at most MetadataReadLimit bytes, followed by an end marker:
// all the metadata reader gets to see. Empty when the device holds no JPEG.
[[nodiscard]] QByteArray JpegMetadataSegments(QIODevice &device);
// Parses such segments (any bytes are safe); values that are missing or
// cannot be read stay empty.
[[nodiscard]] PictureMetadata ParsePictureMetadata(const QByteArray &segments);
// Both on an open file, with its modification time; the position is put back.
[[nodiscard]] PictureMetadata ReadPictureMetadata(QIODevice &device, const QDateTime &fileTime);
