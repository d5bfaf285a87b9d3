#pragma once
// The printer's own options as the printing system lists them for a queue:
// trays, media types, qualities and the paper sizes it prints borderless,
// each a keyword with the printer's own name for it. Empty lists where the
// program was built without the printing system's library or the queue does
// not say.
#include "output/PrintSetup.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

struct PrinterOfferings {
    using Choices = std::vector<std::pair<QString, QString>>; // keyword, the printer's name
    Choices Sources;
    Choices MediaTypes;
    Choices Qualities; // "draft", "normal", "high" as the printer offers them
    Choices BorderlessSizes; // media size keywords
    [[nodiscard]] bool empty() const
    {
        return Sources.empty() && MediaTypes.empty() && Qualities.empty() && BorderlessSizes.empty();
    }
};

// Whether the program can ask queues for their options at all.
[[nodiscard]] bool CanReadPrinterOfferings();
// The queue's offerings; empty with *problem set when it cannot be asked.
[[nodiscard]] PrinterOfferings ReadPrinterOfferings(const QString& queue, QString* problem = nullptr);

// The choices the printer supports: a tray, media type or quality missing
// from a list the printer gave is left out and named in *dropped (an empty
// list means the printer did not say, and the choice is sent).
[[nodiscard]] PrinterChoices SupportedChoices(
    const PrinterChoices& choices, const PrinterOfferings& offered, QStringList* dropped);
