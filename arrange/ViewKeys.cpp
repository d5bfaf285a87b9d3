// Keys of the arrange view: deleting, nudging and dropping the selection,
// turning pages; and the page view's zoom.
#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "document/UndoCommands.h"
#include "platform/KeyGate.h"
#include "platform/PaintBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QScrollArea>
#include <QSpinBox>

#include <algorithm>

bool TMainForm::PaintBox2KeyDown(QKeyEvent* event)
{
    if (!Keys->forWindow() || (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))
        return false;
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    const bool selected = SelectedPlacement >= 0 && SelectedPlacement < Placements.size();
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (selected)
            DelitBtnClick();
        return selected;
    case Qt::Key_Left:
        nudgeSelection(-step, 0);
        return true;
    case Qt::Key_Right:
        nudgeSelection(step, 0);
        return true;
    case Qt::Key_Up:
        nudgeSelection(0, -step);
        return true;
    case Qt::Key_Down:
        nudgeSelection(0, step);
        return true;
    case Qt::Key_Escape:
        if (selected)
            clearSelection();
        return selected;
    case Qt::Key_PageUp:
        APageEd->setValue(APageEd->value() - 1);
        return true;
    case Qt::Key_PageDown:
        APageEd->setValue(APageEd->value() + 1); // the edit stops at the page count
        return true;
    default:
        return false;
    }
}

void TMainForm::nudgeSelection(int dx, int dy)
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    const auto undo = Undo->change(tr("Move picture"), MergeNudge);
    Placement& p = Placements.at(SelectedPlacement);
    const bool grid = UseGridCheck->isChecked() && GridEd->value() > 0;
    const double step = grid ? GridEd->value() / MmPerInch : FromView(1);
    // Within the page, as a drag keeps it; a frame larger than the page stays at its edge.
    const double dpi = PrinterDpi();
    const double pageWidth = dpi > 0 ? PageWidth() / dpi : 0, pageHeight = dpi > 0 ? PageHeight() / dpi : 0;
    auto moved = [&](double from, int by, double size, double page) {
        double to = from + by * step;
        if (grid)
            to = SnapToGrid(to);
        return std::clamp(to, 0.0, std::max(0.0, page - size));
    };
    p.Left = moved(p.Left, dx, p.Width, pageWidth);
    p.Top = moved(p.Top, dy, p.Height, pageHeight);
    ShowSizeInfo();
    repaintArrangeView();
}

void TMainForm::ZoomIn() { ZoomEd->stepBy(1); }
void TMainForm::ZoomOut() { ZoomEd->stepBy(-1); }

void TMainForm::ZoomToFit()
{
    const QSize full = Geometry::ViewSize(PageWidth(), PageHeight(), PrinterDpi(), ScreenDpi(), 100);
    const QSize room = ScrollBox2->maximumViewportSize();
    if (full.width() <= 0 || full.height() <= 0 || room.isEmpty())
        return;
    const double scale = std::min(double(room.width()) / full.width(), double(room.height()) / full.height());
    ZoomEd->setValue(std::clamp(int(scale * 100), ZoomEd->minimum(), ZoomEd->maximum()));
}
