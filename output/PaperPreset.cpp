#include "output/PaperPreset.h"

#include "output/CupsJob.h"
#include "output/PrintCalibration.h"
#include "output/PrintColour.h"
#include "output/PrinterOptions.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {
struct PaperPresetText {
    Q_DECLARE_TR_FUNCTIONS(PaperPresetText)
};

constexpr qsizetype MaxNameLength = 80;
constexpr qsizetype MaxPathLength = 4096;
constexpr qsizetype MaxKeywordLength = 128;
constexpr qsizetype MaxOptions = 64;

// Reads the members of one JSON object, remembering the first reason to refuse it.
class Reader {
public:
    Reader(const QJsonObject& o, QString prefix, QString* error)
        : O(o)
        , Prefix(std::move(prefix))
        , Error(error)
    {
    }
    [[nodiscard]] bool failed() const { return !Error->isEmpty(); }
    void fail(const QString& why)
    {
        if (Error->isEmpty())
            *Error = why;
    }
    [[nodiscard]] QString key(const char* k) const { return Prefix + QLatin1String(k); }

    void number(const char* k, double low, double high, double* out)
    {
        const QJsonValue v = O.value(QLatin1String(k));
        if (v.isUndefined())
            return;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || !std::isfinite(d) || d < low || d > high)
            fail(PaperPresetText::tr("\"%1\" must be a number from %2 to %3").arg(key(k)).arg(low).arg(high));
        else
            *out = d;
    }
    void integer(const char* k, int low, int high, int* out)
    {
        double d = *out;
        number(k, low, high, &d);
        if (d != std::floor(d))
            fail(PaperPresetText::tr("\"%1\" must be a whole number").arg(key(k)));
        else
            *out = int(d);
    }
    void boolean(const char* k, bool* out)
    {
        const QJsonValue v = O.value(QLatin1String(k));
        if (v.isUndefined())
            return;
        if (!v.isBool())
            fail(PaperPresetText::tr("\"%1\" must be true or false").arg(key(k)));
        else
            *out = v.toBool();
    }
    // Text without control characters; a keyword also without spaces or separators.
    void text(const char* k, qsizetype maxLength, bool keyword, QString* out)
    {
        const QJsonValue v = O.value(QLatin1String(k));
        if (v.isUndefined())
            return;
        const QString t = v.toString();
        if (!v.isString() || t.size() > maxLength)
            fail(PaperPresetText::tr("\"%1\" must be a text of at most %2 characters").arg(key(k)).arg(maxLength));
        else if (keyword && !t.isEmpty() && !IsPrinterKeyword(t))
            fail(PaperPresetText::tr("\"%1\" is not a printer option value: %2").arg(key(k), t.left(40)));
        else if (std::any_of(t.begin(), t.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
            fail(PaperPresetText::tr("\"%1\" holds control characters").arg(key(k)));
        else
            *out = t;
    }
    [[nodiscard]] QJsonObject object(const char* k)
    {
        const QJsonValue v = O.value(QLatin1String(k));
        if (!v.isUndefined() && !v.isObject())
            fail(PaperPresetText::tr("\"%1\" is not an object").arg(key(k)));
        return v.toObject();
    }

private:
    const QJsonObject& O;
    QString Prefix;
    QString* Error;
};

void ReadPaper(Reader& r, PaperPreset& p)
{
    r.text("printer", MaxKeywordLength, false, &p.Printer);
    const QJsonObject po = r.object("paper");
    QString error;
    Reader pr(po, QStringLiteral("paper."), &error);
    pr.text("size", MaxKeywordLength, true, &p.PaperKey);
    pr.text("name", MaxNameLength, false, &p.PaperName);
    pr.number("widthMm", 0, MaxPaperMm, &p.WidthMm);
    pr.number("heightMm", 0, MaxPaperMm, &p.HeightMm);
    pr.boolean("landscape", &p.Landscape);
    pr.boolean("borderless", &p.Borderless);
    pr.number("overspillMm", 0, MaxOverspill, &p.Overspill);
    pr.text("source", MaxKeywordLength, true, &p.Choices.Source);
    pr.text("mediaType", MaxKeywordLength, true, &p.Choices.MediaType);
    pr.text("quality", MaxKeywordLength, true, &p.Choices.Quality);
    if (!error.isEmpty())
        r.fail(error);
}

void ReadColour(Reader& r, PaperPreset& p)
{
    const QJsonObject co = r.object("colour");
    QString error;
    Reader c(co, QStringLiteral("colour."), &error);
    c.text("profile", MaxPathLength, false, &p.Colour.ProfileFile);
    c.integer("intent", 0, 3, &p.Colour.Intent);
    c.boolean("blackPoint", &p.Colour.BlackPoint);
    c.text("monitor", MaxPathLength, false, &p.Colour.MonitorFile);
    c.boolean("gamutWarning", &p.Colour.GamutWarning);
    c.boolean("softProof", &p.Colour.SoftProof);
    const QJsonObject ko = r.object("calibration");
    Reader k(ko, QStringLiteral("calibration."), &error);
    k.number("offsetXMm", -MaxCalibrationOffset, MaxCalibrationOffset, &p.Calibration.OffsetX);
    k.number("offsetYMm", -MaxCalibrationOffset, MaxCalibrationOffset, &p.Calibration.OffsetY);
    k.number("scale", MinCalibrationScale, MaxCalibrationScale, &p.Calibration.Scale);
    if (!error.isEmpty())
        r.fail(error);
}

void ReadFinish(Reader& r, PaperPreset& p)
{
    QString error;
    const QJsonObject so = r.object("sharpening");
    Reader s(so, QStringLiteral("sharpening."), &error);
    s.integer("amount", 0, MaxSharpenAmount, &p.Sharpening.Amount);
    s.number("radiusMm", MinSharpenRadius, MaxSharpenRadius, &p.Sharpening.Radius);
    const QJsonObject ao = r.object("adjustment");
    Reader a(ao, QStringLiteral("adjustment."), &error);
    a.integer("brightness", -MaxPrintAdjustment, MaxPrintAdjustment, &p.Adjustment.Brightness);
    a.integer("contrast", -MaxPrintAdjustment, MaxPrintAdjustment, &p.Adjustment.Contrast);
    if (!error.isEmpty())
        r.fail(error);
}

void ReadOptions(Reader& r, PaperPreset& p)
{
    const QJsonObject o = r.object("options");
    if (o.size() > MaxOptions) {
        r.fail(PaperPresetText::tr("\"options\" holds more than %1 printer options").arg(MaxOptions));
        return;
    }
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString value = it.value().toString();
        if (!IsPrinterKeyword(it.key()) || !it.value().isString() || !IsPrinterKeyword(value)) {
            r.fail(PaperPresetText::tr("\"options.%1\" is not a printer option").arg(it.key().left(40)));
            return;
        }
        p.Choices.Options.emplace_back(it.key(), value);
    }
}

