#pragma once
// The last steps on pictures made for paper, after they were resampled to the
// device's pixels: a brightness and contrast adjustment and an unsharp mask.
// Both work on rows in integers and never on the screen copy.
#include "picture/Tonal.h"

#include <QImage>

// Brightness and contrast in steps of -100..100 as a table over 0..255:
// contrast scales about the middle grey by (100 + c) / 100, brightness adds
// b * 1.28 levels.
[[nodiscard]] ToneTable PrintToneTable(int brightness, int contrast);
// The table applied to the RGB of a 32-bit image in place.
void ApplyToneTable(QImage& image, const ToneTable& table);

// Unsharp mask in place on a 32-bit image: each channel gains
// amountPercent / 100 of its difference from a Gaussian blur of
// `radius` (its standard deviation, pixels). Fixed-point weights; a row
// buffer of the blur's height. False when memory ran out (the image is then
// left as it was).
bool UnsharpMask(QImage& image, int amountPercent, double radius);
