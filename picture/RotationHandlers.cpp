// Quarter turns of the selected placement's picture.
#include "app/MainUnit.h"
#include "picture/Rotate.h"
#include "document/UndoCommands.h"

void TMainForm::TurnSelectedPicture(bool left)
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    const auto undo = Undo->change(left ? tr("Rotate to the left") : tr("Rotate to the right"));
    const int id = Placements.at(SelectedPlacement).PictureId;
    for (PictureEntry &entry : Pictures) {
        if (entry.PictureId != id)
            continue;
        // Rotation counts only the turns that happened, so a saved arrangement
        // turns the reopened picture the way it is shown now.
        const ProgressFn progress = ProgressToStatusBar();
        if (TurnEntry(entry, left, progress))
            entry.Rotation = ((entry.Rotation + (left ? -1 : 1)) % 4 + 4) % 4;
    }
    repaintArrangeView();
    repaintStrip();
}

void TMainForm::Nachlinksrotieren901Click() { TurnSelectedPicture(true); }
void TMainForm::Nachrechtsrotieren901Click() { TurnSelectedPicture(false); }
void TMainForm::RotLeftBtnClick() { Nachlinksrotieren901Click(); }
void TMainForm::RotRightBtnClick() { Nachrechtsrotieren901Click(); }
