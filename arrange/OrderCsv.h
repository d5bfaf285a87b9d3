#pragma once
// Order lists read from CSV files: a header row "order,picture,size,copies"
// (comma or semicolon), then one row per line of an order. Bad rows are
// named with their line and reason; the good ones are kept.
#include "arrange/PrintSizes.h"
#include "document/OrderList.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

inline constexpr qint64 MaxOrderCsvBytes = 16 * 1024 * 1024;
inline constexpr int MaxOrderCsvLineBytes = 4096;

struct OrderCsvError {
    int Line = 0; // from 1
    QString Reason;
    [[nodiscard]] QString text() const; // "Line 4: ..."
};

struct OrderCsvRead {
    OrderList Lines; // picture paths absolute
    std::vector<OrderCsvError> Errors;
};

// A size as the dialog lists it ("Photo 13 x 18 cm", "Wallet 2.5 x 3.5 in
// (63.5 x 88.9 mm)", English or translated) or typed ("60 x 90 mm",
// "2.5 x 3.5 in"). False with a reason when it is neither or out of range.
struct OrderSize {
    bool Ok = false;
    double WidthMm = 0;
    double HeightMm = 0;
    bool Upright = false;
    QString Reason;
};
[[nodiscard]] OrderSize ParseOrderSize(const QString &text, const std::vector<PrintSize> &sizes);

// The rows of csv. Relative picture paths are taken from folder; exists
// tells whether a picture file is there (the file system when empty).
[[nodiscard]] OrderCsvRead ReadOrderCsv(const QByteArray &csv, const QString &folder,
                                        const std::vector<PrintSize> &sizes,
                                        const std::function<bool(const QString &)> &exists = {});
// The file at path, refused whole (one error on line 0) when it cannot be
// read or is larger than MaxOrderCsvBytes.
[[nodiscard]] OrderCsvRead ReadOrderCsvFile(const QString &path, const std::vector<PrintSize> &sizes);
