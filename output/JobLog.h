#pragma once
// The job log: one line per print or export (time, file, printer or target,
// paper preset, the options the printing system was given, pages, result),
// kept to the last MaxJobLogLines jobs in the program's data folder.
#include "output/PageExport.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

inline constexpr int MaxJobLogLines = 1000;
inline constexpr qint64 MaxJobLogBytes = qint64(8) << 20;

struct JobLogEntry {
    QDateTime Time;
    QString File; // the arrangement, or empty when it has no name yet
    QString Target; // the printer, or the file written
    QString Preset;
    QStringList Options;
    int Pages = 0;
    QString Result; // "done", "cancelled" or what went wrong
};

// One line, fields separated by tabs (tabs and line breaks inside a field
// become spaces), so that the log reads in any editor and splits by field.
[[nodiscard]] QString JobLogLine(const JobLogEntry& entry);
[[nodiscard]] JobLogEntry ParseJobLogLine(const QString& line);

// Appends the entry to the log file, dropping the oldest lines beyond `keep`;
// false when the file could not be written.
bool AppendJobLog(const QString& file, const JobLogEntry& entry, int keep = MaxJobLogLines);
// The entries of the log, oldest first; a damaged or oversized log gives the
// lines that can be read from its end.
[[nodiscard]] std::vector<JobLogEntry> ReadJobLog(const QString& file);
// The entry of a job that has ended: `target` names the printer or the file.
[[nodiscard]] JobLogEntry JobEntry(const QString& arrangement, const QString& target, const PrintSetup& setup,
    const ExportRequest& request, const ExportOutcome& outcome);
// Appends the job to the user's log; false when it could not be written.
bool LogJob(const QString& arrangement, const QString& target, const PrintSetup& setup, const ExportRequest& request,
    const ExportOutcome& outcome);
// "jobs.log" in the user's application data folder.
[[nodiscard]] QString JobLogFile();
