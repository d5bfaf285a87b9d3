#include "platform/Settings.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

bool ReadBool(const QSettings& s, const char* key, bool fallback)
{
    const QVariant v = s.value(QLatin1String(key));
    if (!v.isValid())
        return fallback;
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

double ReadDouble(const QSettings& s, const char* key, double fallback)
{
    bool ok = false;
    const double v = s.value(QLatin1String(key)).toString().toDouble(&ok);
    return ok && std::isfinite(v) ? v : fallback;
}

int ReadInt(const QSettings& s, const char* key, int fallback)
{
    bool ok = false;
    const int v = s.value(QLatin1String(key)).toString().toInt(&ok);
    return ok ? v : fallback;
}

MainFormSettings::FilePage ReadFilePage(const QSettings& s, MainFormSettings::FilePage fallback)
{
    using Page = MainFormSettings::FilePage;
    const QVariant page = s.value(QStringLiteral("FilePage"));
    if (page.isValid()) {
        if (page.toString() == QLatin1String("FileList"))
            return Page::FileList;
        return page.toString() == QLatin1String("PictureBrowser") ? Page::PictureBrowser : fallback;
    }
    const QString old = s.value(QStringLiteral("PageControl3_ActivePage")).toString();
    if (old == QLatin1String("FileListTab"))
        return Page::FileList;
    return old == QLatin1String("TabSheet10") ? Page::PictureBrowser : fallback;
}

} // namespace

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("snapgrid-atlas"));
}

MainFormSettings LoadMainFormSettings()
{
    MainFormSettings m;
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("TMainForm"));
    m.SpacingEd = ReadDouble(*s, "SpaceED_Value", m.SpacingEd);
    m.MarginEd = ReadDouble(*s, "RandEd_Value", m.MarginEd);
    m.UseGridCheck = ReadBool(*s, "UseGridCheck_Checked", m.UseGridCheck);
    m.GridEd = ReadDouble(*s, "GridEd_Value", m.GridEd);
    m.ShowGridCheck = ReadBool(*s, "ShowGridCheck_Checked", m.ShowGridCheck);
    m.MinQualEd = ReadInt(*s, "MinQualEd_Value", m.MinQualEd);
    m.EnhanceQualCheck = ReadBool(*s, "EnhanceQualCheck_Checked", m.EnhanceQualCheck);
    m.TurnCameraCheck = ReadBool(*s, "TurnCameraCheck_Checked", m.TurnCameraCheck);
    m.PictureMemoryEd = ReadInt(*s, "PictureMemoryEd_Value", m.PictureMemoryEd);
    m.RecentFiles = s->value(QStringLiteral("RecentFiles")).toStringList();
    m.FilesShownIn = ReadFilePage(*s, m.FilesShownIn);
    m.Geometry = s->value(QStringLiteral("Geometry")).toByteArray();
    m.IdGuidesCheck = ReadBool(*s, "IdGuidesCheck_Checked", m.IdGuidesCheck);
    return m;
}

void SaveMainFormSettings(const MainFormSettings& m)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("TMainForm"));
    s->setValue(QStringLiteral("SpaceED_Value"), m.SpacingEd);
    s->setValue(QStringLiteral("RandEd_Value"), m.MarginEd);
    s->setValue(QStringLiteral("UseGridCheck_Checked"), m.UseGridCheck);
    s->setValue(QStringLiteral("GridEd_Value"), m.GridEd);
    s->setValue(QStringLiteral("TurnCameraCheck_Checked"), m.TurnCameraCheck);
    s->setValue(QStringLiteral("PictureMemoryEd_Value"), m.PictureMemoryEd);
    s->setValue(QStringLiteral("RecentFiles"), m.RecentFiles);
    s->setValue(QStringLiteral("ShowGridCheck_Checked"), m.ShowGridCheck);
    s->setValue(QStringLiteral("MinQualEd_Value"), m.MinQualEd);
    s->setValue(QStringLiteral("EnhanceQualCheck_Checked"), m.EnhanceQualCheck);
    s->setValue(QStringLiteral("FilePage"), m.FilesShownIn == MainFormSettings::FilePage::FileList
                                                 ? QStringLiteral("FileList")
                                                 : QStringLiteral("PictureBrowser"));
    s->setValue(QStringLiteral("Geometry"), m.Geometry);
    s->setValue(QStringLiteral("IdGuidesCheck_Checked"), m.IdGuidesCheck);
}

