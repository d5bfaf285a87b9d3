#include "arrange/ArrangeCanvas.h"

#include "arrange/ArrangeView.h"
#include "arrange/Editing.h"
#include "arrange/Geometry.h"
#include "document/DroppedFiles.h"
#include "document/FrameView.h"
#include "output/PrintColour.h"
#include "platform/Artwork.h"
#include "platform/DeviceContext.h"
#include "platform/EventHook.h"
#include "platform/KeyGate.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// Several pictures dropped at one point are laid out like a fanned stack.
constexpr double DropCascadeInch = 0.25;
// Screen cursors over a picture that moves inside its frame.
constexpr int OpenHand = 13;
constexpr int ClosedHand = 14;
// The zoom factor of one wheel notch (120 eighths of a degree).
constexpr double WheelZoomStep = 1.1;

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

// Keys the view answers itself while it has the focus.
bool isViewKey(const QKeyEvent *key)
{
    if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}
} // namespace

ArrangeCanvas::ArrangeCanvas(ArrangementDocument &doc, TPrinter &printer, SoftProofView &proof, QWidget *parent)
    : QObject(parent)
    , Doc(doc)
    , Printer(printer)
    , Proof(proof)
{
    ViewBox = new TPaintBox;
    ViewBox->setAcceptDrops(true);
    ViewBox->setFocusPolicy(Qt::StrongFocus);
    ScrollArea = WorkspaceScrollArea(ViewBox, parent);
    connectView();
}

void ArrangeCanvas::connectView()
{
    ViewBox->onPaint = [this](QPaintEvent *e) { viewPaint(e); };
    WatchResize(ScrollArea, [this] { scrollAreaResized(); });
    ViewBox->onMouseDown = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        mousePress(e->button(), at.x(), at.y(), e->modifiers());
    };
    ViewBox->onMouseMove = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        mouseMove(at.x(), at.y(), e->modifiers());
    };
    ViewBox->onDblClick = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        // Still the press it always was, then the double click's own meaning.
        mousePress(e->button(), at.x(), at.y(), e->modifiers());
        if (e->button() == Qt::LeftButton)
            doubleClick(at.x(), at.y());
    };
    ViewBox->onMouseUp = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        mouseRelease(at.x(), at.y());
    };
    // Files from outside (no source) and the strip's own drags.
    auto accept = [this](QDropEvent *e) {
        const bool files = !e->source() && TakesDroppedFiles(e->mimeData());
        if (files || acceptsDrag(e->source(), e->mimeData()))
            e->acceptProposedAction();
        else
            e->ignore();
    };
    ViewBox->onDragEnter = accept;
    ViewBox->onDragOver = accept;
    ViewBox->onDragDrop = [this](QDropEvent *e) {
        const QPoint at = e->position().toPoint();
        if (!e->source() && TakesDroppedFiles(e->mimeData())) {
            e->acceptProposedAction();
            dropFiles(e->mimeData(), at.x(), at.y());
        } else {
            dropPicture(e->source(), e->mimeData(), at.x(), at.y());
        }
    };
    new TEventHook(ViewBox, [this](QEvent *e) {
        if (e->type() == QEvent::ShortcutOverride && isViewKey(static_cast<QKeyEvent *>(e))) {
            e->accept(); // ahead of the window's Escape
            return true;
        }
        if (e->type() == QEvent::KeyPress)
            return keyPress(static_cast<QKeyEvent *>(e));
        if (e->type() == QEvent::Wheel) {
            const auto *wheel = static_cast<QWheelEvent *>(e);
            const QPoint at = wheel->position().toPoint();
            return wheelTurn(at.x(), at.y(), wheel->angleDelta().y());
        }
        return false;
    });
    connect(&Doc, &ArrangementDocument::changed, this, &ArrangeCanvas::docChanged);
    connect(&Doc, &ArrangementDocument::fullPictureArrived, this, &ArrangeCanvas::repaintArrangeView);
}

