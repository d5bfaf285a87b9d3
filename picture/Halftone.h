#pragma once
// Halftoned 8-bit copies of pictures for palette displays.
#include "picture/Dib.h"

// The fixed palette of halftoned copies: a 6x6x6 colour cube at indices 0..215
// (index = 36 r + 6 g + b, levels 0, 51, ..., 255); the rest is black.
constexpr int HalftoneLevels = 6;

// Same-size 8-bit copy of a picture (any depth) with ordered dithering to the
// halftone palette. out->Bits is nullptr when src has no pixels or memory is short.
void DIBHalftoneDIB(DIB *out, const DIB &src24);
// The same, scaled (nearest neighbour) to width x height.
void DIBHalftoneDIBXY(DIB *out, const DIB &src, int width, int height);
