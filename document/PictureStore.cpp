#include "document/PictureStore.h"

#include "picture/DecodePool.h"
#include "picture/DecodeSupport.h"
#include "picture/PoolHandoff.h"
#include "picture/Resample.h"
#include "picture/Rotate.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <list>
#include <mutex>

#include <unistd.h>

namespace {
struct Key {
    QString File;
    int Format = 0;
    std::optional<std::int32_t> Check;
    // Held, so a step list cannot be freed and another one made at its address.
    std::shared_ptr<const PictureSteps> Steps;

    bool operator==(const Key &o) const
    {
        return Steps == o.Steps && Format == o.Format && Check == o.Check && File == o.File;
    }
};

Key keyOf(const PictureRecipe &r) { return {r.File, r.Format, r.Check, r.Steps}; }

struct Held {
    Key Of;
    DIB Picture;
};

// A rectangle of a from-sized picture in a to-sized one of the same content,
// grown to whole pixels.
QRect mapRect(const QRect &r, QSize from, QSize to)
{
    if (from == to || from.isEmpty() || to.isEmpty())
        return r;
    const auto lo = [](std::int64_t v, int f, int t) { return int(v * t / f); };
    const auto hi = [](std::int64_t v, int f, int t) { return int((v * t + f - 1) / f); };
    const int x0 = lo(r.x(), from.width(), to.width());
    const int y0 = lo(r.y(), from.height(), to.height());
    const int x1 = std::max(x0 + 1, std::min(to.width(), hi(std::int64_t(r.x()) + r.width(), from.width(), to.width())));
    const int y1 = std::max(y0 + 1, std::min(to.height(), hi(std::int64_t(r.y()) + r.height(), from.height(), to.height())));
    return QRect(x0, y0, x1 - x0, y1 - y0);
}
} // namespace

struct PictureStore::Shared {
    std::mutex Lock;
    std::uint64_t Budget = DefaultBudget();
    std::uint64_t Bytes = 0;
    std::list<Held> Recent; // most recently used first
    std::vector<Key> Pending;
    std::vector<Key> Failed; // not tried again until cleared
    bool Alive = true;
    bool Arrivals = false; // a full picture came in since the owner last looked
    QObject *Context = nullptr;

    // Under Lock.
    DIB find(const Key &k)
    {
        for (auto it = Recent.begin(); it != Recent.end(); ++it)
            if (it->Of == k) {
                Recent.splice(Recent.begin(), Recent, it);
                return it->Picture;
            }
        return DIB();
    }
    void insert(const Key &k, const DIB &picture)
    {
        if (find(k).Bits)
            return;
        Recent.push_front({k, picture});
        Bytes += picture.Info->biSizeImage;
        // The newest stays even alone over the budget: someone is about to use it.
        while (Bytes > Budget && Recent.size() > 1) {
            Bytes -= Recent.back().Picture.Info->biSizeImage;
            deldib(&Recent.back().Picture);
            Recent.pop_back();
        }
    }
    void clear()
    {
        for (Held &h : Recent)
            deldib(&h.Picture);
        Recent.clear();
        Failed.clear();
        Bytes = 0;
    }
};

PictureStore::PictureStore()
    : State(std::make_shared<Shared>())
{
    State->Context = new QObject;
    // Arrivals are polled under the lock rather than posted from the pool, so
    // nothing made on a pool thread is handed through Qt's event queue.
    Poll = new QTimer(State->Context);
    Poll->setInterval(20);
    QObject::connect(Poll, &QTimer::timeout, State->Context, [this] {
        bool arrived = false;
        {
            const std::lock_guard<std::mutex> hold(State->Lock);
            arrived = State->Arrivals;
            State->Arrivals = false;
            if (State->Pending.empty())
                Poll->stop();
        }
        if (arrived && Arrived)
            Arrived();
    });
}

PictureStore::~PictureStore()
{
    QObject *context = nullptr;
    {
        const std::lock_guard<std::mutex> hold(State->Lock);
        State->Alive = false;
        context = State->Context;
        State->Context = nullptr;
        State->clear();
    }
    delete context; // and the poll with it
}

