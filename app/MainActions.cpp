// The window's commands: one action each, with its text, keys, tool tip and
// enabled rule, running the window's established handler. The tool bar, the
// pages' buttons and menus and the keys use these actions.
#include "app/MainUnit.h"

#include "arrange/ArrangeCanvas.h"
#include "platform/KeyGate.h"

#include <QAction>
#include <QStyle>
#include <QUndoStack>

namespace {
QString del() { return QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText); }
} // namespace

void TMainForm::createActions()
{
    using C = Command;
    Keys = new TKeyGate(this);
    Actions = new ActionRegistry(this, Keys);
    auto icon = [this](QStyle::StandardPixmap which) { return style()->standardIcon(which); };
    auto selected = [this] { return Doc->hasSelection(); };
    auto anyPicture = [this] { return Doc->records().PictureCount() > 0; };
    const QList<ActionRegistry::Entry> entries = {
        {C::New, tr("&New"), tr("Starts a new, empty arrangement"), {QKeySequence::New}, [this] { NewBtnClick(); }, {},
         icon(QStyle::SP_FileIcon)},
        {C::Open, tr("Open..."), tr("Opens an arrangement file"), {QKeySequence::Open}, [this] { OpenBtnClick(); }, {},
         icon(QStyle::SP_DialogOpenButton)},
        {C::Save, tr("Save"), tr("Saves the arrangement"), {QKeySequence::Save}, [this] { SaveBtnClick(); }, {},
         icon(QStyle::SP_DialogSaveButton)},
        {C::SaveAs, tr("Save as..."), tr("Saves the arrangement under a new name"), {Qt::CTRL | Qt::SHIFT | Qt::Key_S},
         [this] { SaveAsBtnClick(); }, {}, icon(QStyle::SP_DriveFDIcon)},

        {C::AddFiles, tr("&Add file"), tr("Adds the selected files to the pictures"), {}, [this] { AddBtnClick(); },
         [this] { return CollectionTab->showsFileList(); }},
        {C::DeletePictures, tr("Delete"), tr("Removes the selected pictures and their placements (%1)").arg(del()), {},
         [this] { DelBtnClick(); }, anyPicture},
        {C::ShowPicture, tr("&Show big"), tr("Shows the selected picture in its own window"), {},
         [this] { ShowBtnClick(); }, anyPicture},
        {C::PrintPicture, tr("Print..."), tr("Prints the selected picture on its own"), {}, [this] { PrintBtnClick(); },
         anyPicture},

        {C::MoveUp, tr("Move upward"), tr("Moves the selected picture one place up"), {}, [this] { UpNowClick(); }},
        {C::MoveDown, tr("Move downward"), tr("Moves the selected picture one place down"), {},
         [this] { DownNowClick(); }},
        {C::SortByName, tr("Sort by names..."), tr("Sorts the pictures by their file names"), {},
         [this] { SortNameBtnClick(); }},

        {C::AddAllPictures, tr("&Add all pictures..."), tr("Places every picture on the current page"), {},
         [this] { OvertakeallClick(); }},
        {C::ArrangeAutomatically, tr("Arrange &automatically..."),
         tr("Arranges all pictures on the sheet automatically"), {}, [this] { OrdeneBtnClick(); }},
        {C::RotateLeft, tr("Rotate to the &left (90°)..."), tr("Turns the selected picture a quarter to the left"), {},
         [this] { RotLeftBtnClick(); }, selected},
        {C::RotateRight, tr("Rotate to the &right (90°)..."), tr("Turns the selected picture a quarter to the right"),
         {}, [this] { RotRightBtnClick(); }, selected},
        {C::AdjustTones, tr("Brightness, contrast and saturation..."),
         tr("Changes brightness, contrast and saturation of the selected picture"), {}, [this] { HellKonBtnClick(); },
         selected},
        {C::ShowSelection, tr("&Show big"), tr("Shows the selected picture in its own window"), {},
         [this] { ShowBigBtnClick(); }, selected},
        {C::SizeAndPosition, tr("&Size and position..."), tr("Types position and size of the selected placement"), {},
         [this] { ChangePosSizeBtnClick(); }, selected},
        {C::DeleteSelection, tr("&Delete..."), tr("Removes the selected placement from the page (%1)").arg(del()), {},
         [this] { DelitBtnClick(); }, selected},
        {C::ZoomIn, tr("Zoom in"), {}, {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal},
         [this] { ArrangeTab->ZoomIn(); }},
        {C::ZoomOut, tr("Zoom out"), {}, {Qt::CTRL | Qt::Key_Minus}, [this] { ArrangeTab->ZoomOut(); }},
        {C::ZoomToFit, tr("Zoom to fit"), {}, {Qt::CTRL | Qt::Key_0}, [this] { ArrangeTab->ZoomToFit(); }},

        {C::Print, tr("Print"), tr("Starting the print process..."), {QKeySequence(Qt::CTRL | Qt::Key_P)},
         [this] { GoBtn1Click(); }},
        {C::PrinterSetup, tr("Printer setup"),
         tr("Click here, in order to select another printer or another paper format"), {},
         [this] { SetupBtnClick(); }},
        {C::SaveAsImage, tr("Save as image..."), tr("Saves the current page as a picture file"), {},
         [this] { SaveBitBtnClick(); }},

        {C::About, tr("About"), tr("About"), {}, [this] { showAbout(); }},
        {C::Quit, tr("Quit"), tr("Quit"), {}, [this] { close(); }},
        {C::HomePage, tr("Home page"), tr("Opens the home page in the web browser"), {}, [this] { HomeBtnClick(); }},
    };
    for (const ActionRegistry::Entry &entry : entries)
        Actions->add(entry);
    QAction *undo = Doc->undoStack()->createUndoAction(this, tr("Undo"));
    QAction *redo = Doc->undoStack()->createRedoAction(this, tr("Redo"));
    undo->setIcon(icon(QStyle::SP_ArrowBack));
    redo->setIcon(icon(QStyle::SP_ArrowForward));
    Actions->adopt(C::Undo, undo, {QKeySequence::Undo});
    Actions->adopt(C::Redo, redo, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    Services.ActionHook = [this](Command command) { return Actions->action(command); };
}

void TMainForm::placeKeys()
{
    // Zooming is the page view's: only while its tab is shown.
    Actions->keysWhile(ArrangeTab, {Command::ZoomIn, Command::ZoomOut, Command::ZoomToFit});
    connect(Doc, &ArrangementDocument::changed, Actions, &ActionRegistry::refresh);
    connect(CollectionTab, &CollectionPage::filePageChanged, Actions, &ActionRegistry::refresh);
    Actions->refresh();
}

QAction *TMainForm::action(Command command) const { return Actions->action(command); }
