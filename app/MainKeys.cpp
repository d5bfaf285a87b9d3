// The window's keys and the hints of its commands. Every key goes through the
// key gate, so a key that an open popup, menu or dialog took runs nothing here.
#include "app/MainUnit.h"

#include "document/UndoCommands.h"

#include "platform/ColorBox.h"
#include "platform/EventHook.h"
#include "platform/ImageButton.h"
#include "platform/KeyGate.h"
#include "platform/PaintBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QUndoStack>

namespace {
QString keyText(const QKeySequence& keys) { return keys.toString(QKeySequence::NativeText); }

// "what it does (key)"
QString withKey(const QString& hint, const QKeySequence& keys)
{
    return keys.isEmpty() ? hint : QStringLiteral("%1 (%2)").arg(hint, keyText(keys));
}

const QKeySequence SaveAsKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
const QKeySequence RedoKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
const QKeySequence RedoKeys2(Qt::CTRL | Qt::Key_Y);
const QKeySequence PrintKeys(Qt::CTRL | Qt::Key_P);
const QKeySequence ZoomInKeys(Qt::CTRL | Qt::Key_Plus);
const QKeySequence ZoomInKeys2(Qt::CTRL | Qt::Key_Equal);
const QKeySequence ZoomOutKeys(Qt::CTRL | Qt::Key_Minus);
const QKeySequence ZoomFitKeys(Qt::CTRL | Qt::Key_0);

// Keys the arrange view answers itself while it has the focus.
bool isViewKey(const QKeyEvent* key)
{
    if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}
} // namespace

void TMainForm::connectKeys()
{
    Keys->add(this, QKeySequence::New, [this] { NewBtnClick(); });
    Keys->add(this, QKeySequence::Open, [this] { OpenBtnClick(); });
    Keys->add(this, QKeySequence::Save, [this] { SaveBtnClick(); });
    Keys->add(this, SaveAsKeys, [this] { SaveAsBtnClick(); });
    Keys->add(this, QKeySequence::Undo, [this] { UndoAction->trigger(); });
    Keys->add(this, RedoKeys, [this] { RedoAction->trigger(); });
    Keys->add(this, RedoKeys2, [this] { RedoAction->trigger(); });
    // Only while their tab is shown.
    Keys->add(TabSheet4, PrintKeys, [this] { GoBtn1Click(); });
    Keys->add(TabSheet3, ZoomInKeys, [this] { ZoomIn(); });
    Keys->add(TabSheet3, ZoomInKeys2, [this] { ZoomIn(); });
    Keys->add(TabSheet3, ZoomOutKeys, [this] { ZoomOut(); });
    Keys->add(TabSheet3, ZoomFitKeys, [this] { ZoomToFit(); });

    PaintBox2->setFocusPolicy(Qt::StrongFocus);
    new TEventHook(PaintBox2, [this](QEvent* e) {
        if (e->type() == QEvent::ShortcutOverride && isViewKey(static_cast<QKeyEvent*>(e))) {
            e->accept(); // ahead of the window's Escape
            return true;
        }
        if (e->type() == QEvent::KeyPress)
            return PaintBox2KeyDown(static_cast<QKeyEvent*>(e));
        return false;
    });
    auto followUndoText = [this] {
        UndoAction->setToolTip(withKey(UndoAction->text(), QKeySequence::Undo));
        RedoAction->setToolTip(withKey(RedoAction->text(), RedoKeys) + QStringLiteral(", ") + keyText(RedoKeys2));
    };
    connect(Undo->stack(), &QUndoStack::undoTextChanged, this, followUndoText);
    connect(Undo->stack(), &QUndoStack::redoTextChanged, this, followUndoText);
    followUndoText();
}

void TMainForm::createToolTips()
{
    NewBtn->setToolTip(withKey(tr("Starts a new, empty arrangement"), QKeySequence::New));
    OpenBtn->setToolTip(withKey(tr("Opens an arrangement file"), QKeySequence::Open));
    SaveBtn->setToolTip(withKey(tr("Saves the arrangement"), QKeySequence::Save));
    SaveAsBtn->setToolTip(withKey(tr("Saves the arrangement under a new name"), SaveAsKeys));
    AddBtn->setToolTip(tr("Adds the selected files to the pictures"));
    DelBtn->setToolTip(withKey(tr("Removes the selected pictures and their placements"), QKeySequence(Qt::Key_Escape)));
    ShowBtn->setToolTip(tr("Shows the selected picture in its own window"));
    PrintBtn->setToolTip(tr("Prints the selected picture on its own"));
    ImageList->setToolTip(tr("The pictures of the arrangement"));
    UpNow->setToolTip(tr("Moves the selected picture one place up"));
    DownNow->setToolTip(tr("Moves the selected picture one place down"));
    SortNameBtn->setToolTip(tr("Sorts the pictures by their file names"));
    SortBox->setToolTip(tr("The order of the pictures; double click shows one"));
    Overtakeall->setToolTip(tr("Places every picture on the current page"));
    ZoomEd->setToolTip(tr("Zoom of the page view in percent (%1, %2, fit: %3)")
                           .arg(keyText(ZoomInKeys), keyText(ZoomOutKeys), keyText(ZoomFitKeys)));
    PageCountED->setToolTip(tr("Number of pages"));
    APageEd->setToolTip(tr("The page shown (%1, %2 in the page view)")
                            .arg(keyText(QKeySequence(Qt::Key_PageUp)), keyText(QKeySequence(Qt::Key_PageDown))));
    PaintBox2->setToolTip(tr("Drag pictures here; arrow keys move the selection (Shift: ten steps), %1 removes it, "
                             "%2 drops the selection")
                              .arg(keyText(QKeySequence(Qt::Key_Delete)), keyText(QKeySequence(Qt::Key_Escape))));
    FreeText->setToolTip(tr("Caption of the selected picture"));
    CutCheck->setToolTip(tr("Fills the frame with a centred cut of the picture instead of fitting it in"));
    RotLeftBtn->setToolTip(tr("Turns the selected picture a quarter to the left"));
    RotRightBtn->setToolTip(tr("Turns the selected picture a quarter to the right"));
    HellKonBtn->setToolTip(tr("Changes brightness, contrast and saturation of the selected picture"));
    DelitBtn->setToolTip(withKey(tr("Removes the selected placement from the page"), QKeySequence(Qt::Key_Delete)));
    ShowBigBtn->setToolTip(tr("Shows the selected picture in its own window"));
    ChangePosSizeBtn->setToolTip(tr("Types position and size of the selected placement"));
    for (QDoubleSpinBox* mm : { RandEd, SpaceED, GridEd, DBreiteED, DHocheED })
        mm->setToolTip(tr("In millimetres"));
    for (QDoubleSpinBox* inch : { RandEDin, SpaceEdin, GridEDin, DBreiteEdin, DHocheEdin })
        inch->setToolTip(tr("In inches"));
    BkColBox->setToolTip(tr("Colour behind the captions"));
    FontBtn->setToolTip(tr("Chooses the font of the captions"));
    MinQualEd->setToolTip(tr("Dots per inch a picture needs at least in its frame"));
    GoBtn1->setToolTip(withKey(GoBtn1->toolTip(), PrintKeys));
    SaveBitBtn->setToolTip(tr("Saves the current page as a picture file"));
    BitDPIED->setToolTip(tr("Dots per inch of the saved picture"));
    APageEd2->setToolTip(tr("The page shown and saved as a picture"));
    HomeBtn->setToolTip(tr("Opens the home page in the web browser"));
}
