// Editing placements with the mouse: the strip's drag and double click, drops
// on the arrange view, selecting, moving and resizing with the handles, the
// context menu, deleting, and the side panel's caption and cut controls.
#include "app/Artwork.h"
#include "app/MainUnit.h"
#include "arrange/Editing.h"
#include "arrange/Geometry.h"
#include "document/UndoCommands.h"
#include "platform/PaintBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QDrag>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRegion>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace {
// Drags of the strip carry this type; the arrange view takes nothing else.
const QString StripMimeType = QStringLiteral("application/x-snapgrid-atlas-strip-picture");

// The bands, 3 pixels wide, that hold the outline of a frame, cut to the view.
QRegion outlineBands(const ViewFrame &f, QSize view)
{
    const QRect bounds(-1, -1, view.width() + 2, view.height() + 2);
    auto coord = [](std::int64_t v, int lo, int hi) { return int(std::clamp<std::int64_t>(v, lo, hi)); };
    const int x0 = coord(std::int64_t(f.L) - 1, -2, view.width() + 2);
    const int y0 = coord(std::int64_t(f.T) - 1, -2, view.height() + 2);
    const int x1 = coord(std::int64_t(f.L) + f.W + 1, -2, view.width() + 2);
    const int y1 = coord(std::int64_t(f.T) + f.H + 1, -2, view.height() + 2);
    QRegion r;
    r += QRect(QPoint(x0, y0), QPoint(x1, y0 + 2));
    r += QRect(QPoint(x0, y1 - 2), QPoint(x1, y1));
    r += QRect(QPoint(x0, y0), QPoint(x0 + 2, y1));
    r += QRect(QPoint(x1 - 2, y0), QPoint(x1, y1));
    return r & bounds;
}
} // namespace

bool TMainForm::placePicture(int index, double left, double top)
{
    if (index < 0 || index >= PictureCount())
        return false;
    PictureEntry &entry = Pictures[std::size_t(index)];
    Placement *p = Placements.Append();
    p->Cut = CutDefault->isChecked() ? 1 : 0;
    p->Page = APageEd->value();
    p->Left = left;
    p->Top = top;
    p->Width = DBreiteED->value() / MmPerInch;
    p->Height = DHocheED->value() / MmPerInch;
    p->PictureId = entry.PictureId;
    const double width = p->Width, height = p->Height;
    Changequal(entry, width, height);
    SelectedPlacement = Placements.size() - 1;
    UpdateSelectionControls();
    ChangeFreeText();
    BringAkInFront();
    return true;
}

void TMainForm::selectPlacement(int index)
{
    Undo->breakMerge();
    SelectedPlacement = index;
    UpdateSelectionControls();
    ChangeFreeText();
    BringAkInFront();
    repaintArrangeView();
}

void TMainForm::clearSelection()
{
    Undo->breakMerge();
    SelectedPlacement = -1;
    UpdateSelectionControls();
    ChangeFreeText();
    repaintArrangeView();
}

void TMainForm::dropSelectionOffPage()
{
    if (SelectedPlacement < 0)
        return;
    if (SelectedPlacement < Placements.size() && Placements.at(SelectedPlacement).Page == APageEd->value())
        return;
    SelectedPlacement = -1;
    UpdateSelectionControls();
    ChangeFreeText();
}

void TMainForm::BringAkInFront()
{
    const auto undo = Undo->change(tr("Bring to front"));
    if (moveSelectedToTop()) {
        UpdateSelectionControls();
        ChangeFreeText();
    }
}

void TMainForm::setArrangeCursor(int index)
{
    if (index == ArrangeCursor)
        return;
    ArrangeCursor = index;
    PaintBox2->setCursor(ScreenCursor(index));
}

// ---------------------------------------------------------------------------
// Picture strip and drops

void TMainForm::PaintBox1MouseDown(int /*X*/, int Y)
{
    const int index = StripIndexAt(Y, PaintBox1->width(), PictureCount());
    if (index < 0)
        return;
    if (index != SelectedPicture) {
        SelectedPicture = index;
        repaintStrip();
    }
    // The drag starts at the press, without a movement threshold.
    auto *drag = new QDrag(PaintBox1);
    auto *mime = new QMimeData;
    mime->setData(StripMimeType, QByteArray::number(index));
    drag->setMimeData(mime);
    if (ExecStripDrag) {
        ExecStripDrag(drag);
        drag->deleteLater();
    } else {
        drag->exec(Qt::CopyAction); // Qt disposes of the drag
    }
}

void TMainForm::PaintBox1DblClick()
{
    const auto undo = Undo->change(tr("Place picture"));
    placePicture(SelectedPicture, 0, 0);
    repaintArrangeView();
}

bool TMainForm::PaintBox2DragOver(const QObject *source, const QMimeData *mime) const
{
    return source == PaintBox1 && mime && mime->hasFormat(StripMimeType);
}

