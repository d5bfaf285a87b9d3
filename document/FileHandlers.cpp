// The four file commands of the tool bar and the window side of the
// arrangement file: the arrangement and the option controls to and from the
// file's record.
#include "app/MainUnit.h"

#include "document/ArrangementFile.h"
#include "document/UndoCommands.h"
#include "picture/DecodeBatch.h"
#include "picture/OpenDib.h"
#include "picture/Rotate.h"
#include "platform/ColorBox.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

QString SgaFilter() { return TMainForm::tr("Snapgrid-Atlas files (*.sga)"); }

// Clears Loading on every way out of OpenFile.
struct LoadingScope {
    bool& flag;
    explicit LoadingScope(bool& f)
        : flag(f)
    {
        flag = true;
    }
    ~LoadingScope() { flag = false; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;
};

// A stored float the edits can take: anything not finite yields the minimum.
double Finite(double v, double minimum) { return std::isfinite(v) ? v : minimum; }

// The arrangement file's folder, ending in '/'.
QString ArrangementFolder(const QString& path) { return StoredFolderPart(QFileInfo(path).absoluteFilePath()); }

} // namespace

void TMainForm::NewBtnClick()
{
    // Only unsaved changes are worth the question.
    if (isModified()
        && Dialogs::messageBox(this, tr("All unsaved data will be lost!"), tr("File/New"), Dialogs::Icon::Information,
               Dialogs::OkCancel)
            != Dialogs::IdOk)
        return;
    DelallPics();
    Undo->reset();
    UpdateSelectionControls();
    UpdateListBox();
    repaintArrangeView();
    repaintStrip();
    Setsavedfilename(QString());
}

void TMainForm::OpenBtnClick()
{
    if (isModified()
        && Dialogs::messageBox(this, tr("You will lost all not saved information!"), tr("File/Open"),
               Dialogs::Icon::Information, Dialogs::OkCancel)
            != Dialogs::IdOk)
        return;
    const QString path = Dialogs::getOpenFileName(this, tr("Open"), SgaFilter());
    if (!path.isEmpty())
        OpenFile(path);
}

void TMainForm::SaveBtnClick()
{
    if (SavedFileName.isEmpty())
        SaveAsBtnClick();
    else
        SaveFile(SavedFileName);
}

void TMainForm::SaveAsBtnClick()
{
    const QString path = Dialogs::getSaveFileName(this, tr("Save as"), SgaFilter(), QStringLiteral("sga"));
    if (!path.isEmpty())
        SaveFile(path);
}

ArrangementData TMainForm::FileRecord(const QString& path)
{
    ArrangementData record;
    Placements.First();
    while (Placements.Next())
        record.Placements.push_back(*CurrentPlacement);
    record.SelectedPlacement = SelectedPlacement;
    record.SelectedPicture = SelectedPicture;
    record.NextPictureId = NextPictureId;
    StoreOptions(record, options());
    const QString target = QFileInfo(path).absoluteFilePath();
    for (const PictureEntry& entry : Pictures)
        record.Pictures.push_back(
            { StoredPicturePath(entry.FileName, target), entry.Rotation, entry.PictureId, entry.Comment });
    return record;
}

bool TMainForm::SaveFile(const QString& path)
{
    const QByteArray bytes = WriteArrangement(FileRecord(path));

    // Written beside the target and renamed over it, so a failed save keeps the old
    // file. Unbuffered, because a short write at the final flush goes unreported.
    QSaveFile file(path);
    const bool saved
        = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit();
    if (!saved) {
        file.cancelWriting();
        Dialogs::messageBox(this, tr("Save Snapgrid-Edge file: Couldn't save file %1 !").arg(FileNamePart(path)),
            tr("Error"), Dialogs::Icon::Error, Dialogs::Ok);
        return false;
    }
    Undo->setClean();
    Setsavedfilename(path);
    return true;
}

// Stored values that are not finite fall back to the edit's minimum.
void TMainForm::setOptions(const ArrangementOptions& o)
{
    ShowFNames->setChecked(o.ShowFNames);
    SverhCheck->setChecked(o.Sverh);
    ZoomEd->setValue(o.Zoom);
    RandEd->setValue(o.Rand);
    SpaceED->setValue(o.Space);
    TranspCheck->setChecked(o.Transp);
    BkColBox->setSelected(o.BkColor);
    CutDefault->setChecked(o.CutDefault);
    EnhanceQualCheck->setChecked(o.EnhanceQual);
    UseGridCheck->setChecked(o.UseGrid);
    ShowGridCheck->setChecked(o.ShowGrid);
    MinQualEd->setValue(int(std::clamp(
        Finite(o.MinQual, MinQualEd->minimum()), double(MinQualEd->minimum()), double(MinQualEd->maximum()))));
    DBreiteED->setValue(Finite(o.DBreite, DBreiteED->minimum()));
    DHocheED->setValue(Finite(o.DHoche, DHocheED->minimum()));
    GridEd->setValue(Finite(o.Grid, GridEd->minimum()));
    CaptionFont = o.Font;
}

