#pragma once
// A paint box: a plain widget whose paint, mouse and drag events are handed to
// handlers of the window that owns it. Painting happens only inside its paint
// event; "paint at once" is repaint().
#include <QWidget>

#include <functional>

class QPainter;

class TPaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit TPaintBox(QWidget *parent = nullptr);

    std::function<void(QPaintEvent *)> onPaint;
    std::function<void(QMouseEvent *)> onMouseDown;
    std::function<void(QMouseEvent *)> onMouseMove;
    std::function<void(QMouseEvent *)> onMouseUp;
    std::function<void(QMouseEvent *)> onDblClick;
    std::function<void(QDragEnterEvent *)> onDragEnter;
    std::function<void(QDragMoveEvent *)> onDragOver;
    std::function<void(QDropEvent *)> onDragDrop;
    std::function<void(QResizeEvent *)> onResize;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

class QScrollArea;
// A scroll area holding `content` at its own size, top-left, on a grey
// workspace (the page views' and the preview's).
QScrollArea *WorkspaceScrollArea(QWidget *content, QWidget *parent);
