// The arrangement's file: saving it, reading it in, starting anew.
#include "document/ArrangementDocument.h"

#include "document/Collection.h"
#include "document/Paths.h"
#include "picture/DecodeSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
// Clears a flag on every way out of a scope.
struct FlagScope {
    bool &Flag;
    explicit FlagScope(bool &flag)
        : Flag(flag)
    {
        Flag = true;
    }
    ~FlagScope() { Flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;
};

// A picture whose file is missing: light grey with its file name, so each
// placement says what belongs there.
DIB NamedPlaceholder(const QString &name)
{
    constexpr int W = 320, H = 200;
    QImage image(W, H, QImage::Format_RGB888);
    image.fill(QColor(224, 224, 224));
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) { // fonts need one
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(18);
        painter.setFont(font);
        painter.setPen(QColor(64, 64, 64));
        painter.drawText(QRect(8, 8, W - 16, H - 16), Qt::AlignCenter | Qt::TextWrapAnywhere, name);
    }
    DIB dib;
    if (!newdib(&dib, W, H, 24, nullptr, 0))
        return dib;
    for (int y = 0; y < H; ++y) {
        const uchar *from = image.constScanLine(y);
        BYTE *to = dib.Bits + std::size_t(H - 1 - y) * dib.RowBytes; // bottom-up, BGR
        for (int x = 0; x < W; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return dib;
}

// The arrangement file's folder, ending in '/'.
QString ArrangementFolder(const QString &path) { return StoredFolderPart(QFileInfo(path).absoluteFilePath()); }
} // namespace

// ---------------------------------------------------------------------------
// The file

void ArrangementDocument::setFileName(const QString &name)
{
    FileName = name;
    emit fileNameChanged(name);
}

ArrangementData ArrangementDocument::fileRecord(const QString &path) const
{
    ArrangementData record;
    for (int i = 0; i < Records.Placements.size(); ++i)
        record.Placements.push_back(Records.Placements.at(i));
    record.SelectedPlacement = Records.SelectedPlacement;
    record.SelectedPicture = Records.SelectedPicture;
    record.NextPictureId = Records.NextPictureId;
    record.Sheets = Records.Sheets;
    StoreOptions(record, Options);
    const QString target = QFileInfo(path).absoluteFilePath();
    for (const PictureEntry &entry : Records.Pictures) {
        record.Pictures.push_back(
            {StoredPicturePath(entry.FileName, target), entry.Rotation, entry.PictureId, entry.Comment, entry.Mirrored,
             entry.PrintIntent});
        PictureSteps tones = entry.KeptTones;
        if (entry.Recipe.Steps)
            for (const PictureStep &step : *entry.Recipe.Steps)
                if (step.What == PictureStep::Kind::Tone)
                    tones.push_back(step);
        record.Tones.push_back(std::move(tones));
    }
    record.Orders = Records.Orders;
    for (OrderLine &line : record.Orders)
        line.Picture = StoredPicturePath(line.Picture, target);
    return record;
}

bool ArrangementDocument::save(const QString &path)
{
    const QByteArray bytes = WriteArrangement(fileRecord(path));
    // Unbuffered, because a short write at the final flush goes unreported.
    QSaveFile file(path);
    const bool saved =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit();
    if (!saved) {
        file.cancelWriting();
        return false;
    }
    Undo->setClean();
    setFileName(path);
    return true;
}

void ArrangementDocument::reset()
{
    Records.DelallPics();
    Undo->reset();
    touch(Change::Collection | Change::Pictures | Change::Placements | Change::Selection);
    setFileName(QString());
}

ArrangementDocument::OpenResult ArrangementDocument::open(const QString &path, const PageGeometry &paper)
{
    OpenResult result;
    const BusyScope waiting(*this);
    const Batch once(*this); // told once the file is in and the views may paint
    {
        const FlagScope loading(Loading);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            result.Status = OpenStatus::CannotOpen;
            return result;
        }
        if (!HasArrangementMagic(file.read(ArrangementMagicSize))) {
            result.Status = OpenStatus::NotArrangement;
            return result;
        }
        file.seek(0);
        const QByteArray bytes = file.readAll();
        file.close();
        ArrangementData record;
        // The whole file is checked before the current arrangement is given up.
        if (ReadArrangement(bytes, record) != ArrangementReadStatus::Ok) {
            result.Status = OpenStatus::Damaged;
            return result;
        }
        take(record, ArrangementFolder(path), paper, result);
    }
    setFileName(path);
    return result;
}

