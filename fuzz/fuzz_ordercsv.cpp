// Any bytes as an order list read from CSV: every row either kept or named
// with its line, and the kept rows within the list's limits; the kept rows
// then packed onto A4 as the order sheet maker does.
#include "FuzzSupport.h"

#include "arrange/OrderCsv.h"
#include "arrange/OrderPacking.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > std::size_t(MaxOrderCsvBytes))
        return 0;
    const QByteArray csv(reinterpret_cast<const char *>(data), qsizetype(size));
    // Every picture is there: the rows' other checks are what is fuzzed.
    const OrderCsvRead read = ReadOrderCsv(csv, QStringLiteral("/orders"), BuiltInPrintSizes(),
                                           [](const QString &) { return true; });
    std::vector<OrderPackItem> items;
    int frames = 0;
    for (const OrderLine &line : read.Lines) {
        if (line.Copies < 1 || line.Copies > MaxOrderCopies || line.Order.isEmpty())
            __builtin_trap();
        frames += line.Copies;
        items.push_back({QSizeF(line.WidthMm, line.HeightMm), line.Copies, line.Upright, int(items.size())});
    }
    for (const OrderCsvError &e : read.Errors)
        if (e.Line < 1 || e.Reason.isEmpty())
            __builtin_trap(); // every refusal names its line and says why
    if (frames > MaxSheetFrames)
        __builtin_trap();
    // Packing thousands of frames is the packing's own cost, not the reader's.
    if (frames <= 200)
        (void)PackOrders(WholeSheet(210, 297), SheetSpacing{}, items);
    return 0;
}
