#include "output/PrintColour.h"

#include "document/PageGeometry.h"
#include "output/PaperPreset.h"
#include "platform/MonitorProfile.h"
#include "picture/PrintFinish.h"
#include "picture/Resample.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPrinter>

#include <algorithm>
#include <future>

namespace {
struct PrintColourText {
    Q_DECLARE_TR_FUNCTIONS(PrintColourText)
};
} // namespace

PrintColour MakePrintColour(const ColourSettings &settings)
{
    PrintColour c;
    c.Settings = settings;
    if (settings.ProfileFile.isEmpty())
        return c;
    QString problem;
    c.PrinterIcc = ReadProfileFile(settings.ProfileFile, &problem);
    if (problem.isEmpty())
        c.Conversion = ColourConversion::ToPrinter(c.PrinterIcc, RenderIntent(settings.Intent), settings.BlackPoint,
                                                   &problem);
    if (!c.Conversion) {
        c.PrinterIcc.clear();
        c.Problem
            = PrintColourText::tr("The printer profile %1 cannot be used: %2\nThe pictures are printed without it.")
                  .arg(settings.ProfileFile, problem);
    }
    return c;
}

QString ColourPrinterName(TPrinter &printer)
{
    if (printer.PrintsToFile())
        return QStringLiteral("PDF");
    return printer.qprinter()->printerName();
}

QString ColourPaperName(TPrinter &printer)
{
    return printer.qprinter()->pageLayout().pageSize().name();
}

ColourSettings CurrentColourSettings(TPrinter &printer)
{
    return LoadColourSettings(ColourPrinterName(printer), ColourPaperName(printer));
}

PrintColour CurrentPrintColour(TPrinter &printer) { return MakePrintColour(CurrentColourSettings(printer)); }

QStringList CupsColourOptions(const QStringList &options, bool profileApplied)
{
    QStringList out;
    const QString name = QLatin1String(CupsNoColourManagement);
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (options[i] != name)
            out << options[i] << options[i + 1];
    if (profileApplied)
        out << name << QStringLiteral("true");
    return out;
}

void ApplyCupsColourOptions(QPrinter *printer, bool profileApplied)
{
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat)
        return;
    SetCupsEngineOptions(*printer, CupsColourOptions(CupsEngineOptions(*printer), profileApplied));
}

QByteArray MonitorProfileFor(const ColourSettings &settings, QString *source)
{
    if (!settings.MonitorFile.isEmpty()) {
        QString problem;
        QByteArray icc = ReadProfileFile(settings.MonitorFile, &problem);
        if (problem.isEmpty() && ProfileProblem(icc).isEmpty()) {
            if (source)
                *source = settings.MonitorFile;
            return icc;
        }
    }
    QByteArray desktop = DesktopMonitorProfile(MaxProfileBytes);
    if (!desktop.isEmpty() && ProfileProblem(desktop).isEmpty()) {
        if (source)
            *source = PrintColourText::tr("the desktop's monitor profile");
        return desktop;
    }
    if (source)
        *source = QStringLiteral("sRGB");
    return {};
}

std::shared_ptr<const ColourConversion> MakeSoftProof(const ColourSettings &settings, QString *problem)
{
    if (settings.ProfileFile.isEmpty()) {
        if (problem)
            *problem = PrintColourText::tr("No printer profile is chosen for this printer and paper.");
        return nullptr;
    }
    QString why;
    const QByteArray printer = ReadProfileFile(settings.ProfileFile, &why);
    std::shared_ptr<const ColourConversion> proof;
    if (why.isEmpty())
        proof = ColourConversion::SoftProof(printer, MonitorProfileFor(settings), RenderIntent(settings.Intent),
                                            settings.BlackPoint, settings.GamutWarning, GamutWarningColour, &why);
    if (problem)
        *problem = why;
    return proof;
}

SoftProofView::SoftProofView() = default;

// A proof still being made ahead is waited for, so its thread ends with the view.
SoftProofView::~SoftProofView()
{
    if (Ahead.valid())
        Ahead.wait();
}

void SoftProofView::setProof(std::shared_ptr<const ColourConversion> proof)
{
    if (proof == Proof)
        return;
    Proof = std::move(proof);
    AtIntents.clear();
    clear();
}

std::shared_ptr<const ColourConversion> SoftProofView::atIntent(int intent)
{
    if (intent < 0 || intent > 3)
        return Proof;
    std::shared_ptr<const ColourConversion> &made = AtIntents[intent];
    if (!made)
        made = Proof->atIntent(RenderIntent(intent));
    return made ? made : Proof;
}

void SoftProofView::clear()
{
    Copies.clear();
    Held = 0;
}

namespace {
std::uint64_t bytesOf(const DIB &dib) { return std::uint64_t(dib.RowBytes) * std::uint64_t(DibHeight(dib)); }

// A 24-bit picture of an opaque top-down image.
DIB dibOf(const QImage &image)
{
    DIB d;
    if (!newdib(&d, image.width(), image.height(), 24, nullptr, 0))
        return d;
    for (int y = 0; y < image.height(); ++y) {
        const auto *s = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        BYTE *row = DibRow(d, image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x, row += 3) {
            row[0] = BYTE(qBlue(s[x]));
            row[1] = BYTE(qGreen(s[x]));
            row[2] = BYTE(qRed(s[x]));
        }
    }
    return d;
}
} // namespace

void SoftProofView::setSharpening(PrintSharpening sharpening, int printDpi)
{
    const double perMm = printDpi > 0 ? printDpi / MmPerInch : 0;
    if (sharpening == Sharpening && perMm == PrintPerMm)
        return;
    Sharpening = sharpening;
    PrintPerMm = perMm;
    clear();
}

