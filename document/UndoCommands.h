#pragma once
// Undo and redo of the arrangement. A change is recorded as the whole state
// before and after it, so undoing gives back exactly what the file would save,
// together with the selection and page that show the change.
#include "document/Arrangement.h"
#include "document/Options.h"

#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>
#include <vector>

// Everything a change can touch. Pictures share their pixels with the
// arrangement (DIB copies are shallow), so a state keeps old pixels alive
// without copying them; a change must give an entry new pixels rather than
// write into the ones it has.
struct ArrangementState {
    std::vector<Placement> Placements;
    std::vector<PictureEntry> Pictures;
    std::int32_t NextPictureId = 0;
    std::int32_t SelectedPlacement = -1;
    std::int32_t SelectedPicture = 0;
    ArrangementOptions Options;
    int CurrentPage = 1;
    SheetTexts Sheets;
    OrderList Orders;
};

// True when a and b differ in nothing but the selection and the page shown:
// placements byte for byte, pictures (their pixels by identity), ids, options.
[[nodiscard]] bool SameArrangement(const ArrangementState& a, const ArrangementState& b);

// Merge keys: consecutive commands with the same key become one while the
// selection stays (typing a caption, stepping an option's edit).
enum UndoMerge : int {
    NoMerge = -1,
    MergeCaption = 1,
    MergeNudge = 2,
    MergeViewZoom = 3, // turning the wheel on a picture in its frame
    MergeOption = 100, // + the option's own number
};

// The options stored in the file, each its own undo command; steps of one
// edit merge by MergeOption + the option's number.
enum class OptionKey : int {
    ShowFNames, Sverh, Zoom, Rand, Space, Transp, BkColor, CutDefault, EnhanceQual, UseGrid, ShowGrid, MinQual,
    DBreite, DHoche, Grid,
};
[[nodiscard]] QString OptionUndoText(OptionKey key);
[[nodiscard]] inline int OptionMergeKey(OptionKey key) { return MergeOption + int(key); }

class ArrangementUndo {
public:
    static constexpr int UndoLimit = 100; // steps kept
    using Capture = std::function<ArrangementState()>;
    using Restore = std::function<void(const ArrangementState&)>;
    ArrangementUndo(Capture capture, Restore restore);
    ~ArrangementUndo();
    ArrangementUndo(const ArrangementUndo&) = delete;
    ArrangementUndo& operator=(const ArrangementUndo&) = delete;

    QUndoStack* stack() { return &Stack; }

    // One change while it lives: the state at its start and at its end make
    // one command named text; a change that changed nothing is not recorded.
    // Changes within a change belong to it.
    class Change {
    public:
        Change(ArrangementUndo& owner, const QString& text, int mergeKey);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;
        // Records the change now rather than at the end of the scope.
        void finish();

    private:
        ArrangementUndo& Owner;
        QString Text;
        int MergeKey;
        std::optional<ArrangementState> Before;
        bool Finished = false;
    };
    [[nodiscard]] Change change(const QString& text, int mergeKey = NoMerge) { return Change(*this, text, mergeKey); }
    void record(const QString& text, const std::function<void()>& change, int mergeKey = NoMerge);
    // A change spread over several events (a mouse drag): begin takes the state
    // before, end records it.
    void beginGesture();
    void endGesture(const QString& text);
    // Options change in their controls before anyone can ask: recorded against
    // the options as last seen. Ignored while recording or restoring.
    void optionsChanged(const QString& text, int mergeKey);
    // Typing stops merging into the previous command.
    void breakMerge() { ++MergeSerial; }
    // Forgets every command and takes the present state as the saved one.
    void reset();
    void setClean() { Stack.setClean(); }
    // Unsaved whatever undo does (a restored recovery copy).
    void markModified() { Stack.resetClean(); }
    [[nodiscard]] bool isModified() const { return !Stack.isClean(); }
    // True while a command puts a state back or a change is being recorded;
    // the controls' change signals are no changes of their own then.
    [[nodiscard]] bool busy() const { return Restoring || Depth > 0 || Quiet > 0; }
    // Runs body without recording (controls set by the program), then takes
    // the options it left as seen.
    void quietly(const std::function<void()>& body);

    // Puts a state back (used by the commands).
    void apply(const ArrangementState& state);
    unsigned mergeSerial() const { return MergeSerial; }

private:
    void push(const QString& text, ArrangementState before, ArrangementState after, int mergeKey);

    Capture CaptureFn;
    Restore RestoreFn;
    QUndoStack Stack;
    int Depth = 0;
    int Quiet = 0;
    bool Restoring = false;
    unsigned MergeSerial = 0;
    std::optional<ArrangementState> Gesture;
    ArrangementOptions SeenOptions;
};
