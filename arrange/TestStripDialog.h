#pragma once
// "Test strip": the picture, how many steps of what, and the adjustment in
// the middle of the row.
#include "arrange/TestStrip.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QSpinBox;
struct PictureEntry;

class TestStripDialog : public QDialog {
    Q_OBJECT
public:
    // pictures: the collection; selected: the picture offered first;
    // printerProfile: rendering intents are offered, as a profile converts the print.
    TestStripDialog(const std::vector<PictureEntry>& pictures, int selected, bool printerProfile,
        QWidget* parent = nullptr);
    void setSettings(const TestStripSettings& settings);
    [[nodiscard]] TestStripSettings settings() const;

private:
    QComboBox* PictureBox = nullptr;
    QSpinBox* StepsEd = nullptr;
    QComboBox* VariesBox = nullptr;
    QSpinBox* StepSizeEd = nullptr;
    QSpinBox* BrightnessEd = nullptr;
    QSpinBox* ContrastEd = nullptr;
};
