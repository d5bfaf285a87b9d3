#pragma once
// Brightness, contrast and saturation as mappings of one colour value
// (0..255), integer arithmetic with divisions truncating toward zero.
#include "picture/Dib.h"

#include <array>

using ToneTable = std::array<BYTE, 256>;

// v + B, clamped.
[[nodiscard]] int BrightnessValue(int v, int B);
// K = 100 leaves v; below it values move toward 127, above it away from 128
// (K = 0: all 127; K = 200: below 128 black, the rest white). K is clamped to 0..200.
[[nodiscard]] int ContrastValue(int v, int K);
// (v - 128) * (S + 100) div 100 + 128, clamped; each channel on its own.
[[nodiscard]] int SaturationValue(int v, int S);

[[nodiscard]] ToneTable BrightnessTable(int B);
[[nodiscard]] ToneTable ContrastTable(int K);
[[nodiscard]] ToneTable SaturationTable(int S);

// The table of `first` followed by `then`.
[[nodiscard]] ToneTable ComposeTables(const ToneTable &first, const ToneTable &then);

// Writes `from`'s 24-bit rows through the table into `to` (same size and depth);
// row padding is copied as it is. False, nothing written, when they differ.
bool CopyThroughTable(const DIB &from, DIB &to, const ToneTable &table);

// Applies the table to a picture: palette pictures through the colours of their
// logical palette and colour table (pixels untouched, palette recreated),
// 24-bit pictures to every colour byte. Other depths are left alone.
void ApplyToneTable(DIB &dib, const ToneTable &table);
