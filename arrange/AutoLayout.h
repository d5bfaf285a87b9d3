#pragma once
// Layouts that place pictures without the mouse: the regular grid of equal
// cells of automatic arrangement and the diagonal cascade of adding all
// pictures. Inches throughout; margins and distances arrive in millimetres.

// The cells of automatic arrangement for n placements: cols = trunc(sqrt(n)),
// rows as many as needed; one margin on all four sides and one distance
// between columns and rows. Cell sizes can come out zero or negative when the
// margins leave no room.
struct CellGrid {
    int Cols = 0;
    int Rows = 0;
    double Margin = 0; // inches
    double Space = 0;  // inches
    double CellWidth = 0;
    double CellHeight = 0;

    [[nodiscard]] bool hasRoom() const { return CellWidth > 0 && CellHeight > 0; }
    // Top-left corner of cell k, filled row by row, left to right.
    [[nodiscard]] double cellLeft(int k) const;
    [[nodiscard]] double cellTop(int k) const;
};

// n <= 0 gives an empty grid (no columns).
[[nodiscard]] CellGrid AutoArrangeGrid(int n, double pageWidth, double pageHeight, double marginMm, double spaceMm);

// Offset of the i-th of m pictures in the cascade, the same in x and y: steps
// spread over two thirds of the page width.
[[nodiscard]] double CascadeLeft(int i, int m, double pageWidth);
[[nodiscard]] double CascadeTop(int i, int m, double pageWidth);
