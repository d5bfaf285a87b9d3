#pragma once
// Values of the arrangement's options, read from the main window's controls
// at the moment they are needed, so the rules that use them need no window.
#include "platform/CaptionFont.h"
#include "platform/WinTypes.h"

#include <QString>

#include <cstdint>


[[nodiscard]] bool operator==(const TCaptionFont &a, const TCaptionFont &b);

// Where a page header or footer line stands.
enum class PageTextAlign : std::uint8_t { Left = 0, Centre = 1, Right = 2 };

// What becomes of a caption line wider than its frame: cut at the frame's
// edges as earlier versions drew it, ended in an ellipsis, or wrapped at words.
enum class CaptionFit : std::uint8_t { Clip = 0, Ellipsis = 1, Wrap = 2 };

// Caption templates and the pages' header and footer; texts may hold tokens.
struct CaptionSettings {
    QString Template;  // every frame whose picture has no caption of its own; empty = none
    CaptionFit Fit = CaptionFit::Clip;
    QString Header;
    QString Footer;
    PageTextAlign HeaderAlign = PageTextAlign::Centre;
    PageTextAlign FooterAlign = PageTextAlign::Centre;
    bool OwnFont = false; // header and footer in PageFont instead of the caption font
    TCaptionFont PageFont;

    friend bool operator==(const CaptionSettings &, const CaptionSettings &) = default;
};

struct ArrangementOptions {
    bool ShowFNames = false;
    bool Sverh = true;
    int Zoom = 25;
    double Rand = 15;   // mm
    double Space = 5;   // mm
    bool Transp = false;
    std::int32_t BkColor = std::int32_t(RGB(255, 255, 255));
    bool CutDefault = false;
    bool EnhanceQual = true;
    bool UseGrid = true;
    bool ShowGrid = false;
    double MinQual = 72;   // dots per inch
    double DBreite = 130;  // mm
    double DHoche = 100;   // mm
    double Grid = 5;       // mm
    TCaptionFont Font;
    bool CutMarks = false; // on printed and exported pages
    CaptionSettings Captions;
};

// The ranges of the option edits. A value from a file or from an undo step is
// held to them and rounded as the edits round (two decimals), so the document
// keeps what the edits show and a file saved again stores the same values.
namespace OptionRange {
inline constexpr int ZoomMin = 10, ZoomMax = 9000;       // percent
inline constexpr double MarginMax = 100;                 // Rand and Space, mm
inline constexpr double GridMin = 0.01, GridMax = 100;   // mm
inline constexpr double SizeMax = 1000;                  // default width and height, mm
inline constexpr int MinQualMin = 10, MinQualMax = 300;  // dots per inch
} // namespace OptionRange

// Rounds v to two decimals as a spin edit does, then holds it to [lo, hi];
// a value that is not finite gives lo.
[[nodiscard]] double EditValue(double v, double lo, double hi);
[[nodiscard]] ArrangementOptions NormalisedOptions(const ArrangementOptions &o);
[[nodiscard]] bool operator==(const ArrangementOptions &a, const ArrangementOptions &b);
