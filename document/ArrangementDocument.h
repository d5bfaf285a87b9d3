#pragma once
// The arrangement being edited: the records (pictures, placements, selection),
// the options the file stores, the pages, the full pictures and the undo
// history. Pages show it and change it through its operations; every operation
// is one undo step (or none) and ends with one `changed` that says what it
// changed, so a view repaints once. Nothing here shows a window: outcomes a
// user must hear of are returned to the caller.
#include "document/Arrangement.h"
#include "document/ArrangementFile.h"
#include "document/Options.h"
#include "document/PageGeometry.h"
#include "document/SheetPlan.h"
#include "document/UndoCommands.h"
#include "picture/DecodeBatch.h"
#include "picture/Progress.h"

#include <QFlags>
#include <QObject>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class QUndoStack;

// Pictures that could not be enlarged to the minimum quality, one outcome each.
using QualityFailures = std::vector<EnlargeOutcome>;

class ArrangementDocument : public QObject
{
    Q_OBJECT
public:
    enum class Change : unsigned {
        Collection = 1, // entries added, removed or reordered
        Pictures = 2,   // an entry's pixels, turn or caption
        Placements = 4,
        Selection = 8,  // the selected placement or strip picture
        Options = 16,
        Pages = 32,     // page count or current page
        Captions = 64,  // a caption typed (views draw it once typing pauses)
    };
    Q_DECLARE_FLAGS(Changes, Change)
    static constexpr Changes Everything = Changes(0x7F);

    explicit ArrangementDocument(QObject *parent = nullptr);
    ~ArrangementDocument() override;

    // The records, read by the views and the renderers. Changes go through the
    // operations below.
    [[nodiscard]] const TArrangement &records() const { return Records; }
    // Tests, tools and benchmarks set records up directly, then touch() what
    // they changed; the program's folders never do (the layering check greps).
    [[nodiscard]] TArrangement &recordsForSetUp() { return Records; }

    // ---- Undo steps ---------------------------------------------------------
    // One user action while it lives: one undo step (when anything changed) and
    // one `changed` at its end. Operations open their own; a caller opens one to
    // join several operations into a step. Steps nest.
    class Step
    {
    public:
        Step(ArrangementDocument &doc, const QString &text, int mergeKey);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        ArrangementDocument &Doc;
        ArrangementUndo::Change Undo;
    };
    [[nodiscard]] Step step(const QString &text, int mergeKey = NoMerge) { return Step(*this, text, mergeKey); }
    // Marks what the step under way changed (set-ups that edit records directly).
    void touch(Changes what);
    QUndoStack *undoStack();
    ArrangementUndo &undo() { return *Undo; }
    [[nodiscard]] bool isModified() const;
    ArrangementState captureState() const;
    void restoreState(const ArrangementState &state);

    // ---- Options, pages and settings ---------------------------------------
    [[nodiscard]] const ArrangementOptions &options() const { return Options; }
    // Held to the edits' ranges; one undo step named text (merging by key).
    void setOptions(const ArrangementOptions &o, const QString &undoText, int mergeKey = NoMerge);
    // Kept settings and defaults: no change of the arrangement, no undo step.
    void resetOptions(const ArrangementOptions &o);
    // How the page is looked at: saved with the file, but no undo step and no
    // unsaved change; undo keeps the zoom it finds.
    void setZoom(int zoom);
    [[nodiscard]] int pageCount() const { return PageCount; }
    [[nodiscard]] int currentPage() const { return CurrentPage; }
    static constexpr int MaxPages = 1000;
    // 1..MaxPages; the current page follows a smaller count.
    void setPageCount(int count);
    // Held to 1..pageCount; a selection on another page is dropped.
    void setCurrentPage(int page);
    // Not stored in the file: how pictures are added, and the full pictures' memory.
    [[nodiscard]] bool turnAsCamera() const { return TurnAsCamera; }
    void setTurnAsCamera(bool on) { TurnAsCamera = on; }
    void setPictureMemory(std::uint64_t bytes);

