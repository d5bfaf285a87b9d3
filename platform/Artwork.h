#pragma once
// The program's own bitmaps: image buttons, cursors and the program icon,
// drawn at start-up so the program carries no binary resources.
#include <QCursor>
#include <QIcon>
#include <QPixmap>

enum class ButtonArt { Quit, About, Print, Setup };
QPixmap ButtonPixmap(ButtonArt art, bool pressed);
QIcon ProgramIcon();

// Screen cursors by the program's indices 1..12, 13 and 14 the open and the
// closed hand of moving a picture inside its frame; any other is the arrow.
QCursor ScreenCursor(int index);
