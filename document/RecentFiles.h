#pragma once
// The arrangements last opened or saved, newest first, as the "Open..." menu
// and the settings keep them.
#include <QString>
#include <QStringList>

class TRecentFiles
{
public:
    static constexpr int MaxCount = 8;

    // Takes a stored list: empty names and repeats are dropped, at most MaxCount kept.
    void setFiles(const QStringList &files);
    [[nodiscard]] const QStringList &files() const { return Files; }
    // Puts an arrangement first (moving it up when already listed).
    void add(const QString &path);
    // False when it was not listed.
    bool remove(const QString &path);

private:
    QStringList Files;
};
