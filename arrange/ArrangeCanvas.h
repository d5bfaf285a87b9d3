#pragma once
// The arrange view as a working part: the current page at the zoom in its
// scroll area, selecting, moving and resizing placements with the mouse and
// the keys, and taking pictures dropped from the strip or a file manager. It
// changes the document through its operations and repaints on its changes.
#include "document/ArrangementDocument.h"
#include "document/Placement.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>

class QKeyEvent;
class QMimeData;
class QPaintEvent;
class QScrollArea;
class QWidget;
class SoftProofView;
class TDC;
class TKeyGate;
class TPaintBox;
class TPrinter;
struct ViewFrame;

class ArrangeCanvas : public QObject
{
    Q_OBJECT
public:
    // The page follows the printer's paper; pictures are shown through the soft proof.
    ArrangeCanvas(ArrangementDocument &doc, TPrinter &printer, SoftProofView &proof, QWidget *parent);

    ArrangementDocument &Doc;
    TPrinter &Printer;
    SoftProofView &Proof;
    QScrollArea *ScrollArea = nullptr;
    TPaintBox *ViewBox = nullptr;
    // The picture strip's paint box: only its drags place pictures.
    const QObject *StripSource = nullptr;
    // Decides whether a key arrived for the window; unset: every key does.
    TKeyGate *Keys = nullptr;
    // The screen's horizontal resolution; unset: the view's own.
    std::function<int()> ScreenDpiSource;

    std::int32_t DragMode = 0; // 0 none, 1..8 handles, 9 move
    std::int32_t Dragging = 0; // 1 while the selected placement is dragged
    std::int32_t GrabDX = 0;   // view pixels between the press and the grabbed edge
    std::int32_t GrabDY = 0;
    std::optional<Placement> DragOrigin; // the dragged placement as the drag found it; drawn there until release
    QPoint PressAt; // where the drag's press was, view pixels
    bool Moved = false; // the pointer went further than a click's jitter since
    int ArrangeCursor = 0; // screen cursor index shown over the view, 0 = none yet
    // Crop mode: the selected placement's picture moves inside its frame under
    // a plain drag and zooms under the wheel. A Ctrl+drag does the same once.
    bool Cropping = false;
    bool ViewDragging = false; // the picture is being moved inside its frame
    QPoint ViewGrab;           // the press that began it, view pixels
    FrameView ViewOrigin;      // the view as shown when it began

    // Geometry at the current zoom: read afresh from the printer and the screen.
    [[nodiscard]] int ScreenDpi() const;
    [[nodiscard]] PageGeometry paper() const;
    [[nodiscard]] QSize ArrangeViewSize() const;
    [[nodiscard]] int ToView(double inch) const;
    [[nodiscard]] double FromView(int pixels) const;
    [[nodiscard]] double SnapToGrid(double inch) const;

    void viewPaint(QPaintEvent *event);
    void scrollAreaResized();
    // Resizes the view when its computed size differs; false means it was
    // resized and this paint ends.
    bool syncArrangeViewSize();
    // Draws the current page (white paper, grid, placements, selection marks)
    // within `clip`, view pixels.
    void paintArrangeView(TDC &dc, const QRect &clip);
    void repaintArrangeView();

    bool acceptsDrag(const QObject *source, const QMimeData *mime) const;
    void dropPicture(const QObject *source, const QMimeData *mime, int X, int Y);
    // Files from a file manager: an arrangement is handed on, pictures are added
    // and placed in a fan from (X, Y), view pixels.
    void dropFiles(const QMimeData *mime, int X, int Y);
    void mousePress(Qt::MouseButton button, int X, int Y, Qt::KeyboardModifiers modifiers = {});
    void mouseMove(int X, int Y, Qt::KeyboardModifiers modifiers = {});
    void mouseRelease(int X, int Y);
    // A double click on the selected frame enters crop mode, another leaves it.
    void doubleClick(int X, int Y);
    // In crop mode, a wheel turn over the selected frame zooms its picture
    // about the mouse (angle in eighths of a degree). True when used.
    bool wheelTurn(int X, int Y, int angleDelta);
    void setCropping(bool on);
    // Whether the wheel over the view is the view's own (crop mode).
    [[nodiscard]] bool takesWheel() const { return Cropping; }
    void chooseDragMode(int X, int Y);
    void dragSelection(int X, int Y);
    void setArrangeCursor(int index);
    // True when the view used the key.
    bool keyPress(QKeyEvent *event);
    // Moves the selection by steps of the grid, or of one view pixel with the grid off.
    void nudgeSelection(int dx, int dy);
    // The largest zoom at which the whole page fits the scroll area.
    [[nodiscard]] int ZoomToFit() const;
    // A point of the page (inches) and where the viewport shows it (pixels).
    struct ZoomAnchor {
        double X = 0;
        double Y = 0;
        QPoint At;
    };
    // What a zoom keeps in view: the selection on this page (its centre, in
    // the middle), else the point under the mouse where it is, else the middle.
    [[nodiscard]] ZoomAnchor zoomAnchor() const;
    // After a zoom: scrolls so the anchor's page point shows where it was.
    void keepInView(const ZoomAnchor &anchor);

signals:
    void statusText(const QString &text);
    void contextMenuRequested(QPoint global);
    void qualityFailed(const QualityFailures &failures);
    void loadFailed(const QStringList &paths, const QStringList &reasons);
    void arrangementDropped(const QString &path);

private:
    void connectView();
    void docChanged(ArrangementDocument::Changes what);
    // Whether (X, Y) lies inside the selected placement's frame on this page.
    [[nodiscard]] bool inSelectedFrame(int X, int Y) const;
    void beginViewDrag(int X, int Y);
    void viewDragTo(int X, int Y);
    void endViewDrag();
    void showCropHint();
    int CroppedPlacement = -1; // the placement crop mode was entered on
};