QString FileBase(const QString& name)
{
    QString base = name;
    for (QChar& c : base)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    return base;
}

// A standard page size by its key or its name; invalid for none.
QPageSize PageSizeFor(const QString& keyOrName)
{
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const QPageSize size { QPageSize::PageSizeId(id) };
        if (size.key() == keyOrName || size.name() == keyOrName)
            return size;
    }
    return {};
}
} // namespace

bool IsPrinterKeyword(const QString& text)
{
    if (text.isEmpty() || text.size() > MaxKeywordLength)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() < 128 && c.isLetterOrNumber()) || c == QLatin1Char('-') || c == QLatin1Char('_')
            || c == QLatin1Char('.') || c == QLatin1Char(':');
    });
}

PaperPresetParse ParsePaperPreset(const QByteArray& json)
{
    PaperPresetParse result;
    if (json.size() > MaxPaperPresetBytes) {
        result.Error = PaperPresetText::tr("the file is larger than a paper preset can be");
        return result;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        result.Error = PaperPresetText::tr("the file is damaged (not a JSON object)");
        return result;
    }
    const QJsonObject o = doc.object();
    PaperPreset p;
    Reader r(o, {}, &result.Error);
    r.text("name", MaxNameLength, false, &p.Name);
    p.Name = p.Name.trimmed();
    if (p.Name.isEmpty())
        r.fail(PaperPresetText::tr("\"name\" is missing"));
    ReadPaper(r, p);
    ReadColour(r, p);
    ReadFinish(r, p);
    ReadOptions(r, p);
    if (!r.failed() && p.PaperKey.isEmpty() && (p.WidthMm <= 0) != (p.HeightMm <= 0))
        r.fail(PaperPresetText::tr("a custom paper needs both \"paper.widthMm\" and \"paper.heightMm\""));
    if (r.failed())
        return result;
    result.Ok = true;
    result.Preset = p;
    return result;
}

