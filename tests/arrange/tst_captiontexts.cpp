// The caption field and the "Captions and page texts" dialog: Ctrl+Enter
// starts a line where Enter does not, the dialog shows the document's
// settings, OK writes them as one undo step and Cancel leaves them.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "arrange/CaptionEdit.h"
#include "arrange/CaptionTextsDialog.h"
#include "document/ArrangementDocument.h"

#include <QComboBox>
#include <QCheckBox>
#include <QTest>
#include <QUndoStack>

class TestCaptionTexts : public QObject
{
    Q_OBJECT
private slots:
    void ctrlEnterStartsALine()
    {
        CaptionEdit edit;
        edit.setText(QStringLiteral("{name}"));
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClick(&edit, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(&edit, QStringLiteral("{date}"));
        QCOMPARE(edit.text(), QStringLiteral("{name}\n{date}"));
    }

    void dialogWritesOneUndoStep()
    {
        ArrangementDocument doc;
        ArrangementOptions o = doc.options();
        o.Captions.Header = QStringLiteral("{file}");
        doc.resetOptions(o);
        DialogRecorder recorder;
        QString shownHeader;
        recorder.handler.exec = [&](QDialog *dialog) {
            auto *d = static_cast<CaptionTextsDialog *>(dialog);
            shownHeader = d->HeaderEd->text();
            d->TemplateEd->setText(QStringLiteral("{name}\n{exposure}"));
            d->FitCombo->setCurrentIndex(2);
            d->FooterEd->setText(QStringLiteral("{page} of {pages}"));
            d->FooterAlignCombo->setCurrentIndex(2);
            return int(QDialog::Accepted);
        };
        recorder.install();
        const int steps = doc.undoStack()->count();
        QVERIFY(EditCaptionTexts(doc, nullptr));
        QCOMPARE(shownHeader, QStringLiteral("{file}"));
        const CaptionSettings &c = doc.options().Captions;
        QCOMPARE(c.Template, QStringLiteral("{name}\n{exposure}"));
        QCOMPARE(c.Fit, CaptionFit::Wrap);
        QCOMPARE(c.Header, QStringLiteral("{file}"));
        QCOMPARE(c.FooterAlign, PageTextAlign::Right);
        QCOMPARE(doc.undoStack()->count(), steps + 1);
        doc.undoStack()->undo();
        QCOMPARE(doc.options().Captions.Template, QString());

        recorder.handler.exec = [&](QDialog *dialog) {
            static_cast<CaptionTextsDialog *>(dialog)->HeaderEd->setText(QStringLiteral("changed"));
            return int(QDialog::Rejected);
        };
        recorder.install();
        QVERIFY(!EditCaptionTexts(doc, nullptr));
        QCOMPARE(doc.options().Captions.Header, QStringLiteral("{file}"));
    }
};

SGA_TEST(TestCaptionTexts)
#include "tst_captiontexts.moc"
