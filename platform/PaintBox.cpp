#include "platform/PaintBox.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollArea>

TPaintBox::TPaintBox(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void TPaintBox::paintEvent(QPaintEvent *event)
{
    if (onPaint)
        onPaint(event);
}

void TPaintBox::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown)
        onMouseDown(event);
}

void TPaintBox::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove)
        onMouseMove(event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (onMouseUp)
        onMouseUp(event);
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (onDblClick)
        onDblClick(event);
    else
        QWidget::mouseDoubleClickEvent(event);
}

void TPaintBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (onDragEnter)
        onDragEnter(event);
    else
        event->ignore();
}

void TPaintBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (onDragOver)
        onDragOver(event);
    else
        event->ignore();
}

void TPaintBox::dropEvent(QDropEvent *event)
{
    if (onDragDrop)
        onDragDrop(event);
}

void TPaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (onResize)
        onResize(event);
}

QScrollArea *WorkspaceScrollArea(QWidget *content, QWidget *parent)
{
    auto *box = new QScrollArea(parent);
    box->setWidget(content);
    box->setWidgetResizable(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Grey behind the page, as on a workspace.
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    box->setPalette(pal);
    box->setBackgroundRole(QPalette::Window);
    box->setAutoFillBackground(true);
    return box;
}
