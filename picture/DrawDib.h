#pragma once
// Drawing a rectangle of a picture into a rectangle of any device context.
#include "picture/Dib.h"

class TDC;

// Draws the source rectangle of pic (picture pixels; SrcY counts from the bottom
// row) into the destination rectangle (device units). The source is clipped to
// the picture and the destination shrinks with it, so the scale is kept. On
// palette displays 24-bit pictures are halftoned when Halftone is true; on
// displays 24- and 8-bit pictures are scaled row by row; otherwise the device
// stretches the picture, with two fallbacks when it refuses. The display's
// depth is the device context's to say. The caller's picture is never changed.
void DrawDib(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int SrcY, int SrcWidth,
             int SrcHeight, bool Halftone, DWORD Rop, bool UseDibPalette, HPALETTE palette);

// Nearest-neighbour scaling one destination row at a time through a one-row
// buffer. Top = the source rectangle's top row counted from the top.
void DrawDibRows24(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int Top,
                   int SrcWidth, int SrcHeight);
void DrawDibRows8(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int Top,
                  int SrcWidth, int SrcHeight);
