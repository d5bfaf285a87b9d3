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

    // The pressed-look twin at the same place, hidden but while pressed, and
    // letting the mouse through to this image.
    TImageButton *PressedLook = nullptr;
    bool Pressed = false; // between mouse-down and mouse-up on the image
    void setPressedLook(TImageButton *twin);
    // Mouse down: the twin shows.
    void press();
    // While pressed, the twin shows as long as the mouse is on the image.
    void track(const QMouseEvent *event);
    // Mouse up: the normal look again; true when released on the image (a click).
    bool release(const QMouseEvent *event);
    // The normal look without a click (a command run by key).
    void unpress();

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
