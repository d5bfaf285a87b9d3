#include "arrange/PrintSheetMaker.h"

#include "arrange/PrintSheet.h"
#include "arrange/PrintSheetDialog.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>

namespace {
struct PrintSheetMakerText {
    Q_DECLARE_TR_FUNCTIONS(PrintSheetMakerText)
};

// The dialog starts from the kept size, margin, gap and borderless choice and keeps them when placed.
bool AskPrintSheet(PrintSheetDialog &dialog)
{
    PrintSheetSettings kept = LoadPrintSheetSettings();
    dialog.MarginEd->setValue(kept.Margin);
    dialog.GapEd->setValue(kept.Gap);
    dialog.BorderlessCheck->setChecked(kept.Borderless && dialog.BorderlessCheck->isEnabled());
    dialog.OverspillEd->setValue(kept.Overspill);
    dialog.WidthEd->setValue(kept.Width);
    dialog.HeightEd->setValue(kept.Height);
    dialog.restoreList(kept.List);
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return false;
    kept.Width = dialog.WidthEd->value();
    kept.Height = dialog.HeightEd->value();
    kept.Margin = dialog.MarginEd->value();
    kept.Gap = dialog.GapEd->value();
    if (dialog.BorderlessCheck->isEnabled())
        kept.Borderless = dialog.BorderlessCheck->isChecked();
    kept.Overspill = dialog.OverspillEd->value();
    kept.List = dialog.keptList();
    SavePrintSheetSettings(kept);
    return true;
}
} // namespace

void MakePrintSheets(SheetContext &c)
{
    const TArrangement &r = c.Doc.records();
    if (r.PictureCount() == 0) {
        Dialogs::messageBox(c.Parent, PrintSheetMakerText::tr("Add pictures to the collection first."),
            PrintSheetMakerText::tr("Print sheets"), Dialogs::Icon::Information);
        return;
    }
    const int selected = c.Doc.hasSelection() ? c.Doc.selectedPictureIndex() : r.SelectedPicture;
    PrintSheetDialog dialog(r.Pictures, selected, c.Sheet, UserPrintSizeFolder(), c.Parent);
    if (!AskPrintSheet(dialog))
        return;
    SheetLayout layout = dialog.layout();
    if (dialog.spacing().Borderless && layout.Error.isEmpty() && c.Printer)
        UseBorderlessPaper(*c.Printer, c.Sheet, layout);
    QualityFailures failures;
    const SheetPlacement placed = PlaceSheetLayout(
        c.Doc, layout, dialog.itemPictures(), PrintSheetMakerText::tr("Print sheet"), c.Paper, &failures);
    if (!placed.Error.isEmpty()) {
        Dialogs::messageBox(c.Parent, placed.Error, PrintSheetMakerText::tr("Print sheets"), Dialogs::Icon::Warning);
        return;
    }
    c.reportQuality(failures);
    const int first = c.Doc.currentPage();
    c.showStatus(placed.LastPage > first ? PrintSheetMakerText::tr("%1 frames placed on pages %2 to %3")
                                               .arg(placed.Placed)
                                               .arg(first)
                                               .arg(placed.LastPage)
            : placed.Placed == 1 ? PrintSheetMakerText::tr("1 frame placed")
                                 : PrintSheetMakerText::tr("%1 frames placed").arg(placed.Placed));
}
