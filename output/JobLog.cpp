#include "output/JobLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
QString field(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

// The log's last lines; at most MaxJobLogBytes are read, from the end.
QStringList lastLines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = f.size();
    const bool cut = size > MaxJobLogBytes;
    if (cut)
        f.seek(size - MaxJobLogBytes);
    QStringList lines = QString::fromUtf8(f.read(MaxJobLogBytes)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (cut && !lines.isEmpty())
        lines.removeFirst(); // begun in the middle
    return lines;
}
} // namespace

QString JobLogLine(const JobLogEntry& e)
{
    return QStringList { e.Time.toString(Qt::ISODate), field(e.File), field(e.Target), field(e.Preset),
        field(e.Options.join(QLatin1Char(' '))), QString::number(e.Pages), field(e.Result) }
        .join(QLatin1Char('\t'));
}

JobLogEntry ParseJobLogLine(const QString& line)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    JobLogEntry e;
    const auto at = [&f](int i) { return i < f.size() ? f[i] : QString(); };
    e.Time = QDateTime::fromString(at(0), Qt::ISODate);
    e.File = at(1);
    e.Target = at(2);
    e.Preset = at(3);
    e.Options = at(4).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    e.Pages = at(5).toInt();
    e.Result = at(6);
    return e;
}

bool AppendJobLog(const QString& file, const JobLogEntry& entry, int keep)
{
    QStringList lines = lastLines(file);
    lines << JobLogLine(entry);
    if (lines.size() > keep)
        lines = lines.mid(lines.size() - std::max(keep, 0));
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) >= 0
        && f.commit();
}

std::vector<JobLogEntry> ReadJobLog(const QString& file)
{
    std::vector<JobLogEntry> entries;
    for (const QString& line : lastLines(file))
        entries.push_back(ParseJobLogLine(line));
    return entries;
}

QString JobLogFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("jobs.log"));
}

JobLogEntry JobEntry(const QString& arrangement, const QString& target, const PrintSetup& setup,
    const ExportRequest& request, const ExportOutcome& outcome)
{
    JobLogEntry e;
    e.Time = QDateTime::currentDateTime();
    e.File = arrangement;
    e.Target = target;
    e.Preset = setup.PresetName;
    e.Options = outcome.Sent;
    e.Pages = int(request.Pages.size());
    switch (outcome.Result) {
    case ExportResult::Done:
        e.Result = QStringLiteral("done");
        break;
    case ExportResult::Cancelled:
        e.Result = QStringLiteral("cancelled");
        break;
    case ExportResult::OutOfMemory:
        e.Result = QStringLiteral("out of memory");
        break;
    default:
        e.Result = outcome.Reason.isEmpty() ? QStringLiteral("failed") : QStringLiteral("failed: ") + outcome.Reason;
        break;
    }
    return e;
}

bool LogJob(const QString& arrangement, const QString& target, const PrintSetup& setup, const ExportRequest& request,
    const ExportOutcome& outcome)
{
    return AppendJobLog(JobLogFile(), JobEntry(arrangement, target, setup, request, outcome));
}
