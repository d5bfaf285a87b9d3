#include "arrange/PrintSizes.h"

#include "document/PageGeometry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

namespace {
struct PrintSizesText {
    Q_DECLARE_TR_FUNCTIONS(PrintSizesText)
};

PrintSize Size(const QString &name, double w, double h, SizeUnit unit, IdPhotoRule id = {})
{
    PrintSize s;
    s.Name = name;
    s.Width = w;
    s.Height = h;
    s.Unit = unit;
    s.Id = id;
    return s;
}

QString Number(double v) { return QString::number(v, 'g', 6); }

// A length of a preset file: a finite number above 0 that gives at most
// MaxPrintSizeMm; the reason otherwise.
QString CheckLength(const QJsonValue &v, const char *key, SizeUnit unit, double *out)
{
    if (!v.isDouble())
        return PrintSizesText::tr("\"%1\" is missing or not a number").arg(QLatin1String(key));
    const double d = v.toDouble();
    if (!std::isfinite(d) || d <= 0)
        return PrintSizesText::tr("\"%1\" must be greater than 0").arg(QLatin1String(key));
    if (d * MmPerUnit(unit) > MaxPrintSizeMm)
        return PrintSizesText::tr("\"%1\" is larger than %2 mm").arg(QLatin1String(key)).arg(MaxPrintSizeMm);
    *out = d;
    return {};
}

// An optional millimetre value of the head rule, 0 when absent.
QString CheckRuleValue(const QJsonObject &o, const char *key, double limit, double *out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return {};
    const double d = v.toDouble(-1);
    if (!v.isDouble() || !std::isfinite(d) || d < 0 || d > limit)
        return PrintSizesText::tr("\"id.%1\" must be a number of millimetres inside the frame").arg(QLatin1String(key));
    *out = d;
    return {};
}
} // namespace

double MmPerUnit(SizeUnit unit)
{
    switch (unit) {
    case SizeUnit::Mm:
        return 1;
    case SizeUnit::Cm:
        return 10;
    case SizeUnit::Inch:
        return MmPerInch;
    }
    return 1;
}

QString UnitSymbol(SizeUnit unit)
{
    switch (unit) {
    case SizeUnit::Mm:
        return QStringLiteral("mm");
    case SizeUnit::Cm:
        return QStringLiteral("cm");
    case SizeUnit::Inch:
        return QStringLiteral("in");
    }
    return {};
}

double PrintSize::widthMm() const { return Width * MmPerUnit(Unit); }
double PrintSize::heightMm() const { return Height * MmPerUnit(Unit); }

const std::vector<PrintSize> &BuiltInPrintSizes()
{
    // The names stay English: they are what order lists and stored sizes name;
    // the label translates them where it shows them.
    static const std::vector<PrintSize> sizes = [] {
        using U = SizeUnit;
        const QString photo = QStringLiteral(QT_TRANSLATE_NOOP("PrintSizesText", "Photo"));
        const QString wallet = QStringLiteral(QT_TRANSLATE_NOOP("PrintSizesText", "Wallet"));
        const QString square = QStringLiteral(QT_TRANSLATE_NOOP("PrintSizesText", "Square"));
        const QString id = QStringLiteral(QT_TRANSLATE_NOOP("PrintSizesText", "ID photo"));
        return std::vector<PrintSize> {
            Size(photo, 9, 13, U::Cm),
            Size(photo, 10, 15, U::Cm),
            Size(photo, 13, 18, U::Cm),
            Size(photo, 15, 20, U::Cm),
            Size(photo, 20, 30, U::Cm),
            Size(photo, 3.5, 5, U::Inch),
            Size(photo, 4, 6, U::Inch),
            Size(photo, 5, 7, U::Inch),
            Size(photo, 8, 10, U::Inch),
            Size(wallet, 2, 3, U::Inch),
            Size(wallet, 2.5, 3.5, U::Inch),
            Size(square, 10, 10, U::Cm),
            Size(square, 13, 13, U::Cm),
            Size(square, 20, 20, U::Cm),
            Size(QStringLiteral(QT_TRANSLATE_NOOP("PrintSizesText", "Passport / ID")), 35, 45, U::Mm,
                { 32, 36, 0, 0, 4 }),
            Size(QStringLiteral(QT_TRANSLATE_NOOP("PrintSizesText", "Passport / visa")), 2, 2, U::Inch,
                { 25, 35, 28, 35, 6 }),
            Size(id, 40, 50, U::Mm),
            Size(id, 50, 50, U::Mm),
        };
    }();
    return sizes;
}

QString PrintSizeLabel(const PrintSize &size)
{
    const QString name = PrintSizesText::tr(size.Name.toUtf8().constData());
    QString label
        = QStringLiteral("%1 %2 x %3 %4").arg(name, Number(size.Width), Number(size.Height), UnitSymbol(size.Unit));
    if (size.Unit != SizeUnit::Mm)
        label += QStringLiteral(" (%1 x %2 mm)").arg(QString::number(size.widthMm(), 'f', 1),
                                                    QString::number(size.heightMm(), 'f', 1));
    return label;
}

