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
