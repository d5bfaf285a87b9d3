#pragma once
// The print sizes a sheet is filled with: a built-in table of photo, wallet,
// square and ID sizes, and the user's own presets kept as JSON files in the
// program's data folder. Each size keeps the unit it is known by; the program
// works in millimetres.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

enum class SizeUnit { Mm, Cm, Inch };

// Head-size rules of an ID photo, millimetres. Zero where the rule says nothing.
struct IdPhotoRule {
    double HeadMin = 0; // chin to crown
    double HeadMax = 0;
    double EyesMin = 0; // eyes above the bottom edge
    double EyesMax = 0;
    double CrownGap = 0; // the crown's usual distance from the top edge

    [[nodiscard]] bool any() const { return HeadMax > 0; }
};

struct PrintSize {
    QString Name;     // shown as is, e.g. "Passport / ID"
    double Width = 0; // in Unit, portrait: Width <= Height is not required
    double Height = 0;
    SizeUnit Unit = SizeUnit::Mm;
    IdPhotoRule Id;
    bool User = false; // from a preset file

    [[nodiscard]] double widthMm() const;
    [[nodiscard]] double heightMm() const;
};

// Millimetres per unit (the program's inch is MmPerInch millimetres).
[[nodiscard]] double MmPerUnit(SizeUnit unit);
[[nodiscard]] QString UnitSymbol(SizeUnit unit);

// The sizes every installation knows, in the order the dialog lists them.
[[nodiscard]] const std::vector<PrintSize> &BuiltInPrintSizes();

// "10 x 15 cm" or "Passport 35 x 45 mm", with the size in millimetres after it
// when the unit is another: "4 x 6 in (101.6 x 152.4 mm)".
[[nodiscard]] QString PrintSizeLabel(const PrintSize &size);

// Preset files: one JSON object {"name", "width", "height", "unit": "mm"|"cm"|"in"}
// with an optional "id": {"headMin", "headMax", "eyesMin", "eyesMax", "crownGap"}.
inline constexpr double MaxPrintSizeMm = 1000;
inline constexpr qint64 MaxPresetFileBytes = 64 * 1024;
struct PresetParse {
    bool Ok = false;
    PrintSize Size;
    QString Error; // why the file was refused, for the user
};
[[nodiscard]] PresetParse ParsePrintSizePreset(const QByteArray &json);
[[nodiscard]] QByteArray PrintSizePresetJson(const PrintSize &size);

// The user's presets in folder (every *.json, by file name). A file that cannot
// be taken is left out and named in Errors ("file: reason").
struct UserPresets {
    std::vector<PrintSize> Sizes;
    QStringList Errors;
};
[[nodiscard]] UserPresets LoadUserPrintSizes(const QString &folder);
// Writes size as a preset file named after it; the file's path, empty on failure.
[[nodiscard]] QString SaveUserPrintSize(const QString &folder, const PrintSize &size, QString *error);
// Where presets are kept: "print-sizes" in the user's application data folder.
[[nodiscard]] QString UserPrintSizeFolder();

// A frame of widthMm x heightMm taken as the ID size it matches (either
// orientation, within 0.05 mm); nullptr for none.
[[nodiscard]] const PrintSize *MatchIdPhotoSize(double widthMm, double heightMm);

// Guide lines over an ID frame, millimetres down from its top edge.
struct IdGuideLine {
    double Y = 0;
    enum Kind { Crown, Chin, Eyes } What = Crown;
};
[[nodiscard]] std::vector<IdGuideLine> IdGuideLines(const IdPhotoRule &rule, double frameHeightMm);
