#pragma once
// The turn a camera recorded for a picture (EXIF orientation) as the program's
// own quarter turns, so that the picture is decoded as stored and then turned.
#include "picture/Dib.h"
#include "picture/Progress.h"

#include <QString>

// Quarter turns clockwise (0..3) that bring the file's picture upright: EXIF
// orientation 6 is one, 3 is two, 8 is three. Mirrored orientations, other
// values, files without the tag and unreadable files give 0. Reads only the
// file's header.
[[nodiscard]] int CameraQuarterTurns(const QString &fileName);

// Turns a picture clockwise by `quarterTurns` (taken modulo 4). False, and the
// picture as it was, when a turn fails.
bool TurnQuarters(DIB &pic, int quarterTurns, const ProgressFn &progress = {});
