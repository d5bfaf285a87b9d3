#include "output/CupsJob.h"

#include "output/PrintSetup.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

CupsJobRequest CupsJobFor(const PrintSetup &setup, const QString &title)
{
    const PrintDestination &d = setup.Destination;
    CupsJobRequest r;
    r.Printer = d.PrinterName;
    r.Title = title;
    r.Copies = std::max(1, d.Copies);
    r.Collate = d.Collate;
    switch (d.Duplex) {
    case QPrinter::DuplexNone:
        r.Sides = QStringLiteral("one-sided");
        break;
    case QPrinter::DuplexLongSide:
        r.Sides = QStringLiteral("two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        r.Sides = QStringLiteral("two-sided-short-edge");
        break;
    default:
        break; // the queue's own setting
    }
    r.Media = setup.Paper.isValid() ? setup.Paper.pageSize().key() : QString();
    r.Options = PrinterChoiceOptions(setup.Choices);
    return r;
}

std::vector<std::pair<QString, QString>> PrinterChoiceOptions(const PrinterChoices& choices)
{
    std::vector<std::pair<QString, QString>> options;
    if (!choices.Source.isEmpty())
        options.emplace_back(QStringLiteral("media-source"), choices.Source);
    if (!choices.MediaType.isEmpty())
        options.emplace_back(QStringLiteral("media-type"), choices.MediaType);
    if (!choices.Quality.isEmpty()) {
        static const QStringList names { QStringLiteral("draft"), QStringLiteral("normal"), QStringLiteral("high") };
        const qsizetype n = names.indexOf(choices.Quality);
        options.emplace_back(QStringLiteral("print-quality"), n >= 0 ? QString::number(3 + n) : choices.Quality);
    }
    options.insert(options.end(), choices.Options.begin(), choices.Options.end());
    return options;
}

QStringList CupsJobArguments(const CupsJobRequest &request, const QString &file)
{
    QStringList args{QStringLiteral("-d"), request.Printer};
    if (!request.Title.isEmpty())
        args << QStringLiteral("-t") << request.Title;
    args << QStringLiteral("-n") << QString::number(std::max(1, request.Copies));
    auto option = [&args](const QString &name, const QString &value) {
        args << QStringLiteral("-o") << name + QLatin1Char('=') + value;
    };
    if (request.Copies > 1)
        option(QStringLiteral("collate"), request.Collate ? QStringLiteral("true") : QStringLiteral("false"));
    if (!request.Sides.isEmpty())
        option(QStringLiteral("sides"), request.Sides);
    if (!request.Media.isEmpty())
        option(QStringLiteral("media"), request.Media);
    for (const auto &[name, value] : request.Options)
        option(name, value);
    // After every option, so that a file name starting with '-' is no option.
    args << QStringLiteral("--") << file;
    return args;
}

QString CupsQueueCommand() { return QStandardPaths::findExecutable(QStringLiteral("lp")); }

QString SubmitCupsJob(const CupsJobRequest &request, const QString &file, const QString &lp)
{
    if (lp.isEmpty())
        return QCoreApplication::translate("CupsJob", "The printing system's queue command (lp) is not installed.");
    QProcess queue;
    queue.setProcessChannelMode(QProcess::MergedChannels);
    queue.start(lp, CupsJobArguments(request, file));
    // The command returns once the scheduler has the file.
    if (!queue.waitForFinished(120000)) {
        queue.kill();
        queue.waitForFinished(1000);
        return QCoreApplication::translate("CupsJob", "The printing system did not take the job.");
    }
    if (queue.exitStatus() != QProcess::NormalExit || queue.exitCode() != 0)
        return QCoreApplication::translate("CupsJob", "The printing system refused the job: %1")
            .arg(QString::fromLocal8Bit(queue.readAll()).trimmed());
    return {};
}

