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

class ToneDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ToneDialog(QWidget *parent = nullptr);

    DIB WorkDib;
    DIB OldDib;
    // Repaints the views that show the picture (the main window's strip and arrange view).
    std::function<void()> RepaintViews;

    QLabel *BrightnessLabel = nullptr;
    QLabel *ContrastLabel = nullptr;
    QLabel *SaturationLabel = nullptr;
    QSlider *BrightnessSlider = nullptr; // brightness -127..127
    QSlider *ContrastSlider = nullptr; // contrast 0..200, 100 = unchanged
    QSlider *SaturationSlider = nullptr; // saturation -100..100
    QLabel *BrightnessValue = nullptr; // each slider's value, beside it
    QLabel *ContrastValue = nullptr;
    QLabel *SaturationValue = nullptr;
    QPushButton *PreviewBtn = nullptr;
    QPushButton *ResetBtn = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    void RestoreOld();
    void applyBrightness(int B);
    void applyContrast(int K);
    void applySaturation(int S);

    void previewTones(); // "Preview"
    void resetSliders(); // "Reset"
    void okClicked();

    // The sliders' brightness, contrast and saturation as one table.
    [[nodiscard]] ToneTable chosenTable() const;

private:
    void applySliders();
};