std::uint64_t PictureStore::DefaultBudget()
{
    constexpr std::uint64_t Cap = 2048ull << 20;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 512ull << 20;
    return std::min(Cap, std::uint64_t(pages) * std::uint64_t(pageSize) / 4);
}

void PictureStore::setBudget(std::uint64_t bytes)
{
    const std::lock_guard<std::mutex> hold(State->Lock);
    State->Budget = bytes;
    while (State->Bytes > State->Budget && !State->Recent.empty()) {
        State->Bytes -= State->Recent.back().Picture.Info->biSizeImage;
        deldib(&State->Recent.back().Picture);
        State->Recent.pop_back();
    }
}

std::uint64_t PictureStore::budget() const
{
    const std::lock_guard<std::mutex> hold(State->Lock);
    return State->Budget;
}

std::uint64_t PictureStore::heldBytes() const
{
    const std::lock_guard<std::mutex> hold(State->Lock);
    return State->Bytes;
}

DIB PictureStore::held(const PictureEntry &entry)
{
    if (!entry.Reduced)
        return entry.Dib;
    const std::lock_guard<std::mutex> hold(State->Lock);
    return State->find(keyOf(entry.Recipe));
}

DIB PictureStore::full(const PictureEntry &entry)
{
    if (!entry.Reduced)
        return entry.Dib;
    const Key k = keyOf(entry.Recipe);
    {
        const std::lock_guard<std::mutex> hold(State->Lock);
        if (const DIB d = State->find(k); d.Bits)
            return d;
    }
    // Nil when the file is no longer the one decoded.
    DIB made = ReplayRecipe(entry.Recipe);
    if (!made.Bits) {
        deldib(&made);
        return DIB();
    }
    const std::lock_guard<std::mutex> hold(State->Lock);
    State->insert(k, made);
    return made;
}

void PictureStore::request(const PictureEntry &entry)
{
    if (!entry.Reduced)
        return;
    const Key k = keyOf(entry.Recipe);
    {
        const std::lock_guard<std::mutex> hold(State->Lock);
        const auto listed = [&k](const std::vector<Key> &keys) { return std::find(keys.begin(), keys.end(), k) != keys.end(); };
        if (State->find(k).Bits || listed(State->Pending) || listed(State->Failed))
            return;
        State->Pending.push_back(k);
    }
    // Made before the hand-over, so the task's copy of the recipe is ordered by it.
    QRunnable *task = QRunnable::create([state = State, k, recipe = entry.Recipe] {
        PoolHandoff();
        BackgroundWork();
        DIB made;
        try {
            made = ReplayRecipe(recipe);
        } catch (...) {
            // Counted as failed below: nothing may leave a pool task.
        }
        const std::lock_guard<std::mutex> hold(state->Lock);
        state->Pending.erase(std::find(state->Pending.begin(), state->Pending.end(), k));
        if (!state->Alive) {
            deldib(&made);
            return;
        }
        if (!made.Bits) {
            deldib(&made);
            state->Failed.push_back(k);
            return;
        }
        state->insert(k, made);
        state->Arrivals = true;
    });
    PoolHandoff();
    DecodePool()->start(task);
    if (!Poll->isActive())
        Poll->start();
}

void PictureStore::clear()
{
    const std::lock_guard<std::mutex> hold(State->Lock);
    State->clear();
}

// ---------------------------------------------------------------------------

DrawPixels PixelsForDrawing(PictureStore &store, const PictureEntry &entry, const QRect &source, QSize dest,
                            PictureWant want)
{
    if (!entry.Reduced)
        return {entry.Dib, source};
    const QSize full = FullSize(entry);
    const QRect shown = mapRect(source, full, QSize(DibWidth(entry.Dib), DibHeight(entry.Dib)));
    if (want == PictureWant::Screen
        || (want == PictureWant::Sharp && shown.width() >= dest.width() && shown.height() >= dest.height()))
        return {entry.Dib, shown};
    const bool fullNow = want == PictureWant::FullNow;
    const DIB better = fullNow ? store.full(entry) : store.held(entry);
    if (better.Bits)
        return {better, mapRect(source, full, QSize(DibWidth(better), DibHeight(better)))};
    if (!fullNow)
        store.request(entry);
    return {entry.Dib, shown};
}

