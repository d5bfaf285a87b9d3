#pragma once
#include <QString>

// File name part of a path that may come from Windows: everything after the
// last '/', '\' or ':'.
QString FileNamePart(const QString &path);

// "folder/" + name, adding the '/' when the folder lacks one.
[[nodiscard]] QString JoinFolder(const QString &folder, const QString &name);
