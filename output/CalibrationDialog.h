#pragma once
// "Calibrate printer...": prints the calibration page and takes the offsets
// and scale measured on it for one printer and paper. It only edits the
// values; the caller keeps them and prints the page.
#include "platform/Settings.h"

#include <QDialog>

#include <functional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

class CalibrationDialog : public QDialog
{
    Q_OBJECT
public:
    // target: the printer and paper, as the user knows them.
    CalibrationDialog(const QString &target, const PrintCalibration &current, QWidget *parent = nullptr);

    QLabel *TargetLabel = nullptr;
    QPushButton *PrintPageBtn = nullptr;
    QDoubleSpinBox *OffsetXEd = nullptr; // mm
    QDoubleSpinBox *OffsetYEd = nullptr; // mm
    QDoubleSpinBox *ScaleEd = nullptr;   // percent
    QPushButton *ResetBtn = nullptr;

    // Prints the calibration page; set by the caller.
    std::function<void()> PrintPage;

    [[nodiscard]] PrintCalibration calibration() const;
    void printCalibrationPage();
    void resetCalibration();
};