void ArrangeCanvas::docChanged(ArrangementDocument::Changes what)
{
    using C = ArrangementDocument::Change;
    // Crop mode belongs to the placement it was entered on.
    if (Cropping && (what & C::Selection) && Doc.records().SelectedPlacement != CroppedPlacement)
        setCropping(false);
    // A caption being typed is drawn once typing pauses (the page's timer).
    if (what & ~ArrangementDocument::Changes(C::Captions))
        repaintArrangeView();
}

// ---------------------------------------------------------------------------
// Geometry

int ArrangeCanvas::ScreenDpi() const { return ScreenDpiSource ? ScreenDpiSource() : ViewBox->logicalDpiX(); }

PageGeometry ArrangeCanvas::paper() const { return PaperGeometry(Printer, ScreenDpi(), Doc.options().Zoom); }

QSize ArrangeCanvas::ArrangeViewSize() const
{
    const PageGeometry g = paper();
    return Geometry::ViewSize(g.PageWidth, g.PageHeight, g.PrinterDpiX, g.ScreenDpi, g.Zoom);
}

int ArrangeCanvas::ToView(double inch) const { return Geometry::ToView(inch, Doc.options().Zoom, ScreenDpi()); }

double ArrangeCanvas::FromView(int pixels) const
{
    return Geometry::FromView(pixels, Doc.options().Zoom, ScreenDpi());
}

double ArrangeCanvas::SnapToGrid(double inch) const
{
    return Geometry::SnapToGrid(inch, Doc.options().UseGrid, Doc.options().Grid);
}

// ---------------------------------------------------------------------------
// Painting

bool ArrangeCanvas::syncArrangeViewSize()
{
    const QSize size = ArrangeViewSize();
    if (ViewBox->size() == size)
        return true;
    ViewBox->resize(size); // brings the next paint
    return false;
}

void ArrangeCanvas::paintArrangeView(TDC &dc, const QRect &clip)
{
    const PageGeometry g = paper();
    ArrangeViewState s;
    s.Page = Doc.currentPage();
    s.Zoom = g.Zoom;
    s.ScreenDpi = g.ScreenDpi;
    s.PageWidth = g.PageWidth;
    s.PageHeight = g.PageHeight;
    s.PrinterDpi = g.PrinterDpiX;
    s.ShowGrid = Doc.options().ShowGrid;
    s.GridMm = Doc.options().Grid;
    s.Dragging = Dragging == 1;
    s.ScreenCopies = ViewDragging;
    if (s.Dragging)
        s.DraggedFrom = DragOrigin;
    s.Options = Doc.options();
    s.Recolour = Proof.recolour();
    PaintArrangeView(dc, Doc.records(), s, clip);
}

void ArrangeCanvas::viewPaint(QPaintEvent *event)
{
    if (Doc.loading() || !syncArrangeViewSize())
        return;
    TDC dc(ViewBox);
    if (Dragging != 1 || !event) {
        paintArrangeView(dc, event ? event->rect() : ViewBox->rect());
        return;
    }
    // A drag repaints thin bands around the old and the new outline; each band
    // is drawn on its own so no picture is rescaled beyond it.
    for (const QRect &band : event->region()) {
        dc.painter()->setClipRect(band, Qt::ReplaceClip);
        paintArrangeView(dc, band);
    }
}

void ArrangeCanvas::scrollAreaResized()
{
    // An empty view gets no paint event, so the size cannot wait for one.
    syncArrangeViewSize();
    repaintArrangeView();
}

void ArrangeCanvas::repaintArrangeView() { ViewBox->repaint(); }

// ---------------------------------------------------------------------------
// Drops

bool ArrangeCanvas::acceptsDrag(const QObject *source, const QMimeData *mime) const
{
    return source && source == StripSource && mime && mime->hasFormat(StripMimeType());
}

void ArrangeCanvas::dropPicture(const QObject *source, const QMimeData *mime, int X, int Y)
{
    if (!acceptsDrag(source, mime))
        return;
    QualityFailures failures;
    // The strip's selection decides, as it may have changed since the drag began.
    // Dropped near an edge, the frame still lies on the page.
    Doc.placePicture(Doc.records().SelectedPicture, SnapToGrid(FromView(X)), SnapToGrid(FromView(Y)), paper(),
                     &failures, true);
    if (!failures.empty())
        emit qualityFailed(failures);
}

