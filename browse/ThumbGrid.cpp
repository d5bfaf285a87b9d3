#include "browse/ThumbGrid.h"

#include "browse/ThumbBrowser.h"
#include "browse/ThumbnailBrowser.h"
#include "platform/DeviceContext.h"
#include "platform/EventHook.h"
#include "platform/PaintBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

ThumbGrid::ThumbGrid(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PictureBrowser"));
    GridBox = new TPaintBox;
    GridBox->setFocusPolicy(Qt::NoFocus);
    ScrollArea = new QScrollArea(this);
    ScrollArea->setWidget(GridBox);
    ScrollArea->setWidgetResizable(false);
    ScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Shown from the start, so the grid keeps its columns while a walk fills
    // it instead of being laid out and drawn anew when the bar appears.
    ScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    KeyEdit = new QLineEdit(this);
    KeyEdit->setReadOnly(true);
    KeyEdit->setFixedSize(1, 1); // only holds the keyboard focus for the browser
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(0);
    column->addWidget(ScrollArea, 1);
    column->addWidget(KeyEdit);
    connectBrowser();
}

ThumbGrid::~ThumbGrid() { EndBrowsing(); } // no walk step may reach a destroyed grid

void ThumbGrid::connectBrowser()
{
    Browser = new ThumbnailBrowser(this);
    connect(Browser, &ThumbnailBrowser::ThumbnailAdded, this, &ThumbGrid::NewFile);
    connect(Browser, &ThumbnailBrowser::ThumbsEmptied, GridBox, qOverload<>(&QWidget::update));
    connect(Browser, &ThumbnailBrowser::Progress, this, &ThumbGrid::progress);
    connect(Browser, &ThumbnailBrowser::WalkEnded, this, &ThumbGrid::ThreadDone);
    // The grid fills its own background and keeps its contents when it grows,
    // so a new cell or row repaints only itself, not the page behind it.
    GridBox->setAutoFillBackground(true);
    GridBox->setAttribute(Qt::WA_StaticContents);
    GridBox->onPaint = [this](QPaintEvent *e) { gridPaint(e); };
    GridBox->onMouseDown = [this](QMouseEvent *e) { mousePress(e); };
    GridBox->onDblClick = [this](QMouseEvent *) { choosePicture(); };
    GridBox->onMouseMove = [this](QMouseEvent *) { ShowThumbStatus(); };
    // The client area, which also narrows when the scroll bar appears.
    WatchResize(ScrollArea->viewport(), [this] { scrollAreaResized(); });
    ScrollArea->viewport()->setMouseTracking(true);
    new TEventHook(ScrollArea->viewport(), [this](QEvent *e) {
        if (e->type() == QEvent::MouseButtonPress)
            KeyEdit->setFocus();
        else if (e->type() == QEvent::MouseMove)
            ShowThumbStatus();
        return false;
    });
    // Every key stops at KeyEdit, so none reaches the window's own key handler.
    new TEventHook(KeyEdit, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        keyPress(static_cast<QKeyEvent *>(e));
        return true;
    });
}

const ThumbList &ThumbGrid::Thumbs() const { return Browser->Thumbs(); }

bool ThumbGrid::syncThumbGridSize()
{
    const int width = ScrollArea->viewport()->width();
    const QSize size(width, ThumbGridHeight(Thumbs().count(), ThumbColumns(width)));
    if (GridBox->size() == size)
        return true;
    // A new width may move every cell (the scroll bar came or went); a new
    // height alone only uncovers or cuts off rows, which keeps the rest.
    const bool reflow = GridBox->width() != width;
    GridBox->resize(size); // brings the next paint
    if (reflow)
        GridBox->update();
    return false;
}

void ThumbGrid::scrollAreaResized()
{
    // An empty grid of no size gets no paint event, so its size cannot wait for one.
    syncThumbGridSize();
    GridBox->update();
}

void ThumbGrid::gridPaint(QPaintEvent *event)
{
    if (!syncThumbGridSize())
        return;
    const int columns = ThumbColumns(GridBox->width());
    const QRect clip = event ? event->rect() : GridBox->rect();
    // Painting one new cell may also flush a pending whole-grid repaint (the
    // grid grew a row): the cells before it are then drawn too.
    const int from = ThumbPaintFrom(PaintFrom, columns, clip);
    TDC dc(GridBox);
    dc.SetFont(GridBox->font(), 0);
    PaintThumbGrid(dc, Thumbs(), Selection, from, columns, clip);
    ShowThumbStatus();
}

void ThumbGrid::ShowThumbStatus() { emit statusText(ThumbStatusText(Thumbs(), Selection)); }

void ThumbGrid::mousePress(QMouseEvent *event)
{
    KeyEdit->setFocus();
    const int i = ThumbHitTest(event->position().toPoint(), Thumbs().count(), ThumbColumns(GridBox->width()));
    if (i == 0)
        return;
    Selection = i;
    ScrollImageInView();
    GridBox->repaint();
}

void ThumbGrid::choosePicture()
{
    if (Selection >= 1 && Selection <= Thumbs().count())
        emit pictureChosen(Thumbs().at(Selection - 1).Name);
}

void ThumbGrid::keyPress(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        choosePicture();
        return;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right)
        return;
    Selection = ThumbKeyMove(key, Selection, Thumbs().count(), ThumbColumns(GridBox->width()));
    ScrollImageInView();
    GridBox->repaint();
}

void ThumbGrid::ScrollImageInView()
{
    QScrollBar *bar = ScrollArea->verticalScrollBar();
    bar->setValue(ThumbScrollPosition(Selection, ThumbColumns(GridBox->width()), bar->value(),
                                      ScrollArea->viewport()->height()));
}

// ---------------------------------------------------------------------------
// The walk

void ThumbGrid::StartBrowsing() { Browser->StartBrowsing(); }

void ThumbGrid::browseAfresh()
{
    EmptyThumbs();
    if (Browser->Running())
        StopBrowsing(true);
    else
        StartBrowsing();
}

void ThumbGrid::StopBrowsing(bool restart) { Browser->StopBrowsing(restart); }
void ThumbGrid::EndBrowsing() { Browser->EndBrowsing(); }
void ThumbGrid::EmptyThumbs() { Browser->EmptyThumbs(); }
void ThumbGrid::ThreadDone() { ShowThumbStatus(); }

void ThumbGrid::NewFile(int index)
{
    syncThumbGridSize();
    // Only the new cell is drawn. The paint waits for the event loop, so the
    // cells appended in one pass of it are drawn together.
    const QPoint o = ThumbCellOrigin(index, ThumbColumns(GridBox->width()));
    GridBox->update(QRect(o, QSize(ThumbCellWidth, ThumbCellHeight)));
}
