#pragma once
// The picture viewer: one picture large at a chosen zoom in a scroll area the
// user pans by dragging; it prints the picture alone or opens its file in the
// desktop's program for it. Each picture opens fitted to the window; key 1
// shows it at 100 %, key 0 fitted again.
#include "picture/Dib.h"

#include <QDialog>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

class QLabel;
class QMouseEvent;
class QPaintEvent;
class QPushButton;
class QScrollArea;
class QSpinBox;
class TPaintBox;
class TPrinter;

// The shown size of a picture at a zoom in per cent: each side truncated,
// limited to what a widget can be.
[[nodiscard]] QSize ViewerDisplaySize(QSize picture, double zoom);

// The zoom in per cent at which a picture fits a box whole: at most 100 (a
// small picture is not enlarged), at least the edit's 5.
[[nodiscard]] int ViewerFitZoom(QSize picture, QSize box);

// A scroll position after dragging from `remembered` to `pointer` (both in the
// scrolled content's coordinates), limited to 0..maximum.
[[nodiscard]] int PanScrollPosition(int position, int remembered, int pointer, int maximum);

class PictureViewer : public QDialog
{
    Q_OBJECT
public:
    explicit PictureViewer(QWidget *parent = nullptr);

    DIB Dib; // a copy of the caller's record, sharing its pixels, while shown
    QString FileName;
    bool Dragging = false;
    QPoint DownPos; // pointer at mouse down, paint box coordinates
    std::function<void(const QString &)> ShowStatus; // the main window's status bar
    TPrinter *Printer = nullptr; // the window's, for "Print"

    QLabel *ZoomLabel = nullptr; // "Zoom:"
    QSpinBox *ZoomEd = nullptr;  // per cent
    QPushButton *BackBtn = nullptr;
    QPushButton *PrintBtn = nullptr;
    QPushButton *OpenBtn = nullptr;
    QScrollArea *ScrollArea = nullptr;
    TPaintBox *PictureBox = nullptr;

    // Shows the picture modally and returns the dialog's result. The viewer
    // lets go of the picture when it closes.
    int showPicture(const DIB &dib, const QString &fileName);

    void picturePaint(QPaintEvent *event);
    void zoomChanged();
    void mousePress(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void scrollDown();
    void scrollUp();
    void openFile();
    void printPicture();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The zoom that fits the picture to the scroll area.
    [[nodiscard]] int fitZoom() const;
    // Resizes the paint box to the display size; false when it had to.
    bool syncPaintBoxSize();
    int WheelRest = 0; // wheel angle not yet turned into a step, 1/8 degree
};
