#include "arrange/PictureStrip.h"

#include "arrange/ArrangeView.h"
#include "arrange/Editing.h"
#include "document/ArrangementDocument.h"
#include "platform/DeviceContext.h"
#include "platform/EventHook.h"
#include "platform/PaintBox.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

PictureStrip::PictureStrip(ArrangementDocument &doc, QWidget *parent)
    : QObject(parent)
    , Doc(doc)
{
    PaintBox1 = new TPaintBox;
    ScrollBox1 = WorkspaceScrollArea(PaintBox1, parent);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setFixedWidth(130);
    ScrollBox1->verticalScrollBar()->setSingleStep(150);

    PaintBox1->onPaint = [this](QPaintEvent *e) { PaintBox1Paint(e); };
    PaintBox1->onMouseDown = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        PaintBox1MouseDown(at.x(), at.y());
    };
    PaintBox1->onDblClick = [this](QMouseEvent *) { emit doubleClicked(); };
    WatchResize(ScrollBox1, [this] { ScrollBox1Resize(); });
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        using C = ArrangementDocument::Change;
        if (what & (C::Collection | C::Pictures | C::Selection))
            repaintStrip();
    });
}

void PictureStrip::repaintStrip() { PaintBox1->repaint(); }

bool PictureStrip::syncStripSize()
{
    const int W = ScrollBox1->viewport()->width();
    if (PaintBox1->width() != W) {
        PaintBox1->resize(W, PaintBox1->height());
        return false;
    }
    // Cells are as wide as the strip, so it ends right after the last one.
    const int h = StripHeight(W, Doc.records().PictureCount());
    if (PaintBox1->height() != h) {
        PaintBox1->resize(W, h);
        return false;
    }
    return true;
}

void PictureStrip::ScrollBox1Resize()
{
    // The strip follows the area's width; an empty strip gets no paint event.
    syncStripSize();
    syncStripSize();
    repaintStrip();
}

void PictureStrip::paintStrip(TDC &dc, int visibleTop, int visibleHeight)
{
    PaintPictureStrip(dc, Doc.records(), PaintBox1->width(), visibleTop, visibleHeight);
}

void PictureStrip::PaintBox1Paint(QPaintEvent *)
{
    if (!syncStripSize())
        return;
    TDC dc(PaintBox1);
    paintStrip(dc, ScrollBox1->verticalScrollBar()->value(), ScrollBox1->viewport()->height());
}

void PictureStrip::PaintBox1MouseDown(int /*X*/, int Y)
{
    const int index = StripIndexAt(Y, PaintBox1->width(), Doc.records().PictureCount());
    if (index < 0)
        return;
    Doc.selectPicture(index);
    // The drag starts at the press, without a movement threshold.
    auto *drag = new QDrag(PaintBox1);
    auto *mime = new QMimeData;
    mime->setData(StripMimeType(), QByteArray::number(index));
    drag->setMimeData(mime);
    if (ExecStripDrag) {
        ExecStripDrag(drag);
        drag->deleteLater();
    } else {
        drag->exec(Qt::CopyAction); // Qt disposes of the drag
    }
}
