#pragma once
// The tool bar's file commands and what arrives from outside the window (the
// command line, files from a file manager): the questions asked, the document
// operation, the messages on failure.
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class ArrangementDocument;
class PageServices;
class QMimeData;
struct CommandLineRequest;

class FileCommands : public QObject
{
    Q_OBJECT
public:
    FileCommands(ArrangementDocument &doc, PageServices &services, QObject *parent = nullptr);

    void NewBtnClick();
    void OpenBtnClick();
    void SaveBtnClick();
    void SaveAsBtnClick();
    // Writes the arrangement to path; false (reported, old file kept) on failure.
    bool SaveFile(const QString &path);
    // Replaces the arrangement with the file's; a file that cannot be read is
    // reported and the current arrangement stays.
    void OpenFile(const QString &path);
    // Opens an arrangement handed over from outside after the Open question.
    void OpenArrangementAsked(const QString &path);
    // Adds each file in order, failures reported; the number added.
    int AddPictureFiles(const QStringList &paths);
    void ApplyCommandLine(const CommandLineRequest &request);
    // Dropped files: an arrangement among them is opened, else the pictures are added.
    void DropFilesOnWindow(const QMimeData *mime);
    // Before unsaved work is given up: with unsaved changes the question (text,
    // caption) offers Save, Discard and Cancel. True when the caller may go on:
    // nothing to lose, discarded, or saved.
    bool MayLeaveWork(const QString &text, const QString &caption);

    // One box names the pictures an opened arrangement misses and their
    // folders; "Locate..." lets the user point to one, and the others that
    // moved with it are taken from the same folder.
    void LocateMissingPictures(QStringList missing);

    // At start: each copy a window left that did not end normally is offered
    // for restoring or discarding (Cancel keeps it for the next start). A
    // restored copy is removed only after copied() has kept the arrangement
    // afresh, so a crash in between loses nothing.
    void OfferRecovery(const QString &folder, const std::function<void()> &copied);

private:
    ArrangementDocument &Doc;
    PageServices &Services;
};
