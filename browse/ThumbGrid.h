#pragma once
// The "Picture browser" page: the thumbnails of the tree's folder in a grid
// that fills as the walk appends them, a selection moved by mouse and arrow
// keys, and a double click or Enter that picks a picture.
#include "browse/CacheFile.h"

#include <QWidget>

class QKeyEvent;
class QLineEdit;
class QMouseEvent;
class QPaintEvent;
class QScrollArea;
class TPaintBox;
class ThumbnailBrowser;

class ThumbGrid : public QWidget
{
    Q_OBJECT
public:
    explicit ThumbGrid(QWidget *parent = nullptr);
    ~ThumbGrid() override;

    QScrollArea *ScrollArea = nullptr;
    TPaintBox *GridBox = nullptr; // thumbnail grid
    QLineEdit *KeyEdit = nullptr;   // holds the keyboard focus for the grid
    ThumbnailBrowser *Browser = nullptr;
    std::int32_t Selection = 1; // 1-based; beyond the count: nothing selected
    std::int32_t PaintFrom = 0; // non-zero: paint only cells from this index

    [[nodiscard]] const ThumbList &Thumbs() const;
    void gridPaint(QPaintEvent *event);
    void mousePress(QMouseEvent *event);
    void choosePicture();
    void keyPress(QKeyEvent *event);
    void ScrollImageInView();
    void scrollAreaResized();
    // Sizes the grid to the scroll box; false when it was resized.
    bool syncThumbGridSize();
    void ShowThumbStatus();
    // Paints thumbnail `index`, just appended by the walk.
    void NewFile(int index);
    void ThreadDone();
    void StartBrowsing();
    void browseAfresh();
    // Asks a running walk to stop; restart: begin the selected folder's walk then.
    void StopBrowsing(bool restart);
    // Stops the walk without waiting, for the window's end.
    void EndBrowsing();
    void EmptyThumbs();

signals:
    // Double click or Enter on the selected thumbnail: its file name.
    void pictureChosen(const QString &name);
    void statusText(const QString &text);
    void progress(int percent);

private:
    void connectBrowser();
};
