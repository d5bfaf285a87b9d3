#pragma once
// The desktop's shared thumbnail cache, as file managers keep it: PNGs named
// by the MD5 of the file's URI under <cache>/thumbnails/normal (128 pixels)
// and large (256 pixels), each carrying the URI and the modification time it
// was made for; a folder per program notes files that could not be made into
// one. Reading is bounded, writing atomic and private to the user.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

struct SharedThumbKey {
    QByteArray Uri;
    qint64 MTime = 0; // seconds since the epoch
    qint64 Size = 0;
    QString Name; // <md5 of Uri>.png
};

// <cache>/thumbnails.
[[nodiscard]] QString SharedThumbnailRoot();
// The key of a regular file; none for other files and for the cache's own.
[[nodiscard]] std::optional<SharedThumbKey> SharedThumbKeyFor(const QString &path);

// A valid thumbnail for the key whose longer edge is at least minEdge (the
// normal size first, then the large one); null when there is none. *full gets
// the picture's size where the thumbnail records it.
[[nodiscard]] QImage ReadSharedThumbnail(const SharedThumbKey &key, int minEdge, QSize *full = nullptr);
// Whether this program noted earlier that the file, as it is now, gave no thumbnail.
[[nodiscard]] bool SharedThumbnailFailed(const SharedThumbKey &key);

// Writes the normal-size thumbnail made from `picture` (any size, shrunk to
// 128 pixels at most); full: the picture's own size. False when it cannot.
bool WriteSharedThumbnail(const SharedThumbKey &key, const QImage &picture, QSize full);
// Notes that the file gave no thumbnail.
bool WriteSharedThumbnailFailure(const SharedThumbKey &key);
