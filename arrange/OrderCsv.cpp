#include "arrange/OrderCsv.h"

#include "arrange/SheetLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cmath>
#include <cstring>

namespace {
struct OrderCsvText {
    Q_DECLARE_TR_FUNCTIONS(OrderCsvText)
};

// Spaces evened out, "×" as "x", for comparing size names as people type them.
QString SizeKey(QString s)
{
    s.replace(QChar(0x00D7), QLatin1Char('x'));
    return s.simplified().toCaseFolded();
}

QString Number(double v) { return QString::number(v, 'g', 6); }

bool SameSize(const QString &key, const PrintSize &size)
{
    const QString english = QStringLiteral("%1 %2 x %3 %4")
                                .arg(size.Name, Number(size.Width), Number(size.Height), UnitSymbol(size.Unit));
    if (key == SizeKey(english) || key == SizeKey(PrintSizeLabel(size)))
        return true;
    // The label without the millimetres an inch size adds.
    const QString label = PrintSizeLabel(size);
    const qsizetype paren = label.indexOf(QLatin1String(" ("));
    return paren > 0 && key == SizeKey(label.left(paren));
}

OrderSize Sized(double w, double h, bool upright)
{
    OrderSize s;
    if (!(w >= 5 && h >= 5 && w <= MaxPrintSizeMm && h <= MaxPrintSizeMm)) {
        s.Reason = OrderCsvText::tr("the size must be between 5 and %1 mm on each side").arg(MaxPrintSizeMm);
        return s;
    }
    s.Ok = true;
    s.WidthMm = w;
    s.HeightMm = h;
    s.Upright = upright || MatchIdPhotoSize(w, h) != nullptr;
    return s;
}

// Splits one line at sep, with "..." quoting ("" for a quote inside); false
// when a quote is left open.
bool SplitFields(const QString &line, QChar sep, QStringList &fields)
{
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                field += line[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == sep) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return !quoted;
}

struct Row {
    int Line;
    QString Text;
};

QString ResolvedPicture(const QString &picture, const QString &folder)
{
    return QDir::cleanPath(QFileInfo(picture).isAbsolute() ? picture : QDir(folder).filePath(picture));
}

// One data row as an order line, or the reason it is refused.
QString ReadRow(const QStringList &f, const QString &folder, const std::vector<PrintSize> &sizes,
                const std::function<bool(const QString &)> &exists, OrderLine &line)
{
    if (f.size() != 4)
        return OrderCsvText::tr("%1 fields instead of 4 (order, picture, size, copies)").arg(f.size());
    for (const QString &field : f)
        if (field.size() > MaxOrderTextLength)
            return OrderCsvText::tr("a field is longer than %1 characters").arg(MaxOrderTextLength);
    if (f[0].isEmpty())
        return OrderCsvText::tr("no order name");
    if (f[1].isEmpty())
        return OrderCsvText::tr("no picture");
    bool number = false;
    const qlonglong copies = f[3].toLongLong(&number);
    if (!number)
        return OrderCsvText::tr("the copies \"%1\" are not a whole number").arg(f[3].left(40));
    if (copies < 1 || copies > MaxOrderCopies)
        return OrderCsvText::tr("%1 copies: a line takes 1 to %2").arg(copies).arg(MaxOrderCopies);
    const OrderSize size = ParseOrderSize(f[2], sizes);
    if (!size.Ok)
        return size.Reason;
    const QString path = ResolvedPicture(f[1], folder);
    if (!(exists ? exists(path) : QFileInfo(path).isFile()))
        return OrderCsvText::tr("the picture \"%1\" is not there").arg(f[1].left(200));
    line = OrderLine{f[0], path, f[2].simplified(), size.WidthMm, size.HeightMm, size.Upright, int(copies)};
    return {};
}

// The lines of the file as text, each checked for length and encoding; the
// bad ones go to errors.
std::vector<Row> Lines(const QByteArray &csv, std::vector<OrderCsvError> &errors)
{
    std::vector<Row> rows;
    qsizetype start = csv.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (int number = 1; start < csv.size(); ++number) {
        qsizetype end = csv.indexOf('\n', start);
        if (end < 0)
            end = csv.size();
        const qsizetype length = end - start;
        const QByteArrayView bytes(csv.constData() + start, length);
        start = end + 1;
        if (length > MaxOrderCsvLineBytes) {
            errors.push_back({number, OrderCsvText::tr("the line is longer than %1 bytes").arg(MaxOrderCsvLineBytes)});
            continue;
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (utf8.hasError() || std::memchr(bytes.data(), 0, std::size_t(length))) {
            errors.push_back({number, OrderCsvText::tr("the line is not UTF-8 text")});
            continue;
        }
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        if (!text.trimmed().isEmpty())
            rows.push_back({number, text});
        if (int(rows.size()) > MaxOrderLines + 1) {
            errors.push_back({number, OrderCsvText::tr("more than %1 rows; the rest was not read").arg(MaxOrderLines)});
            rows.pop_back();
            break;
        }
    }
    return rows;
}
} // namespace

QString OrderCsvError::text() const
{
    return Line > 0 ? OrderCsvText::tr("Line %1: %2").arg(Line).arg(Reason) : Reason;
}

OrderSize ParseOrderSize(const QString &text, const std::vector<PrintSize> &sizes)
{
    const QString key = SizeKey(text);
    for (const PrintSize &size : sizes)
        if (SameSize(key, size))
            return Sized(size.widthMm(), size.heightMm(), size.Id.any());
    static const QRegularExpression typed(
        QStringLiteral("^(\\d{1,4}(?:[.,]\\d{1,4})?) ?x ?(\\d{1,4}(?:[.,]\\d{1,4})?) ?(mm|cm|in|inch|\")$"));
    const QRegularExpressionMatch m = typed.match(key);
    if (!m.hasMatch()) {
        OrderSize s;
        s.Reason = OrderCsvText::tr("\"%1\" is no print size the list knows, nor a size such as 60 x 90 mm")
                       .arg(text.left(80));
        return s;
    }
    const QString unit = m.captured(3);
    const double perUnit = unit == QLatin1String("mm") ? 1 : unit == QLatin1String("cm") ? 10 : MmPerUnit(SizeUnit::Inch);
    auto value = [&](int i) { return m.captured(i).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); };
    return Sized(value(1) * perUnit, value(2) * perUnit, false);
}

