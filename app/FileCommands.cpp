#include "app/FileCommands.h"

#include "app/CommandLine.h"
#include "arrange/Geometry.h"
#include "document/ArrangementDocument.h"
#include "document/DroppedFiles.h"
#include "document/Paths.h"
#include "document/Recovery.h"
#include "pages/PageServices.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QFileInfo>
#include <QLocale>

namespace {
QString SgaFilter() { return FileCommands::tr("Snapgrid-Atlas files (*.sga)"); }

// The pictures an opened arrangement misses, by name, and the folders they were looked for in.
QString MissingPicturesText(const QStringList &missing)
{
    constexpr int Shown = 12;
    QStringList lines;
    QStringList folders;
    for (int i = 0; i < missing.size(); ++i) {
        if (i < Shown)
            lines << FileCommands::tr("Couldn't open picture %1 !").arg(FileNamePart(missing[i]));
        const QString folder = QFileInfo(missing[i]).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    if (missing.size() > Shown)
        lines << FileCommands::tr("... and %n more.", nullptr, int(missing.size() - Shown));
    lines << QString() << FileCommands::tr("Looked in: %1").arg(folders.join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\n'));
}
// Pictures whose files are there but cannot be read, each with the reason.
QString DamagedPicturesText(const QStringList& damaged)
{
    constexpr int Shown = 12;
    QStringList lines;
    lines << FileCommands::tr("Damaged picture files, shown as blank frames:");
    lines << damaged.mid(0, Shown);
    if (damaged.size() > Shown)
        lines << FileCommands::tr("... and %n more.", nullptr, int(damaged.size() - Shown));
    return lines.join(QLatin1Char('\n'));
}
} // namespace

FileCommands::FileCommands(ArrangementDocument &doc, PageServices &services, QObject *parent)
    : QObject(parent)
    , Doc(doc)
    , Services(services)
{
}

bool FileCommands::MayLeaveWork(const QString &text, const QString &caption)
{
    // Only unsaved changes are worth the question.
    if (!Doc.isModified())
        return true;
    switch (Dialogs::messageBox(Services.dialogParent(), text, caption, Dialogs::Icon::Information,
                                Dialogs::SaveDiscardCancel)) {
    case Dialogs::IdSave:
        SaveBtnClick();
        return !Doc.isModified(); // a failed or cancelled save keeps the work
    case Dialogs::IdDiscard:
        return true;
    default:
        return false;
    }
}

void FileCommands::NewBtnClick()
{
    if (!MayLeaveWork(tr("All unsaved data will be lost!"), tr("File/New")))
        return;
    Doc.reset();
}

void FileCommands::OpenBtnClick()
{
    if (!MayLeaveWork(tr("You will lost all not saved information!"), tr("File/Open")))
        return;
    const QString path = Dialogs::getOpenFileName(Services.dialogParent(), tr("Open"), SgaFilter());
    if (!path.isEmpty())
        OpenFile(path);
}

void FileCommands::SaveBtnClick()
{
    if (Doc.fileName().isEmpty())
        SaveAsBtnClick();
    else
        SaveFile(Doc.fileName());
}

void FileCommands::SaveAsBtnClick()
{
    const QString path =
        Dialogs::getSaveFileName(Services.dialogParent(), tr("Save as"), SgaFilter(), QStringLiteral("sga"));
    if (!path.isEmpty())
        SaveFile(path);
}

bool FileCommands::SaveFile(const QString &path)
{
    if (Doc.save(path))
        return true;
    Dialogs::messageBox(Services.dialogParent(),
                        tr("Save Snapgrid-Edge file: Couldn't save file %1 !").arg(FileNamePart(path)), tr("Error"),
                        Dialogs::Icon::Error, Dialogs::Ok);
    return false;
}

void FileCommands::OpenFile(const QString &path)
{
    const PageGeometry paper = PaperGeometry(Services.printer(), Services.screenDpiX(), Doc.options().Zoom);
    const ArrangementDocument::OpenResult opened = Doc.open(path, paper);
    auto error = [this](const QString &text) {
        Dialogs::messageBox(Services.dialogParent(), text, tr("Error"), Dialogs::Icon::Error, Dialogs::Ok);
    };
    const QString name = FileNamePart(path);
    switch (opened.Status) {
    case ArrangementDocument::OpenStatus::CannotOpen:
        error(tr("Open Snapgrid-Edge file: Couldn't open file %1 !").arg(name));
        return;
    case ArrangementDocument::OpenStatus::NotArrangement:
        error(tr("This is not a valid Snapgrid-Edge file!"));
        return;
    case ArrangementDocument::OpenStatus::Damaged:
        error(tr("Open Snapgrid-Edge file: The file %1 is damaged and was not opened !").arg(name));
        return;
    case ArrangementDocument::OpenStatus::Opened:
        break;
    }
    if (!opened.DamagedPictures.isEmpty())
        error(DamagedPicturesText(opened.DamagedPictures));
    LocateMissingPictures(opened.MissingPictures);
    ReportQualityFailures(Services.dialogParent(), opened.Quality);
}

void FileCommands::OfferRecovery(const QString &folder, const std::function<void()> &copied)
{
    for (RecoveryClaim &claim : ClaimLeftRecoveries(folder)) {
        const RecoveryCopy &copy = claim.copy();
        const QString name = copy.OwnFile.isEmpty() ? tr("an arrangement that was never saved") : copy.OwnFile;
        const int answer = Dialogs::messageBox(
            Services.dialogParent(),
            tr("Snapgrid-Atlas did not end normally. A recovery copy of %1 from %2 was kept.\n"
               "Restore it? No discards the copy; Cancel keeps it for the next start.")
                .arg(name, QLocale().toString(copy.Written, QLocale::ShortFormat)),
            tr("Recovery"), Dialogs::Icon::Question, Dialogs::YesNoCancel);
        if (answer == Dialogs::IdNo)
            claim.discard();
        if (answer != Dialogs::IdYes)
            continue;
        const PageGeometry paper = PaperGeometry(Services.printer(), Services.screenDpiX(), Doc.options().Zoom);
        const ArrangementDocument::OpenResult opened = Doc.open(copy.Copy, paper);
        if (opened.Status != ArrangementDocument::OpenStatus::Opened) {
            const QString aside = claim.setAside();
            Dialogs::messageBox(Services.dialogParent(),
                                tr("The recovery copy of %1 cannot be read; it was kept as %2.").arg(name, aside),
                                tr("Recovery"), Dialogs::Icon::Error, Dialogs::Ok);
            continue;
        }
        Doc.setFileName(copy.OwnFile);
        Doc.undo().markModified(); // the user's own file still holds the old state
        if (copied)
            copied();
        claim.discard();
        LocateMissingPictures(opened.MissingPictures);
        ReportQualityFailures(Services.dialogParent(), opened.Quality);
        return; // one window takes one copy; the others wait for the next start
    }
}

void FileCommands::LocateMissingPictures(QStringList missing)
{
    while (!missing.isEmpty()) {
        if (Dialogs::messageBox(Services.dialogParent(), MissingPicturesText(missing), tr("Error"),
                                Dialogs::Icon::Error, Dialogs::OkLocate)
            != Dialogs::IdLocate)
            return;
        const QString chosen = Dialogs::getOpenFileName(Services.dialogParent(),
                                                        tr("Locate %1").arg(FileNamePart(missing.first())),
                                                        tr("Pictures (*)"));
        if (chosen.isEmpty())
            return;
        // The others that moved with it are found beside it.
        Doc.relocatePictures(QFileInfo(chosen).absolutePath(), tr("Locate pictures"));
        QStringList still;
        for (const PictureEntry &entry : Doc.records().Pictures)
            if (missing.contains(entry.FileName) && !still.contains(entry.FileName))
                still << entry.FileName;
        if (still.size() == missing.size())
            return; // nothing of them there
        missing = still;
    }
}

void FileCommands::OpenArrangementAsked(const QString &path)
{
    if (!MayLeaveWork(tr("You will lost all not saved information!"), tr("File/Open")))
        return;
    OpenFile(path);
}

int FileCommands::AddPictureFiles(const QStringList &paths)
{
    const ArrangementDocument::AddResult added = Doc.addPictureFiles(paths, tr("Add pictures"));
    ReportLoadFailures(Services.dialogParent(), added.Failed, added.Reasons);
    return int(added.Added.size());
}

void FileCommands::ApplyCommandLine(const CommandLineRequest &request)
{
    if (!request.Error.isEmpty())
        return;
    // Nothing can be lost yet, so the arrangement opens without the question.
    if (!request.Arrangement.isEmpty())
        OpenFile(request.Arrangement);
    AddPictureFiles(request.Pictures);
}

void FileCommands::DropFilesOnWindow(const QMimeData *mime)
{
    const DroppedFiles files = SortDroppedFiles(mime);
    // An arrangement replaces everything, so pictures dropped with it would be lost.
    if (!files.Arrangement.isEmpty())
        OpenArrangementAsked(files.Arrangement);
    else
        AddPictureFiles(files.Pictures);
}
