#include "arrange/OrderPacking.h"
#include "arrange/OrderPatterns.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

using namespace OrderUnits;

namespace {
struct OrderPackingText {
    Q_DECLARE_TR_FUNCTIONS(OrderPackingText)
};

// One copy to place: its cell (frame grown by the gap) as the packing
// starts it, and as asked.
struct Piece {
    int Item;
    Unit W, H;
    bool Upright;
    int Order;
    Unit AskedW = W, AskedH = H;
};

std::vector<Piece> Turned(std::vector<Piece> pieces, Turning turning)
{
    for (Piece &p : pieces)
        if (!p.Upright && ((turning == Turning::Tall && p.W > p.H) || (turning == Turning::Wide && p.W < p.H)))
            std::swap(p.W, p.H);
    return pieces;
}

struct Placed {
    int Sheet;
    Box Cell;
};

// Pieces of one size and turning share a kind: one that did not fit into a
// sheet never will (free space only shrinks), nor will any of its kind.
std::vector<int> Kinds(const std::vector<Piece> &pieces, bool mayTurn, int &count)
{
    std::map<std::tuple<Unit, Unit, bool>, int> known;
    std::vector<int> kinds;
    kinds.reserve(pieces.size());
    for (const Piece &p : pieces)
        kinds.push_back(known.emplace(std::make_tuple(p.W, p.H, mayTurn && !p.Upright), int(known.size()))
                            .first->second);
    count = int(known.size());
    return kinds;
}

// One packing of the pieces in the order given, each where the rule scores
// best over every open sheet; a sheet is opened when none has room.
std::vector<Placed> PackAcross(const std::vector<Piece> &pieces, Unit binW, Unit binH, Rule rule, bool mayTurn,
                               int &sheets)
{
    int kindCount = 0;
    const std::vector<int> kinds = Kinds(pieces, mayTurn, kindCount);
    struct Sheet {
        Bin Free;
        std::vector<char> Full; // by kind
    };
    std::vector<Sheet> open;
    std::vector<Placed> out;
    out.reserve(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece &p = pieces[i];
        const bool turn = mayTurn && !p.Upright;
        const std::size_t kind = std::size_t(kinds[i]);
        int sheet = -1;
        Score score;
        Box spot;
        for (int b = 0; b < int(open.size()); ++b) {
            Sheet &candidate = open[std::size_t(b)];
            if (candidate.Full[kind])
                continue;
            Score s;
            Box at;
            if (!candidate.Free.best(rule, p.W, p.H, turn, s, at))
                candidate.Full[kind] = 1;
            else if (sheet < 0 || s < score) {
                sheet = b;
                score = s;
                spot = at;
            }
        }
        if (sheet < 0) {
            open.push_back({Bin(binW, binH), std::vector<char>(std::size_t(kindCount), 0)});
            sheet = int(open.size()) - 1;
            open.back().Free.best(rule, p.W, p.H, turn, score, spot); // fits: checked before packing
        }
        open[std::size_t(sheet)].Free.take(spot);
        out.push_back({sheet, spot});
    }
    sheets = int(open.size());
    return out;
}

// One sheet at a time: the first piece in the order given that still fits
// goes where the rule scores best, until none fits; then the next sheet. Big
// frames so share their sheet with small ones.
std::vector<Placed> PackBySheet(const std::vector<Piece> &pieces, Unit binW, Unit binH, Rule rule, bool mayTurn,
                                int &sheets)
{
    int kindCount = 0;
    const std::vector<int> kinds = Kinds(pieces, mayTurn, kindCount);
    std::vector<Placed> out(pieces.size(), Placed{-1, {}});
    std::vector<std::size_t> waiting(pieces.size());
    for (std::size_t i = 0; i < waiting.size(); ++i)
        waiting[i] = i;
    sheets = 0;
    while (!waiting.empty()) {
        Bin bin(binW, binH);
        std::vector<char> full(std::size_t(kindCount), 0);
        std::vector<std::size_t> still;
        still.reserve(waiting.size());
        const int sheet = sheets++;
        for (const std::size_t i : waiting) {
            const Piece &p = pieces[i];
            const std::size_t kind = std::size_t(kinds[i]);
            Score score;
            Box spot;
            if (full[kind] || !bin.best(rule, p.W, p.H, mayTurn && !p.Upright, score, spot)) {
                full[kind] = 1;
                still.push_back(i);
                continue;
            }
            bin.take(spot);
            out[i] = {sheet, spot};
        }
        waiting.swap(still);
    }
    return out;
}

int Splits(const std::vector<Piece> &pieces, const std::vector<Placed> &placed)
{
    std::map<int, std::set<int>> sheetsOf;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        sheetsOf[pieces[i].Order].insert(placed[i].Sheet);
    int n = 0;
    for (const auto &[order, sheets] : sheetsOf)
        n += int(sheets.size()) - 1;
    return n;
}

// The frame orders tried: order by order (as listed, and the largest order
// first) with each order's frames largest first, and all frames largest first.
std::vector<std::vector<Piece>> Orderings(const std::vector<Piece> &pieces)
{
    auto area = [](const Piece &p) { return p.W * p.H; };
    auto longSide = [](const Piece &p) { return std::max(p.W, p.H); };
    std::map<int, Unit> orderArea;
    for (const Piece &p : pieces)
        orderArea[p.Order] += area(p);
    std::vector<std::vector<Piece>> all;
    auto sorted = [&](auto less) {
        std::vector<Piece> v = pieces;
        std::stable_sort(v.begin(), v.end(), less);
        all.push_back(std::move(v));
    };
    auto bigger = [&](const Piece &a, const Piece &b) {
        return area(a) != area(b) ? area(a) > area(b) : longSide(a) > longSide(b);
    };
    sorted([&](const Piece &a, const Piece &b) { return a.Order != b.Order ? a.Order < b.Order : bigger(a, b); });
    sorted([&](const Piece &a, const Piece &b) {
        if (a.Order == b.Order)
            return bigger(a, b);
        const Unit x = orderArea[a.Order], y = orderArea[b.Order];
        return x != y ? x > y : a.Order < b.Order;
    });
    sorted(bigger);
    return all;
}

// The packings tried, best first: picked from all combinations of frame
// order, turning, rule and sheet filling as the few that together found the
// fewest sheets for nearly every class of the packing test, then the order by
// order ones that keep orders together.
struct Try {
    int Ordering; // into Orderings()
    Turning Turn;
    Rule Scoring;
    bool SheetBySheet;
};
enum : int { ByOrder, ByLargestOrder, ByArea };
constexpr Try Tries[] = {
    {ByArea, Turning::Tall, Rule::ShortSide, true},     {ByArea, Turning::Free, Rule::BottomLeft, true},
    {ByArea, Turning::Tall, Rule::Area, true},          {ByArea, Turning::AsAsked, Rule::ShortSide, false},
    {ByArea, Turning::AsAsked, Rule::BottomLeft, false}, {ByLargestOrder, Turning::Free, Rule::ShortSide, false},
    {ByArea, Turning::Free, Rule::ShortSide, true},     {ByArea, Turning::AsAsked, Rule::BottomLeft, true},
    {ByArea, Turning::Tall, Rule::BottomLeft, true},    {ByArea, Turning::Wide, Rule::ShortSide, true},
    {ByOrder, Turning::Tall, Rule::ShortSide, true},    {ByOrder, Turning::Free, Rule::BottomLeft, true},
    {ByLargestOrder, Turning::Tall, Rule::ShortSide, true}, {ByOrder, Turning::Free, Rule::ShortSide, true},
};

// Which place each piece takes, given the sheets' patterns: whole orders
// first, each into the sheet it fills best; the rest spread over as few
// sheets as will hold them.
std::vector<Placed> AssignOrders(const std::vector<Piece> &pieces, const std::vector<int> &kindOf,
                                 const std::vector<Kind> &kinds, const std::vector<Pattern> &sheets)
{
    const std::size_t kindCount = kinds.size();
    std::vector<std::vector<std::vector<Box>>> free(sheets.size(), std::vector<std::vector<Box>>(kindCount));
    for (std::size_t s = 0; s < sheets.size(); ++s)
        for (auto it = sheets[s].rbegin(); it != sheets[s].rend(); ++it)
            free[s][std::size_t(it->Kind)].push_back(it->Cell);
    std::map<int, std::vector<std::size_t>> ofOrder;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        ofOrder[pieces[i].Order].push_back(i);
    std::vector<std::pair<Unit, int>> orders;
    for (const auto &[order, list] : ofOrder) {
        Unit area = 0;
        for (const std::size_t i : list)
            area += kinds[std::size_t(kindOf[i])].area();
        orders.push_back({-area, order});
    }
    std::sort(orders.begin(), orders.end());

    std::vector<Placed> out(pieces.size(), Placed{-1, {}});
    auto put = [&](std::size_t s, std::vector<std::size_t> &list) {
        std::vector<std::size_t> rest;
        for (const std::size_t i : list) {
            std::vector<Box> &room = free[s][std::size_t(kindOf[i])];
            if (room.empty()) {
                rest.push_back(i);
                continue;
            }
            out[i] = {int(s), room.back()};
            room.pop_back();
        }
        list.swap(rest);
    };
    // How much of the list sheet s could take, and what it would leave free.
    auto measure = [&](std::size_t s, const std::vector<std::size_t> &list, Unit &taken, Unit &slack) {
        std::vector<int> need(kindCount, 0);
        for (const std::size_t i : list)
            ++need[std::size_t(kindOf[i])];
        taken = slack = 0;
        for (std::size_t k = 0; k < kindCount; ++k) {
            const Unit fits = std::min<Unit>(need[k], Unit(free[s][k].size()));
            taken += fits * kinds[k].area();
            slack += (Unit(free[s][k].size()) - fits) * kinds[k].area();
        }
    };
    std::vector<int> split;
    for (const auto &[negArea, order] : orders) {
        std::vector<std::size_t> &list = ofOrder[order];
        std::size_t pick = sheets.size();
        Unit pickSlack = 0;
        for (std::size_t s = 0; s < sheets.size(); ++s) {
            Unit taken = 0, slack = 0;
            measure(s, list, taken, slack);
            if (taken == -negArea && (pick == sheets.size() || slack < pickSlack)) {
                pick = s;
                pickSlack = slack;
            }
        }
        if (pick < sheets.size())
            put(pick, list);
        else
            split.push_back(order);
    }
    for (const int order : split) {
        std::vector<std::size_t> &list = ofOrder[order];
        while (!list.empty()) {
            std::size_t pick = 0;
            Unit most = -1;
            for (std::size_t s = 0; s < sheets.size(); ++s) {
                Unit taken = 0, slack = 0;
                measure(s, list, taken, slack);
                if (taken > most) {
                    most = taken;
                    pick = s;
                }
            }
            if (most <= 0)
                return {}; // the patterns hold fewer places than pieces
            put(pick, list);
        }
    }
    return out;
}

// Rounds of the pattern search: enough for the weights to settle.
constexpr int PatternRounds = 12;
constexpr std::size_t MaxPatternKinds = 64, MaxColumnKinds = 16;
constexpr std::size_t MaxOrderSheets = 200'000;

struct Packing {
    std::vector<Piece> Pieces;
    std::vector<Placed> Spots;
    int Sheets = 0, Splits = 0;
};

// Replaces `best` by pattern packings that need fewer sheets or split fewer
// orders, until one reaches the bound unsplit or the rounds run out.
void PackByPatterns(const std::vector<Piece> &pieces, const Room &room, int bound, Packing &best)
{
    std::map<std::tuple<Unit, Unit, bool>, int> known;
    std::vector<Kind> kinds;
    std::vector<int> counts, kindOf, orderOf;
    for (const Piece &p : pieces) {
        orderOf.push_back(p.Order);
        const Unit w = p.Upright ? p.W : std::min(p.W, p.H), h = p.Upright ? p.H : std::max(p.W, p.H);
        const auto [it, added] = known.emplace(std::make_tuple(w, h, p.Upright), int(kinds.size()));
        if (added) {
            kinds.push_back({w, h, p.Upright});
            counts.push_back(0);
        }
        ++counts[std::size_t(it->second)];
        kindOf.push_back(it->second);
    }
    // Real orders use a handful of sizes in a few dozen orders; lists far
    // beyond that keep the quick packing rather than search for long.
    if (kinds.size() > MaxPatternKinds
        || std::set<int>(orderOf.begin(), orderOf.end()).size() * std::size_t(best.Sheets) > MaxOrderSheets)
        return;
    auto take = [&](const std::vector<Pattern> &sheets) {
        if (sheets.empty() || int(sheets.size()) > best.Sheets)
            return;
        std::vector<Placed> placed = AssignOrders(pieces, kindOf, kinds, sheets);
        if (placed.empty())
            return;
        const int splits = Splits(pieces, placed);
        if (int(sheets.size()) < best.Sheets || splits < best.Splits)
            best = {pieces, std::move(placed), int(sheets.size()), splits};
    };
    PatternSearch search(kinds, counts, room.W, room.H);
    std::vector<Pattern> fewest;
    for (int r = 0; r < PatternRounds && !search.spent() && (best.Sheets > bound || best.Splits > 0); ++r) {
        std::vector<Pattern> sheets = search.round();
        take(sheets);
        if (!sheets.empty() && (fewest.empty() || sheets.size() < fewest.size()))
            fewest = std::move(sheets);
    }
    // Its work grows with the sizes; past a school's handful of packages the
    // rounds' sheets stand.
    if (best.Sheets > bound && kinds.size() <= MaxColumnKinds)
        take(ColumnSearch(kinds, room.W, room.H).solve(counts, fewest));
}

// Gathers each order onto fewer sheets by swapping frames of one size and
// turning between sheets, which leaves every place as it was. A swap is made
// when it splits fewer orders, or as many while bringing frames of one order
// closer together (the sum of squared counts per order and sheet grows, so
// the swapping ends).
void GatherOrders(const std::vector<Piece> &pieces, std::vector<Placed> &placed)
{
    constexpr int Passes = 8;
    constexpr std::size_t WorkBudget = 1'000'000;
    const std::size_t n = pieces.size();
    auto fits = [&](const Piece &p, const Box &b) {
        return (b.W == p.AskedW && b.H == p.AskedH) || (!p.Upright && b.W == p.AskedH && b.H == p.AskedW);
    };
    std::map<std::pair<int, int>, int> count; // (order, sheet)
    std::map<int, std::vector<std::size_t>> onSheet;
    std::map<int, std::set<int>> sheetsOf;
    for (std::size_t i = 0; i < n; ++i) {
        ++count[{pieces[i].Order, placed[i].Sheet}];
        onSheet[placed[i].Sheet].push_back(i);
        sheetsOf[pieces[i].Order].insert(placed[i].Sheet);
    }
    auto at = [&](int order, int sheet) {
        const auto it = count.find({order, sheet});
        return it == count.end() ? 0 : it->second;
    };
    auto move = [&](std::size_t i, int to) {
        const int order = pieces[i].Order, from = placed[i].Sheet;
        if (--count[{order, from}] == 0) {
            count.erase({order, from});
            sheetsOf[order].erase(from);
        }
        ++count[{order, to}];
        sheetsOf[order].insert(to);
        std::vector<std::size_t> &was = onSheet[from];
        was.erase(std::find(was.begin(), was.end(), i));
        onSheet[to].push_back(i);
    };
    std::size_t work = 0;
    for (int pass = 0; pass < Passes; ++pass) {
        bool swapped = false;
        for (std::size_t i = 0; i < n && work < WorkBudget; ++i) {
            const int a = pieces[i].Order, s = placed[i].Sheet;
            const std::set<int> &targets = sheetsOf[a];
            if (targets.size() < 2)
                continue;
            const int aS = at(a, s);
            std::size_t partner = n;
            for (auto t = targets.begin(); t != targets.end() && partner == n && work < WorkBudget; ++t) {
                if (*t == s)
                    continue;
                const int aT = at(a, *t);
                for (const std::size_t j : onSheet[*t]) {
                    ++work;
                    const int b = pieces[j].Order;
                    if (b == a || !fits(pieces[i], placed[j].Cell) || !fits(pieces[j], placed[i].Cell))
                        continue;
                    const int bS = at(b, s), bT = at(b, *t);
                    const int splits = (aS == 1 ? -1 : 0) + (bS == 0 ? 1 : 0) + (bT == 1 ? -1 : 0);
                    const int closer = (aT - aS + 1) + (bS - bT + 1);
                    if (splits < 0 || (splits == 0 && closer > 0)) {
                        partner = j;
                        break;
                    }
                }
            }
            if (partner == n)
                continue;
            const int t = placed[partner].Sheet;
            move(i, t);
            move(partner, s);
            std::swap(placed[i], placed[partner]);
            swapped = true;
        }
        if (!swapped)
            break;
    }
}

QString Mm(double v) { return QString::number(v, 'f', 1); }
} // namespace

