#include "document/UndoCommands.h"

#include <QCoreApplication>
#include <QUndoCommand>

#include <cstring>
#include <new>
#include <utility>

namespace {
bool samePicture(const PictureEntry& a, const PictureEntry& b)
{
    return a.FileName == b.FileName && a.Comment == b.Comment && a.Rotation == b.Rotation && a.Mirrored == b.Mirrored
        && a.PrintIntent == b.PrintIntent && a.PictureId == b.PictureId
        && a.Dib.Bits == b.Dib.Bits && a.Dib.Info == b.Dib.Info && a.Reduced == b.Reduced
        && a.Recipe.Steps == b.Recipe.Steps && a.Recipe.File == b.Recipe.File;
}

// One recorded change: the state before and after it.
class StateCommand : public QUndoCommand {
public:
    StateCommand(
        ArrangementUndo& owner, const QString& text, ArrangementState before, ArrangementState after, int mergeKey)
        : QUndoCommand(text)
        , Owner(owner)
        , Before(std::move(before))
        , After(std::move(after))
        , MergeKey(mergeKey)
        , Serial(owner.mergeSerial())
    {
    }
    void undo() override { Owner.apply(Before); }
    void redo() override
    {
        // The change itself has happened when the command is pushed.
        if (Done)
            Owner.apply(After);
        Done = true;
    }
    int id() const override { return MergeKey; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const StateCommand*>(other);
        if (next->MergeKey != MergeKey || next->Serial != Serial)
            return false;
        After = next->After;
        // Typed and typed away again: nothing is left to undo.
        setObsolete(SameArrangement(Before, After));
        return true;
    }

private:
    ArrangementUndo& Owner;
    ArrangementState Before;
    ArrangementState After;
    int MergeKey;
    unsigned Serial;
    bool Done = false;
};
} // namespace

bool SameArrangement(const ArrangementState& a, const ArrangementState& b)
{
    if (a.Placements.size() != b.Placements.size() || a.Pictures.size() != b.Pictures.size()
        || a.NextPictureId != b.NextPictureId || !(a.Options == b.Options) || !(a.Sheets == b.Sheets)
        || a.Orders != b.Orders)
        return false;
    if (!a.Placements.empty()
        && std::memcmp(a.Placements.data(), b.Placements.data(), a.Placements.size() * sizeof(Placement)) != 0)
        return false;
    for (std::size_t i = 0; i < a.Pictures.size(); ++i)
        if (!samePicture(a.Pictures[i], b.Pictures[i]))
            return false;
    return true;
}

ArrangementUndo::ArrangementUndo(Capture capture, Restore restore)
    : CaptureFn(std::move(capture))
    , RestoreFn(std::move(restore))
{
    // Each step may hold a whole picture's old pixels (a turn, an adjustment):
    // the oldest steps go, so memory stays bounded.
    Stack.setUndoLimit(UndoLimit);
}

ArrangementUndo::~ArrangementUndo()
{
    // Commands call back into this object; none may outlive it. Nobody is
    // told: the window is going too.
    Stack.blockSignals(true);
    Stack.clear();
}

ArrangementUndo::Change::Change(ArrangementUndo& owner, const QString& text, int mergeKey)
    : Owner(owner)
    , Text(text)
    , MergeKey(mergeKey)
{
    if (!Owner.busy())
        Before = Owner.CaptureFn();
    ++Owner.Depth;
}

ArrangementUndo::Change::~Change() { finish(); }

void ArrangementUndo::Change::finish()
{
    if (Finished)
        return;
    Finished = true;
    --Owner.Depth;
    if (!Before)
        return;
    try {
        Owner.push(Text, std::move(*Before), Owner.CaptureFn(), MergeKey);
    } catch (const std::bad_alloc&) {
        // Out of memory: the change stays, only its undo is lost.
    }
}

void ArrangementUndo::record(const QString& text, const std::function<void()>& change, int mergeKey)
{
    const Change scope(*this, text, mergeKey);
    change();
}

void ArrangementUndo::beginGesture()
{
    if (!busy())
        Gesture = CaptureFn();
}

void ArrangementUndo::endGesture(const QString& text)
{
    if (!Gesture)
        return;
    ArrangementState before = std::move(*Gesture);
    Gesture.reset();
    push(text, std::move(before), CaptureFn(), NoMerge);
}

void ArrangementUndo::optionsChanged(const QString& text, int mergeKey)
{
    if (busy())
        return;
    ArrangementState after = CaptureFn();
    ArrangementState before = after;
    before.Options = SeenOptions;
    push(text, std::move(before), std::move(after), mergeKey);
}

void ArrangementUndo::reset()
{
    Gesture.reset();
    Stack.clear();
    Stack.setClean();
    SeenOptions = CaptureFn().Options;
    breakMerge();
}

void ArrangementUndo::quietly(const std::function<void()>& body)
{
    ++Quiet;
    try {
        body();
    } catch (...) {
        --Quiet;
        throw;
    }
    --Quiet;
    if (!busy())
        SeenOptions = CaptureFn().Options;
}

void ArrangementUndo::apply(const ArrangementState& state)
{
    Restoring = true;
    RestoreFn(state);
    Restoring = false;
    SeenOptions = state.Options;
    breakMerge();
}

void ArrangementUndo::push(const QString& text, ArrangementState before, ArrangementState after, int mergeKey)
{
    SeenOptions = after.Options;
    if (SameArrangement(before, after))
        return;
    Stack.push(new StateCommand(*this, text, std::move(before), std::move(after), mergeKey));
}

QString OptionUndoText(OptionKey key)
{
    static const char *const texts[] = {
        "Show file names", "Maintain aspect ratio", "Zoom", "Page margin", "Distance",
        "Transparent font background", "Font background", "Fit in/cut pictures as default",
        "Enlarge to min. quality", "Align pics to grid", "Show grid", "Min. quality", "Default width",
        "Default height", "Grid width",
    };
    return QCoreApplication::translate("TMainForm", texts[int(key)]);
}
