// The window side of undo and redo: the arrangement's state taken from and
// put back into the window, the option controls recorded as they change, the
// Undo and Redo buttons and the title's modified mark.
#include "app/MainUnit.h"

#include "document/UndoCommands.h"
#include "platform/ColorBox.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>

#include <cstring>

ArrangementState TMainForm::captureState() const
{
    ArrangementState s;
    s.Placements.reserve(std::size_t(Placements.size()));
    for (int i = 0; i < Placements.size(); ++i)
        s.Placements.push_back(Placements.at(i));
    s.Pictures = Pictures;
    s.NextPictureId = NextPictureId;
    s.SelectedPlacement = SelectedPlacement;
    s.SelectedPicture = SelectedPicture;
    s.Options = options();
    s.CurrentPage = APageEd->value();
    return s;
}

void TMainForm::restoreState(const ArrangementState& s)
{
    Placements.Clear();
    for (const Placement& p : s.Placements)
        std::memcpy(static_cast<void*>(Placements.Append()), &p, sizeof p);
    Pictures = s.Pictures;
    NextPictureId = s.NextPictureId;
    setOptions(s.Options);
    // The page first: the selection must be on the page that shows it.
    if (s.CurrentPage > PageCountED->value())
        PageCountED->setValue(s.CurrentPage);
    APageEd->setValue(s.CurrentPage);
    SelectedPlacement = s.SelectedPlacement < Placements.size() ? s.SelectedPlacement : -1;
    SelectedPicture = s.SelectedPicture;
    UpdateListBox();
    UpdateSelectionControls();
    ChangeFreeText();
    repaintStrip();
    repaintArrangeView();
    repaintPreview();
}

bool TMainForm::isModified() const { return Undo && Undo->isModified(); }

void TMainForm::createUndo()
{
    Undo = std::make_unique<ArrangementUndo>(
        [this] { return captureState(); }, [this](const ArrangementState& s) { restoreState(s); });
    UndoAction = Undo->stack()->createUndoAction(this, tr("Undo"));
    RedoAction = Undo->stack()->createRedoAction(this, tr("Redo"));
    UndoAction->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    RedoAction->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    ToolBar1->addSeparator();
    ToolBar1->addAction(UndoAction);
    ToolBar1->addAction(RedoAction);
}

void TMainForm::connectUndo()
{
    connect(Undo->stack(), &QUndoStack::cleanChanged, this, [this] { Setsavedfilename(SavedFileName); });
    // Each option stored in the file is one command; steps of one edit merge.
    int number = 0;
    auto option = [this, &number](auto* control, auto signal, const QString& text) {
        const int key = MergeOption + number++;
        connect(control, signal, this, [this, text, key] {
            if (!Loading)
                Undo->optionsChanged(text, key);
        });
    };
    option(ShowFNames, &QCheckBox::toggled, tr("Show file names"));
    option(SverhCheck, &QCheckBox::toggled, tr("Maintain aspect ratio"));
    option(ZoomEd, &QSpinBox::valueChanged, tr("Zoom"));
    option(RandEd, &QDoubleSpinBox::valueChanged, tr("Page margin"));
    option(SpaceED, &QDoubleSpinBox::valueChanged, tr("Distance"));
    option(TranspCheck, &QCheckBox::toggled, tr("Transparent font background"));
    option(BkColBox, &QComboBox::currentIndexChanged, tr("Font background"));
    option(CutDefault, &QCheckBox::toggled, tr("Fit in/cut pictures as default"));
    option(EnhanceQualCheck, &QCheckBox::toggled, tr("Enlarge to min. quality"));
    option(UseGridCheck, &QCheckBox::toggled, tr("Align pics to grid"));
    option(ShowGridCheck, &QCheckBox::toggled, tr("Show grid"));
    option(MinQualEd, &QSpinBox::valueChanged, tr("Min. quality"));
    option(DBreiteED, &QDoubleSpinBox::valueChanged, tr("Default width"));
    option(DHocheED, &QDoubleSpinBox::valueChanged, tr("Default height"));
    option(GridEd, &QDoubleSpinBox::valueChanged, tr("Grid width"));
    Undo->reset();
}