    // ---- The file -----------------------------------------------------------
    [[nodiscard]] const QString &fileName() const { return FileName; }
    // The name the arrangement is saved under; empty: never saved.
    void setFileName(const QString &name);
    // True while a file is read: the views skip their paints.
    [[nodiscard]] bool loading() const { return Loading; }
    // True while an open or an add waits for its pictures; `idle` follows its end.
    [[nodiscard]] bool busy() const { return Adding > 0; }
    enum class OpenStatus { Opened, CannotOpen, NotArrangement, Damaged };
    struct OpenResult {
        OpenStatus Status = OpenStatus::Opened;
        QStringList MissingPictures; // full paths, replaced by blank pictures
        // Files that are there but gave no picture: "path: reason", also
        // replaced by blank pictures.
        QStringList DamagedPictures;
        QualityFailures Quality;
    };
    // Replaces the arrangement with the file's; any other status keeps the
    // current one untouched.
    OpenResult open(const QString &path, const PageGeometry &paper);
    // Writes beside the target and renames it over, so a failed save keeps the
    // old file. False on failure; the arrangement stays unsaved.
    bool save(const QString &path);
    // An empty arrangement without a name ("New").
    void reset();
    // What save writes for a file at path.
    [[nodiscard]] ArrangementData fileRecord(const QString &path) const;

    // ---- The collection -----------------------------------------------------
    // Appends a decoded picture, turned as the camera recorded when that is on;
    // -1 (nothing added) when it has no pixels. The new entry's index.
    int addDecodedPicture(const QString &path, DecodedPicture picture);
    struct AddResult {
        std::vector<int> Added;  // indices of the new entries
        QStringList Failed;      // paths that gave no picture
        QStringList Reasons;     // why each of them failed, as the decoder says
    };
    // Decodes the files on the pool and appends them in order, as one step.
    AddResult addPictureFiles(const QStringList &paths, const QString &undoText);
    // Pictures whose files are gone and that lie under the same name in
    // folder take the files there, as one step; the number found.
    int relocatePictures(const QString &folder, const QString &undoText);
    // Removes the entries (and their placements) at the given indices.
    void deletePictures(const std::vector<int> &indices, const QString &undoText);
    bool swapPictures(int a, int b, const QString &undoText);
    void sortPicturesByName(const QString &undoText);
    // The strip's selection; no undo step.
    void selectPicture(int index);

    // ---- Placements ---------------------------------------------------------
    // Places picture `index` on the current page at (left, top) inches with the
    // default size (with keepOnPage moved inside the paper's page as far as
    // needed), selects it and brings it to the front. False for an invalid index.
    bool placePicture(int index, double left, double top, const PageGeometry &paper, QualityFailures *failures,
                      bool keepOnPage = false);
    // Selects a placement and brings it to the front; -1 clears. Neither is an
    // undo step nor an unsaved change of its own (both are saved with the file).
    void selectPlacement(int index);
    void clearSelection();
    void bringSelectionToFront();
    void deleteSelectedPlacement(const QString &undoText);
    [[nodiscard]] bool hasSelection() const;
    // The selected placement's frame set to p, and its page when p names
    // another one of the arrangement (which is then shown); its picture kept.
    void setSelectedFrame(const Placement &p, const QString &undoText, int mergeKey = NoMerge);
    void setSelectedCut(bool cut, const QString &undoText);
    // The caption of the selected placement's picture (every placement of it shows it).
    void setSelectedCaption(const QString &text, const QString &undoText);
    // A drag of the selected placement: the frame follows without a step or a
    // signal (the view draws its outline); the end is one step.
    void beginDrag();
    void dragTo(const Placement &p);
    // A drag of the selected placement's picture inside its frame, between
    // beginDrag and endDrag: the view follows without a step or a signal. A
    // frame that fits its picture in becomes a cut one, which a view fills.
    void dragViewTo(const FrameView &view);
    // The selected placement's view set to `view` (held valid), one step; its
    // picture is then enlarged to the minimum quality for what it shows.
    void setSelectedView(const FrameView &view, const QString &undoText, const PageGeometry &paper,
                         QualityFailures *failures, int mergeKey = NoMerge);
    void endDrag(const QString &undoText, const PageGeometry &paper, QualityFailures *failures);
    // The link the selected placement is in or may join again (a copy of its
    // picture at its size is linked); 0 for none.
    [[nodiscard]] int selectedLinkGroup() const;
    // Takes the selected placement out of its link (its view stays as it is)
    // or puts it back, taking the view of the copies it joins; one step.
    void setSelectedLinked(bool linked, const QString &undoText);
    // New frames for placements by index (page and picture kept), each picture
    // then enlarged to the minimum quality for its frame.
    void setFrames(const std::vector<std::pair<int, Placement>> &frames, const QString &undoText,
                   const PageGeometry &paper, QualityFailures *failures);