OrderCsvRead ReadOrderCsv(const QByteArray &csv, const QString &folder, const std::vector<PrintSize> &sizes,
                          const std::function<bool(const QString &)> &exists)
{
    OrderCsvRead read;
    const std::vector<Row> rows = Lines(csv, read.Errors);
    if (rows.empty()) {
        read.Errors.insert(read.Errors.begin(), OrderCsvError{1, OrderCsvText::tr("the file holds no header row")});
        return read;
    }
    const QString &header = rows.front().Text;
    const QChar sep = header.count(QLatin1Char(';')) > header.count(QLatin1Char(',')) ? QLatin1Char(';')
                                                                                     : QLatin1Char(',');
    QStringList names;
    SplitFields(header, sep, names);
    if (names.join(QLatin1Char(',')).toCaseFolded() != QLatin1String("order,picture,size,copies")) {
        read.Errors.insert(read.Errors.begin(), OrderCsvError{rows.front().Line,
                           OrderCsvText::tr("the header row must be order,picture,size,copies")});
        return read;
    }
    qint64 frames = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        QStringList fields;
        OrderLine line;
        QString reason = SplitFields(rows[i].Text, sep, fields) ? ReadRow(fields, folder, sizes, exists, line)
                                                                : OrderCsvText::tr("a quote is left open");
        if (reason.isEmpty() && frames + line.Copies > MaxSheetFrames)
            reason = OrderCsvText::tr("the list would ask for more than %1 frames").arg(MaxSheetFrames);
        if (!reason.isEmpty()) {
            read.Errors.push_back({rows[i].Line, reason});
            continue;
        }
        frames += line.Copies;
        read.Lines.push_back(std::move(line));
    }
    std::stable_sort(read.Errors.begin(), read.Errors.end(),
                     [](const OrderCsvError &a, const OrderCsvError &b) { return a.Line < b.Line; });
    return read;
}

OrderCsvRead ReadOrderCsvFile(const QString &path, const std::vector<PrintSize> &sizes)
{
    OrderCsvRead read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.Errors.push_back({0, OrderCsvText::tr("%1 cannot be read: %2").arg(path, file.errorString())});
        return read;
    }
    if (file.size() > MaxOrderCsvBytes) {
        read.Errors.push_back({0, OrderCsvText::tr("%1 is larger than an order list can be (%2 MB)")
                                      .arg(path)
                                      .arg(MaxOrderCsvBytes / (1024 * 1024))});
        return read;
    }
    // A file that grows while it is read is cut at the limit.
    return ReadOrderCsv(file.read(MaxOrderCsvBytes), QFileInfo(path).absolutePath(), sizes);
}