void ArrangementDocument::take(const ArrangementData &record, const QString &folder, const PageGeometry &paper,
                               OpenResult &result)
{
    Records.DelallPics();
    for (const Placement &p : record.Placements)
        std::memcpy(static_cast<void *>(Records.Placements.Append()), &p, sizeof p);
    Records.Sheets = record.Sheets;
    Records.Orders = record.Orders;
    for (OrderLine &line : Records.Orders)
        line.Picture = ResolveStoredPath(line.Picture, folder);
    // A selection outside the placements would point the editing commands past the array.
    Records.SelectedPlacement =
        record.SelectedPlacement >= 0 && record.SelectedPlacement < std::int32_t(record.Placements.size())
            ? record.SelectedPlacement
            : -1;
    // The page count is not stored: show every page that holds a placement.
    if (Records.highestPage() > PageCount)
        PageCount = std::min(Records.highestPage(), MaxPages);
    dropSelectionOffPage();
    Records.SelectedPicture = record.SelectedPicture;
    // Taken as stored, but never at or below an id in use: a picture added
    // later must not share its id with one whose placements it would take over.
    Records.NextPictureId = record.NextPictureId;
    for (const StoredPicture &stored : record.Pictures)
        if (stored.PictureId >= Records.NextPictureId && stored.PictureId < std::numeric_limits<std::int32_t>::max())
            Records.NextPictureId = stored.PictureId + 1;
    Options = NormalisedOptions(LoadedOptions(record));

    Records.Pictures.reserve(record.Pictures.size());
    QStringList files;
    for (const StoredPicture &stored : record.Pictures)
        files.append(ResolveStoredPath(stored.Path, folder));
    DecodeBatch decoded(files, DisplayBox());
    decoded.Progress = [this](int percent) { emit progress(percent); };
    std::vector<bool> found;
    const PictureSteps none;
    auto tonesOf = [&](std::size_t i) -> const PictureSteps & { return i < record.Tones.size() ? record.Tones[i] : none; };
    for (const StoredPicture &stored : record.Pictures) {
        const PictureSteps &tones = tonesOf(found.size());
        PictureEntry entry;
        entry.FileName = files[decoded.Taken()];
        entry.Rotation = stored.Rotation;
        entry.Mirrored = stored.Mirrored;
        entry.PrintIntent = stored.PrintIntent;
        entry.PictureId = stored.PictureId;
        entry.Comment = stored.Caption.isNull() ? QStringLiteral("") : stored.Caption;
        const DecodedPicture picture = decoded.TakeNextPicture();
        entry.Dib = picture.Dib;
        entry.Recipe = picture.Recipe;
        entry.Reduced = picture.Reduced;
        entry.Metadata = picture.Metadata;
        if (entry.Dib.Bits) {
            turnAsStored(entry);
            replayTones(entry, tones, false);
            found.push_back(true);
        } else {
            found.push_back(false);
            const QString why = DibErrorText(entry.Dib);
            deldib(&entry.Dib);
            entry.Dib = NamedPlaceholder(FileNamePart(entry.FileName));
            entry.Recipe = RecipeOfDib(entry.Dib);
            entry.Reduced = false;
            entry.KeptTones = tones;
            // A file that is there was read and refused: Locate would not help.
            if (QFileInfo(entry.FileName).isFile())
                result.DamagedPictures.append(QStringLiteral("%1: %2").arg(entry.FileName, why));
            else
                result.MissingPictures.append(entry.FileName);
        }
        Records.Pictures.push_back(std::move(entry));
    }

    result.Quality = checkAllQualities(paper);
    // Adjustments made after an enlargement follow the file's own enlargement.
    for (std::size_t i = 0; i < found.size(); ++i)
        if (found[i])
            replayTones(Records.Pictures[i], tonesOf(i), true);
    Undo->reset();
    Pending |= Everything;
}

void ArrangementDocument::turnAsStored(PictureEntry &entry)
{
    const ProgressFn turning = progressReporter();
    if (entry.Mirrored)
        MirrorEntry(entry, turning);
    switch (entry.Rotation) {
    case 1:
        TurnEntry(entry, false, turning);
        break;
    case 2:
        TurnEntry(entry, false, turning);
        TurnEntry(entry, false, turning);
        break;
    case 3:
        TurnEntry(entry, true, turning);
        break;
    default:
        break;
    }
}
