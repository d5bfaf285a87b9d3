#pragma once
// Recovery copies: while an arrangement has unsaved changes, a copy of it is
// kept in the program's data folder, so a crash or a power cut loses at most
// the last few seconds. Each running window holds a lock beside its copy; a
// copy whose lock no living process holds is what a window left that did not
// end normally.
#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <memory>
#include <vector>

class ArrangementDocument;

// The program's folder of recovery copies.
[[nodiscard]] QString RecoveryFolder();

struct RecoveryCopy {
    QString Copy;    // the arrangement as last written
    QString OwnFile; // the file it belongs to; empty: never saved
    QDateTime Written;
};

class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    // A change is copied at most `delayMs` after it was made.
    explicit RecoveryKeeper(ArrangementDocument &doc, const QString &folder = RecoveryFolder(), int delayMs = 10000);
    // A normal end: the copy and its lock go.
    ~RecoveryKeeper() override;
    RecoveryKeeper(const RecoveryKeeper &) = delete;
    RecoveryKeeper &operator=(const RecoveryKeeper &) = delete;

    [[nodiscard]] QString copyPath() const { return Base + QStringLiteral(".sga"); }
    // Copies the arrangement now (the write itself runs in the background).
    void writeNow();
    // Waits for the writes under way (tests, quitting).
    void waitForWrites();

signals:
    // A background write ended; false: the disk refused it (the next change tries again).
    void written(bool ok);

private:
    void documentChanged();
    void removeCopy();

    ArrangementDocument &Doc;
    QString Base; // folder/id
    QLockFile Lock;
    QTimer Delay;
    QThreadPool Writer; // one thread, so copies land in order
};

// Copies left by windows that did not end normally, newest first. Each comes
// with its lock taken, so a second window starting at the same time does not
// offer it too; the lock is freed by Restored/Discarded or when the claim goes.
class RecoveryClaim
{
public:
    RecoveryClaim(RecoveryCopy copy, std::unique_ptr<QLockFile> lock);
    RecoveryClaim(RecoveryClaim &&) noexcept;
    RecoveryClaim &operator=(RecoveryClaim &&) noexcept;
    ~RecoveryClaim();
    [[nodiscard]] const RecoveryCopy &copy() const { return Copy; }
    // Removes the copy: it was restored (and copied afresh) or turned down.
    void discard();
    // Keeps a copy that could not be read under a name of its own beside the
    // others; returns that name.
    QString setAside();

private:
    RecoveryCopy Copy;
    std::unique_ptr<QLockFile> Lock;
};
[[nodiscard]] std::vector<RecoveryClaim> ClaimLeftRecoveries(const QString &folder = RecoveryFolder());
