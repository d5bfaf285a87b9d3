#include "common/WindowParts.h"
#include "arrange/Geometry.h"
#include "arrange/SizePositionDialog.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace {
const QString NotValid = QStringLiteral("The coordinates are not valid! Left have to be smaller then right and top "
                                        "have to be smaller than bottom!");
}

// The size and position dialog and the main window's use of it.
class TestSizePositionDialog : public QObject
{
    Q_OBJECT
private slots:

    void passThroughRoundsToHundredthsOfMillimetre()
    {
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        form.arrangePage().options().EnhanceQualCheck->setChecked(false);
        DIB d;
        newdib(&d, 4, 4, 24, nullptr, 0);
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), d);
        Placement *p = form.Doc->recordsForSetUp().Placements.Append();
        *p = Placement{1, 0.5, 2, 1, 1, id, 0, {}, {}};
        form.Doc->recordsForSetUp().SelectedPlacement = 0;

        DialogRecorder recorder;
        double shownLeft = 0, shownLeftInch = 0, shownRight = 0;
        recorder.handler.exec = [&](QDialog *dialog) {
            auto *shown = static_cast<SizePositionDialog *>(dialog);
            shownLeft = shown->LeftEd->value();
            shownLeftInch = shown->LeftInchEd->value();
            shownRight = shown->RightEd->value();
            return int(QDialog::Accepted);
        };
        recorder.install();
        form.ChangePosSizeBtnClick();
        QCOMPARE(shownLeft, 25.40);
        QCOMPARE(shownLeftInch, 1.00);
        QCOMPARE(shownRight, 76.20); // 25.40 + 50.80
        const Placement &q = form.Doc->records().Placements.at(0);
        QCOMPARE(QString::number(q.Left, 'f', 7), QStringLiteral("1.0000020"));
        QCOMPARE(q.Left, 25.40 / MmPerInch);
        QCOMPARE(q.Width, 50.80 / MmPerInch);
        QCOMPARE(q.Page, 1);

        // Cancel leaves the placement alone, even after edits in the dialog.
        recorder.handler.exec = [&](QDialog *dialog) {
            static_cast<SizePositionDialog *>(dialog)->LeftEd->setValue(3);
            return int(QDialog::Rejected);
        };
        recorder.install();
        const double left = q.Left;
        form.ChangePosSizeBtnClick();
        QCOMPARE(q.Left, left);
    }

    void linkedEdits()
    {
        SizePositionDialog dialog;
        dialog.setFrameMm(10, 20, 30, 40);
        QCOMPARE(dialog.RightEd->value(), 40.0);
        QCOMPARE(dialog.BottomEd->value(), 60.0);

        dialog.WidthEd->setValue(50); // keeps the left edge
        QCOMPARE(dialog.LeftEd->value(), 10.0);
        QCOMPARE(dialog.RightEd->value(), 60.0);
        QCOMPARE(dialog.WidthInchEd->value(), 1.97);

        dialog.RightEd->setValue(35); // keeps the left edge, changes the width
        QCOMPARE(dialog.LeftEd->value(), 10.0);
        QCOMPARE(dialog.WidthEd->value(), 25.0);
        QCOMPARE(dialog.RightInchEd->value(), 1.38);

        dialog.TopInchEd->setValue(1); // as if typed in millimetres
        QCOMPARE(dialog.TopEd->value(), 25.40);
        QCOMPARE(dialog.TopInchEd->value(), 1.00);
        QCOMPARE(dialog.HeightEd->value(), 34.60);
        QCOMPARE(dialog.HeightInchEd->value(), 1.36);
        QCOMPARE(dialog.BottomEd->value(), 60.0);

        // Opening again with the same values recomputes what was typed since.
        dialog.setFrameMm(10, 20, 30, 40);
        QCOMPARE(dialog.RightEd->value(), 40.0);
        QCOMPARE(dialog.TopInchEd->value(), 0.79);
    }

    // Every keystroke updates the linked edits; the edit typed in keeps the
    // text as typed and its cursor.
    void typingUpdatesLinkedEditsAtOnce()
    {
        QLocale::setDefault(QLocale::c());
        SizePositionDialog dialog;
        dialog.setFrameMm(10, 20, 30, 40);
        auto type = [](QDoubleSpinBox *edit, const QString &text) {
            edit->findChild<QLineEdit *>()->selectAll();
            QTest::keyClicks(edit, text);
        };

        type(dialog.WidthEd, QStringLiteral("5"));
        QCOMPARE(dialog.RightEd->value(), 15.0);
        QTest::keyClicks(dialog.WidthEd, QStringLiteral("0"));
        QCOMPARE(dialog.RightEd->value(), 60.0);
        QCOMPARE(dialog.WidthInchEd->value(), 1.97);

        type(dialog.LeftInchEd, QStringLiteral("1"));
        QCOMPARE(dialog.LeftEd->value(), 25.40);
        QCOMPARE(dialog.WidthEd->value(), 34.60);
        QTest::keyClicks(dialog.LeftInchEd, QStringLiteral(".5"));
        QCOMPARE(dialog.LeftEd->value(), 38.10);
        QCOMPARE(dialog.WidthEd->value(), 21.90);
        QCOMPARE(dialog.WidthInchEd->value(), 0.86);
        const QLineEdit *typed = dialog.LeftInchEd->findChild<QLineEdit *>();
        QCOMPARE(typed->text(), QStringLiteral("1.5"));
        QCOMPARE(typed->cursorPosition(), 3);
        QLocale::setDefault(QLocale::system());
    }

    void edgeOrderIsChecked_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("left equal to right") << 0.0 << 10.0 << false;
        QTest::newRow("negative width") << -5.0 << 10.0 << false;
        QTest::newRow("top equal to bottom") << 10.0 << 0.0 << false;
        QTest::newRow("proper frame") << 0.01 << 0.01 << true;
    }
    void edgeOrderIsChecked()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, accepted);
        DialogRecorder recorder;
        SizePositionDialog dialog;
        dialog.setFrameMm(10, 10, width, height);
        dialog.setResult(QDialog::Rejected);
        dialog.okClicked();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(recorder.messages.size(), accepted ? 0u : 1u);
        if (!accepted) {
            QCOMPARE(recorder.messages[0].text, NotValid);
            QCOMPARE(recorder.messages[0].icon, Dialogs::Icon::Error);
        }
    }
};

SGA_TEST(TestSizePositionDialog)
#include "tst_sizeposition.moc"