QSize FullSize(const PictureEntry &entry)
{
    if (!entry.Reduced)
        return QSize(DibWidth(entry.Dib), DibHeight(entry.Dib));
    return QSize(entry.Recipe.Full.Width, entry.Recipe.Full.Height);
}

PictureRecipe RecipeOfDib(const DIB &dib)
{
    PictureRecipe r;
    if (dib.Bits)
        r.Full = {DibWidth(dib), DibHeight(dib), DibBitCount(dib), dib.Info->biSizeImage};
    return r;
}

bool TurnEntry(PictureEntry &entry, bool left, const ProgressFn &progress)
{
    if (!(left ? RotLeft(entry.Dib, progress) : RotRight(entry.Dib, progress)))
        return false;
    PictureStep step;
    step.What = left ? PictureStep::Kind::TurnLeft : PictureStep::Kind::TurnRight;
    entry.Recipe = WithStep(entry.Recipe, step);
    return true;
}

bool MirrorEntry(PictureEntry &entry, const ProgressFn &progress)
{
    if (!MirrorSides(entry.Dib, progress))
        return false;
    PictureStep step;
    step.What = PictureStep::Kind::Mirror;
    entry.Recipe = WithStep(entry.Recipe, step);
    return true;
}

void AdjustEntry(PictureEntry &entry, const DIB &adjusted, const ToneTable &table)
{
    entry.Dib = adjusted;
    // A table that changes nothing is no step: it would be saved for nothing.
    bool identity = true;
    for (std::size_t i = 0; i < table.size(); ++i)
        identity = identity && table[i] == i;
    if (identity)
        return;
    PictureStep step;
    step.What = PictureStep::Kind::Tone;
    step.Table = table;
    if (entry.Recipe.Steps)
        step.AfterEnlarge = std::any_of(entry.Recipe.Steps->begin(), entry.Recipe.Steps->end(),
                                        [](const PictureStep &s) { return s.What == PictureStep::Kind::Enlarge; });
    entry.Recipe = WithStep(entry.Recipe, step);
}

bool ReplayToneStep(PictureEntry &entry, const PictureStep &step)
{
    DIB pixels = entry.Dib;
    if (step.What != PictureStep::Kind::Tone || !pixels.Bits || !ApplyStep(pixels, step))
        return false;
    entry.Dib = pixels;
    AppendStep(entry.Recipe, step);
    return true;
}

EnlargeOutcome EnlargeEntry(PictureEntry &entry, std::int64_t width, std::int64_t height, const ProgressFn &progress)
{
    const bool possible = width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX
                          && std::uint64_t(width) * std::uint64_t(height) <= DibDecode::MaxPixels;
    PictureStep deeper;
    deeper.What = PictureStep::Kind::DepthUp;
    PictureStep larger;
    larger.What = PictureStep::Kind::Enlarge;
    larger.Width = int(std::min<std::int64_t>(width, INT_MAX));
    larger.Height = int(std::min<std::int64_t>(height, INT_MAX));
    // A large result that the file can make again is made only when printed;
    // until then the pixels held are the screen copy.
    const bool replayable = !entry.Recipe.File.isEmpty() && entry.Recipe.Check;
    if (possible && (entry.Reduced || (replayable && std::max(width, height) >= 2 * DisplayEdge))) {
        if (entry.Recipe.Full.BitCount != 24)
            entry.Recipe = WithStep(entry.Recipe, deeper);
        entry.Recipe = WithStep(entry.Recipe, larger);
        entry.Reduced = true;
        return EnlargeOutcome::Done;
    }
    if (DibBitCount(entry.Dib) != 24) {
        if (!ApplyStep(entry.Dib, deeper, progress))
            return EnlargeOutcome::DepthFailed;
        entry.Recipe = WithStep(entry.Recipe, deeper);
    }
    if (!possible || !ApplyStep(entry.Dib, larger, progress))
        return EnlargeOutcome::Failed;
    entry.Recipe = WithStep(entry.Recipe, larger);
    return EnlargeOutcome::Done;
}