void TMainForm::PaintBox2DragDrop(const QObject *source, const QMimeData *mime, int X, int Y)
{
    if (!PaintBox2DragOver(source, mime))
        return;
    const auto undo = Undo->change(tr("Place picture"));
    // The strip's selection decides, as it may have changed since the drag began.
    placePicture(SelectedPicture, SnapToGrid(FromView(X)), SnapToGrid(FromView(Y)));
    repaintArrangeView();
}

// ---------------------------------------------------------------------------
// Selecting, moving and resizing on the arrange view

void TMainForm::setdragmod(int X, int Y)
{
    DragMode = 0;
    GrabDX = 0;
    GrabDY = 0;
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size()) {
        setArrangeCursor(10);
        return;
    }
    // The selection's zones count even when it lies on another page.
    const ViewFrame frame = PlacementViewFrame(Placements.at(SelectedPlacement), ZoomEd->value(), ScreenDpi());
    const DragGrip grip = DragGripAt(frame, X, Y);
    DragMode = grip.Mode;
    GrabDX = grip.GrabDX;
    GrabDY = grip.GrabDY;
    setArrangeCursor(CursorForDragMode(DragMode));
}

void TMainForm::dragit(int X, int Y)
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    Placement &p = Placements.at(SelectedPlacement);
    const int zoom = ZoomEd->value(), dpi = ScreenDpi();
    const DragStep step = DragFrame(PlacementViewFrame(p, zoom, dpi), DragMode, X - GrabDX, Y - GrabDY,
                                    ArrangeViewSize());
    DragMode = step.Mode;
    StoreDraggedFrame(p, step.Frame, DragMode, zoom, dpi, UseGridCheck->isChecked(), GridEd->value());
    ShowSizeInfo();
}

void TMainForm::PaintBox2MouseDown(Qt::MouseButton button, int X, int Y)
{
    const auto hit = [&] { return HitTestPlacement(Placements, APageEd->value(), X, Y, ZoomEd->value(), ScreenDpi()); };
    if (button == Qt::RightButton) {
        const int index = hit();
        if (index < 0) {
            clearSelection();
            return;
        }
        selectPlacement(index);
        BildPopup->popup(PaintBox2->mapToGlobal(QPoint(X, Y)));
        return;
    }
    setdragmod(X, Y);
    if (DragMode > 0) {
        Dragging = 1;
        DragOrigin = Placements.at(SelectedPlacement);
        Undo->beginGesture(); // the drag is one command, recorded at release
        repaintArrangeView(); // the outline now inverts, without handles
        return;
    }
    // A press selects only; the next press on the selection drags it.
    const int index = hit();
    if (index >= 0)
        selectPlacement(index);
    else
        clearSelection();
}

void TMainForm::PaintBox2MouseMove(int X, int Y)
{
    if (Dragging != 1) {
        setdragmod(X, Y);
        return;
    }
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    const int zoom = ZoomEd->value(), dpi = ScreenDpi();
    const ViewFrame before = PlacementViewFrame(Placements.at(SelectedPlacement), zoom, dpi);
    dragit(X, Y);
    const ViewFrame after = PlacementViewFrame(Placements.at(SelectedPlacement), zoom, dpi);
    if (after == before)
        return;
    // Only the bands of the old and the new outline are drawn again; the
    // pictures stay where the drag found them.
    const QSize view = PaintBox2->size();
    PaintBox2->repaint(outlineBands(before, view) + outlineBands(after, view));
}

void TMainForm::PaintBox2MouseUp(int X, int Y)
{
    if (Dragging != 1)
        return;
    dragit(X, Y);
    Dragging = 0;
    DragOrigin.reset();
    if (SelectedPlacement >= 0 && SelectedPlacement < Placements.size()) {
        const Placement &p = Placements.at(SelectedPlacement);
        if (PictureEntry *entry = pictureById(p.PictureId))
            Changequal(*entry, p.Width, p.Height);
    }
    Undo->endGesture(DragMode == 9 ? tr("Move picture") : tr("Resize picture"));
    repaintArrangeView();
}

// ---------------------------------------------------------------------------
// Side panel and commands on the selection

void TMainForm::FreeTextChange()
{
    const auto undo = Undo->change(tr("Caption"), MergeCaption);
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    // The caption belongs to the picture, so every placement of it shows the text.
    if (PictureEntry *entry = pictureById(Placements.at(SelectedPlacement).PictureId))
        entry->Comment = FreeText->text();
    Timer1->start(); // repaints once typing pauses
}

void TMainForm::CutCheckClick()
{
    const auto undo = Undo->change(tr("Fit in/cut picture"));
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    Placements.at(SelectedPlacement).Cut = CutCheck->isChecked() ? 1 : 0;
    repaintArrangeView();
}

void TMainForm::Lschen1Click()
{
    const auto undo = Undo->change(tr("Delete placement"));
    if (SelectedPlacement < 0)
        return;
    deleteSelectedPlacement();
    UpdateSelectionControls();
    repaintArrangeView();
}

void TMainForm::DelitBtnClick() { Lschen1Click(); }