    // ---- Picture work -------------------------------------------------------
    // The entry the selected placement shows; -1 without a selection.
    [[nodiscard]] int selectedPictureIndex() const;
    // Turns the selected placement's picture a quarter turn.
    void turnSelectedPicture(bool left, const QString &undoText);
    // Shows the entry's pixels through a tone table (a preview: no step).
    void showAdjusted(int index, const DIB &pixels, const ToneTable &table, const PictureRecipe &base);
    // Puts back the entry's own pixels and recipe after a preview.
    void showOriginal(int index, const DIB &pixels, const PictureRecipe &base);
    // Enlarges every placed picture that is too small for its frame.
    QualityFailures checkAllQualities(const PageGeometry &paper);
    // Enlarges an entry's picture so it reaches the minimum quality across a
    // frame `frameWidth` inches wide (the height follows the picture's aspect);
    // a failure goes to failures.
    // `shownShare` is the share of the picture's width the frame shows.
    void enlargeForFrame(PictureEntry &entry, double frameWidth, const PageGeometry &paper,
                         QualityFailures *failures, double shownShare = 1);
    // Enlarges the picture of a placement for the pixels it shows.
    void enlargeForPlacement(const Placement &p, const PageGeometry &paper, QualityFailures *failures);

    // ---- Sheets -------------------------------------------------------------
    // A sheet maker's frames, cell captions and page headers, put in as one
    // step named undoText; the page count grows as needed. Refused, nothing
    // changed, when a frame names no picture or the pages would run out.
    SheetPlaced placeSheet(const SheetPlan &plan, const QString &undoText, const PageGeometry &paper,
                           QualityFailures *failures);
    // Appends a picture that stands in for a file that gave none (not turned,
    // no recipe of the file, so its cell still names the file); its index.
    int addStandInPicture(const QString &path, const DIB &dib);

signals:
    void changed(ArrangementDocument::Changes what);
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString &fileName);
    // A full picture wanted by a zoomed view has arrived from the pool.
    void fullPictureArrived();
    // Long work: 0..100, 0 again at its end.
    void progress(int percent);
    // An open or add that waited for its pictures has ended.
    void idle();

private:
    // Holds `changed` back until the outermost batch or step ends.
    struct Batch {
        ArrangementDocument &Doc;
        explicit Batch(ArrangementDocument &doc)
            : Doc(doc)
        {
            ++Doc.Depth;
        }
        ~Batch()
        {
            if (--Doc.Depth == 0)
                Doc.flush();
        }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;
    };
    // Counts an open or add under way; `idle` when the last one ends.
    struct BusyScope {
        ArrangementDocument &Doc;
        explicit BusyScope(ArrangementDocument &doc)
            : Doc(doc)
        {
            ++Doc.Adding;
        }
        ~BusyScope()
        {
            if (--Doc.Adding == 0)
                emit Doc.idle();
        }
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;
    };
    ProgressFn progressReporter();
    // The file's records become the arrangement's (pictures decoded from folder).
    void take(const ArrangementData &record, const QString &folder, const PageGeometry &paper, OpenResult &result);
    void dropSelectionOffPage();
    // Turns a freshly decoded entry by the quarter turns it was saved with.
    void turnAsStored(PictureEntry &entry);
    void flush();
    // Applies the file's tone steps made before (or after) an enlargement.
    void replayTones(PictureEntry &entry, const PictureSteps &tones, bool afterEnlarge);

    TArrangement Records;
    ArrangementOptions Options;
    int PageCount = 1;
    int CurrentPage = 1;
    QString FileName;
    bool Loading = false;
    int Adding = 0; // opens and adds waiting for their pictures
    bool TurnAsCamera = true;
    std::unique_ptr<ArrangementUndo> Undo;
    Changes Pending;
    int Depth = 0;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(ArrangementDocument::Changes)
Q_DECLARE_METATYPE(ArrangementDocument::Changes)
