#include "document/Recovery.h"

#include "document/ArrangementDocument.h"
#include "document/ArrangementFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace {
// The file a copy belongs to and when it was taken; a few lines of text.
constexpr qint64 MaxInfoBytes = 64 * 1024;

QString InfoPath(const QString &base) { return base + QStringLiteral(".info"); }
QString LockPath(const QString &base) { return base + QStringLiteral(".lock"); }

bool WriteWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    file.cancelWriting();
    return false;
}

RecoveryCopy ReadInfo(const QString &base)
{
    RecoveryCopy copy;
    copy.Copy = base + QStringLiteral(".sga");
    copy.Written = QFileInfo(copy.Copy).lastModified();
    QFile info(InfoPath(base));
    if (info.size() > MaxInfoBytes || !info.open(QIODevice::ReadOnly))
        return copy;
    const QStringList lines = QString::fromUtf8(info.read(MaxInfoBytes)).split(QLatin1Char('\n'));
    if (lines.size() >= 2) {
        copy.OwnFile = lines[0];
        const QDateTime written = QDateTime::fromString(lines[1], Qt::ISODateWithMs);
        if (written.isValid())
            copy.Written = written;
    }
    return copy;
}

std::unique_ptr<QLockFile> NewLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0); // only a lock whose process is gone is stale, however old
    return lock;
}
} // namespace

QString RecoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

RecoveryKeeper::RecoveryKeeper(ArrangementDocument &doc, const QString &folder, int delayMs)
    : Doc(doc)
    , Base(folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces))
    , Lock(LockPath(Base))
{
    QDir().mkpath(folder);
    Lock.setStaleLockTime(0);
    Lock.tryLock(0);
    Writer.setMaxThreadCount(1);
    Delay.setSingleShot(true);
    Delay.setInterval(delayMs);
    connect(&Delay, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
    connect(&Doc, &ArrangementDocument::changed, this, &RecoveryKeeper::documentChanged);
    connect(&Doc, &ArrangementDocument::modifiedChanged, this, [this](bool modified) {
        if (modified)
            documentChanged();
        else
            removeCopy(); // saved or new: nothing left to lose
    });
}

RecoveryKeeper::~RecoveryKeeper()
{
    Delay.stop();
    removeCopy();
    Lock.unlock();
}

void RecoveryKeeper::documentChanged()
{
    // Timed from the first change after a copy, so no change waits longer.
    if (Doc.isModified() && !Delay.isActive())
        Delay.start();
}

void RecoveryKeeper::writeNow()
{
    Delay.stop();
    if (!Doc.isModified()) {
        removeCopy();
        return;
    }
    // Taken on this thread, where the records live; only the disk work waits.
    const QByteArray bytes = WriteArrangement(Doc.fileRecord(copyPath()));
    const QByteArray info = (Doc.fileName() + QLatin1Char('\n') +
                             QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QLatin1Char('\n'))
                                .toUtf8();
    const QString base = Base;
    Writer.start([this, bytes, info, base] {
        const bool ok = WriteWhole(base + QStringLiteral(".sga"), bytes) && WriteWhole(InfoPath(base), info);
        QMetaObject::invokeMethod(this, [this, ok] { emit written(ok); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::waitForWrites() { Writer.waitForDone(); }

void RecoveryKeeper::removeCopy()
{
    Writer.waitForDone();
    QFile::remove(copyPath());
    QFile::remove(InfoPath(Base));
}

RecoveryClaim::RecoveryClaim(RecoveryCopy copy, std::unique_ptr<QLockFile> lock)
    : Copy(std::move(copy))
    , Lock(std::move(lock))
{
}
RecoveryClaim::RecoveryClaim(RecoveryClaim &&) noexcept = default;
RecoveryClaim &RecoveryClaim::operator=(RecoveryClaim &&) noexcept = default;
RecoveryClaim::~RecoveryClaim() = default; // the lock goes with it; the copy stays for the next start

void RecoveryClaim::discard()
{
    const QString base = Copy.Copy.chopped(4);
    QFile::remove(Copy.Copy);
    QFile::remove(InfoPath(base));
    if (Lock)
        Lock->unlock();
}

QString RecoveryClaim::setAside()
{
    const QString base = Copy.Copy.chopped(4);
    QString aside = base + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = base + QStringLiteral(".damaged-%1").arg(n);
    if (!QFile::rename(Copy.Copy, aside))
        aside.clear();
    QFile::remove(InfoPath(base));
    if (Lock)
        Lock->unlock();
    return aside;
}

std::vector<RecoveryClaim> ClaimLeftRecoveries(const QString &folder)
{
    std::vector<RecoveryClaim> claims;
    const QFileInfoList copies = QDir(folder).entryInfoList({QStringLiteral("*.sga")}, QDir::Files);
    for (const QFileInfo &file : copies) {
        const QString base = file.absoluteFilePath().chopped(4);
        std::unique_ptr<QLockFile> lock = NewLock(LockPath(base));
        if (!lock->tryLock(0))
            continue; // a running window's copy, or claimed by another start
        claims.emplace_back(ReadInfo(base), std::move(lock));
    }
    std::sort(claims.begin(), claims.end(),
              [](const RecoveryClaim &a, const RecoveryClaim &b) { return a.copy().Written > b.copy().Written; });
    return claims;
}
