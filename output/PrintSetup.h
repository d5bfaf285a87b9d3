#pragma once
// The print set-up: everything that shapes a printed page besides the
// arrangement. It is taken from the printer and the settings once per job or
// per preview, on the thread that owns the printer, and handed down to every
// drawing of the pages, so the window, the command line, a print queue and a
// test given the same set-up draw the same pages. It grows by members.
#include "document/PictureStore.h"
#include "output/CutMarks.h"
#include "platform/Settings.h"

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class ColourConversion;
class TPrinter;

// Where a job's pages go, with the printer's own job options.
struct PrintDestination {
    QString PrinterName; // the queue; empty without a printer
    bool ToFile = false; // a PDF file instead of a printer
    QString FileName; // that file
    int Copies = 1;
    bool Collate = true;
    QPrinter::DuplexMode Duplex = QPrinter::DuplexAuto;
    QPrinter::ColorMode ColourMode = QPrinter::Color;
    // Options the print dialog gave the printing system (name, value, ...),
    // for a job through Qt's engine.
    QStringList CupsOptions;
    // Test devices: a fixed page instead of the paper's, and pages drawn onto
    // images kept in this list instead of being printed.
    bool FixedPage = false;
    std::shared_ptr<std::vector<QImage>> PageImages;
};

// Unsharp mask after the last resample, at the device's resolution.
struct PrintSharpening {
    int Amount = 0; // percent of the difference added back; 0 = off
    double Radius = 0.1; // mm on paper, turned into device pixels per job
    [[nodiscard]] bool on() const { return Amount > 0 && Radius > 0; }
    bool operator==(const PrintSharpening&) const = default;
};
inline constexpr int MaxSharpenAmount = 300;
inline constexpr double MinSharpenRadius = 0.02; // mm
inline constexpr double MaxSharpenRadius = 1; // mm
// Suggested starting points: matte paper swallows more detail than glossy.
inline constexpr PrintSharpening MatteSharpening { 90, 0.17 };
inline constexpr PrintSharpening GlossySharpening { 50, 0.085 };

// Brightness and contrast applied to what is printed only, in steps of
// -100..100 (0 leaves the pixels as they are).
struct PrintAdjustment {
    int Brightness = 0;
    int Contrast = 0;
    [[nodiscard]] bool isIdentity() const { return Brightness == 0 && Contrast == 0; }
    bool operator==(const PrintAdjustment&) const = default;
};
inline constexpr int MaxPrintAdjustment = 100;

// The printer's own job options: IPP keywords for the tray, media type and
// quality, and further name/value choices (a PPD's options).
struct PrinterChoices {
    QString Source;
    QString MediaType;
    QString Quality;
    std::vector<std::pair<QString, QString>> Options;
    [[nodiscard]] bool empty() const
    {
        return Source.isEmpty() && MediaType.isEmpty() && Quality.isEmpty() && Options.empty();
    }
    bool operator==(const PrinterChoices&) const = default;
};

// The views' soft proof: the pixels to draw `dest` device pixels from, as
// proofed; `destPerMm` is how many of them one millimetre of paper takes, and
// `intent` the picture's own rendering intent (-1: the job's). Interface
// thread only.
using SoftProofFn = std::function<DrawPixels(const DrawPixels& pixels, QSize dest, double destPerMm, int intent)>;

// What page texts name besides the pictures: the arrangement's file, the
// day it is printed and its page count (0: the highest page a frame is on).
struct PageStamp {
    QString File;
    QDate Printed;
    int Pages = 0;
};

struct PrintSetup {
    // The printable area in printer pixels and the printer's pixels per inch.
    int PageWidth = 0;
    int PageHeight = 0;
    int DpiX = 600;
    int DpiY = 600;
    // The paper: size, orientation and margins (the PDF's page).
    QPageLayout Paper;
    PrintDestination Destination;
    CutMarkStyle CutMarks;
    // The printer's measured error, corrected on pages sent to a printer; a
    // PDF file or a picture may be printed anywhere and is not corrected.
    PrintCalibration Calibration;
    // The printer profile's conversion of the pictures (none: sRGB as they
    // are) and the profile itself, named in a PDF as its output intent.
    std::shared_ptr<const ColourConversion> Colour;
    QByteArray PrinterProfile;
    // The views draw pictures through it when set.
    SoftProofFn SoftProof;
    // PDF output may carry unchanged JPEG files as their own bytes.
    bool PassJpegThrough = true;
    // Applied to the pictures at the device's resolution, to what is printed only.
    PrintSharpening Sharpening;
    PrintAdjustment Adjustment;
    // Sent with the job to the printing system.
    PrinterChoices Choices;
    QString PresetName; // the paper preset it was made from, empty for none
    PageStamp Stamp;
};

// The printer's page as it is now: paper, printable area, resolution and
// destination; no colour conversion and no calibration (what a preview
// needs). Only on the printer's thread.
[[nodiscard]] PrintSetup PrinterPageSetup(TPrinter& printer);
// A job's set-up: the page, the colour set-up of the printer and paper (a
// profile that cannot be used is left out, and `colourProblem` says why) and
// the calibration kept for them. Only on the printer's thread.
[[nodiscard]] PrintSetup JobSetup(TPrinter& printer, QString* colourProblem = nullptr);