DrawPixels SoftProofView::proofed(const DrawPixels &pixels, QSize dest, double destPerMm, int intent)
{
    const QRect &s = pixels.Source;
    if (!active() || !pixels.Dib.Bits || !pixels.Dib.Info || s.isEmpty())
        return pixels;
    // Only what is drawn is proofed: the source rectangle at the drawn size,
    // or at its own where it is enlarged.
    const QSize size(std::clamp(dest.width(), 1, s.width()), std::clamp(dest.height(), 1, s.height()));
    // Finer than the printer's pixels, the view shows what sharpening does to them.
    const bool sharpened = Sharpening.on() && PrintPerMm > 0 && destPerMm >= PrintPerMm * 0.98;
    const std::shared_ptr<const ColourConversion> proof = atIntent(intent);
    // One copy for the proof's own intent, however it was asked for.
    const int keyIntent = proof == Proof ? -1 : intent;
    const Key key{pixels.Dib.Bits, s.x(), s.y(), s.width(), s.height(), size.width(), size.height(), sharpened,
                  keyIntent};
    ++Clock;
    const auto found = Copies.find(key);
    if (found != Copies.end()) {
        if (found->second.Source.Info == pixels.Dib.Info) {
            found->second.Used = Clock;
            return {found->second.Proofed, QRect(QPoint(0, 0), size)};
        }
        Held -= bytesOf(found->second.Proofed); // another picture now in that buffer
        Copies.erase(found);
    }
    QImage image = ResampleToImage(pixels.Dib, QRectF(s), size);
    if (image.isNull())
        return pixels;
    // Radius in the drawn pixels: the source's own where it is enlarged.
    if (sharpened)
        UnsharpMask(image, Sharpening.Amount, Sharpening.Radius * destPerMm * size.width() / std::max(dest.width(), 1));
    proof->apply(image);
    DIB made = dibOf(image);
    if (!made.Bits)
        return pixels;
    // The least recently drawn copies make room.
    while (Held + bytesOf(made) > Budget && !Copies.empty()) {
        auto oldest = Copies.begin();
        for (auto i = Copies.begin(); i != Copies.end(); ++i)
            if (i->second.Used < oldest->second.Used)
                oldest = i;
        Held -= bytesOf(oldest->second.Proofed);
        Copies.erase(oldest);
    }
    Copies[key] = Copy{pixels.Dib, made, Clock};
    Held += bytesOf(made);
    return {made, QRect(QPoint(0, 0), size)};
}

SoftProofFn SoftProofView::recolour()
{
    if (!active())
        return {};
    return [this](const DrawPixels &pixels, QSize dest, double destPerMm, int intent) {
        return proofed(pixels, dest, destPerMm, intent);
    };
}

namespace {
// What a proof was made from: a proof from the same choice is used again.
QString proofSignature(TPrinter &printer, const ColourSettings &s)
{
    return QStringList{ColourPrinterName(printer), ColourPaperName(printer), s.ProfileFile, QString::number(s.Intent),
                       QString::number(s.BlackPoint), s.MonitorFile, QString::number(s.GamutWarning)}
        .join(QLatin1Char('\n'));
}
} // namespace

void PrepareSoftProof(SoftProofView &view, TPrinter &printer)
{
    const ColourSettings settings = JobColourSettings(printer);
    const QString signature = proofSignature(printer, settings);
    if (settings.ProfileFile.isEmpty() || signature == view.AheadOf
        || (signature == view.ProofOf && view.proof()))
        return;
    QString problem;
    const QByteArray icc = ReadProfileFile(settings.ProfileFile, &problem);
    if (!problem.isEmpty())
        return;
    // The desktop's profile is read here, on the interface thread.
    const QByteArray monitor = MonitorProfileFor(settings);
    view.AheadOf = signature;
    view.Ahead = std::async(std::launch::async, [icc, monitor, settings] {
                  return ColourConversion::SoftProof(icc, monitor, RenderIntent(settings.Intent), settings.BlackPoint,
                                                     settings.GamutWarning, GamutWarningColour);
              }).share();
}

QString SwitchSoftProof(SoftProofView &view, TPrinter &printer, bool on)
{
    const ColourSettings settings = JobColourSettings(printer);
    QString problem;
    if (on) {
        const QString signature = proofSignature(printer, settings);
        if (!view.proof() || signature != view.ProofOf) {
            std::shared_ptr<const ColourConversion> proof;
            if (signature == view.AheadOf && view.Ahead.valid())
                proof = view.Ahead.get();
            if (!proof) // none made ahead, or it failed: made again for the reason
                proof = MakeSoftProof(settings, &problem);
            view.setProof(proof);
            view.ProofOf = signature;
        }
        on = bool(view.proof());
        if (!on && problem.isEmpty())
            problem = PrintColourText::tr("The soft proof cannot be made.");
    }
    view.setOn(on);
    ColourSettings stored = CurrentColourSettings(printer);
    if (stored.SoftProof != on) {
        stored.SoftProof = on;
        SaveColourSettings(ColourPrinterName(printer), ColourPaperName(printer), stored);
    }
    return problem;
}

void RefreshSoftProof(SoftProofView &view, TPrinter &printer)
{
    const ColourSettings settings = CurrentColourSettings(printer);
    if (!settings.SoftProof) {
        view.setOn(false);
        PrepareSoftProof(view, printer); // so that turning it on shows at once
        return;
    }
    (void)SwitchSoftProof(view, printer, true);
}
