#pragma once
// How a collection picture is made from its file: the decode, then a camera's
// mirroring, every turn, tonal adjustment and quality enlargement in the order
// they happened. The steps are the same functions the commands apply in place,
// so replaying them on a fresh decode gives the very bytes an in-place picture
// would hold.
#include "picture/Dib.h"
#include "picture/Progress.h"
#include "picture/ScaledDecode.h"
#include "picture/Tonal.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct PictureStep {
    // DepthUp: palette pictures to 24 bits; Enlarge: smoothly to Width x Height;
    // Mirror: left and right swapped, as a camera that recorded it mirrored.
    enum class Kind : std::uint8_t { TurnLeft, TurnRight, Tone, DepthUp, Enlarge, Mirror };
    Kind What = Kind::TurnLeft;
    int Width = 0;
    int Height = 0;
    ToneTable Table{}; // Tone
    // Tone: made after the picture was enlarged, so an arrangement file that
    // replays it does so after its own enlargement.
    bool AfterEnlarge = false;
};
using PictureSteps = std::vector<PictureStep>;

[[nodiscard]] bool operator==(const PictureStep &a, const PictureStep &b);

struct PictureRecipe {
    QString File; // empty: the pixels were made in memory and cannot be replayed
    int Format = 0; // as for OpenDib
    std::optional<std::int32_t> Check; // FileCheck when it was decoded
    // Never changed once made, so copies (undo steps, other entries) share it.
    std::shared_ptr<const PictureSteps> Steps;
    PictureHeader Decoded; // of the picture the file gave, before any step
    PictureHeader Full; // of the picture with every step applied

    [[nodiscard]] int StepCount() const { return Steps ? int(Steps->size()) : 0; }
};

// Header of the picture a step makes of one described by `before`.
[[nodiscard]] PictureHeader HeaderAfterStep(const PictureHeader &before, const PictureStep &step);
// The recipe with one more step; Full follows it.
[[nodiscard]] PictureRecipe WithStep(const PictureRecipe &recipe, const PictureStep &step);
// The same in place: the step list is extended where this recipe alone holds
// it, copied where others share it.
void AppendStep(PictureRecipe& recipe, const PictureStep& step);

// Applies one step to a picture, replacing it; false, the picture unchanged,
// when memory ran out or the enlargement is beyond the pixel limit.
bool ApplyStep(DIB &pic, const PictureStep &step, const ProgressFn &progress = {});

// Decodes the file in full and replays every step, when the file is still the
// one decoded: it is checked and decoded through one opening, and the picture
// it gives must have the recorded size and depth. Bits nil otherwise or on
// failure, with an error text. Safe on any thread.
// With a box (picture pixels before any step), a JPEG is decoded no smaller
// than the full picture fitted into it, unless a step enlarges: turns and
// tonal steps come out the same at any scale.
[[nodiscard]] DIB ReplayRecipe(const PictureRecipe &recipe, QSize box = QSize());

// Whether the file is still the one that was decoded (size, modification time,
// check value). False when it is gone or cannot be read.
[[nodiscard]] bool RecipeFileUnchanged(const PictureRecipe &recipe);

// Long edge of the copy a picture is shown from.
inline constexpr int DisplayEdge = 960;
// The display box a decode is asked for.
[[nodiscard]] inline QSize DisplayBox() { return QSize(DisplayEdge, DisplayEdge); }

// A smaller copy of a large true-colour picture for the screen: halved by
// averaging 2 x 2 pixels until its long edge is below twice DisplayEdge.
// Bits nil when the picture is small enough already, is not 24-bit, or memory
// ran out.
[[nodiscard]] DIB ShrinkForDisplay(const DIB &pic);
// The same down to a long edge below twice `edge` pixels.
[[nodiscard]] DIB ShrinkToEdge(const DIB &pic, int edge);
