#pragma once
// An order list: for each customer (a child of a class, a team member), the
// prints ordered, one line per picture and size. Kept in the arrangement so
// an order can be reopened, changed and printed again.
#include <QByteArray>
#include <QString>

#include <vector>

struct OrderLine {
    QString Order;   // the customer's name, as the label prints it
    QString Picture; // the picture's file
    QString Size;    // the size's name as listed or typed, e.g. "Wallet 2.5 x 3.5 in"
    double WidthMm = 0;
    double HeightMm = 0;
    bool Upright = false; // an ID size: never turned
    int Copies = 1;

    friend bool operator==(const OrderLine &, const OrderLine &) = default;
};
using OrderList = std::vector<OrderLine>;

inline constexpr int MaxOrderCopies = 1000;      // of one line
inline constexpr int MaxOrderLines = 10000;
inline constexpr int MaxOrderTextLength = 1000; // characters of a name, path or size

// The ORDR chunk's payload; empty for no lines. Picture paths are written
// as given (the caller stores them as the picture records are).
[[nodiscard]] QByteArray OrderChunkPayload(const OrderList &orders);
// Reads a payload; false when a count or length reaches past it (damage).
// Copies and sizes out of range are held to the nearest valid value.
[[nodiscard]] bool ReadOrderChunk(const QByteArray &payload, OrderList &orders);
