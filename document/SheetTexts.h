#pragma once
// The texts of contact sheets: a header for a page and the caption lines of
// each cell, drawn by the page rendering rule and kept in the file's
// extension area. Cells are referred to by Placement::Cell, so a cell's lines
// move, copy and undo with its placement.
#include "document/Placement.h"

#include <QStringList>

#include <map>
#include <vector>

struct SheetText {
    QStringList Lines;
    double Points = 7; // character size of the lines
    // A header's place on its page, inches from the printable area's
    // top-left corner (a cell's lines go below its placement's frame).
    double Left = 0;
    double Top = 0;
    double Width = 0;
    friend bool operator==(const SheetText &, const SheetText &) = default;
};

// Contact sheet cells are printed at no more than this many pixels per inch
// (small prints to choose from; a page of them stays a small file).
inline constexpr int SheetCellDpi = 150;

// Character sizes a file may give, in points.
inline constexpr double MinSheetPoints = 1;
inline constexpr double MaxSheetPoints = 72;
// Held to MinSheetPoints..MaxSheetPoints; NaN gives the default size.
[[nodiscard]] double HeldSheetPoints(double points);
// The height a line of the text takes, in inches.
[[nodiscard]] inline double SheetLineInches(double points) { return points * 1.3 / 72; }
[[nodiscard]] inline double SheetTextInches(const SheetText &t) { return double(t.Lines.size()) * SheetLineInches(t.Points); }

struct SheetTexts {
    std::map<int, SheetText> Headers; // by page, from 1
    std::vector<SheetText> Cells;     // Placement::Cell - 1
    // By page, from 1: small texts beside frames (an order's name), placed
    // as a header is.
    std::multimap<int, SheetText> Labels;

    [[nodiscard]] bool empty() const { return Headers.empty() && Cells.empty() && Labels.empty(); }
    // The lines of a placement's cell; nullptr for an ordinary frame.
    [[nodiscard]] const SheetText *cellOf(const Placement &p) const
    {
        return p.Cell > 0 && std::size_t(p.Cell) <= Cells.size() ? &Cells[std::size_t(p.Cell - 1)] : nullptr;
    }
    // Adds a cell's lines; the value for Placement::Cell.
    std::int32_t addCell(SheetText text)
    {
        Cells.push_back(std::move(text));
        return std::int32_t(Cells.size());
    }
    void clear()
    {
        Headers.clear();
        Cells.clear();
        Labels.clear();
    }
    friend bool operator==(const SheetTexts &, const SheetTexts &) = default;
};
