// "Arrange automatically..." and "Add all pictures...": placements laid out
// without the mouse, in inches of the current printer's page.
#include "app/MainUnit.h"
#include "arrange/AutoLayout.h"
#include "arrange/Geometry.h"
#include "document/UndoCommands.h"

#include <QDoubleSpinBox>
#include <QSpinBox>

void TMainForm::OrdeneBtnClick()
{
    const auto undo = Undo->change(tr("Arrange automatically"));
    const int n = Placements.size();
    if (n <= 0 || PrinterDpi() <= 0)
        return;
    const double pageWidth = double(PageWidth()) / PrinterDpi();
    const double pageHeight = double(PageHeight()) / PrinterDpi();
    // The grid counts the placements of every page; only this page's are laid in.
    const CellGrid grid = AutoArrangeGrid(n, pageWidth, pageHeight, RandEd->value(), SpaceED->value());
    // Margins wider than the page leave cells of no or negative size: such a
    // layout would hide every picture, so the placements stay as they are.
    if (!grid.hasRoom())
        return;
    const int page = APageEd->value();
    int cell = 0;
    for (int i = 0; i < n; ++i) {
        Placement &p = Placements.at(i);
        if (p.Page != page)
            continue;
        p.Left = grid.cellLeft(cell);
        p.Top = grid.cellTop(cell);
        p.Width = grid.CellWidth;
        p.Height = grid.CellHeight;
        ++cell;
        const double width = p.Width, height = p.Height;
        if (PictureEntry *entry = pictureById(p.PictureId))
            Changequal(*entry, width, height);
    }
    ShowSizeInfo();
    repaintArrangeView();
}

void TMainForm::OvertakeallClick()
{
    const auto undo = Undo->change(tr("Add all pictures"));
    const int m = PictureCount();
    const double pageWidth = PrinterDpi() > 0 ? double(PageWidth()) / PrinterDpi() : 0;
    for (int i = 0; i < m; ++i)
        placePicture(i, CascadeLeft(i, m, pageWidth), CascadeTop(i, m, pageWidth));
    repaintArrangeView();
}