void TMainForm::OpenFile(const QString& path)
{
    LoadingScope loading(Loading);
    const QString folder = ArrangementFolder(path);
    const QString name = FileNamePart(path);
    auto error = [this](const QString& text) {
        Dialogs::messageBox(this, text, tr("Error"), Dialogs::Icon::Error, Dialogs::Ok);
    };

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error(tr("Open Snapgrid-Edge file: Couldn't open file %1 !").arg(name));
        return;
    }
    if (!HasArrangementMagic(file.read(ArrangementMagicSize))) {
        error(tr("This is not a valid Snapgrid-Edge file!"));
        return;
    }
    file.seek(0);
    const QByteArray bytes = file.readAll();
    file.close();
    ArrangementData record;
    // The whole file is checked before the current arrangement is given up.
    if (ReadArrangement(bytes, record) != ArrangementReadStatus::Ok) {
        error(tr("Open Snapgrid-Edge file: The file %1 is damaged and was not opened !").arg(name));
        return;
    }

    DelallPics();
    for (const Placement& p : record.Placements)
        std::memcpy(Placements.Append(), &p, sizeof p);
    // A selection outside the placements would point the editing commands past the array.
    SelectedPlacement
        = record.SelectedPlacement >= 0 && record.SelectedPlacement < std::int32_t(record.Placements.size())
        ? record.SelectedPlacement
        : -1;
    // The page count is not stored: show every page that holds a placement.
    if (highestPage() > PageCountED->value())
        PageCountED->setValue(highestPage());
    dropSelectionOffPage();
    SelectedPicture = record.SelectedPicture;
    // Taken as stored, but never at or below an id in use: a picture added
    // later must not share its id with one whose placements it would take over.
    NextPictureId = record.NextPictureId;
    for (const StoredPicture& stored : record.Pictures)
        if (stored.PictureId >= NextPictureId && stored.PictureId < std::numeric_limits<std::int32_t>::max())
            NextPictureId = stored.PictureId + 1;

    const ArrangementOptions o = LoadedOptions(record);
    setOptions(o);

    Pictures.reserve(record.Pictures.size());
    QStringList files;
    for (const StoredPicture& stored : record.Pictures)
        files.append(ResolveStoredPath(stored.Path, folder));
    DecodeBatch decoded(files, DisplayBox());
    decoded.Progress = [this](int percent) { SetProStatus(percent); };
    for (const StoredPicture& stored : record.Pictures) {
        PictureEntry entry;
        entry.FileName = files[decoded.Taken()];
        entry.Rotation = stored.Rotation;
        entry.PictureId = stored.PictureId;
        entry.Comment = stored.Caption.isNull() ? QStringLiteral("") : stored.Caption;
        const DecodedPicture picture = decoded.TakeNextPicture();
        entry.Dib = picture.Dib;
        entry.Recipe = picture.Recipe;
        entry.Reduced = picture.Reduced;
        if (entry.Dib.Bits) {
            const ProgressFn progress = ProgressToStatusBar();
            switch (entry.Rotation) {
            case 1:
                TurnEntry(entry, false, progress);
                break;
            case 2:
                TurnEntry(entry, false, progress);
                TurnEntry(entry, false, progress);
                break;
            case 3:
                TurnEntry(entry, true, progress);
                break;
            default:
                break;
            }
        } else {
            deldib(&entry.Dib);
            newdib(&entry.Dib, 320, 200, 24, nullptr, 0);
            entry.Recipe = RecipeOfDib(entry.Dib);
            entry.Reduced = false;
            error(tr("Couldn't open picture %1 !").arg(FileNamePart(entry.FileName)));
        }
        Pictures.push_back(std::move(entry));
    }

    Checkallquals();
    Undo->reset();
    Setsavedfilename(path);
    UpdateListBox();
    UpdateSelectionControls();
    ChangeFreeText();
    Loading = false;
    repaintStrip();
    repaintArrangeView();
    repaintPreview();
}
