// The picture viewer.
#include "output/ViewPicFUnit.h"

#include "output/PrintFUnit.h"
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

TViewPicForm::TViewPicForm(QWidget *parent)
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
    ReadyBtn = new QPushButton(tr("Back.."), this);
    PrintBrn = new QPushButton(tr("&Print"), this);
    OpenBtn = new QPushButton(tr("Open..."), this);
    ReadyBtn->setDefault(true);
    PrintBrn->setAutoDefault(false);
    OpenBtn->setAutoDefault(false);

    PaintBox1 = new TPaintBox;
    PaintBox1->setCursor(Qt::OpenHandCursor);
    PaintBox1->setAttribute(Qt::WA_OpaquePaintEvent);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The workspace grey behind the picture, as behind the main window's pages.
    QPalette pal = ScrollBox1->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    ScrollBox1->setPalette(pal);
    ScrollBox1->setBackgroundRole(QPalette::Window);

    auto *bar = new QHBoxLayout;
    bar->addWidget(ZoomLabel);
    bar->addWidget(ZoomEd);
    bar->addStretch(1);
    bar->addWidget(PrintBrn);
    bar->addWidget(OpenBtn);
    bar->addWidget(ReadyBtn);
    auto *column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(ScrollBox1, 1);
    resize(900, 700);

    PaintBox1->onPaint = [this](QPaintEvent *e) { PaintBox1Paint(e); };
    PaintBox1->onMouseDown = [this](QMouseEvent *e) { PaintBox1MouseDown(e); };
    PaintBox1->onMouseMove = [this](QMouseEvent *e) { PaintBox1MouseMove(e); };
    PaintBox1->onMouseUp = [this](QMouseEvent *e) { PaintBox1MouseUp(e); };
    connect(ZoomEd, &QSpinBox::valueChanged, this, &TViewPicForm::ZoomEdChange);
    connect(ReadyBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(PrintBrn, &QPushButton::clicked, this, &TViewPicForm::PrintBrnClick);
    connect(OpenBtn, &QPushButton::clicked, this, &TViewPicForm::OpenBtnClick);
    // The wheel scrolls the picture wherever the pointer is in the viewer.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    installEventFilter(this);
}

int TViewPicForm::ShowPicture(const DIB &dib, const QString &fileName)
{
    Dib = dib;
    FileName = fileName;
    Dragging = false;
    {
        const QSignalBlocker quiet(ZoomEd);
        ZoomEd->setValue(fitZoom());
    }
    ScrollBox1->setFocus(); // the zoom keys work at once
    syncPaintBoxSize();
    PaintBox1->update();
    const int result = Dialogs::execDialog(this);
    // The record is the caller's: drop the copy without releasing anything,
    // so the pixels are not kept alive by a closed viewer.
    Dib = DIB();
    return result;
}

int TViewPicForm::fitZoom() const
{
    if (!Dib.Bits)
        return 100;
    if (QLayout *l = layout())
        l->activate(); // the area's size before the first show
    return ViewerFitZoom(QSize(DibWidth(Dib), DibHeight(Dib)), ScrollBox1->maximumViewportSize());
}

bool TViewPicForm::syncPaintBoxSize()
{
    const QSize size = Dib.Bits ? ViewerDisplaySize(QSize(DibWidth(Dib), DibHeight(Dib)), ZoomEd->value())
                                : QSize(0, 0);
    if (PaintBox1->size() == size)
        return true;
    PaintBox1->resize(size); // brings a new paint
    return false;
}

void TViewPicForm::PaintBox1Paint(QPaintEvent *)
{
    if (!syncPaintBoxSize() || !Dib.Bits)
        return;
    TDC dc(PaintBox1);
    DrawDib(dc, 0, 0, PaintBox1->width(), PaintBox1->height(), Dib, 0, 0, DibWidth(Dib), DibHeight(Dib), true,
            SRCCOPY, false, HPALETTE());
}

void TViewPicForm::ZoomEdChange()
{
    // A paint box of size 0 gets no paint event, so the size cannot wait for one.
    syncPaintBoxSize();
    PaintBox1->repaint();
}

void TViewPicForm::PaintBox1MouseDown(QMouseEvent *event)
{
    Dragging = true;
    DownPos = event->position().toPoint();
}

void TViewPicForm::PaintBox1MouseMove(QMouseEvent *event)
{
    if (!Dragging)
        return;
    const QPoint p = event->position().toPoint();
    QScrollBar *h = ScrollBox1->horizontalScrollBar();
    QScrollBar *v = ScrollBox1->verticalScrollBar();
    const int x = PanScrollPosition(h->value(), DownPos.x(), p.x(), h->maximum());
    const int y = PanScrollPosition(v->value(), DownPos.y(), p.y(), v->maximum());
    h->setValue(x);
    v->setValue(y);
}

void TViewPicForm::PaintBox1MouseUp(QMouseEvent *) { Dragging = false; }

void TViewPicForm::FormMouseWheelDown()
{
    QScrollBar *v = ScrollBox1->verticalScrollBar();
    v->setValue(v->value() + 20);
}

void TViewPicForm::FormMouseWheelUp()
{
    QScrollBar *v = ScrollBox1->verticalScrollBar();
    v->setValue(v->value() - 20);
}

bool TViewPicForm::eventFilter(QObject *watched, QEvent *event)
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
        FormMouseWheelUp();
    for (; WheelRest <= -120; WheelRest += 120)
        FormMouseWheelDown();
    return true;
}

void TViewPicForm::OpenBtnClick()
{
    // The desktop reports a file type without a program itself.
    QDesktopServices::openUrl(QUrl::fromLocalFile(FileName));
}

void TViewPicForm::PrintBrnClick()
{
    if (Dib.Bits && Printer)
        PrintSinglePicture(this, *Printer, Dib, tr("Quillsheet-Picture"), ShowStatus);
}
