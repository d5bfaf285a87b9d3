#include "app/MainUnit.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Recovery.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRecoveryOffer : public QObject
{
    Q_OBJECT
private slots:
    // At start each copy a crashed window left is offered once: Yes restores
    // it as unsaved work of its own file, No discards it, Cancel keeps it for
    // the next start, and a damaged copy is set aside with a message.
    void offerAtStart_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<int>("leftAfter");
        QTest::newRow("restore") << int(Dialogs::IdYes) << false << true << 0;
        QTest::newRow("discard") << int(Dialogs::IdNo) << false << false << 0;
        QTest::newRow("later") << int(Dialogs::IdCancel) << false << false << 1;
        QTest::newRow("damaged") << int(Dialogs::IdYes) << true << false << 0;
    }
    void offerAtStart()
    {
        QFETCH(int, answer);
        QFETCH(bool, damaged);
        QFETCH(bool, restored);
        QFETCH(int, leftAfter);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("recovery"));
        const QString own = dir.filePath(QStringLiteral("class 4b.sga"));
        {
            // A window's copy, left behind as a killed window leaves it: without its lock.
            ArrangementDocument doc;
            RecoveryKeeper keeper(doc, folder, 1000000);
            doc.setFileName(own);
            ArrangementOptions o = doc.options();
            o.DBreite = 123;
            doc.setOptions(o, QStringLiteral("Width"));
            keeper.writeNow();
            keeper.waitForWrites();
            const QString base = keeper.copyPath().chopped(4);
            QVERIFY(QFile::copy(base + QStringLiteral(".info"), folder + QStringLiteral("/left.info")));
            if (damaged) {
                QFile bad(folder + QStringLiteral("/left.sga"));
                QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("SGA damaged") > 0);
            } else {
                QVERIFY(QFile::copy(keeper.copyPath(), folder + QStringLiteral("/left.sga")));
            }
        }
        DialogRecorder dialogs(answer);
        TMainForm form;
        int copied = 0;
        form.Files->OfferRecovery(folder, [&copied] { ++copied; });
        QVERIFY(!dialogs.messages.empty());
        QVERIFY(dialogs.messages[0].text.contains(own));
        QCOMPARE(form.Doc->options().DBreite == 123, restored);
        QCOMPARE(copied, restored ? 1 : 0);
        if (restored) {
            QCOMPARE(form.Doc->fileName(), own);
            QVERIFY(form.Doc->isModified());
        }
        if (damaged) {
            QCOMPARE(dialogs.messages.size(), std::size_t(2));
            QVERIFY(QFile::exists(folder + QStringLiteral("/left.damaged")));
        }
        QCOMPARE(int(ClaimLeftRecoveries(folder).size()), leftAfter);
    }
};

SGA_TEST(TestRecoveryOffer)
#include "tst_recoveryoffer.moc"