SheetLayout PackOrders(const SheetArea &sheet, const SheetSpacing &spacing, const std::vector<OrderPackItem> &items)
{
    SheetLayout layout;
    const Room room = RoomOf(sheet, spacing);
    std::vector<Piece> pieces;
    for (int i = 0; i < int(items.size()); ++i) {
        const OrderPackItem &item = items[std::size_t(i)];
        if (item.Copies <= 0)
            continue;
        if (!ValidSize(item.Size)) {
            layout.Error = OrderPackingText::tr("The print size is empty. Nothing was placed.");
            return layout;
        }
        const Unit w = CellUp(item.Size.width() + room.GapMm), h = CellUp(item.Size.height() + room.GapMm);
        const bool fits = (w <= room.W && h <= room.H) || (!item.Upright && h <= room.W && w <= room.H);
        if (!fits) {
            layout.Error = OrderPackingText::tr(
                "A frame of %1 x %2 mm does not fit on the paper: the room inside the margins is %3 x %4 mm. "
                "Nothing was placed.")
                               .arg(Mm(item.Size.width()), Mm(item.Size.height()), Mm(room.Usable.width()),
                                    Mm(room.Usable.height()));
            return layout;
        }
        if (pieces.size() + std::size_t(item.Copies) > std::size_t(MaxSheetFrames)) {
            layout.Error = OrderPackingText::tr("The orders ask for more than %1 frames. Nothing was placed.")
                               .arg(MaxSheetFrames);
            return layout;
        }
        for (int c = 0; c < item.Copies; ++c)
            pieces.push_back({i, w, h, item.Upright, item.Order, w, h});
    }
    if (pieces.empty())
        return layout;

    const int bound = OrderLowerBound(sheet, spacing, items);
    const std::vector<std::vector<Piece>> orderings = Orderings(pieces);
    std::vector<Piece> bestPieces;
    std::vector<Placed> best;
    int bestSheets = 0, bestSplits = 0;
    for (const Try &t : Tries) {
        const std::vector<Piece> started = Turned(orderings[std::size_t(t.Ordering)], t.Turn);
        // Without turning, every frame must fit as it starts.
        if (t.Turn != Turning::Free
            && std::any_of(started.begin(), started.end(),
                           [&](const Piece &p) { return p.W > room.W || p.H > room.H; }))
            continue;
        int sheets = 0;
        std::vector<Placed> placed = (t.SheetBySheet ? PackBySheet : PackAcross)(
            started, room.W, room.H, t.Scoring, t.Turn == Turning::Free, sheets);
        const int splits = Splits(started, placed);
        if (best.empty() || sheets < bestSheets || (sheets == bestSheets && splits < bestSplits)) {
            best = std::move(placed);
            bestPieces = started;
            bestSheets = sheets;
            bestSplits = splits;
        }
        if (bestSheets <= bound && bestSplits == 0)
            break; // nothing can do better
    }
    if (bestSheets > bound || bestSplits > 0) {
        Packing found{bestPieces, best, bestSheets, bestSplits};
        PackByPatterns(pieces, room, bound, found);
        bestPieces = std::move(found.Pieces);
        best = std::move(found.Spots);
        bestSheets = found.Sheets;
        bestSplits = found.Splits;
    }

    GatherOrders(bestPieces, best);

    layout.Frames.reserve(best.size());
    for (std::size_t i = 0; i < best.size(); ++i) {
        const Piece &p = bestPieces[i];
        const QSizeF asked = items[std::size_t(p.Item)].Size;
        const bool turned = p.AskedW != p.AskedH && best[i].Cell.W != p.AskedW;
        SheetFrame f;
        f.Sheet = best[i].Sheet;
        f.Item = p.Item;
        f.Turned = turned;
        f.Rect = QRectF(room.Usable.topLeft() + QPointF(double(best[i].Cell.X) / PerMm, double(best[i].Cell.Y) / PerMm),
                        turned ? asked.transposed() : asked);
        layout.Frames.push_back(f);
    }
    // Sheet by sheet, top to bottom, left to right: the order they are placed and cut.
    std::stable_sort(layout.Frames.begin(), layout.Frames.end(), [](const SheetFrame &a, const SheetFrame &b) {
        if (a.Sheet != b.Sheet)
            return a.Sheet < b.Sheet;
        if (a.Rect.top() != b.Rect.top())
            return a.Rect.top() < b.Rect.top();
        return a.Rect.left() < b.Rect.left();
    });
    layout.Sheets = bestSheets;
    return layout;
}

int OrderSplits(const SheetLayout &layout, const std::vector<OrderPackItem> &items)
{
    std::map<int, std::set<int>> sheetsOf;
    for (const SheetFrame &f : layout.Frames)
        if (f.Item >= 0 && f.Item < int(items.size()))
            sheetsOf[items[std::size_t(f.Item)].Order].insert(f.Sheet);
    int n = 0;
    for (const auto &[order, sheets] : sheetsOf)
        n += int(sheets.size()) - 1;
    return n;
}