void ArrangeCanvas::dropFiles(const QMimeData *mime, int X, int Y)
{
    const DroppedFiles files = SortDroppedFiles(mime);
    if (!files.Arrangement.isEmpty()) {
        emit arrangementDropped(files.Arrangement);
        return;
    }
    QualityFailures failures;
    ArrangementDocument::AddResult added;
    {
        const auto step = Doc.step(tr("Place pictures"));
        added = Doc.addPictureFiles(files.Pictures, tr("Place pictures"));
        const double left = SnapToGrid(FromView(X));
        const double top = SnapToGrid(FromView(Y));
        int placed = 0;
        for (int index : added.Added) {
            Doc.selectPicture(index);
            Doc.placePicture(index, left + placed * DropCascadeInch, top + placed * DropCascadeInch, paper(),
                             &failures, true);
            ++placed;
        }
    }
    if (!added.Failed.isEmpty())
        emit loadFailed(added.Failed, added.Reasons);
    if (!failures.empty())
        emit qualityFailed(failures);
}

// ---------------------------------------------------------------------------
// Selecting, moving and resizing

void ArrangeCanvas::setArrangeCursor(int index)
{
    if (index == ArrangeCursor)
        return;
    ArrangeCursor = index;
    ViewBox->setCursor(ScreenCursor(index));
}

void ArrangeCanvas::chooseDragMode(int X, int Y)
{
    DragMode = 0;
    GrabDX = 0;
    GrabDY = 0;
    if (!Doc.hasSelection()) {
        setArrangeCursor(10);
        return;
    }
    // The selection's zones count even when it lies on another page.
    const TArrangement &r = Doc.records();
    const ViewFrame frame = PlacementViewFrame(r.Placements.at(r.SelectedPlacement), Doc.options().Zoom, ScreenDpi());
    const DragGrip grip = DragGripAt(frame, X, Y);
    DragMode = grip.Mode;
    GrabDX = grip.GrabDX;
    GrabDY = grip.GrabDY;
    setArrangeCursor(CursorForDragMode(DragMode));
}

void ArrangeCanvas::dragSelection(int X, int Y)
{
    if (!Doc.hasSelection())
        return;
    const TArrangement &r = Doc.records();
    Placement p = r.Placements.at(r.SelectedPlacement);
    const int zoom = Doc.options().Zoom, dpi = ScreenDpi();
    const DragStep step = DragFrame(PlacementViewFrame(p, zoom, dpi), DragMode, X - GrabDX, Y - GrabDY,
                                    ArrangeViewSize());
    DragMode = step.Mode;
    StoreDraggedFrame(p, step.Frame, DragMode, zoom, dpi, Doc.options().UseGrid, Doc.options().Grid);
    Doc.dragTo(p);
    emit statusText(SizeInfoText(p, QLocale()));
}

void ArrangeCanvas::mousePress(Qt::MouseButton button, int X, int Y, Qt::KeyboardModifiers modifiers)
{
    const auto hit = [&] {
        return HitTestPlacement(Doc.records().Placements, Doc.currentPage(), X, Y, Doc.options().Zoom, ScreenDpi());
    };
    if (button == Qt::LeftButton && (modifiers & Qt::ControlModifier)) {
        const int index = hit();
        if (index >= 0) {
            if (index != Doc.records().SelectedPlacement)
                Doc.selectPlacement(index);
            beginViewDrag(X, Y);
            return;
        }
    }
    if (Cropping) {
        if (button == Qt::LeftButton && inSelectedFrame(X, Y)) {
            beginViewDrag(X, Y);
            return;
        }
        setCropping(false);
    }
    if (button == Qt::RightButton) {
        const int index = hit();
        if (index < 0) {
            Doc.clearSelection();
            return;
        }
        Doc.selectPlacement(index);
        emit contextMenuRequested(ViewBox->mapToGlobal(QPoint(X, Y)));
        return;
    }
    chooseDragMode(X, Y);
    if (DragMode > 0) {
        Dragging = 1;
        PressAt = QPoint(X, Y);
        Moved = false;
        const TArrangement &r = Doc.records();
        DragOrigin = r.Placements.at(r.SelectedPlacement);
        Doc.beginDrag(); // the drag is one step, recorded at release
        repaintArrangeView(); // the outline now inverts, without handles
        return;
    }
    // A press selects only; the next press on the selection drags it.
    const int index = hit();
    if (index >= 0)
        Doc.selectPlacement(index);
    else
        Doc.clearSelection();
}

