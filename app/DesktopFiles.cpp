// The window's side of the desktop: what the command line asked for and files
// dropped from a file manager.
#include "app/MainUnit.h"

#include "app/CommandLine.h"
#include "document/Collection.h"
#include "document/DroppedFiles.h"
#include "document/UndoCommands.h"
#include "picture/DecodeBatch.h"
#include "picture/OpenDib.h"
#include "picture/Orientation.h"
#include "platform/Dialogs.h"
#include "platform/EventHook.h"
#include "platform/PaintBox.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>

namespace {
// Several pictures dropped at one point are laid out like a fanned stack.
constexpr double DropCascadeInch = 0.25;
} // namespace

int TMainForm::AddPictureFile(const QString &path)
{
    return AddPictureFile(path, DecodeForCollection(path, DibFormatAuto, DisplayBox()));
}

int TMainForm::AddPictureFile(const QString &path, DIB dib)
{
    return AddPictureFile(path, DecodedPicture{dib, RecipeOfDib(dib), false});
}

int TMainForm::AddPictureFile(const QString &path, DecodedPicture picture)
{
    if (!picture.Dib.Bits) {
        deldib(&picture.Dib);
        Dialogs::messageBox(this, LoadErrorText(path), tr("Error"), Dialogs::Icon::Error, Dialogs::Ok);
        return -1;
    }
    appendPicture(path, picture.Dib);
    PictureEntry &entry = Pictures.back();
    entry.Recipe = picture.Recipe;
    entry.Reduced = picture.Reduced;
    const int turns = TurnCameraCheck && TurnCameraCheck->isChecked() ? CameraQuarterTurns(path) : 0;
    // A turn that fails for want of memory leaves the picture as stored.
    PictureEntry turned = entry;
    bool done = turns != 0;
    for (int i = 0; done && i < (turns == 3 ? 1 : turns); ++i)
        done = TurnEntry(turned, turns == 3, ProgressToStatusBar());
    if (done) {
        entry = turned;
        entry.Rotation = turns;
    }
    return PictureCount() - 1;
}

int TMainForm::AddPictureFiles(const QStringList &paths)
{
    const auto undo = Undo->change(tr("Add pictures"));
    int added = 0;
    DecodeBatch decoded(paths, DisplayBox());
    decoded.Progress = [this](int percent) { SetProStatus(percent); };
    for (const QString &path : paths)
        added += AddPictureFile(path, decoded.TakeNextPicture()) >= 0 ? 1 : 0;
    if (added > 0) {
        UpdateListBox();
        repaintStrip();
    }
    return added;
}

void TMainForm::ApplyCommandLine(const CommandLineRequest &request)
{
    if (!request.Error.isEmpty())
        return;
    // Nothing can be lost yet, so the arrangement opens without the question.
    if (!request.Arrangement.isEmpty())
        OpenFile(request.Arrangement);
    AddPictureFiles(request.Pictures);
}

void TMainForm::OpenArrangementAsked(const QString &path)
{
    if (Dialogs::messageBox(this, tr("You will lost all not saved information!"), tr("File/Open"),
                            Dialogs::Icon::Information, Dialogs::OkCancel) != Dialogs::IdOk)
        return;
    OpenFile(path);
}

bool TMainForm::FileDropAccepted(const QMimeData *mime) const { return !SortDroppedFiles(mime).isEmpty(); }

void TMainForm::DropFilesOnWindow(const QMimeData *mime)
{
    const DroppedFiles files = SortDroppedFiles(mime);
    // An arrangement replaces everything, so pictures dropped with it would be lost.
    if (!files.Arrangement.isEmpty())
        OpenArrangementAsked(files.Arrangement);
    else
        AddPictureFiles(files.Pictures);
}

void TMainForm::DropFilesOnPictures(const QMimeData *mime) { DropFilesOnWindow(mime); }

void TMainForm::DropFilesOnArrangeView(const QMimeData *mime, int X, int Y)
{
    const DroppedFiles files = SortDroppedFiles(mime);
    if (!files.Arrangement.isEmpty()) {
        OpenArrangementAsked(files.Arrangement);
        return;
    }
    const auto undo = Undo->change(tr("Place pictures"));
    const double left = SnapToGrid(FromView(X));
    const double top = SnapToGrid(FromView(Y));
    int placed = 0;
    DecodeBatch decoded(files.Pictures, DisplayBox());
    decoded.Progress = [this](int percent) { SetProStatus(percent); };
    for (const QString &path : files.Pictures) {
        const int index = AddPictureFile(path, decoded.TakeNextPicture());
        if (index < 0)
            continue;
        SelectedPicture = index;
        placePicture(index, left + placed * DropCascadeInch, top + placed * DropCascadeInch);
        ++placed;
    }
    if (placed > 0) {
        UpdateListBox();
        repaintStrip();
        repaintArrangeView();
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (FileDropAccepted(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dragMoveEvent(QDragMoveEvent *event)
{
    if (FileDropAccepted(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    if (!FileDropAccepted(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    DropFilesOnWindow(event->mimeData());
}

void TMainForm::connectDesktop()
{
    setAcceptDrops(true);
    UpdateRecentMenu();
    // Files from outside come before the list's own drags from the file list.
    new TEventHook(ImageList->viewport(), [this](QEvent *e) {
        if (e->type() != QEvent::DragEnter && e->type() != QEvent::DragMove && e->type() != QEvent::Drop)
            return false;
        auto *drop = static_cast<QDropEvent *>(e);
        if (drop->source() || !FileDropAccepted(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        if (e->type() == QEvent::Drop)
            DropFilesOnPictures(drop->mimeData());
        return true;
    });
    // The arrange view keeps its strip drags and takes files as well.
    const auto stripEnter = PaintBox2->onDragEnter;
    const auto stripOver = PaintBox2->onDragOver;
    const auto stripDrop = PaintBox2->onDragDrop;
    PaintBox2->onDragEnter = [this, stripEnter](QDragEnterEvent *e) {
        if (!e->source() && FileDropAccepted(e->mimeData()))
            e->acceptProposedAction();
        else if (stripEnter)
            stripEnter(e);
    };
    PaintBox2->onDragOver = [this, stripOver](QDragMoveEvent *e) {
        if (!e->source() && FileDropAccepted(e->mimeData()))
            e->acceptProposedAction();
        else if (stripOver)
            stripOver(e);
    };
    PaintBox2->onDragDrop = [this, stripDrop](QDropEvent *e) {
        if (!e->source() && FileDropAccepted(e->mimeData())) {
            e->acceptProposedAction();
            const QPoint at = e->position().toPoint();
            DropFilesOnArrangeView(e->mimeData(), at.x(), at.y());
        } else if (stripDrop) {
            stripDrop(e);
        }
    };
}
