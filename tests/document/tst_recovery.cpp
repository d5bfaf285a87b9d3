#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "document/Recovery.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <vector>

namespace {
// The edit an arrangement the drill wrote holds; -1 when it cannot be read.
int EditIn(const QString &path)
{
    ArrangementDocument doc;
    if (doc.open(path, PageGeometry{}).Status != ArrangementDocument::OpenStatus::Opened)
        return -1;
    return int(doc.options().DBreite) - 100;
}
} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT
private slots:
    // A window killed at a random moment of 200 edits and saves: what it left
    // (its recovery copy, else its own file) holds every edit older than the
    // copy's delay, and its own file is never damaged.
    void killedWindowLosesOnlyTheLastMoments_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void killedWindowLosesOnlyTheLastMoments()
    {
        QFETCH(quint32, seed);
        constexpr int DelayMs = 150;
        constexpr int SlackMs = 400; // a loaded machine's scheduling and disk
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("recovery"));
        const QString own = dir.filePath(QStringLiteral("own.sga"));
        QProcess drill;
        drill.start(QStringLiteral(RECOVERY_DRILL), {folder, own, QString::number(DelayMs)});
        QVERIFY(drill.waitForStarted());
        struct Seen {
            int Edit;
            qint64 At;
        };
        std::vector<Seen> seen;
        QElapsedTimer clock;
        clock.start();
        const int killAfter = 1 + int(QRandomGenerator(seed).bounded(199u));
        while (drill.state() == QProcess::Running && (seen.empty() || seen.back().Edit < killAfter)) {
            drill.waitForReadyRead(100);
            while (drill.canReadLine()) {
                bool number = false;
                const int edit = drill.readLine().trimmed().toInt(&number);
                QVERIFY2(number, "the drill reported a failed save");
                seen.push_back({edit, clock.elapsed()});
            }
            QVERIFY(clock.elapsed() < 60000);
        }
        ::kill(pid_t(drill.processId()), SIGKILL);
        drill.waitForFinished();
        const qint64 killedAt = clock.elapsed();
        int mustHold = 0;
        for (const Seen &s : seen)
            if (s.At < killedAt - DelayMs - SlackMs)
                mustHold = s.Edit;

        const int saved = QFile::exists(own) ? EditIn(own) : 0;
        QVERIFY2(saved >= 0, "the user's own file is damaged");
        std::vector<RecoveryClaim> left = ClaimLeftRecoveries(folder);
        QVERIFY(left.size() <= 1);
        int recovered = saved;
        if (!left.empty()) {
            QCOMPARE(left[0].copy().OwnFile, saved > 0 ? own : QString());
            recovered = EditIn(left[0].copy().Copy);
            QVERIFY2(recovered >= 0, "the recovery copy is damaged");
        }
        QVERIFY2(recovered >= mustHold, qPrintable(QStringLiteral("killed after edit %1: holds %2, must hold %3")
                                                       .arg(seen.empty() ? 0 : seen.back().Edit)
                                                       .arg(recovered)
                                                       .arg(mustHold)));
    }

    // A copy whose window still runs is never offered; one that cannot be
    // read is set aside under a name of its own, not lost and not fatal.
    void claimsOnlyLeftCopies()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("recovery"));
        ArrangementDocument doc;
        RecoveryKeeper running(doc, folder, 1000000);
        ArrangementOptions o = doc.options();
        o.DBreite = 123;
        doc.setOptions(o, QStringLiteral("Width"));
        running.writeNow();
        running.waitForWrites();
        QVERIFY(QFile::exists(running.copyPath()));
        QVERIFY(ClaimLeftRecoveries(folder).empty());

        QFile damaged(folder + QStringLiteral("/left.sga"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("not an arrangement");
        damaged.close();
        std::vector<RecoveryClaim> left = ClaimLeftRecoveries(folder);
        QCOMPARE(left.size(), std::size_t(1));
        QCOMPARE(EditIn(left[0].copy().Copy), -1);
        const QString aside = left[0].setAside();
        QVERIFY(QFile::exists(aside));
        QVERIFY(ClaimLeftRecoveries(folder).empty());
    }
};

SGA_TEST(TestRecovery)
#include "tst_recovery.moc"
