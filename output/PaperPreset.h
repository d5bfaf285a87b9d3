#pragma once
// Paper presets: what belongs to one printer and one paper (the paper and its
// tray, media type and quality, borderless, colour profile, calibration,
// sharpening, a print-time adjustment and the printer's own options) under a
// name the user picks, one readable JSON file each in the program's data
// folder. A preset turns into a print set-up the same way for the window, the
// command line and the print queue.
#include "output/PrintSetup.h"
#include "platform/Settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class TPrinter;

struct PaperPreset {
    QString Name;
    QString Printer; // the queue; empty keeps the printer chosen
    QString PaperKey; // a page size key ("A4", "Letter"); empty: the custom size below
    QString PaperName; // how the paper was known when the preset was made
    double WidthMm = 0; // portrait size of a custom paper
    double HeightMm = 0;
    bool Landscape = false;
    bool Borderless = false;
    double Overspill = 1.5; // mm drawn beyond the paper's edge by frames that reach it
    PrinterChoices Choices;
    ColourSettings Colour;
    PrintCalibration Calibration;
    PrintSharpening Sharpening;
    PrintAdjustment Adjustment;
    bool operator==(const PaperPreset&) const = default;
};

inline constexpr qint64 MaxPaperPresetBytes = 64 * 1024;
inline constexpr double MaxPaperMm = 2000;

struct PaperPresetParse {
    bool Ok = false;
    PaperPreset Preset;
    QString Error; // why the file was refused, for the user
};
[[nodiscard]] PaperPresetParse ParsePaperPreset(const QByteArray& json);
[[nodiscard]] QByteArray PaperPresetJson(const PaperPreset& preset);
// A keyword the printing system takes as one option value: letters, digits
// and "-_.:" only, so that no value can carry a second option.
[[nodiscard]] bool IsPrinterKeyword(const QString& text);

// The presets in folder (every *.json, by name); files that cannot be taken
// are left out and named in Errors ("file: reason").
struct PaperPresets {
    std::vector<PaperPreset> Presets;
    QStringList Errors;
    [[nodiscard]] const PaperPreset* find(const QString& name) const;
};
[[nodiscard]] PaperPresets LoadPaperPresets(const QString& folder);
// Writes the preset as a file named after it (replacing one of that name);
// the file's path, empty with *error set on failure.
[[nodiscard]] QString SavePaperPreset(const QString& folder, const PaperPreset& preset, QString* error);
bool RemovePaperPreset(const QString& folder, const QString& name);
// "paper-presets" in the user's application data folder.
[[nodiscard]] QString PaperPresetFolder();

// The colour and calibration groups and the borderless choice of earlier
// versions, as presets: one per printer and paper (and orientation where a
// calibration was measured for it). Done once; the groups stay for earlier
// versions. Files that could not be written are named in the result, and the
// next start tries again.
[[nodiscard]] QStringList ConvertOldPrintSettings(const QString& folder);
[[nodiscard]] std::vector<PaperPreset> PresetsFromOldSettings(const std::vector<KeptColourSettings>& colour,
    const std::vector<KeptCalibration>& calibrations, const PrintSheetSettings& sheets);

// The colour set-up jobs print with: the chosen paper preset's, else the
// printer and paper's. Whether the soft proof is on stays the printer and
// paper's choice.
[[nodiscard]] ColourSettings JobColourSettings(TPrinter& printer);

// Puts the preset's printer and paper on the printer; the reason when its
// queue is not there (the printer chosen stays).
QString ApplyPaperPreset(TPrinter& printer, const PaperPreset& preset);
// A job's set-up from the preset: its printer and paper put on the printer
// first, then its colour, calibration (not for a PDF file), sharpening,
// adjustment and printer options. `problem` says what could not be used.
[[nodiscard]] PrintSetup PresetJobSetup(TPrinter& printer, const PaperPreset& preset, QString* problem = nullptr);
// Takes the preset's values that are not about the page onto a set-up made
// for its printer and paper; the printer's own choices only where the queue
// supports them (a PDF file gets none). What was left out, for the user.
[[nodiscard]] QString TakePresetValues(PrintSetup& setup, const PaperPreset& preset, bool toFile);
