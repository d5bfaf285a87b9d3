// The picture viewer.
#include "output/PictureViewer.h"

#include "output/SinglePrintDialog.h"
#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

QSize ViewerDisplaySize(QSize picture, double zoom)
{
    const auto side = [zoom](int pixels) {
        const double v = std::trunc(double(pixels) * zoom / 100.0);
        return int(std::clamp(v, 0.0, double(QWIDGETSIZE_MAX)));
    };
    return QSize(side(picture.width()), side(picture.height()));
}

int ViewerFitZoom(QSize picture, QSize box)
{
    if (picture.isEmpty() || box.isEmpty())
        return 100;
    const double scale = std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    return std::clamp(int(std::floor(scale * 100)), 5, 100);
}

int PanScrollPosition(int position, int remembered, int pointer, int maximum)
{
    const long long v = (long long)position + remembered - pointer;
    return int(std::clamp<long long>(v, 0, std::max(maximum, 0)));
}

PictureViewer::PictureViewer(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("View picture..."));

    ZoomLabel = new QLabel(tr("Zoom:"), this);
    ZoomEd = new QSpinBox(this);
    ZoomEd->setRange(5, 9000);
    ZoomEd->setSingleStep(10);
    ZoomEd->setValue(100);
    ZoomEd->setSuffix(QStringLiteral(" %"));
    ZoomLabel->setBuddy(ZoomEd);
    BackBtn = new QPushButton(tr("Back.."), this);
    PrintBtn = new QPushButton(tr("&Print"), this);
    OpenBtn = new QPushButton(tr("Open..."), this);
    BackBtn->setDefault(true);
    PrintBtn->setAutoDefault(false);
    OpenBtn->setAutoDefault(false);

    PictureBox = new TPaintBox;
    PictureBox->setCursor(Qt::OpenHandCursor);
    PictureBox->setAttribute(Qt::WA_OpaquePaintEvent);
    ScrollArea = new QScrollArea(this);
    ScrollArea->setWidget(PictureBox);
    ScrollArea->setWidgetResizable(false);
    ScrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The workspace grey behind the picture, as behind the main window's pages.
    QPalette pal = ScrollArea->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    ScrollArea->setPalette(pal);
    ScrollArea->setBackgroundRole(QPalette::Window);

    auto *bar = new QHBoxLayout;
    bar->addWidget(ZoomLabel);
    bar->addWidget(ZoomEd);
    bar->addStretch(1);
    bar->addWidget(PrintBtn);
    bar->addWidget(OpenBtn);
    bar->addWidget(BackBtn);
    auto *column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(ScrollArea, 1);
    resize(900, 700);

    PictureBox->onPaint = [this](QPaintEvent *e) { picturePaint(e); };
    PictureBox->onMouseDown = [this](QMouseEvent *e) { mousePress(e); };
    PictureBox->onMouseMove = [this](QMouseEvent *e) { mouseMove(e); };
    PictureBox->onMouseUp = [this](QMouseEvent *e) { mouseRelease(e); };
    connect(ZoomEd, &QSpinBox::valueChanged, this, &PictureViewer::zoomChanged);
    connect(BackBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(PrintBtn, &QPushButton::clicked, this, &PictureViewer::printPicture);
    connect(OpenBtn, &QPushButton::clicked, this, &PictureViewer::openFile);
    // The wheel scrolls the picture wherever the pointer is in the viewer.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    installEventFilter(this);
}

int PictureViewer::showPicture(const DIB &dib, const QString &fileName)
{
    Dib = dib;
    FileName = fileName;
    Dragging = false;
    {
        const QSignalBlocker quiet(ZoomEd);
        ZoomEd->setValue(fitZoom());
    }
    ScrollArea->setFocus(); // the zoom keys work at once
    syncPaintBoxSize();
    PictureBox->update();
    const int result = Dialogs::execDialog(this);
    // The record is the caller's: drop the copy without releasing anything,
    // so the pixels are not kept alive by a closed viewer.
    Dib = DIB();
    return result;
}

int PictureViewer::fitZoom() const
{
    if (!Dib.Bits)
        return 100;
    if (QLayout *l = layout())
        l->activate(); // the area's size before the first show
    return ViewerFitZoom(QSize(DibWidth(Dib), DibHeight(Dib)), ScrollArea->maximumViewportSize());
}

bool PictureViewer::syncPaintBoxSize()
{
    const QSize size = Dib.Bits ? ViewerDisplaySize(QSize(DibWidth(Dib), DibHeight(Dib)), ZoomEd->value())
                                : QSize(0, 0);
    if (PictureBox->size() == size)
        return true;
    PictureBox->resize(size); // brings a new paint
    return false;
}

void PictureViewer::picturePaint(QPaintEvent *)
{
    if (!syncPaintBoxSize() || !Dib.Bits)
        return;
    TDC dc(PictureBox);
    DrawDib(dc, 0, 0, PictureBox->width(), PictureBox->height(), Dib, 0, 0, DibWidth(Dib), DibHeight(Dib), true,
            SRCCOPY, false, HPALETTE());
}

void PictureViewer::zoomChanged()
{
    // A paint box of size 0 gets no paint event, so the size cannot wait for one.
    syncPaintBoxSize();
    PictureBox->repaint();
}

void PictureViewer::mousePress(QMouseEvent *event)
{
    Dragging = true;
    DownPos = event->position().toPoint();
}

void PictureViewer::mouseMove(QMouseEvent *event)
{
    if (!Dragging)
        return;
    const QPoint p = event->position().toPoint();
    QScrollBar *h = ScrollArea->horizontalScrollBar();
    QScrollBar *v = ScrollArea->verticalScrollBar();
    const int x = PanScrollPosition(h->value(), DownPos.x(), p.x(), h->maximum());
    const int y = PanScrollPosition(v->value(), DownPos.y(), p.y(), v->maximum());
    h->setValue(x);
    v->setValue(y);
}

void PictureViewer::mouseRelease(QMouseEvent *) { Dragging = false; }

void PictureViewer::scrollDown()
{
    QScrollBar *v = ScrollArea->verticalScrollBar();
    v->setValue(v->value() + 20);
}

void PictureViewer::scrollUp()
{
    QScrollBar *v = ScrollArea->verticalScrollBar();
    v->setValue(v->value() - 20);
}

bool PictureViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != ZoomEd && !ZoomEd->isAncestorOf(qobject_cast<QWidget *>(watched))) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_1 || key == Qt::Key_0) {
            ZoomEd->setValue(key == Qt::Key_1 ? 100 : fitZoom());
            return true;
        }
    }
    if (event->type() != QEvent::Wheel)
        return QDialog::eventFilter(watched, event);
    // One step per notch (120 units); touch pads send smaller angles that add up.
    WheelRest += static_cast<QWheelEvent *>(event)->angleDelta().y();
    for (; WheelRest >= 120; WheelRest -= 120)
        scrollUp();
    for (; WheelRest <= -120; WheelRest += 120)
        scrollDown();
    return true;
}

void PictureViewer::openFile()
{
    // The desktop reports a file type without a program itself.
    QDesktopServices::openUrl(QUrl::fromLocalFile(FileName));
}

void PictureViewer::printPicture()
{
    if (Dib.Bits && Printer)
        PrintSinglePicture(this, *Printer, Dib, tr("Quillsheet-Picture"), ShowStatus);
}
