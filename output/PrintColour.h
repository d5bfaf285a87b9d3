#pragma once
// The colour management of printing: the printer profile chosen for the
// printer and paper in use, the conversion made from it, the request to the
// printing system not to convert again, and the soft proof of the views.
#include "document/PictureStore.h"
#include "output/PrintSetup.h"
#include "picture/ColourManagement.h"
#include "platform/Settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <tuple>

class QPrinter;
class TPrinter;

// A colour set-up ready for a job: the conversion to the printer profile, or
// none (pictures go out as sRGB, as without a profile). Problem says why a
// chosen profile is not used.
struct PrintColour {
    ColourSettings Settings;
    std::shared_ptr<const ColourConversion> Conversion;
    QByteArray PrinterIcc;
    QString Problem;
};

// Reads the chosen profile and makes the conversion; a missing, damaged or
// unfit profile leaves the set-up without one and says why.
[[nodiscard]] PrintColour MakePrintColour(const ColourSettings &settings);

// The names colour settings are kept under for a printer: its name ("PDF"
// for file output) and its paper.
[[nodiscard]] QString ColourPrinterName(TPrinter &printer);
[[nodiscard]] QString ColourPaperName(TPrinter &printer);
[[nodiscard]] ColourSettings CurrentColourSettings(TPrinter &printer);
// The set-up of the printer's current printer and paper.
[[nodiscard]] PrintColour CurrentPrintColour(TPrinter &printer);

// The CUPS option that turns the printing system's colour management off
// (calibration mode), so a converted job is not converted again.
inline constexpr char CupsNoColourManagement[] = "cm-calibration";
// A job's CUPS options (name, value, name, value...) with the no-conversion
// request present exactly when a printer profile is applied; other options
// are kept as they are.
[[nodiscard]] QStringList CupsColourOptions(const QStringList &options, bool profileApplied);
// Puts those options on the printer's engine (CUPS printers only; a PDF file has none).
void ApplyCupsColourOptions(QPrinter *printer, bool profileApplied);

// The monitor profile the soft proof shows on: the chosen file, else the
// desktop's, else empty (= sRGB). `source` names where it came from.
[[nodiscard]] QByteArray MonitorProfileFor(const ColourSettings &settings, QString *source = nullptr);
// The soft proof of a set-up; null with *problem set when it has no usable printer profile.
[[nodiscard]] std::shared_ptr<const ColourConversion> MakeSoftProof(const ColourSettings &settings,
                                                                    QString *problem = nullptr);
// The gamut warning colour: a magenta no proofed print can show, since it
// stands only where the paper's colours end.
inline constexpr QRgb GamutWarningColour = 0xFFFF00FFu;

// The views' soft proof: on or off, and the proofed copies of what the views
// draw, each made at the size it is drawn (never beyond its source's pixels)
// and kept, so that turning it on again costs one repaint. The window owns
// one for the arrange view and the print preview. Interface thread only.
class SoftProofView {
public:
    SoftProofView();
    ~SoftProofView();
    SoftProofView(const SoftProofView &) = delete;
    SoftProofView &operator=(const SoftProofView &) = delete;

    // A new proof (or none) drops the copies made with the old one.
    void setProof(std::shared_ptr<const ColourConversion> proof);
    [[nodiscard]] const std::shared_ptr<const ColourConversion> &proof() const { return Proof; }
    void setOn(bool on) { On = on; }
    [[nodiscard]] bool active() const { return On && Proof; }
    // The print's sharpening, shown where the view draws a millimetre of paper
    // with at least as many pixels as the printer (`printDpi`) prints it.
    void setSharpening(PrintSharpening sharpening, int printDpi);
    // The pixels to draw `dest` device pixels from, as the proof shows them
    // at the picture's own intent (-1: the proof's); the pixels themselves
    // when inactive or out of memory.
    [[nodiscard]] DrawPixels proofed(const DrawPixels &pixels, QSize dest, double destPerMm = 0, int intent = -1);
    // What a render hands its pictures through; empty when inactive.
    [[nodiscard]] SoftProofFn recolour();
    void clear();
    [[nodiscard]] std::uint64_t heldBytes() const { return Held; }
    std::uint64_t Budget = std::uint64_t(256) << 20;

private:
    struct Copy {
        DIB Source; // held so its buffer (part of the key) is not reused meanwhile
        DIB Proofed;
        std::uint64_t Used = 0;
    };
    using Key = std::tuple<const BYTE *, int, int, int, int, int, int, bool, int>;
    std::shared_ptr<const ColourConversion> Proof;
    // The proof at the intents of pictures printed at their own (a test strip's).
    std::map<int, std::shared_ptr<const ColourConversion>> AtIntents;
    [[nodiscard]] std::shared_ptr<const ColourConversion> atIntent(int intent);
    bool On = false;
    PrintSharpening Sharpening;
    double PrintPerMm = 0;
    std::map<Key, Copy> Copies;
    std::uint64_t Held = 0;
    std::uint64_t Clock = 0;

    // What the proof was made from, and a proof being made ahead on a thread
    // of its own with what it is made from.
    friend QString SwitchSoftProof(SoftProofView &view, TPrinter &printer, bool on);
    friend void PrepareSoftProof(SoftProofView &view, TPrinter &printer);
    QString ProofOf;
    std::shared_future<std::shared_ptr<const ColourConversion>> Ahead;
    QString AheadOf;
};

// Turns the soft proof on or off for the printer's current printer and paper
// (the choice kept with them). Empty when done; else why it cannot be shown,
// and it stays off.
[[nodiscard]] QString SwitchSoftProof(SoftProofView &view, TPrinter &printer, bool on);
// Makes the soft proof of the current printer and paper ahead, on a thread of
// its own, so that turning it on is one repaint.
void PrepareSoftProof(SoftProofView &view, TPrinter &printer);
// After a change of printer, paper or colour settings: the soft proof made
// afresh (it stays on only if it still can be made).
void RefreshSoftProof(SoftProofView &view, TPrinter &printer);