QByteArray PaperPresetJson(const PaperPreset& p)
{
    QJsonObject paper { { QStringLiteral("size"), p.PaperKey }, { QStringLiteral("name"), p.PaperName },
        { QStringLiteral("widthMm"), p.WidthMm }, { QStringLiteral("heightMm"), p.HeightMm },
        { QStringLiteral("landscape"), p.Landscape }, { QStringLiteral("borderless"), p.Borderless },
        { QStringLiteral("overspillMm"), p.Overspill }, { QStringLiteral("source"), p.Choices.Source },
        { QStringLiteral("mediaType"), p.Choices.MediaType }, { QStringLiteral("quality"), p.Choices.Quality } };
    // Empty keywords are not written: the reader takes only real ones.
    for (const char* k : { "size", "source", "mediaType", "quality" })
        if (paper.value(QLatin1String(k)).toString().isEmpty())
            paper.remove(QLatin1String(k));
    const QJsonObject colour { { QStringLiteral("profile"), p.Colour.ProfileFile },
        { QStringLiteral("intent"), p.Colour.Intent }, { QStringLiteral("blackPoint"), p.Colour.BlackPoint },
        { QStringLiteral("monitor"), p.Colour.MonitorFile }, { QStringLiteral("gamutWarning"), p.Colour.GamutWarning },
        { QStringLiteral("softProof"), p.Colour.SoftProof } };
    const QJsonObject calibration { { QStringLiteral("offsetXMm"), p.Calibration.OffsetX },
        { QStringLiteral("offsetYMm"), p.Calibration.OffsetY }, { QStringLiteral("scale"), p.Calibration.Scale } };
    const QJsonObject sharpening { { QStringLiteral("amount"), p.Sharpening.Amount },
        { QStringLiteral("radiusMm"), p.Sharpening.Radius } };
    const QJsonObject adjustment { { QStringLiteral("brightness"), p.Adjustment.Brightness },
        { QStringLiteral("contrast"), p.Adjustment.Contrast } };
    QJsonObject options;
    for (const auto& [name, value] : p.Choices.Options)
        options.insert(name, value);
    const QJsonObject o { { QStringLiteral("name"), p.Name }, { QStringLiteral("printer"), p.Printer },
        { QStringLiteral("paper"), paper }, { QStringLiteral("colour"), colour },
        { QStringLiteral("calibration"), calibration }, { QStringLiteral("sharpening"), sharpening },
        { QStringLiteral("adjustment"), adjustment }, { QStringLiteral("options"), options } };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

const PaperPreset* PaperPresets::find(const QString& name) const
{
    for (const PaperPreset& p : Presets)
        if (p.Name == name)
            return &p;
    return nullptr;
}

PaperPresets LoadPaperPresets(const QString& folder)
{
    PaperPresets r;
    const QDir dir(folder);
    const QStringList files = dir.entryList({ QStringLiteral("*.json") }, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        QString error;
        if (!f.open(QIODevice::ReadOnly))
            error = f.errorString();
        else if (f.size() > MaxPaperPresetBytes)
            error = PaperPresetText::tr("the file is larger than a paper preset can be");
        if (error.isEmpty()) {
            const PaperPresetParse p = ParsePaperPreset(f.read(MaxPaperPresetBytes + 1));
            if (!p.Ok)
                error = p.Error;
            else if (r.find(p.Preset.Name))
                error = PaperPresetText::tr("another file has the name \"%1\"").arg(p.Preset.Name);
            else
                r.Presets.push_back(p.Preset);
        }
        if (!error.isEmpty())
            r.Errors << QStringLiteral("%1: %2").arg(name, error);
    }
    std::sort(r.Presets.begin(), r.Presets.end(),
        [](const PaperPreset& a, const PaperPreset& b) { return a.Name.localeAwareCompare(b.Name) < 0; });
    return r;
}

namespace {
// The file in folder that holds the preset of that name; empty for none.
QString FileOfPreset(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    for (const QString& file : dir.entryList({ QStringLiteral("*.json") }, QDir::Files | QDir::Readable)) {
        QFile f(dir.filePath(file));
        if (f.open(QIODevice::ReadOnly) && f.size() <= MaxPaperPresetBytes) {
            const PaperPresetParse p = ParsePaperPreset(f.read(MaxPaperPresetBytes + 1));
            if (p.Ok && p.Preset.Name == name)
                return f.fileName();
        }
    }
    return {};
}
} // namespace

QString SavePaperPreset(const QString& folder, const PaperPreset& preset, QString* error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = PaperPresetText::tr("The folder %1 cannot be made.").arg(folder);
        return {};
    }
    // The preset's own file, else a new one that replaces no other preset.
    QString path = FileOfPreset(folder, preset.Name);
    for (int n = 1; path.isEmpty(); ++n) {
        const QString candidate = QDir(folder).filePath(
            FileBase(preset.Name) + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) + QStringLiteral(".json"));
        if (!QFileInfo::exists(candidate))
            path = candidate;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(PaperPresetJson(preset)) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return {};
    }
    return path;
}

