#pragma once
// The favourite folders: folders pictures were most recently added from, most
// recent first, kept in "folders.dat" one path per line (CR LF).
#include <QString>
#include <QStringList>

// "folders.dat" in the user's application data folder (an installed program's
// own folder is not writable).
[[nodiscard]] QString FavouritesFilePath();

// The list after adding folder: the last exact (case-sensitive) match is
// removed and folder goes to the top.
[[nodiscard]] QStringList AddFavourite(QStringList list, const QString &folder);

// Reads the favourites file; a missing or unreadable file gives an empty list.
// Empty lines are skipped; lines that are not UTF-8 are read as Windows-1252.
[[nodiscard]] QStringList ReadFavouritesFile(const QString &fileName);

// Writes the list anew (creating the folder); false when it cannot be written.
bool WriteFavouritesFile(const QString &fileName, const QStringList &folders);

// The folder browsing starts in: the first favourite when it is a folder, else
// the user's Pictures folder, else the home folder.
[[nodiscard]] QString StartFolder(const QString &firstFavourite);