PrintFormSettings LoadPrintFormSettings()
{
    PrintFormSettings p;
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("TPrintForm"));
    p.UseFull = ReadBool(*s, "UseFullCheck_Checked", p.UseFull);
    p.Userdef = ReadBool(*s, "UserdefCheck_Checked", p.Userdef);
    p.Zentr = ReadBool(*s, "ZentrCheck_Checked", p.Zentr);
    p.Sverh = ReadBool(*s, "SverhCheck_Checked", p.Sverh);
    p.Breit = std::clamp(ReadInt(*s, "BreitEdit_Value", p.Breit), 1, 100);
    p.Hoch = std::clamp(ReadInt(*s, "HochEdit_Value", p.Hoch), 1, 100);
    p.Maximized = s->value(QStringLiteral("WindowState")).toString() == QLatin1String("Maximized");
    return p;
}

void SavePrintFormSettings(const PrintFormSettings& p)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("TPrintForm"));
    s->setValue(QStringLiteral("UseFullCheck_Checked"), p.UseFull);
    s->setValue(QStringLiteral("UserdefCheck_Checked"), p.Userdef);
    s->setValue(QStringLiteral("ZentrCheck_Checked"), p.Zentr);
    s->setValue(QStringLiteral("SverhCheck_Checked"), p.Sverh);
    s->setValue(QStringLiteral("BreitEdit_Value"), p.Breit);
    s->setValue(QStringLiteral("HochEdit_Value"), p.Hoch);
    s->setValue(QStringLiteral("WindowState"), p.Maximized ? QStringLiteral("Maximized") : QStringLiteral("Normal"));
}

PrinterSettings LoadPrinterSettings()
{
    PrinterSettings p;
    const std::unique_ptr<QSettings> s = OpenSettings();
    const QString orientation = s->value(QStringLiteral("Printer/Orientation")).toString();
    p.Stored = orientation == QLatin1String("Landscape") || orientation == QLatin1String("Portrait");
    p.Landscape = orientation == QLatin1String("Landscape");
    return p;
}

void SavePrinterSettings(const PrinterSettings& p)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->setValue(QStringLiteral("Printer/Orientation"), p.Landscape ? QStringLiteral("Landscape")
                                                                   : QStringLiteral("Portrait"));
}

PrintSheetSettings LoadPrintSheetSettings()
{
    PrintSheetSettings p;
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("PrintSheets"));
    p.CutMarks = ReadBool(*s, "CutMarks", p.CutMarks);
    p.Margin = std::clamp(ReadDouble(*s, "Margin", p.Margin), 0.0, 100.0);
    p.Gap = std::clamp(ReadDouble(*s, "Gap", p.Gap), 0.0, 100.0);
    p.Borderless = ReadBool(*s, "Borderless", p.Borderless);
    p.Overspill = std::clamp(ReadDouble(*s, "Overspill", p.Overspill), 0.0, MaxOverspill);
    p.Width = std::clamp(ReadDouble(*s, "Width", p.Width), 1.0, 1000.0);
    p.Height = std::clamp(ReadDouble(*s, "Height", p.Height), 1.0, 1000.0);
    const int rows = std::min(s->beginReadArray(QStringLiteral("List")), MaxKeptListRows);
    for (int i = 0; i < rows; ++i) {
        s->setArrayIndex(i);
        PrintSheetSettings::ListRow row{s->value(QStringLiteral("File")).toString(),
                                        ReadDouble(*s, "Width", 0), ReadDouble(*s, "Height", 0),
                                        std::clamp(s->value(QStringLiteral("Copies")).toInt(), 1, MaxKeptCopies)};
        if (!row.File.isEmpty() && row.Width >= 1 && row.Width <= 1000 && row.Height >= 1 && row.Height <= 1000)
            p.List.push_back(row);
    }
    s->endArray();
    return p;
}

