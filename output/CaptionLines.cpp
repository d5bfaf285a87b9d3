#include "output/CaptionLines.h"

#include <QTextBoundaryFinder>

#include <vector>

namespace {

// Positions in `text` where `type` allows a cut, the ends included.
std::vector<qsizetype> boundaries(const QString &text, QTextBoundaryFinder::BoundaryType type)
{
    std::vector<qsizetype> at;
    QTextBoundaryFinder finder(type, text);
    for (qsizetype p = 0; p >= 0; p = finder.toNextBoundary())
        at.push_back(p);
    if (at.back() != text.size())
        at.push_back(text.size());
    return at;
}

// The longest run of whole characters from `from` that fits, at least one character.
qsizetype fittingEnd(const QString &text, qsizetype from, double width, const QString &tail,
                     const std::function<double(const QString &)> &measure)
{
    const std::vector<qsizetype> at = boundaries(text, QTextBoundaryFinder::Grapheme);
    std::size_t lo = 0, hi = at.size() - 1;
    while (lo < hi && at[lo] <= from)
        ++lo;
    const std::size_t first = lo;
    // Binary search over the character boundaries after `from`.
    std::size_t best = first;
    while (lo <= hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (measure(text.mid(from, at[mid] - from) + tail) <= width) {
            best = mid;
            lo = mid + 1;
        } else {
            if (mid == 0)
                break;
            hi = mid - 1;
        }
    }
    return at[best];
}

QString elided(const QString &line, double width, const std::function<double(const QString &)> &measure)
{
    if (measure(line) <= width)
        return line;
    const QString dots(QChar(0x2026));
    const qsizetype end = fittingEnd(line, 0, width, dots, measure);
    return line.left(end).trimmed() + dots;
}

void wrap(const QString &line, double width, const std::function<double(const QString &)> &measure, QStringList &out)
{
    const std::vector<qsizetype> breaks = boundaries(line, QTextBoundaryFinder::Line);
    qsizetype start = 0;
    while (start < line.size()) {
        // The furthest break opportunity whose line fits.
        qsizetype end = -1;
        for (qsizetype b : breaks) {
            if (b <= start)
                continue;
            if (measure(line.mid(start, b - start).trimmed()) > width)
                break;
            end = b;
        }
        if (end < 0)
            end = fittingEnd(line, start, width, QString(), measure);
        out.append(line.mid(start, end - start).trimmed());
        start = end;
    }
    if (line.isEmpty())
        out.append(QString());
}

} // namespace

QStringList FitCaptionLines(const QString &text, double width, CaptionFit fit,
                            const std::function<double(const QString &)> &measure)
{
    const QStringList lines = text.split(u'\n');
    if (fit == CaptionFit::Clip)
        return lines;
    QStringList out;
    for (const QString &line : lines) {
        if (fit == CaptionFit::Ellipsis)
            out.append(elided(line, width, measure));
        else
            wrap(line, width, measure, out);
    }
    return out;
}
