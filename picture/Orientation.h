#pragma once
// The turn a camera recorded for a picture (EXIF orientation) as the program's
// own quarter turns, so that the picture is decoded as stored and then turned.
#include "picture/Dib.h"
#include "picture/Progress.h"

#include <QImage>
#include <QString>

// How to bring a file's picture upright: mirrored left to right first, then
// turned clockwise by Turns quarters. EXIF orientation 2 is a mirror, 4 a
// mirror and two turns, 5 a mirror and three, 7 a mirror and one; 6, 3 and 8
// are one, two and three turns.
struct CameraOrientation {
    int Turns = 0; // 0..3
    bool Mirrored = false;

    [[nodiscard]] bool isUpright() const { return Turns == 0 && !Mirrored; }
};

// The file's recorded orientation; upright for files without the tag, other
// values and unreadable files. Reads only the file's header.
[[nodiscard]] CameraOrientation ReadCameraOrientation(const QString &fileName);
// Only its turns.
[[nodiscard]] inline int CameraQuarterTurns(const QString &fileName) { return ReadCameraOrientation(fileName).Turns; }

// Turns a picture clockwise by `quarterTurns` (taken modulo 4). False, and the
// picture as it was, when a turn fails.
bool TurnQuarters(DIB &pic, int quarterTurns, const ProgressFn &progress = {});
// Mirrors and turns a picture as `orientation` says; false, and the picture as
// it was, when that fails.
bool OrientUpright(DIB &pic, CameraOrientation orientation, const ProgressFn &progress = {});
// The same on an image.
[[nodiscard]] QImage OrientedUpright(const QImage &image, CameraOrientation orientation);
// Back from upright to the picture as stored: the turns undone, then the mirror.
bool OrientAsStored(DIB &pic, CameraOrientation orientation, const ProgressFn &progress = {});
