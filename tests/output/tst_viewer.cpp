#include "common/WindowParts.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "output/SinglePrintDialog.h"
#include "output/PictureViewer.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

DIB picture(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, RGB(x % 256, y % 256, 90));
    return d;
}

void mouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

void wheel(QWidget *target, int angle)
{
    QWheelEvent e(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, angle), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

// A viewer shown without a modal loop, holding a 1000 x 800 picture at zoom 100.
struct ShownViewer {
    PictureViewer form;
    DIB dib = picture(1000, 800);
    ShownViewer()
    {
        form.resize(600, 500);
        form.Dib = dib;
        form.ZoomEd->setValue(100);
        form.zoomChanged();
        form.show();
        QApplication::processEvents();
    }
    QScrollBar *h() const { return form.ScrollArea->horizontalScrollBar(); }
    QScrollBar *v() const { return form.ScrollArea->verticalScrollBar(); }
};

} // namespace

class TstViewer : public QObject
{
    Q_OBJECT
private slots:
    void displaySize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("1000x800 at 25") << QSize(1000, 800) << 25 << QSize(250, 200);
        QTest::newRow("1000x800 at 5") << QSize(1000, 800) << 5 << QSize(50, 40);
        QTest::newRow("1000x800 at 33 truncates") << QSize(1000, 800) << 33 << QSize(330, 264);
        QTest::newRow("1 pixel at 9000") << QSize(1, 1) << 9000 << QSize(90, 90);
        QTest::newRow("beyond a widget's size limited") << QSize(200000, 2) << 9000 << QSize(QWIDGETSIZE_MAX, 180);
    }
    void displaySize()
    {
        QFETCH(QSize, picture);
        QFETCH(int, zoom);
        QFETCH(QSize, expected);
        QCOMPARE(ViewerDisplaySize(picture, zoom), expected);
    }

    // Each picture opens fitted to the window (a small one at 100 %, not
    // enlarged); key 1 shows 100 %, key 0 fitted again, the paint box following.
    void opensFittedAndKeysZoom()
    {
        DialogRecorder dialogs;
        PictureViewer viewer;
        const DIB large = picture(3000, 2000), small = picture(300, 100);
        QList<int> zooms;
        QList<QSize> sizes;
        dialogs.handler.exec = [&](QDialog *) {
            zooms << viewer.ZoomEd->value();
            sizes << viewer.PictureBox->size();
            QTest::keyClick(viewer.ScrollArea, Qt::Key_1);
            zooms << viewer.ZoomEd->value();
            sizes << viewer.PictureBox->size();
            QTest::keyClick(viewer.ScrollArea, Qt::Key_0);
            zooms << viewer.ZoomEd->value();
            return int(QDialog::Accepted);
        };
        dialogs.install();
        viewer.showPicture(large, QStringLiteral("/pictures/large.jpg"));
        QCOMPARE(viewer.Dib.Bits, nullptr); // no hold on the caller's pixels after closing
        const QSize room = viewer.ScrollArea->maximumViewportSize();
        const int fit = ViewerFitZoom(QSize(3000, 2000), room);
        QVERIFY(fit > 5 && fit < 100);
        QCOMPARE(zooms, QList<int>({fit, 100, fit}));
        QVERIFY(sizes[0].width() <= room.width() && sizes[0].height() <= room.height());
        QCOMPARE(sizes[1], QSize(3000, 2000));
        zooms.clear();
        viewer.showPicture(small, QStringLiteral("/pictures/small.jpg"));
        QCOMPARE(zooms.first(), 100);
    }

    void dragPans_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QPoint>("expected"); // -1 = the bar's maximum
        QTest::newRow("drag up-left moves the view right-down") << QPoint(0, 0) << QPoint(300, 300)
                                                                << QPoint(250, 200) << QPoint(50, 100);
        QTest::newRow("beyond the lower edge stops the vertical only") << QPoint(0, 0) << QPoint(300, 700)
                                                                       << QPoint(280, 0) << QPoint(20, -1);
        QTest::newRow("beyond the top-left stops at 0") << QPoint(40, 30) << QPoint(100, 100) << QPoint(900, 900)
                                                        << QPoint(0, 0);
    }
    void dragPans()
    {
        QFETCH(QPoint, start);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QPoint, expected);
        ShownViewer s;
        QVERIFY(s.h()->maximum() > 100 && s.v()->maximum() > 100);
        s.h()->setValue(start.x());
        s.v()->setValue(start.y());
        TPaintBox *box = s.form.PictureBox;
        mouse(box, QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(box, QEvent::MouseMove, to, Qt::LeftButton);
        QCOMPARE(s.h()->value(), expected.x() < 0 ? s.h()->maximum() : expected.x());
        QCOMPARE(s.v()->value(), expected.y() < 0 ? s.v()->maximum() : expected.y());
        mouse(box, QEvent::MouseButtonRelease, to, Qt::NoButton);
        const int h = s.h()->value();
        mouse(box, QEvent::MouseMove, to + QPoint(-50, 0), Qt::NoButton);
        QCOMPARE(s.h()->value(), h); // released: moving no longer pans
    }

    void wheelScrollsTwentyPixelsAnywhere()
    {
        ShownViewer s;
        s.v()->setValue(100);
        wheel(s.form.PictureBox, -120);
        QCOMPARE(s.v()->value(), 120);
        wheel(s.form.ZoomEd, 120);
        wheel(s.form.ZoomEd, 120);
        QCOMPARE(s.v()->value(), 80);
        QCOMPARE(s.form.ZoomEd->value(), 100);
        // Half notches add up to one step.
        wheel(s.form.ScrollArea->viewport(), -60);
        QCOMPARE(s.v()->value(), 80);
        wheel(s.form.ScrollArea->viewport(), -60);
        QCOMPARE(s.v()->value(), 100);
    }

    void printPrintsTheShownPicture()
    {
        QTemporaryDir tmp;
        TPrinter printer;
        printer.setFixedPage(4800, 6600, 600, 600);
        printer.qprinter()->setOutputFormat(QPrinter::PdfFormat);
        printer.qprinter()->setOutputFileName(tmp.filePath(QStringLiteral("viewer.pdf")));
        DialogRecorder dialogs;
        PictureViewer viewer;
        viewer.Printer = &printer;
        const DIB dib = picture(30, 20);
        QStringList shown;
        dialogs.handler.exec = [&](QDialog *d) {
            if (d == &viewer) {
                viewer.PrintBtn->click();
                return int(QDialog::Accepted);
            }
            auto *form = qobject_cast<SinglePrintDialog *>(d);
            shown.append(form ? QStringLiteral("print %1").arg(DibWidth(form->Dib)) : QStringLiteral("other"));
            return int(QDialog::Accepted);
        };
        dialogs.install();
        viewer.showPicture(dib, QStringLiteral("/pictures/p.png"));
        QCOMPARE(shown, QStringList({QStringLiteral("print 30")}));
        QCOMPARE(printer.Title, QStringLiteral("Quillsheet-Picture"));
        QCOMPARE(printer.OutputFileName(), tmp.filePath(QStringLiteral("Quillsheet-Picture.pdf")));
        QVERIFY(QFile::exists(printer.OutputFileName()));
    }

    // "&Show big" on "Arrange" shows the selected placement's own picture.
    void showBigOnArrange_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no selection does nothing") << -1 << QString();
        QTest::newRow("second placement shows its picture") << 1 << QStringLiteral("/p/b.png");
        QTest::newRow("selection past the end does nothing") << 2 << QString();
    }
    void showBigOnArrange()
    {
        QFETCH(int, selected);
        QFETCH(QString, expected);
        DialogRecorder dialogs;
        TMainForm form;
        const int a = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), picture(4, 4));
        const int b = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/b.png"), picture(6, 2));
        for (int id : {a, b}) {
            Placement *p = form.Doc->recordsForSetUp().Placements.Append();
            p->PictureId = id;
            p->Page = 1;
        }
        form.Doc->recordsForSetUp().SelectedPlacement = selected;
        QString shownName;
        const BYTE *shownBits = nullptr;
        form.ShowBigHandler = [&](const DIB &dib, const QString &fileName) {
            shownName = fileName;
            shownBits = dib.Bits;
        };
        form.ShowBigBtnClick();
        QCOMPARE(shownName, expected);
        QCOMPARE(shownBits, expected.isEmpty() ? nullptr : form.Doc->records().Pictures[1].Dib.Bits);
    }

    // The window installs the real viewer, created once; "&Show big" on
    // "Add picture" opens it with the previewed file.
    void mainWindowUsesOneViewer()
    {
        QTemporaryDir tmp;
        const QString file = tmp.filePath(QStringLiteral("big.png"));
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(file));
        DialogRecorder dialogs;
        TMainForm form;
        form.Doc->recordsForSetUp().appendPicture(file, picture(2, 2));
        form.Doc->touch(ArrangementDocument::Change::Collection);
        QList<PictureViewer *> viewers;
        QString shownFile;
        QSize shownSize;
        dialogs.handler.exec = [&](QDialog *d) {
            viewers.append(qobject_cast<PictureViewer *>(d));
            if (viewers.last()) {
                shownFile = viewers.last()->FileName;
                shownSize = viewers.last()->PictureBox->size();
            }
            return int(QDialog::Accepted);
        };
        dialogs.install();
        form.action(Command::ShowPicture)->trigger();
        form.action(Command::ShowPicture)->trigger();
        // The window's own viewer, both times.
        QCOMPARE(viewers.size(), 2);
        QVERIFY(viewers[0] && viewers[0] == viewers[1] && viewers[0]->parent() == &form);
        QCOMPARE(shownFile, file);
        QCOMPARE(shownSize, QSize(40, 30));
    }
};

SGA_TEST(TstViewer)
#include "tst_viewer.moc"
