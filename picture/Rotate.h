#pragma once
// Quarter turns and mirroring of a picture. The picture is replaced by a new one of swapped
// width and height with the same depth and colour table.
#include "picture/Dib.h"
#include "picture/Progress.h"

#include <QRect>

// Counter-clockwise. False, and the picture unchanged, when out of memory or
// the picture has no pixels.
bool RotLeft(DIB &pic, const ProgressFn &progress = {});
// Clockwise; as RotLeft otherwise.
bool RotRight(DIB &pic, const ProgressFn &progress = {});
// Left and right swapped, on a new picture of the same size (the old pixels
// may be shared); as RotLeft otherwise.
bool MirrorSides(DIB &pic, const ProgressFn &progress = {});
// A new picture holding `part` of pic (rows counted from the bottom, held
// inside the picture) with the same depth and colour table. False, and out
// untouched, when out of memory or nothing is left of the part.
bool CopyPart(const DIB &pic, const QRect &part, DIB &out);
