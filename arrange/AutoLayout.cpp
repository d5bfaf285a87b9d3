#include "arrange/AutoLayout.h"

#include "arrange/Geometry.h"

#include <algorithm>
#include <cmath>

CellGrid AutoArrangeGrid(int n, double pageWidth, double pageHeight, double marginMm, double spaceMm)
{
    CellGrid g;
    if (n <= 0)
        return g;
    g.Cols = std::max(1, int(std::sqrt(double(n))));
    g.Rows = n / g.Cols;
    while (static_cast<long long>(g.Rows) * g.Cols < n)
        ++g.Rows;
    g.Margin = marginMm / MmPerInch;
    g.Space = spaceMm / MmPerInch;
    g.CellWidth = (pageWidth - 2 * g.Margin - (g.Cols - 1) * g.Space) / g.Cols;
    g.CellHeight = (pageHeight - 2 * g.Margin - (g.Rows - 1) * g.Space) / g.Rows;
    return g;
}

double CellGrid::cellLeft(int k) const { return Cols > 0 ? Margin + (CellWidth + Space) * (k % Cols) : 0; }
double CellGrid::cellTop(int k) const { return Cols > 0 ? Margin + (CellHeight + Space) * (k / Cols) : 0; }

double CascadeLeft(int i, int m, double pageWidth) { return m > 0 ? pageWidth * 2 / 3 * i / m : 0; }
double CascadeTop(int i, int m, double pageWidth) { return m > 0 ? i * (pageWidth * 2 / 3) / m : 0; }
