#pragma once
// The window's commands. The window's registry makes one action for each,
// with its text, keys, tool tip and the rule that enables it; a page shows
// the ones it offers as buttons and menu entries bound to those actions.
enum class Command {
    // The arrangement
    New,
    Open,
    Save,
    SaveAs,
    Undo,
    Redo,
    // "Add picture"
    AddFiles,
    DeletePictures,
    ShowPicture,
    PrintPicture,
    // "Sort"
    MoveUp,
    MoveDown,
    SortByName,
    // "Arrange"
    AddAllPictures,
    ArrangeAutomatically,
    RotateLeft,
    RotateRight,
    AdjustTones,
    ShowSelection,
    SizeAndPosition,
    DeleteSelection,
    ZoomIn,
    ZoomOut,
    ZoomToFit,
    // "Print/Save as image"
    Print,
    PrinterSetup,
    SaveAsImage,
    // The window
    About,
    Quit,
    HomePage,
};
inline constexpr int CommandCount = int(Command::HomePage) + 1;