void SavePrintSheetSettings(const PrintSheetSettings& p)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("PrintSheets"));
    s->setValue(QStringLiteral("CutMarks"), p.CutMarks);
    s->setValue(QStringLiteral("Margin"), p.Margin);
    s->setValue(QStringLiteral("Gap"), p.Gap);
    s->setValue(QStringLiteral("Borderless"), p.Borderless);
    s->setValue(QStringLiteral("Width"), p.Width);
    s->setValue(QStringLiteral("Height"), p.Height);
    s->setValue(QStringLiteral("Overspill"), p.Overspill);
    s->beginWriteArray(QStringLiteral("List"), int(std::min<std::size_t>(p.List.size(), MaxKeptListRows)));
    for (int i = 0; i < int(p.List.size()) && i < MaxKeptListRows; ++i) {
        s->setArrayIndex(i);
        s->setValue(QStringLiteral("File"), p.List[std::size_t(i)].File);
        s->setValue(QStringLiteral("Width"), p.List[std::size_t(i)].Width);
        s->setValue(QStringLiteral("Height"), p.List[std::size_t(i)].Height);
        s->setValue(QStringLiteral("Copies"), p.List[std::size_t(i)].Copies);
    }
    s->endArray();
}

namespace {
// One key per printer and paper; '/' would open a sub-group.
QString calibrationKey(const QString& printer, const QString& paper)
{
    QString key = QStringLiteral("Calibration %1 %2").arg(printer, paper);
    key.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return key;
}
} // namespace

PrintCalibration ClampedCalibration(const PrintCalibration& c)
{
    const auto held = [](double v, double low, double high, double none) {
        return std::isfinite(v) ? std::clamp(v, low, high) : none;
    };
    return PrintCalibration{held(c.OffsetX, -MaxCalibrationOffset, MaxCalibrationOffset, 0),
                            held(c.OffsetY, -MaxCalibrationOffset, MaxCalibrationOffset, 0),
                            held(c.Scale, MinCalibrationScale, MaxCalibrationScale, 1)};
}

PrintCalibration LoadPrintCalibration(const QString& printer, const QString& paper)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("PrintSheets"));
    // "x;y;scale": one value, so a half-written entry is not half applied.
    const QStringList parts = s->value(calibrationKey(printer, paper)).toString().split(QLatin1Char(';'));
    PrintCalibration c;
    if (parts.size() != 3)
        return c;
    bool ok[3] = {};
    const PrintCalibration read{parts[0].toDouble(&ok[0]), parts[1].toDouble(&ok[1]), parts[2].toDouble(&ok[2])};
    return ok[0] && ok[1] && ok[2] ? ClampedCalibration(read) : c;
}

void SavePrintCalibration(const QString& printer, const QString& paper, const PrintCalibration& calibration)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("PrintSheets"));
    const PrintCalibration c = ClampedCalibration(calibration);
    if (c.isIdentity()) {
        s->remove(calibrationKey(printer, paper));
        return;
    }
    s->setValue(calibrationKey(printer, paper), QStringLiteral("%1;%2;%3")
                                                    .arg(c.OffsetX, 0, 'f', 2)
                                                    .arg(c.OffsetY, 0, 'f', 2)
                                                    .arg(c.Scale, 0, 'f', 4));
}

namespace {
// One INI group per printer and paper; names may hold any character.
QString colourGroup(const QString &printer, const QString &paper)
{
    const QString name = printer + QLatin1Char('|') + paper;
    return QStringLiteral("Colour/") + QString::fromLatin1(name.toUtf8().toPercentEncoding());
}
} // namespace

ColourSettings LoadColourSettings(const QString &printer, const QString &paper)
{
    ColourSettings c;
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(colourGroup(printer, paper));
    c.ProfileFile = s->value(QStringLiteral("Profile")).toString();
    c.Intent = std::clamp(ReadInt(*s, "Intent", c.Intent), 0, 3);
    c.BlackPoint = ReadBool(*s, "BlackPoint", c.BlackPoint);
    c.MonitorFile = s->value(QStringLiteral("Monitor")).toString();
    c.GamutWarning = ReadBool(*s, "GamutWarning", c.GamutWarning);
    c.SoftProof = ReadBool(*s, "SoftProof", c.SoftProof);
    return c;
}

