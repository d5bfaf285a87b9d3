#pragma once
// Layout and drawing of the thumbnail grid: cells 90 x 110 pixels, each with an
// 80 x 80 picture box at (5, 5) and the file name below it.
#include "browse/CacheFile.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QFont;
class TDC;

inline constexpr int ThumbCellWidth = 90;
inline constexpr int ThumbCellHeight = 110;
inline constexpr int ThumbBox = 80;

// Columns of a grid `width` pixels wide, at least 1.
[[nodiscard]] int ThumbColumns(int width);
// Top-left corner of cell `index` (1-based).
[[nodiscard]] QPoint ThumbCellOrigin(int index, int columns);
// Grid height: one row more than count div columns.
[[nodiscard]] int ThumbGridHeight(int count, int columns);
// Size of a w x h picture fitted into the 80 x 80 box (the longer side 80).
[[nodiscard]] QSize ThumbDisplaySize(int w, int h);
// 1-based index of the cell whose frame (2..88, 2..108, inclusive) holds p; 0 for none.
[[nodiscard]] int ThumbHitTest(QPoint p, int count, int columns);
// Selection after an arrow key (Qt::Key_*); other keys leave it.
[[nodiscard]] int ThumbKeyMove(int key, int selection, int count, int columns);
// The paint-from index to honour for a paint of `region`: paintFrom while the
// region lies within that cell, else 0 (a wider paint draws every cell).
[[nodiscard]] int ThumbPaintFrom(int paintFrom, int columns, const QRect& region);
// Vertical scroll position that brings the selected cell's frame into view.
[[nodiscard]] int ThumbScrollPosition(int selection, int columns, int position, int clientHeight);
// "Picture: none" or "Thumbnail: w x h x colours - KB KByte    (i of n)".
[[nodiscard]] QString ThumbStatusText(const ThumbList& list, int selection);

// Draws the cells from index max(paintFrom, 1) that meet `clip`; the selected
// cell is blue and drawn with its own palette.
void PaintThumbGrid(TDC& dc, const ThumbList& list, int selection, int paintFrom, int columns, const QRect& clip);