bool RemovePaperPreset(const QString& folder, const QString& name)
{
    const QString file = FileOfPreset(folder, name);
    return !file.isEmpty() && QFile::remove(file);
}

QString PaperPresetFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("paper-presets"));
}

std::vector<PaperPreset> PresetsFromOldSettings(const std::vector<KeptColourSettings>& colour,
    const std::vector<KeptCalibration>& calibrations, const PrintSheetSettings& sheets)
{
    // One preset per printer, paper key and orientation, in a stable order.
    std::map<std::tuple<QString, QString, bool>, PaperPreset> made;
    const auto presetFor = [&](const QString& printer, const QString& paper, bool landscape) -> PaperPreset& {
        const QPageSize size = PageSizeFor(paper);
        const QString key = size.isValid() ? size.key() : QString();
        PaperPreset& p = made[{ printer, size.isValid() ? key : paper, landscape }];
        if (p.Name.isEmpty()) {
            p.Printer = printer;
            p.PaperKey = IsPrinterKeyword(key) ? key : QString();
            p.PaperName = size.isValid() ? size.name() : paper;
            if (size.isValid() && p.PaperKey.isEmpty()) {
                const QSizeF mm = size.size(QPageSize::Millimeter);
                p.WidthMm = mm.width();
                p.HeightMm = mm.height();
            }
            p.Landscape = landscape;
            p.Borderless = sheets.Borderless;
            p.Overspill = sheets.Overspill;
            p.Name = landscape ? PaperPresetText::tr("%1, %2 landscape").arg(printer, p.PaperName)
                               : PaperPresetText::tr("%1, %2").arg(printer, p.PaperName);
            p.Name = p.Name.left(MaxNameLength);
        }
        return p;
    };
    for (const KeptCalibration& c : calibrations) {
        const bool landscape = c.Paper.endsWith(QLatin1String(" landscape"));
        const QString key = c.Paper.left(c.Paper.lastIndexOf(QLatin1Char(' ')));
        presetFor(c.Printer, key, landscape).Calibration = c.Calibration;
    }
    for (const KeptColourSettings& c : colour) {
        bool taken = false;
        // The colour of a paper holds for both orientations measured.
        for (bool landscape : { false, true }) {
            const QPageSize size = PageSizeFor(c.Paper);
            const auto it = made.find({ c.Printer, size.isValid() ? size.key() : c.Paper, landscape });
            if (it != made.end()) {
                it->second.Colour = c.Settings;
                taken = true;
            }
        }
        if (!taken)
            presetFor(c.Printer, c.Paper, false).Colour = c.Settings;
    }
    std::vector<PaperPreset> presets;
    for (auto& [key, preset] : made)
        presets.push_back(preset);
    return presets;
}

