#pragma once
// GIF files that hold several images without frame delays: the images are
// parts of one picture, drawn one over the other onto the logical screen.
#include <QtGlobal>

class QImage;
class QImageReader;

namespace DibDecode {

// canvas holds the first image as the reader gave it. When the file's images
// are one picture (two or more, no frame delay anywhere), draws the others onto
// it; an animation keeps its first frame. False when a later image is damaged.
[[nodiscard]] bool composeGifImages(QImageReader &reader, QImage &canvas);

} // namespace DibDecode
