#include "platform/ImageButton.h"

#include <QMouseEvent>

TImageButton::TImageButton(const QPixmap &pixmap, QWidget *parent)
    : QLabel(parent)
{
    setPixmap(pixmap);
    setFixedSize(pixmap.size() / pixmap.devicePixelRatio());
    setCursor(Qt::PointingHandCursor);
}

void TImageButton::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown)
        onMouseDown(event);
}

void TImageButton::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove)
        onMouseMove(event);
}

void TImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (onMouseUp)
        onMouseUp(event);
}

namespace {
bool onImage(const TImageButton *button, const QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    return InsideImage(p.x(), p.y(), button->width(), button->height());
}
} // namespace

void TImageButton::setPressedLook(TImageButton *twin)
{
    PressedLook = twin;
    twin->setAttribute(Qt::WA_TransparentForMouseEvents);
    twin->hide();
}

void TImageButton::press()
{
    Pressed = true;
    if (PressedLook) {
        PressedLook->show();
        PressedLook->raise();
    }
}

void TImageButton::track(const QMouseEvent *event)
{
    if (Pressed && PressedLook) {
        PressedLook->setVisible(onImage(this, event));
        PressedLook->raise();
    }
}

bool TImageButton::release(const QMouseEvent *event)
{
    const bool wasPressed = Pressed;
    unpress();
    return wasPressed && onImage(this, event);
}

void TImageButton::unpress()
{
    Pressed = false;
    if (PressedLook)
        PressedLook->hide();
}