PresetParse ParsePrintSizePreset(const QByteArray &json)
{
    PresetParse r;
    if (json.size() > MaxPresetFileBytes) {
        r.Error = PrintSizesText::tr("the file is larger than a print size can be");
        return r;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        r.Error = PrintSizesText::tr("the file is damaged (not a JSON object)");
        return r;
    }
    const QJsonObject o = doc.object();
    PrintSize s;
    s.User = true;
    s.Name = o.value(QLatin1String("name")).toString().left(80).trimmed();
    if (s.Name.isEmpty()) {
        r.Error = PrintSizesText::tr("\"name\" is missing");
        return r;
    }
    const QString unit = o.value(QLatin1String("unit")).toString();
    if (unit == QLatin1String("mm"))
        s.Unit = SizeUnit::Mm;
    else if (unit == QLatin1String("cm"))
        s.Unit = SizeUnit::Cm;
    else if (unit == QLatin1String("in"))
        s.Unit = SizeUnit::Inch;
    else {
        r.Error = PrintSizesText::tr("unknown unit \"%1\" (mm, cm or in)").arg(unit.left(20));
        return r;
    }
    r.Error = CheckLength(o.value(QLatin1String("width")), "width", s.Unit, &s.Width);
    if (r.Error.isEmpty())
        r.Error = CheckLength(o.value(QLatin1String("height")), "height", s.Unit, &s.Height);
    if (!r.Error.isEmpty())
        return r;
    const QJsonValue id = o.value(QLatin1String("id"));
    if (id.isObject()) {
        const QJsonObject rule = id.toObject();
        const double h = s.heightMm();
        for (const auto &[key, out] : {std::pair{"headMin", &s.Id.HeadMin}, std::pair{"headMax", &s.Id.HeadMax},
                                       std::pair{"eyesMin", &s.Id.EyesMin}, std::pair{"eyesMax", &s.Id.EyesMax},
                                       std::pair{"crownGap", &s.Id.CrownGap}}) {
            r.Error = CheckRuleValue(rule, key, h, out);
            if (!r.Error.isEmpty())
                return r;
        }
        if (s.Id.HeadMin > s.Id.HeadMax || s.Id.EyesMin > s.Id.EyesMax) {
            r.Error = PrintSizesText::tr("the head or eye range of \"id\" ends before it starts");
            return r;
        }
    } else if (!id.isUndefined()) {
        r.Error = PrintSizesText::tr("\"id\" is not an object");
        return r;
    }
    r.Ok = true;
    r.Size = s;
    return r;
}

QByteArray PrintSizePresetJson(const PrintSize &size)
{
    QJsonObject o;
    o.insert(QLatin1String("name"), size.Name);
    o.insert(QLatin1String("width"), size.Width);
    o.insert(QLatin1String("height"), size.Height);
    o.insert(QLatin1String("unit"), UnitSymbol(size.Unit));
    if (size.Id.any()) {
        QJsonObject id;
        id.insert(QLatin1String("headMin"), size.Id.HeadMin);
        id.insert(QLatin1String("headMax"), size.Id.HeadMax);
        if (size.Id.EyesMax > 0) {
            id.insert(QLatin1String("eyesMin"), size.Id.EyesMin);
            id.insert(QLatin1String("eyesMax"), size.Id.EyesMax);
        }
        if (size.Id.CrownGap > 0)
            id.insert(QLatin1String("crownGap"), size.Id.CrownGap);
        o.insert(QLatin1String("id"), id);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

UserPresets LoadUserPrintSizes(const QString &folder)
{
    UserPresets r;
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        QString error;
        if (!f.open(QIODevice::ReadOnly))
            error = f.errorString();
        else if (f.size() > MaxPresetFileBytes)
            error = PrintSizesText::tr("the file is larger than a print size can be");
        if (error.isEmpty()) {
            const PresetParse p = ParsePrintSizePreset(f.read(MaxPresetFileBytes + 1));
            if (p.Ok)
                r.Sizes.push_back(p.Size);
            else
                error = p.Error;
        }
        if (!error.isEmpty())
            r.Errors << QStringLiteral("%1: %2").arg(name, error);
    }
    return r;
}

QString SaveUserPrintSize(const QString &folder, const PrintSize &size, QString *error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = PrintSizesText::tr("The folder %1 cannot be made.").arg(folder);
        return {};
    }
    QString base = size.Name;
    for (QChar &c : base)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    base += QStringLiteral("_%1x%2%3").arg(Number(size.Width), Number(size.Height), UnitSymbol(size.Unit));
    const QString path = QDir(folder).filePath(base + QStringLiteral(".json"));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(PrintSizePresetJson(size)) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return {};
    }
    return path;
}

QString UserPrintSizeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/print-sizes");
}

const PrintSize *MatchIdPhotoSize(double widthMm, double heightMm)
{
    constexpr double tolerance = 0.05;
    for (const PrintSize &s : BuiltInPrintSizes()) {
        if (!s.Id.any())
            continue;
        const double w = s.widthMm(), h = s.heightMm();
        if ((std::abs(w - widthMm) <= tolerance && std::abs(h - heightMm) <= tolerance)
            || (std::abs(h - widthMm) <= tolerance && std::abs(w - heightMm) <= tolerance))
            return &s;
    }
    return nullptr;
}

std::vector<IdGuideLine> IdGuideLines(const IdPhotoRule &rule, double frameHeightMm)
{
    std::vector<IdGuideLine> lines;
    if (!rule.any())
        return lines;
    // Without a crown distance the head band is centred in the frame.
    const double crown = rule.CrownGap > 0 ? rule.CrownGap : (frameHeightMm - rule.HeadMax) / 2;
    lines.push_back({crown, IdGuideLine::Crown});
    lines.push_back({crown + rule.HeadMin, IdGuideLine::Chin});
    lines.push_back({crown + rule.HeadMax, IdGuideLine::Chin});
    if (rule.EyesMax > 0) {
        lines.push_back({frameHeightMm - rule.EyesMax, IdGuideLine::Eyes});
        lines.push_back({frameHeightMm - rule.EyesMin, IdGuideLine::Eyes});
    }
    return lines;
}