QStringList ConvertOldPrintSettings(const QString& folder)
{
    if (OldPrintSettingsConverted())
        return {};
    const std::vector<PaperPreset> made
        = PresetsFromOldSettings(AllColourSettings(), AllPrintCalibrations(), LoadPrintSheetSettings());
    // Nothing to keep: the settings file stays as it is (or absent).
    if (made.empty())
        return {};
    const PaperPresets existing = LoadPaperPresets(folder);
    QStringList errors;
    for (const PaperPreset& p : made) {
        if (existing.find(p.Name))
            continue; // written by an earlier attempt, perhaps edited since
        QString error;
        if (SavePaperPreset(folder, p, &error).isEmpty())
            errors << QStringLiteral("%1: %2").arg(p.Name, error);
    }
    if (errors.isEmpty())
        SetOldPrintSettingsConverted();
    return errors;
}

QString ApplyPaperPreset(TPrinter& printer, const PaperPreset& preset)
{
    QPrinter& q = *printer.qprinter();
    QString problem;
    if (!preset.Printer.isEmpty() && !printer.PrintsToFile() && preset.Printer != q.printerName()) {
        if (QPrinterInfo::availablePrinterNames().contains(preset.Printer))
            q.setPrinterName(preset.Printer);
        else
            problem = PaperPresetText::tr("The printer %1 of the preset \"%2\" is not there; the pages go to %3.")
                          .arg(preset.Printer, preset.Name, q.printerName());
    }
    QPageSize size = preset.PaperKey.isEmpty() ? QPageSize() : PageSizeFor(preset.PaperKey);
    if (!size.isValid() && preset.WidthMm > 0 && preset.HeightMm > 0)
        size = QPageSize(QSizeF(preset.WidthMm, preset.HeightMm), QPageSize::Millimeter, preset.PaperName);
    if (size.isValid())
        q.setPageSize(size);
    q.setPageOrientation(preset.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (preset.Borderless)
        printer.UseLeastMargins();
    return problem;
}

QString TakePresetValues(PrintSetup& setup, const PaperPreset& preset, bool toFile)
{
    setup.PresetName = preset.Name;
    setup.Calibration = toFile ? PrintCalibration {} : preset.Calibration;
    setup.Sharpening = preset.Sharpening;
    setup.Adjustment = preset.Adjustment;
    const QString queue = setup.Destination.PrinterName;
    if (toFile || queue.isEmpty()) {
        setup.Choices = {};
        return {};
    }
    QStringList dropped;
    setup.Choices = SupportedChoices(preset.Choices, ReadPrinterOfferings(queue), &dropped);
    for (const auto& [name, value] : PrinterChoiceOptions(setup.Choices))
        setup.Destination.CupsOptions << name << value;
    if (dropped.isEmpty())
        return {};
    return PaperPresetText::tr(
        "The printer %1 does not offer the %2 of the preset \"%3\"; the printer's default is used.")
        .arg(queue, dropped.join(QStringLiteral(", ")), preset.Name);
}

ColourSettings JobColourSettings(TPrinter& printer)
{
    ColourSettings settings = CurrentColourSettings(printer);
    const QString chosen = LoadChosenPaperPreset();
    if (chosen.isEmpty())
        return settings;
    const PaperPresets presets = LoadPaperPresets(PaperPresetFolder());
    if (const PaperPreset* preset = presets.find(chosen)) {
        const bool proof = settings.SoftProof;
        settings = preset->Colour;
        settings.SoftProof = proof;
    }
    return settings;
}

PrintSetup PresetJobSetup(TPrinter& printer, const PaperPreset& preset, QString* problem)
{
    const QString printerProblem = ApplyPaperPreset(printer, preset);
    PrintSetup s = PrinterPageSetup(printer);
    const PrintColour colour = MakePrintColour(preset.Colour);
    s.Colour = colour.Conversion;
    s.PrinterProfile = colour.PrinterIcc;
    const QString choicesProblem = TakePresetValues(s, preset, printer.PrintsToFile());
    if (problem) {
        QStringList all;
        for (const QString& p : { printerProblem, colour.Problem, choicesProblem })
            if (!p.isEmpty())
                all << p;
        *problem = all.join(QLatin1Char('\n'));
    }
    return s;
}
