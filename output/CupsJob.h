#pragma once
// Handing a finished PDF to the printing system as one job, so that a printer
// gets the pictures as the program's own PDF carries them (JPEG files
// unread) instead of a copy that Qt's engine compresses again.
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPrinter;
struct PrintSetup;
struct PrinterChoices;

struct CupsJobRequest {
    QString Printer; // the queue's name
    QString Title;
    int Copies = 1;
    bool Collate = true;
    QString Sides; // an IPP sides keyword; empty leaves the queue's default
    QString Media; // a page size keyword; empty leaves the queue's default
    // Further job options as name and value, for example those colour
    // management asks for.
    std::vector<std::pair<QString, QString>> Options;
};

// The printer's own choices as job options: the tray, media type and quality
// under their IPP names ("draft", "normal", "high" as the quality's numbers),
// then the further options as they are.
[[nodiscard]] std::vector<std::pair<QString, QString>> PrinterChoiceOptions(const PrinterChoices& choices);
// The request for a job to the set-up's printer with its job options.
[[nodiscard]] CupsJobRequest CupsJobFor(const PrintSetup &setup, const QString &title);
// The arguments of the queue command (lp) that sends `file` as that job.
[[nodiscard]] QStringList CupsJobArguments(const CupsJobRequest &request, const QString &file);
// The queue command, empty when the printing system is not there.
[[nodiscard]] QString CupsQueueCommand();
// Sends the file through the queue command; an error text, empty when the
// job was accepted.
[[nodiscard]] QString SubmitCupsJob(const CupsJobRequest &request, const QString &file, const QString &command);
