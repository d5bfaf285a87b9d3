#pragma once
// Full-resolution pictures of the collection, made on demand. An entry keeps
// a copy for the screen and its recipe; the store replays the recipe when the
// full picture is wanted and keeps the most recently used ones within a
// memory budget. Thread-safe: export draws pages on a worker.
#include "document/PictureEntry.h"

#include <QRect>
#include <QSize>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QTimer;

class PictureStore {
public:
    PictureStore();
    ~PictureStore();
    PictureStore(const PictureStore &) = delete;
    PictureStore &operator=(const PictureStore &) = delete;

    // A quarter of the machine's memory, at most 2 GB.
    [[nodiscard]] static std::uint64_t DefaultBudget();
    void setBudget(std::uint64_t bytes);
    [[nodiscard]] std::uint64_t budget() const;
    [[nodiscard]] std::uint64_t heldBytes() const;

    // The entry's full picture: its own pixels unless Reduced, else a held one
    // or a replay made on this thread (then held). Bits nil when the file can
    // no longer make it.
    [[nodiscard]] DIB full(const PictureEntry &entry);
    // The held full picture, if any, without decoding.
    [[nodiscard]] DIB held(const PictureEntry &entry);
    // Starts making the full picture on the pool unless it is held or under
    // way; Arrived is then called on the thread that made the store (within
    // a frame of its arrival).
    void request(const PictureEntry &entry);
    std::function<void()> Arrived;

    // Drops every held picture (the pixels live on while someone uses them).
    void clear();

    struct Shared;

private:
    std::shared_ptr<Shared> State;
    QTimer *Poll = nullptr; // owned by the state's context
};

// The pixels to draw an entry from, and the source rectangle within them.
struct DrawPixels {
    DIB Dib;
    QRect Source;
};
// What a drawing wants: the screen copy while it has at least as many pixels
// as the destination and the full picture beyond that (Sharp); the full
// picture always (Full); either way made now on this thread (Now), or else a
// held one or, until it arrives from the pool, the screen copy. Screen: the
// screen copy only (live drags).
enum class PictureWant { Sharp, Full, FullNow, Screen };
// `source` is a rectangle of the full picture (rows counted from the bottom)
// that lands on `dest` device pixels.
[[nodiscard]] DrawPixels PixelsForDrawing(PictureStore &store, const PictureEntry &entry, const QRect &source,
                                          QSize dest, PictureWant want);

// Size of the entry's full picture (what layout, quality and size rules use).
[[nodiscard]] QSize FullSize(const PictureEntry &entry);

// A recipe that only describes pixels made in memory.
[[nodiscard]] PictureRecipe RecipeOfDib(const DIB &dib);

// The commands' changes of a picture, each recorded in its recipe. The entry
// is given new pixels, never written into, so undo steps keep theirs.
bool TurnEntry(PictureEntry &entry, bool left, const ProgressFn &progress = {});
// Swaps left and right, as a camera that recorded the picture mirrored.
bool MirrorEntry(PictureEntry &entry, const ProgressFn &progress = {});
// `adjusted`: the shown pixels through the table, made by the caller.
void AdjustEntry(PictureEntry &entry, const DIB &adjusted, const ToneTable &table);
// Applies a stored tone step to the entry's pixels and records it as it was;
// false, the entry unchanged, when memory ran out.
bool ReplayToneStep(PictureEntry &entry, const PictureStep &step);
enum class EnlargeOutcome { Done, DepthFailed, Failed };
// Enlarges the full picture to width x height at 24 bits (a palette picture
// keeps its new depth when only the enlargement fails). A large picture that
// can be made again from its file is only recorded and made when needed.
EnlargeOutcome EnlargeEntry(PictureEntry &entry, std::int64_t width, std::int64_t height,
                            const ProgressFn &progress = {});
