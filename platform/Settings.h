#pragma once
// Settings kept between runs: one INI file "snapgrid-atlas.ini" in the user's
// configuration folder with the sections [TMainForm] and [TPrintForm]. Keys are
// the control's name, an underscore and the property (SpaceED_Value).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class QSettings;

// The settings file, opened for one read or write.
[[nodiscard]] std::unique_ptr<QSettings> OpenSettings();

// The main window's stored values; the initialisers are a first start's.
struct MainFormSettings {
    double SpacingEd = 5; // mm
    double MarginEd = 15; // mm
    bool UseGridCheck = true;
    double GridEd = 5; // mm
    bool ShowGridCheck = false;
    int MinQualEd = 72; // dots per inch
    bool EnhanceQualCheck = true;
    bool TurnCameraCheck = true; // turn pictures as the camera recorded
    int PictureMemoryEd = 0; // MB for held full pictures; 0 = the machine's default
    QStringList RecentFiles; // arrangements last opened or saved, newest first
    // The page of the "Add picture" tab that shows the folder's files.
    enum class FilePage { FileList, PictureBrowser };
    FilePage FilesShownIn = FilePage::PictureBrowser;
    QByteArray Geometry; // the window's normal position and size and its show state; empty = none
    bool IdGuidesCheck = false; // the print preview's ID photo guides
};

// Absent or unreadable keys keep the defaults. The file page is kept under
// "FilePage" ("FileList", "PictureBrowser"); files written before keep it
// under "PageControl3_ActivePage" ("FileListTab", "TabSheet10"), read when the
// new key is absent and left in place for earlier versions.
[[nodiscard]] MainFormSettings LoadMainFormSettings();
void SaveMainFormSettings(const MainFormSettings& settings);

// The single-picture print dialog's stored values.
struct PrintFormSettings {
    bool UseFull = true; // "Use page fully" chosen (UseFullCheck)
    bool Userdef = false; // "User-defined" chosen (UserdefCheck)
    bool Zentr = true; // "Centered output" (ZentrCheck)
    bool Sverh = true; // "Maintain aspect ratio" (KeepAspectCheck)
    int Breit = 50; // "Width in %:", 1..100 (BreitEdit)
    int Hoch = 50; // "Height in %:", 1..100 (HochEdit)
    bool Maximized = false; // the dialog's show state; its position is not kept
};

// Absent or unreadable keys keep the defaults; percentages are clamped to 1..100.
[[nodiscard]] PrintFormSettings LoadPrintFormSettings();
void SavePrintFormSettings(const PrintFormSettings& settings);

// The paper orientation chosen in the printer setup, kept in the section
// [Printer]; `Stored` is false when no choice was ever made.
struct PrinterSettings {
    bool Stored = false;
    bool Landscape = false;
};

[[nodiscard]] PrinterSettings LoadPrinterSettings();
void SavePrinterSettings(const PrinterSettings& settings);

// The print-sheet choices, kept in the section [PrintSheets]: cut marks on
// printouts and exported pages, and the sheet dialog's margin and gap (mm).
struct PrintSheetSettings {
    bool CutMarks = false;
    double Margin = 5;
    double Gap = 3;
    bool Borderless = false; // frames may reach the paper's edge, where the paper allows it
    double Overspill = 1.5;  // mm drawn beyond the paper's edge by frames that reach it
    double Width = 100; // mm, the print size last placed
    double Height = 150;
    // The list of several pictures and sizes last placed.
    struct ListRow {
        QString File;
        double Width = 0; // mm
        double Height = 0;
        int Copies = 1;
    };
    std::vector<ListRow> List;
};
// Rows of the kept list read back, at most; copies are held to 1..MaxKeptCopies.
inline constexpr int MaxKeptListRows = 200, MaxKeptCopies = 999;

// Absent or unreadable keys keep the defaults; lengths are held to 0..100 mm,
// the overspill to 0..MaxOverspill, the print size to 1..1000 mm.
inline constexpr double MaxOverspill = 5; // mm
[[nodiscard]] PrintSheetSettings LoadPrintSheetSettings();
void SavePrintSheetSettings(const PrintSheetSettings& settings);

// How far one printer prints off on one paper, as measured on its calibration
// page: where a point meant at q (mm from the printable area's corner) lands,
// Scale * q + Offset. Kept in [PrintSheets] per printer and paper.
struct PrintCalibration {
    double OffsetX = 0; // mm, positive: to the right
    double OffsetY = 0; // mm, positive: down
    double Scale = 1;
    [[nodiscard]] bool isIdentity() const { return OffsetX == 0 && OffsetY == 0 && Scale == 1; }
    bool operator==(const PrintCalibration&) const = default;
};
inline constexpr double MaxCalibrationOffset = 20; // mm either way
inline constexpr double MinCalibrationScale = 0.9;
inline constexpr double MaxCalibrationScale = 1.1;
// The values held to the limits above; NaN as none.
[[nodiscard]] PrintCalibration ClampedCalibration(const PrintCalibration& calibration);
// None stored (or unreadable) is the identity. paper names the size and orientation.
[[nodiscard]] PrintCalibration LoadPrintCalibration(const QString& printer, const QString& paper);
void SavePrintCalibration(const QString& printer, const QString& paper, const PrintCalibration& calibration);

// Colour management of one printer and paper, kept in the section [Colour]
// under a key made of both names. ProfileFile empty = no printer profile
// (the pixels go to the printer as sRGB); MonitorFile empty = the desktop's
// monitor profile where it can be read, else sRGB.
struct ColourSettings {
    QString ProfileFile;
    int Intent = 0; // 0 perceptual, 1 relative colorimetric, 2 saturation, 3 absolute colorimetric
    bool BlackPoint = true;
    QString MonitorFile;
    bool GamutWarning = false;
    bool SoftProof = false; // the views show pictures as printed
    bool operator==(const ColourSettings&) const = default;
};

// Absent or unreadable keys keep the defaults; the intent is held to 0..3.
[[nodiscard]] ColourSettings LoadColourSettings(const QString &printer, const QString &paper);
void SaveColourSettings(const QString &printer, const QString &paper, const ColourSettings &settings);

// Every printer's and paper's stored colour settings and calibrations, as
// kept by earlier versions, for turning them into paper presets.
struct KeptColourSettings {
    QString Printer;
    QString Paper; // the page size's name ("A4")
    ColourSettings Settings;
};
struct KeptCalibration {
    QString Printer;
    QString Paper; // the page size's key and orientation ("A4 portrait")
    PrintCalibration Calibration;
};
[[nodiscard]] std::vector<KeptColourSettings> AllColourSettings();
[[nodiscard]] std::vector<KeptCalibration> AllPrintCalibrations();

// Whether those were turned into paper presets, and the preset chosen on the
// print tab (empty: none), kept in the section [PaperPresets].
[[nodiscard]] bool OldPrintSettingsConverted();
void SetOldPrintSettingsConverted();
[[nodiscard]] QString LoadChosenPaperPreset();
void SaveChosenPaperPreset(const QString& name);

// The steps of the last test strip made, left to right, kept in [TestStrip]
// so that the paper preset editor can offer them.
struct KeptStripStep {
    int Brightness = 0;
    int Contrast = 0;
    int Intent = -1; // a rendering intent step's, 0..3
    bool operator==(const KeptStripStep&) const = default;
};
[[nodiscard]] std::vector<KeptStripStep> LoadTestStripSteps();
void SaveTestStripSteps(const std::vector<KeptStripStep>& steps);
