#pragma once
// The brightness, contrast and saturation dialog. It works in place on WorkDib,
// which shares its pixels and colour table with the picture entry, and starts
// every preview again from the backup OldDib.
#include "picture/Dib.h"
#include "picture/Tonal.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QSlider;

class THKForm : public QDialog
{
    Q_OBJECT
public:
    explicit THKForm(QWidget *parent = nullptr);

    DIB WorkDib;
    DIB OldDib;
    // Repaints the views that show the picture (the main window's strip and arrange view).
    std::function<void()> RepaintViews;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QSlider *TrackBar1 = nullptr; // brightness -127..127
    QSlider *TrackBar2 = nullptr; // contrast 0..200, 100 = unchanged
    QSlider *TrackBar3 = nullptr; // saturation -100..100
    QLabel *ValueLabel1 = nullptr; // each slider's value, beside it
    QLabel *ValueLabel2 = nullptr;
    QLabel *ValueLabel3 = nullptr;
    QPushButton *PreviewBtn = nullptr;
    QPushButton *BacksetBitBtn3 = nullptr;
    QPushButton *OkBitBtn1 = nullptr;
    QPushButton *CancelBitBtn2 = nullptr;

    void RestoreOld();
    void Helligkeit(int B);
    void Kontrast(int K);
    void Saettigung(int S);

    void TrackBar1Change(); // "Preview"
    void BacksetBitBtn3Click(); // "Reset"
    void OkBitBtn1Click();

    // The sliders' brightness, contrast and saturation as one table.
    [[nodiscard]] ToneTable chosenTable() const;

private:
    void applySliders();
};
