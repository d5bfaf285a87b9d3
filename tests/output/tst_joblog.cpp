// The job log keeps the last jobs, one line each, fields intact.
#include "common/TestRegistry.h"
#include "output/JobLog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestJobLog : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLastJobs()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("jobs.log"));
        for (int i = 1; i <= 5; ++i) {
            JobLogEntry e;
            e.Time = QDateTime(QDate(2026, 12, 9), QTime(6, i));
            e.File = QStringLiteral("/trips/a\tb.sga");
            e.Target = QStringLiteral("Studio");
            e.Preset = QStringLiteral("glossy\n10 x 15");
            e.Options = { QStringLiteral("media-type=photographic-glossy"), QStringLiteral("print-quality=5") };
            e.Pages = i;
            e.Result = QStringLiteral("done");
            QVERIFY(AppendJobLog(log, e, 3));
        }
        const std::vector<JobLogEntry> read = ReadJobLog(log);
        QCOMPARE(int(read.size()), 3);
        QCOMPARE(read.front().Pages, 3);
        QCOMPARE(read.back().Time, QDateTime(QDate(2026, 12, 9), QTime(6, 5)));
        QCOMPARE(read.back().File, QStringLiteral("/trips/a b.sga"));
        QCOMPARE(read.back().Preset, QStringLiteral("glossy 10 x 15"));
        QCOMPARE(read.back().Options.size(), 2);
        QCOMPARE(read.back().Result, QStringLiteral("done"));

        // A log grown beyond its bound by another program is read from its end.
        QFile grown(log);
        QVERIFY(grown.open(QIODevice::Append));
        grown.write(QByteArray(MaxJobLogBytes + 100, 'x'));
        grown.write("\n" + JobLogLine(read.back()).toUtf8() + "\n");
        grown.close();
        QCOMPARE(ReadJobLog(log).back().Pages, 5);
    }
};

SGA_TEST(TestJobLog)
#include "tst_joblog.moc"
