#include "output/PrintColour.h"

#include "platform/MonitorProfile.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPrintEngine>
#include <QPrinter>

namespace {
// Qt's CUPS engine takes the job's options as this property (name, value pairs).
constexpr auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QString tr(const char *text) { return QCoreApplication::translate("PrintColour", text); }
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
        c.Problem = tr("The printer profile %1 cannot be used: %2\nThe pictures are printed without it.")
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
    QPrintEngine *engine = printer->printEngine();
    const QStringList now = engine->property(CupsOptionsKey).toStringList();
    engine->setProperty(CupsOptionsKey, CupsColourOptions(now, profileApplied));
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
            *source = tr("the desktop's monitor profile");
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
            *problem = tr("No printer profile is chosen for this printer and paper.");
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

void SoftProofView::setProof(std::shared_ptr<const ColourConversion> proof)
{
    if (proof == Proof)
        return;
    Proof = std::move(proof);
    clear();
}

void SoftProofView::clear()
{
    Copies.clear();
    Held = 0;
}

DIB SoftProofView::proofed(const DIB &pixels)
{
    if (!active() || !pixels.Bits || !pixels.Info)
        return pixels;
    ++Clock;
    const auto found = Copies.find(pixels.Bits);
    if (found != Copies.end() && found->second.Source.Info == pixels.Info) {
        found->second.Used = Clock;
        return found->second.Proofed;
    }
    if (found != Copies.end()) { // another picture now in that buffer
        Held -= std::uint64_t(found->second.Proofed.RowBytes) * std::uint64_t(DibHeight(found->second.Proofed));
        Copies.erase(found);
    }
    DIB made = Proof->converted(pixels);
    if (!made.Bits)
        return pixels;
    const std::uint64_t bytes = std::uint64_t(made.RowBytes) * std::uint64_t(DibHeight(made));
    // The least recently drawn copies make room.
    while (Held + bytes > Budget && !Copies.empty()) {
        auto oldest = Copies.begin();
        for (auto i = Copies.begin(); i != Copies.end(); ++i)
            if (i->second.Used < oldest->second.Used)
                oldest = i;
        Held -= std::uint64_t(oldest->second.Proofed.RowBytes) * std::uint64_t(DibHeight(oldest->second.Proofed));
        Copies.erase(oldest);
    }
    Copies[pixels.Bits] = Copy{pixels, made, Clock};
    Held += bytes;
    return made;
}

std::function<DIB(const DIB &)> SoftProofView::recolour()
{
    if (!active())
        return {};
    return [this](const DIB &pixels) { return proofed(pixels); };
}

SoftProofView &SoftProof()
{
    static SoftProofView view;
    return view;
}

namespace {
// What a proof was made from: a proof from the same choice is used again.
QString proofSignature(TPrinter &printer, const ColourSettings &s)
{
    return QStringList{ColourPrinterName(printer), ColourPaperName(printer), s.ProfileFile, QString::number(s.Intent),
                       QString::number(s.BlackPoint), s.MonitorFile, QString::number(s.GamutWarning)}
        .join(QLatin1Char('\n'));
}
QString MadeFrom;
} // namespace

QString SwitchSoftProof(TPrinter &printer, bool on)
{
    ColourSettings settings = CurrentColourSettings(printer);
    QString problem;
    if (on) {
        const QString signature = proofSignature(printer, settings);
        if (!SoftProof().proof() || signature != MadeFrom) {
            SoftProof().setProof(MakeSoftProof(settings, &problem));
            MadeFrom = signature;
        }
        on = bool(SoftProof().proof());
        if (!on && problem.isEmpty())
            problem = tr("The soft proof cannot be made.");
    }
    SoftProof().setOn(on);
    if (settings.SoftProof != on) {
        settings.SoftProof = on;
        SaveColourSettings(ColourPrinterName(printer), ColourPaperName(printer), settings);
    }
    return problem;
}

void RefreshSoftProof(TPrinter &printer)
{
    const ColourSettings settings = CurrentColourSettings(printer);
    if (!settings.SoftProof) {
        SoftProof().setOn(false);
        return;
    }
    (void)SwitchSoftProof(printer, true);
}
