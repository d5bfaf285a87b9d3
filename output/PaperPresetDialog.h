#pragma once
// The paper preset editor: every value of one preset, with the printer's own
// names for its trays, media types and qualities where the printer lists them.
#include "output/PaperPreset.h"
#include "output/PrinterOptions.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class PaperPresetDialog : public QDialog {
    Q_OBJECT
public:
    explicit PaperPresetDialog(QWidget* parent = nullptr);

    // The queues offered besides the preset's own.
    void setPrinters(const QStringList& names);
    // Lists the printer's own choices; a preset's value it lacks stays shown.
    void setOfferings(const PrinterOfferings& offerings);
    void setPreset(const PaperPreset& preset);
    [[nodiscard]] PaperPreset preset() const;
    // Why the values cannot be kept; empty when they can.
    [[nodiscard]] QString problem() const;

    void accept() override;

    // What a queue offers, asked when the preset's printer is set or chosen.
    std::function<PrinterOfferings(const QString& queue)> Offerings;

private:
    void layoutDialog();
    void chooseProfile();
    void suggestSharpening(const PrintSharpening& values);
    void takeStripStep();

    PaperPreset Kept; // what the dialog does not show stays as it was
    QLineEdit* NameEd = nullptr;
    QComboBox* PrinterBox = nullptr;
    QComboBox* PaperBox = nullptr;
    QCheckBox* LandscapeCheck = nullptr;
    QCheckBox* BorderlessCheck = nullptr;
    QDoubleSpinBox* OverspillEd = nullptr;
    QComboBox* SourceBox = nullptr;
    QComboBox* MediaBox = nullptr;
    QComboBox* QualityBox = nullptr;
    QLineEdit* ProfileEd = nullptr;
    QComboBox* IntentBox = nullptr;
    QCheckBox* BlackPointCheck = nullptr;
    QDoubleSpinBox* OffsetXEd = nullptr;
    QDoubleSpinBox* OffsetYEd = nullptr;
    QDoubleSpinBox* ScaleEd = nullptr;
    QSpinBox* AmountEd = nullptr;
    QDoubleSpinBox* RadiusEd = nullptr;
    QSpinBox* BrightnessEd = nullptr;
    QSpinBox* ContrastEd = nullptr;
    QComboBox* StripBox = nullptr; // the steps of the last test strip
};
