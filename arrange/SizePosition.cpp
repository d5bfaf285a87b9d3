// "Size and position...": the selected placement's frame typed in millimetres
// or inches in the dialog, taken over on OK.
#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "arrange/KoordFUnit.h"
#include "document/UndoCommands.h"
#include "platform/Dialogs.h"

#include <QDoubleSpinBox>

void TMainForm::ChangePosSizeBtnClick()
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size() || !KoordEdForm)
        return;
    {
        const Placement &p = Placements.at(SelectedPlacement);
        KoordEdForm->setFrameMm(p.Left * MmPerInch, p.Top * MmPerInch, p.Width * MmPerInch, p.Height * MmPerInch);
    }
    if (Dialogs::execDialog(KoordEdForm) != QDialog::Accepted)
        return;
    const auto undo = Undo->change(tr("Size and position"));
    // Every pass rounds the frame to the edits' hundredths of a millimetre; no snapping.
    Placement &p = Placements.at(SelectedPlacement);
    p.Left = KoordEdForm->LeftEd->value() / MmPerInch;
    p.Top = KoordEdForm->TopEd->value() / MmPerInch;
    p.Width = KoordEdForm->BreitEd->value() / MmPerInch;
    p.Height = KoordEdForm->HochEd->value() / MmPerInch;
    ShowSizeInfo();
    repaintArrangeView();
}
