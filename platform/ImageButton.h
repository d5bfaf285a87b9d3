#pragma once
// An image button: a picture with a pressed-look twin at the same place. The
// window's handlers get mouse down, move and up with local coordinates.
#include <QLabel>

#include <functional>

class TImageButton : public QLabel
{
    Q_OBJECT
public:
    explicit TImageButton(const QPixmap &pixmap, QWidget *parent = nullptr);

    std::function<void(QMouseEvent *)> onMouseDown;
    std::function<void(QMouseEvent *)> onMouseMove;
    std::function<void(QMouseEvent *)> onMouseUp;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// True when a point in the image's own coordinates lies on it.
[[nodiscard]] inline bool InsideImage(int x, int y, int width, int height)
{
    return x >= 0 && y >= 0 && x < width && y < height;
}