void ArrangeCanvas::mouseMove(int X, int Y, Qt::KeyboardModifiers modifiers)
{
    if (ViewDragging) {
        viewDragTo(X, Y);
        return;
    }
    if (Dragging != 1) {
        chooseDragMode(X, Y);
        if ((Cropping || (modifiers & Qt::ControlModifier)) && inSelectedFrame(X, Y))
            setArrangeCursor(OpenHand);
        return;
    }
    if (!Doc.hasSelection())
        return;
    // A click must not snap the frame to the grid: only a real drag moves it.
    if (!Moved && (QPoint(X, Y) - PressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    Moved = true;
    const TArrangement &r = Doc.records();
    const int zoom = Doc.options().Zoom, dpi = ScreenDpi();
    const ViewFrame before = PlacementViewFrame(r.Placements.at(r.SelectedPlacement), zoom, dpi);
    dragSelection(X, Y);
    const ViewFrame after = PlacementViewFrame(r.Placements.at(r.SelectedPlacement), zoom, dpi);
    if (after == before)
        return;
    // Only the bands of the old and the new outline are drawn again; the
    // pictures stay where the drag found them.
    const QSize view = ViewBox->size();
    ViewBox->repaint(outlineBands(before, view) + outlineBands(after, view));
}

void ArrangeCanvas::mouseRelease(int X, int Y)
{
    if (ViewDragging) {
        viewDragTo(X, Y);
        endViewDrag();
        return;
    }
    if (Dragging != 1)
        return;
    if (Moved || (QPoint(X, Y) - PressAt).manhattanLength() >= QApplication::startDragDistance())
        dragSelection(X, Y);
    Dragging = 0;
    DragOrigin.reset();
    QualityFailures failures;
    Doc.endDrag(DragMode == DragMove ? tr("Move picture") : tr("Resize picture"), paper(), &failures);
    if (!failures.empty())
        emit qualityFailed(failures);
}

// ---------------------------------------------------------------------------
// The picture inside its frame

namespace {
// What a view's arithmetic needs of the selected placement.
struct FramedPicture {
    QSizeF Picture;
    double Aspect = 1;
    FrameView Shown; // the view as the frame shows it now
};

std::optional<FramedPicture> framedPicture(const ArrangementDocument &doc)
{
    if (!doc.hasSelection())
        return std::nullopt;
    const TArrangement &r = doc.records();
    const Placement &p = r.Placements.at(r.SelectedPlacement);
    const int index = r.pictureIndexById(p.PictureId);
    if (index < 0 || !(p.Width > 0) || !(p.Height > 0))
        return std::nullopt;
    // As the frame shows it, so the picture follows the mouse in a turned frame too.
    const QSizeF picture(TurnedSize(FullSize(r.Pictures[std::size_t(index)]), p.Turn));
    if (picture.isEmpty())
        return std::nullopt;
    const bool keep = doc.options().Sverh;
    const double aspect = p.Width / p.Height;
    return FramedPicture{picture, aspect, ShownView(picture, aspect, keep, UsesView(p, keep) ? p.View : FrameView{})};
}
} // namespace

bool ArrangeCanvas::inSelectedFrame(int X, int Y) const
{
    if (!Doc.hasSelection())
        return false;
    const TArrangement &r = Doc.records();
    const Placement &p = r.Placements.at(r.SelectedPlacement);
    if (p.Page != Doc.currentPage())
        return false;
    const ViewFrame f = PlacementViewFrame(p, Doc.options().Zoom, ScreenDpi());
    return X >= f.L && Y >= f.T && X < std::int64_t(f.L) + f.W && Y < std::int64_t(f.T) + f.H;
}

void ArrangeCanvas::beginViewDrag(int X, int Y)
{
    const std::optional<FramedPicture> framed = framedPicture(Doc);
    if (!framed)
        return;
    ViewDragging = true;
    ViewGrab = QPoint(X, Y);
    ViewOrigin = framed->Shown;
    Doc.beginDrag(); // one step, recorded at release
    setArrangeCursor(ClosedHand);
    showCropHint();
}

void ArrangeCanvas::viewDragTo(int X, int Y)
{
    const std::optional<FramedPicture> framed = framedPicture(Doc);
    if (!framed)
        return;
    const TArrangement &r = Doc.records();
    const Placement &p = r.Placements.at(r.SelectedPlacement);
    const ViewFrame f = PlacementViewFrame(p, Doc.options().Zoom, ScreenDpi());
    if (f.W <= 0 || f.H <= 0)
        return;
    const FrameView view = MovedView(framed->Picture, framed->Aspect, Doc.options().Sverh, ViewOrigin,
                                     double(X - ViewGrab.x()) / f.W, double(Y - ViewGrab.y()) / f.H);
    if (p.View == view && UsesView(p, Doc.options().Sverh))
        return;
    Doc.dragViewTo(view);
    // Only the frame is drawn again, from the screen copy.
    ViewBox->repaint(QRect(f.L - 2, f.T - 2, f.W + 4, f.H + 4) & ViewBox->rect());
}

void ArrangeCanvas::endViewDrag()
{
    ViewDragging = false;
    QualityFailures failures;
    Doc.endDrag(tr("Move picture in its frame"), paper(), &failures);
    setArrangeCursor(Cropping ? OpenHand : 10);
    if (Cropping)
        showCropHint(); // over the size info the page showed for the change
    if (!failures.empty())
        emit qualityFailed(failures);
}

void ArrangeCanvas::doubleClick(int X, int Y)
{
    if (inSelectedFrame(X, Y))
        setCropping(!Cropping);
}

bool ArrangeCanvas::wheelTurn(int X, int Y, int angleDelta)
{
    if (!Cropping || ViewDragging || !inSelectedFrame(X, Y))
        return false;
    const std::optional<FramedPicture> framed = framedPicture(Doc);
    if (!framed || angleDelta == 0)
        return true;
    const TArrangement &r = Doc.records();
    const ViewFrame f = PlacementViewFrame(r.Placements.at(r.SelectedPlacement), Doc.options().Zoom, ScreenDpi());
    const double zoom = framed->Shown.Zoom * std::pow(WheelZoomStep, angleDelta / 120.0);
    const FrameView view = ZoomedView(framed->Picture, framed->Aspect, Doc.options().Sverh, framed->Shown, zoom,
                                      f.W > 0 ? double(X - f.L) / f.W : 0.5, f.H > 0 ? double(Y - f.T) / f.H : 0.5);
    QualityFailures failures;
    Doc.setSelectedView(view, tr("Zoom picture in its frame"), paper(), &failures, MergeViewZoom);
    showCropHint();
    if (!failures.empty())
        emit qualityFailed(failures);
    return true;
}

void ArrangeCanvas::setCropping(bool on)
{
    on = on && Doc.hasSelection();
    if (on == Cropping)
        return;
    Cropping = on;
    CroppedPlacement = on ? Doc.records().SelectedPlacement : -1;
    setArrangeCursor(on ? OpenHand : 10);
    if (on) {
        showCropHint();
    } else if (Doc.hasSelection()) {
        const TArrangement &r = Doc.records();
        emit statusText(SizeInfoText(r.Placements.at(r.SelectedPlacement), QLocale()));
    }
}

void ArrangeCanvas::showCropHint()
{
    const std::optional<FramedPicture> framed = framedPicture(Doc);
    const QString zoom = QLocale().toString(framed ? framed->Shown.Zoom * 100 : 100, 'f', 0);
    if (Cropping)
        emit statusText(tr("Crop: drag to move the picture in its frame, turn the wheel to zoom (%1 %); "
                           "Esc or a double click ends")
                            .arg(zoom));
    else
        emit statusText(tr("Moving the picture in its frame (%1 %); a double click on the frame starts cropping, "
                           "where the wheel zooms")
                            .arg(zoom));
}

// ---------------------------------------------------------------------------
// Keys and zoom

bool ArrangeCanvas::keyPress(QKeyEvent *event)
{
    if ((Keys && !Keys->forWindow()) || (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))
        return false;
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    const bool selected = Doc.hasSelection();
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (selected)
            Doc.deleteSelectedPlacement(tr("Delete placement"));
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
        if (Cropping) {
            setCropping(false);
            return true;
        }
        if (selected)
            Doc.clearSelection();
        return selected;
    case Qt::Key_PageUp:
        Doc.setCurrentPage(Doc.currentPage() - 1);
        return true;
    case Qt::Key_PageDown:
        Doc.setCurrentPage(Doc.currentPage() + 1); // held to the page count
        return true;
    default:
        return false;
    }
}

void ArrangeCanvas::nudgeSelection(int dx, int dy)
{
    if (!Doc.hasSelection())
        return;
    const TArrangement &r = Doc.records();
    Placement p = r.Placements.at(r.SelectedPlacement);
    const ArrangementOptions &o = Doc.options();
    const bool grid = o.UseGrid && o.Grid > 0;
    const double step = grid ? o.Grid / MmPerInch : FromView(1);
    // Within the page, as a drag keeps it; a frame larger than the page stays at its edge.
    const PageGeometry g = paper();
    auto moved = [&](double from, int by, double size, double page) {
        double to = from + by * step;
        if (grid)
            to = SnapToGrid(to);
        return std::clamp(to, 0.0, std::max(0.0, page - size));
    };
    p.Left = moved(p.Left, dx, p.Width, g.widthInches());
    p.Top = moved(p.Top, dy, p.Height, g.heightInches());
    Doc.setSelectedFrame(p, tr("Move picture"), MergeNudge);
}

ArrangeCanvas::ZoomAnchor ArrangeCanvas::zoomAnchor() const
{
    const QWidget *port = ScrollArea->viewport();
    const QPoint middle = port->rect().center();
    const TArrangement &r = Doc.records();
    const QPoint offset = ViewBox->pos(); // the view within the viewport, scrolled
    if (Doc.hasSelection() && r.Placements.at(r.SelectedPlacement).Page == Doc.currentPage()) {
        const Placement &p = r.Placements.at(r.SelectedPlacement);
        return {p.Left + p.Width / 2, p.Top + p.Height / 2, middle};
    }
    const QPoint mouse = port->mapFromGlobal(QCursor::pos());
    const QPoint at = port->rect().contains(mouse) ? mouse : middle;
    return {FromView(at.x() - offset.x()), FromView(at.y() - offset.y()), at};
}

void ArrangeCanvas::keepInView(const ZoomAnchor &anchor)
{
    syncArrangeViewSize();
    QScrollBar *h = ScrollArea->horizontalScrollBar();
    QScrollBar *v = ScrollArea->verticalScrollBar();
    // The scroll range follows the new size only once the area has laid it out.
    h->setRange(0, std::max(0, ViewBox->width() - ScrollArea->viewport()->width()));
    v->setRange(0, std::max(0, ViewBox->height() - ScrollArea->viewport()->height()));
    h->setValue(ToView(anchor.X) - anchor.At.x());
    v->setValue(ToView(anchor.Y) - anchor.At.y());
}

int ArrangeCanvas::ZoomToFit() const
{
    const PageGeometry g = paper();
    const QSize full = Geometry::ViewSize(g.PageWidth, g.PageHeight, g.PrinterDpiX, g.ScreenDpi, 100);
    const QSize room = ScrollArea->maximumViewportSize();
    if (full.width() <= 0 || full.height() <= 0 || room.isEmpty())
        return Doc.options().Zoom;
    const double scale = std::min(double(room.width()) / full.width(), double(room.height()) / full.height());
    return std::clamp(int(scale * 100), OptionRange::ZoomMin, OptionRange::ZoomMax);
}
