#include "arrange/ContactSheetMaker.h"

#include "arrange/ContactSheet.h"
#include "arrange/ContactSheetDialog.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>

#include <numeric>
#include <optional>

namespace {
struct ContactSheetMakerText {
    Q_DECLARE_TR_FUNCTIONS(ContactSheetMakerText)
};

// What the dialog chose: the settings, and either a folder's files or collection entries.
struct ContactChoice {
    ContactSheetSettings Settings;
    bool FromFolder = false;
    QStringList Files;
    std::vector<int> Pictures;
    [[nodiscard]] int count() const { return FromFolder ? int(Files.size()) : int(Pictures.size()); }
};

std::optional<ContactChoice> AskContactSheet(const SheetContext &c)
{
    const int collection = c.Doc.records().PictureCount();
    std::vector<int> selected = c.Selected;
    std::erase_if(selected, [collection](int i) { return i < 0 || i >= collection; });
    ContactSheetDialog dialog(collection, c.Sheet, c.Parent, int(selected.size()));
    dialog.setSettings(LoadContactSheetSettings());
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return std::nullopt;
    ContactChoice choice;
    choice.Settings = dialog.settings();
    SaveContactSheetSettings(choice.Settings);
    choice.FromFolder = dialog.fromFolder();
    if (choice.FromFolder) {
        choice.Files = dialog.folderFiles();
    } else if (dialog.fromSelection()) {
        choice.Pictures = selected;
    } else {
        choice.Pictures.resize(std::size_t(collection));
        std::iota(choice.Pictures.begin(), choice.Pictures.end(), 0);
    }
    return choice;
}

// Reads the folder's files on a worker, then adds them and places their
// cells as one step; nothing changes when cancelled.
std::optional<ContactPlacement> PlaceFolder(SheetContext &c, const ContactChoice &choice, const ContactGrid &grid,
                                            const QString &caption)
{
    ContactFiles files;
    const bool cancelled = c.runLong(
        caption, int(choice.Files.size()),
        [](int n, int total) { return ContactSheetMakerText::tr("Picture %1 of %2").arg(n).arg(total); },
        [&](const std::atomic<bool>* cancel, const std::function<void(int, int)>& stepDone) {
            files = ReadContactFiles(choice.Files, ContactCellBox(grid), cancel, stepDone);
        });
    if (files.Cancelled || cancelled)
        return std::nullopt;
    const auto step = c.Doc.step(caption);
    const std::vector<int> added = AddContactFiles(c.Doc, files);
    return PlaceContactSheet(c.Doc, choice.Settings, c.Sheet, added, files.Facts, caption);
}
} // namespace

void MakeContactSheet(SheetContext &c)
{
    const std::optional<ContactChoice> choice = AskContactSheet(c);
    if (!choice)
        return;
    const QString caption = ContactSheetMakerText::tr("Contact sheet");
    const ContactGrid grid = ContactLayout(choice->Settings, c.Sheet);
    if (grid.perPage() == 0 || choice->count() == 0)
        return;
    if (c.Doc.currentPage() + ContactPageCount(choice->count(), grid) > ArrangementDocument::MaxPages) {
        Dialogs::messageBox(c.Parent,
            ContactSheetMakerText::tr("These pictures need more than %1 pages. Nothing was placed.")
                .arg(ArrangementDocument::MaxPages),
            caption, Dialogs::Icon::Warning);
        return;
    }
    std::optional<ContactPlacement> placed;
    if (choice->FromFolder) {
        placed = PlaceFolder(c, *choice, grid, caption);
        if (!placed) {
            c.showStatus(ContactSheetMakerText::tr("Contact sheet cancelled; nothing was changed"));
            return;
        }
    } else {
        placed = PlaceContactSheet(c.Doc, choice->Settings, c.Sheet, choice->Pictures,
                                   CollectionFacts(c.Doc.records(), choice->Pictures), caption);
    }
    if (!placed->Error.isEmpty()) {
        Dialogs::messageBox(c.Parent, placed->Error, caption, Dialogs::Icon::Warning);
        return;
    }
    c.showStatus(placed->LastPage > placed->FirstPage
            ? ContactSheetMakerText::tr("%1 pictures placed on pages %2 to %3")
                  .arg(placed->Placed)
                  .arg(placed->FirstPage)
                  .arg(placed->LastPage)
            : placed->Placed == 1
            ? ContactSheetMakerText::tr("1 picture placed on page %1").arg(placed->FirstPage)
            : ContactSheetMakerText::tr("%1 pictures placed on page %2").arg(placed->Placed).arg(placed->FirstPage));
}