void SaveColourSettings(const QString &printer, const QString &paper, const ColourSettings &c)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(colourGroup(printer, paper));
    s->setValue(QStringLiteral("Profile"), c.ProfileFile);
    s->setValue(QStringLiteral("Intent"), c.Intent);
    s->setValue(QStringLiteral("BlackPoint"), c.BlackPoint);
    s->setValue(QStringLiteral("Monitor"), c.MonitorFile);
    s->setValue(QStringLiteral("GamutWarning"), c.GamutWarning);
    s->setValue(QStringLiteral("SoftProof"), c.SoftProof);
}

std::vector<KeptColourSettings> AllColourSettings()
{
    std::vector<KeptColourSettings> all;
    QStringList groups;
    {
        const std::unique_ptr<QSettings> s = OpenSettings();
        s->beginGroup(QStringLiteral("Colour"));
        groups = s->childGroups();
    }
    for (const QString& group : groups) {
        const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(group.toLatin1()));
        const qsizetype bar = name.indexOf(QLatin1Char('|'));
        if (bar < 0)
            continue;
        const QString printer = name.left(bar);
        const QString paper = name.mid(bar + 1);
        all.push_back({ printer, paper, LoadColourSettings(printer, paper) });
    }
    return all;
}

std::vector<KeptCalibration> AllPrintCalibrations()
{
    std::vector<KeptCalibration> all;
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("PrintSheets"));
    for (const QString& key : s->childKeys()) {
        // "Calibration PRINTER KEY ORIENTATION"; queue names hold no space.
        QStringList parts = key.split(QLatin1Char(' '));
        if (parts.size() < 4 || parts.front() != QLatin1String("Calibration"))
            continue;
        const QString printer = parts[1];
        const QString paper = parts.mid(2).join(QLatin1Char(' '));
        const QStringList v = s->value(key).toString().split(QLatin1Char(';'));
        bool ok[3] = {};
        if (v.size() != 3)
            continue;
        const PrintCalibration c { v[0].toDouble(&ok[0]), v[1].toDouble(&ok[1]), v[2].toDouble(&ok[2]) };
        if (ok[0] && ok[1] && ok[2])
            all.push_back({ printer, paper, ClampedCalibration(c) });
    }
    return all;
}

bool OldPrintSettingsConverted()
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    return ReadBool(*s, "PaperPresets/Converted", false);
}

void SetOldPrintSettingsConverted() { OpenSettings()->setValue(QStringLiteral("PaperPresets/Converted"), true); }

QString LoadChosenPaperPreset()
{
    return OpenSettings()->value(QStringLiteral("PaperPresets/Chosen")).toString().left(200);
}

void SaveChosenPaperPreset(const QString& name)
{
    OpenSettings()->setValue(QStringLiteral("PaperPresets/Chosen"), name);
}

std::vector<KeptStripStep> LoadTestStripSteps()
{
    std::vector<KeptStripStep> steps;
    const QStringList stored = OpenSettings()
                                   ->value(QStringLiteral("TestStrip/Steps"))
                                   .toString()
                                   .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& step : stored.mid(0, 20)) {
        // "b,c", or "b,c,intent" for an intent step.
        const QStringList v = step.split(QLatin1Char(','));
        bool ok[3] = { false, false, true };
        if (v.size() == 2 || v.size() == 3) {
            const int b = v[0].toInt(&ok[0]), c = v[1].toInt(&ok[1]);
            const int intent = v.size() == 3 ? v[2].toInt(&ok[2]) : -1;
            if (ok[0] && ok[1] && ok[2] && intent >= -1 && intent <= 3)
                steps.push_back({ std::clamp(b, -100, 100), std::clamp(c, -100, 100), intent });
        }
    }
    return steps;
}

void SaveTestStripSteps(const std::vector<KeptStripStep>& steps)
{
    QStringList stored;
    for (const KeptStripStep& s : steps)
        stored << (s.Intent >= 0 ? QStringLiteral("%1,%2,%3").arg(s.Brightness).arg(s.Contrast).arg(s.Intent)
                                 : QStringLiteral("%1,%2").arg(s.Brightness).arg(s.Contrast));
    OpenSettings()->setValue(QStringLiteral("TestStrip/Steps"), stored.join(QLatin1Char(';')));
}
