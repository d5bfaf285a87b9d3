#include "common/WindowParts.h"
#include "arrange/Geometry.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <cstring>
#include <memory>

namespace {
DIB grey(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    std::memset(d.Bits, 128, d.Info->biSizeImage);
    return d;
}

Placement &place(TMainForm &form, int pictureId, double left, double top, double width, double height, int page = 1)
{
    Placement *p = form.Doc->recordsForSetUp().Placements.Append();
    p->PictureId = pictureId;
    p->Left = left;
    p->Top = top;
    p->Width = width;
    p->Height = height;
    p->Page = page;
    return *p;
}

// Zoom 100 at 96 dpi: one inch is 96 view pixels; the page is 8 x 11 inches.
std::unique_ptr<TMainForm> makeForm()
{
    auto form = std::make_unique<TMainForm>();
    form->printer().setFixedPage(4800, 6600, 600, 600);
    form->ScreenDpiOverride = 96;
    form->arrangePage().setZoom(100);
    form->arrangePage().options().EnhanceQualCheck->setChecked(false);
    form->arrangePage().options().UseGridCheck->setChecked(false);
    return form;
}

void press(TMainForm &form, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, at, form.arrangePage().canvas().ViewBox->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(form.arrangePage().canvas().ViewBox, &e);
}

void move(TMainForm &form, QPoint at)
{
    QMouseEvent e(QEvent::MouseMove, at, form.arrangePage().canvas().ViewBox->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(form.arrangePage().canvas().ViewBox, &e);
}

void release(TMainForm &form, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonRelease, at, form.arrangePage().canvas().ViewBox->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(form.arrangePage().canvas().ViewBox, &e);
}

QByteArray bits(double v) { return QByteArray(reinterpret_cast<const char *>(&v), sizeof v); }
bool onGrid(double inch) // 5 mm lattice
{
    const double steps = inch * MmPerInch / 5;
    return qAbs(steps - qRound(steps)) < 1e-9;
}
} // namespace

// Mouse editing, drops and the side panel, driven through the main window.
class TestPlacementEditing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::system()); }

    void clickSelectsTopmostAndBringsItToFront()
    {
        auto form = makeForm();
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        place(*form, id, 0, 0, 2, 2);   // A
        place(*form, id, 1, 1, 2, 2);   // B over A
        place(*form, id, 5, 5, 1, 1);   // C apart
        press(*form, QPoint(100, 100)); // inside A and B
        QCOMPARE(form->Doc->records().SelectedPlacement, 2);
        QCOMPARE(form->Doc->records().Placements.at(2).Left, 1.0); // B swapped with C
        QCOMPARE(form->Doc->records().Placements.at(1).Left, 5.0);
        QCOMPARE(form->arrangePage().canvas().Dragging, 0); // selecting does not drag
        QVERIFY(form->action(Command::DeleteSelection)->isEnabled());

        press(*form, QPoint(50, 50)); // only A
        QCOMPARE(form->Doc->records().SelectedPlacement, 2);
        QCOMPARE(form->Doc->records().Placements.at(2).Left, 0.0);
        QCOMPARE(form->Doc->records().Placements.at(1).Left, 5.0); // the ones between keep their places
        QCOMPARE(form->Doc->records().Placements.at(0).Left, 1.0);

        press(*form, QPoint(700, 1000)); // nothing there
        QCOMPARE(form->Doc->records().SelectedPlacement, -1);
        QVERIFY(!form->action(Command::DeleteSelection)->isEnabled());
    }

    void resizeFromRightHandleFlipsPastLeftEdge()
    {
        auto form = makeForm();
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        place(*form, id, 1, 1, 2, 1); // view frame (96, 96, 192, 96)
        form->Doc->recordsForSetUp().SelectedPlacement = 0;
        press(*form, QPoint(96 + 192 + 2, 96 + 48));
        QCOMPARE(form->arrangePage().canvas().Dragging, 1);
        QCOMPARE(form->arrangePage().canvas().DragMode, 8);
        QCOMPARE(form->arrangePage().canvas().GrabDX, 2);
        // Pixel values that are multiples of 3 map to exact inches and back.
        move(*form, QPoint(35, 144)); // right edge to 33, left of the left edge at 96
        QCOMPARE(form->arrangePage().canvas().DragMode, 7);
        QCOMPARE(form->Doc->records().Placements.at(0).Left, 33.0 / 96);
        QCOMPARE(form->Doc->records().Placements.at(0).Width, 63.0 / 96);
        move(*form, QPoint(20, 144)); // now the left edge follows
        QCOMPARE(form->Doc->records().Placements.at(0).Left, 18.0 / 96);
        QCOMPARE(form->Doc->records().Placements.at(0).Width, 78.0 / 96);
        release(*form, QPoint(20, 144));
        QCOMPARE(form->arrangePage().canvas().Dragging, 0);
        QCOMPARE(form->Doc->records().Placements.at(0).Height, 1.0);
        QCOMPARE(form->statusText(),
                 QStringLiteral("( x: 0.19inch; y: 1.00inch ) ( Width: 0.81inch; Height: 1.00inch ) "));
    }

    void moveSnapsCornerOnlyAndResizeSnapsAll()
    {
        auto form = makeForm();
        form->arrangePage().options().UseGridCheck->setChecked(true); // 5 mm
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        const double width = 130 / MmPerInch, height = 100 / MmPerInch + 0.001;
        place(*form, id, 1.003, 1.007, width, height);
        form->Doc->recordsForSetUp().SelectedPlacement = 0;
        press(*form, QPoint(150, 150));
        QCOMPARE(form->arrangePage().canvas().DragMode, 9);
        move(*form, QPoint(163, 171));
        release(*form, QPoint(163, 171));
        const Placement &p = form->Doc->records().Placements.at(0);
        QVERIFY(onGrid(p.Left) && onGrid(p.Top));
        QCOMPARE(bits(p.Width), bits(width));
        QCOMPARE(bits(p.Height), bits(height));

        // A resize by the bottom-middle handle snaps all four values.
        form->Doc->recordsForSetUp().Placements.at(0).Left = 1.003;
        const QPoint bottom(form->arrangePage().canvas().ToView(1.003) + form->arrangePage().canvas().ToView(width) / 2, form->arrangePage().canvas().ToView(p.Top) + form->arrangePage().canvas().ToView(height));
        press(*form, bottom);
        QCOMPARE(form->arrangePage().canvas().DragMode, 6);
        release(*form, bottom + QPoint(0, 17));
        QVERIFY(onGrid(p.Left) && onGrid(p.Top) && onGrid(p.Width) && onGrid(p.Height));
    }

    // A click or double click on the selected frame, a hand's jitter
    // included, leaves it off the grid where it was, and records no step.
    void clickWithoutDragMovesNothing_data()
    {
        QTest::addColumn<QPoint>("jitter");
        QTest::addColumn<bool>("twice");
        QTest::newRow("click") << QPoint(0, 0) << false;
        QTest::newRow("click with a jitter") << QPoint(1, 2) << false;
        QTest::newRow("double click") << QPoint(0, 0) << true;
    }
    void clickWithoutDragMovesNothing()
    {
        QFETCH(QPoint, jitter);
        QFETCH(bool, twice);
        auto form = makeForm();
        form->arrangePage().options().UseGridCheck->setChecked(true); // 5 mm
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        const double left = 1 + 3 / MmPerInch;
        place(*form, id, left, 1.007, 1.5, 1);
        form->Doc->recordsForSetUp().SelectedPlacement = 0;
        const int steps = form->Doc->undoStack()->count();
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            press(*form, QPoint(150, 150));
            QCOMPARE(form->arrangePage().canvas().DragMode, 9);
            move(*form, QPoint(150, 150) + jitter);
            release(*form, QPoint(150, 150) + jitter);
        }
        QCOMPARE(bits(form->Doc->records().Placements.at(0).Left), bits(left));
        QCOMPARE(bits(form->Doc->records().Placements.at(0).Top), bits(1.007));
        QCOMPARE(form->Doc->undoStack()->count(), steps);
    }

    void rightButtonSelectsAndOpensMenu()
    {
        auto form = makeForm();
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        place(*form, id, 0, 0, 1, 1);
        place(*form, id, 2, 2, 1, 1);
        press(*form, QPoint(10, 10), Qt::RightButton);
        QCOMPARE(form->Doc->records().SelectedPlacement, 1);
        QCOMPARE(form->Doc->records().Placements.at(1).Left, 0.0);
        QCOMPARE(form->arrangePage().canvas().Dragging, 0);
        auto *menu = form->arrangePage().findChild<QMenu *>(QStringLiteral("PictureMenu"));
        QVERIFY(menu->isVisible());
        menu->hide();
        press(*form, QPoint(500, 500), Qt::RightButton);
        QCOMPARE(form->Doc->records().SelectedPlacement, -1);
        QVERIFY(!menu->isVisible());
    }

    void stripDragAndDrop()
    {
        auto form = makeForm();
        form->arrangePage().options().UseGridCheck->setChecked(true);
        form->arrangePage().options().CutDefault->setChecked(true);
        form->arrangePage().setPageCount(3);
        form->arrangePage().showPage(2);
        form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        const int second = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/b.png"), grey(8, 8));
        form->arrangePage().strip().StripBox->resize(100, 204);

        QObject *source = nullptr;
        QMimeData mime;
        form->arrangePage().strip().ExecStripDrag = [&](QDrag *drag) {
            source = drag->source();
            for (const QString &format : drag->mimeData()->formats())
                mime.setData(format, drag->mimeData()->data(format));
        };
        form->arrangePage().strip().mousePress(10, 102); // the gap: nothing
        QVERIFY(!source);
        form->arrangePage().strip().mousePress(10, 150);
        QCOMPARE(form->Doc->records().SelectedPicture, 1);
        QCOMPARE(source, form->arrangePage().strip().StripBox);
        QVERIFY(!form->arrangePage().canvas().acceptsDrag(&form->collectionPage(), &mime));
        QVERIFY(form->arrangePage().canvas().acceptsDrag(source, &mime));

        form->arrangePage().canvas().dropPicture(source, &mime, 100, 50);
        QCOMPARE(form->Doc->records().Placements.size(), 1);
        const Placement &p = form->Doc->records().Placements.at(0);
        QCOMPARE(p.PictureId, second);
        QCOMPARE(p.Page, 2);
        QCOMPARE(p.Cut, 1);
        QCOMPARE(p.Left, form->arrangePage().canvas().SnapToGrid(100.0 / 96));
        QCOMPARE(p.Top, form->arrangePage().canvas().SnapToGrid(50.0 / 96));
        QCOMPARE(p.Width, 130 / MmPerInch); // the default size is not snapped
        QCOMPARE(p.Height, 100 / MmPerInch);
        QCOMPARE(form->Doc->records().SelectedPlacement, 0);

        // The strip's selection beyond the collection (pictures removed since) adds nothing.
        form->Doc->recordsForSetUp().SelectedPicture = 7;
        form->arrangePage().canvas().dropPicture(source, &mime, 10, 10);
        form->PaintBox1DblClick();
        QCOMPARE(form->Doc->records().Placements.size(), 1);

        form->Doc->recordsForSetUp().SelectedPicture = 0;
        form->PaintBox1DblClick();
        QCOMPARE(form->Doc->records().Placements.size(), 2);
        QCOMPARE(form->Doc->records().Placements.at(1).Left, 0.0);
        QCOMPARE(form->Doc->records().SelectedPlacement, 1);
    }

    void freeTextIsThePicturesCaption()
    {
        auto form = makeForm();
        const int a = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        const int b = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/b.png"), grey(8, 8));
        place(*form, a, 0, 0, 1, 1);
        place(*form, b, 2, 0, 1, 1);
        place(*form, a, 4, 0, 1, 1, 2);
        form->Doc->recordsForSetUp().SelectedPlacement = 2;
        form->arrangePage().typeCaption(QStringLiteral("Summer"));
        QCOMPARE(form->Doc->records().Pictures[0].Comment, QStringLiteral("Summer"));
        QVERIFY(form->Doc->records().Pictures[1].Comment.isEmpty());
        QVERIFY(form->arrangePage().captionTimer().isActive());

        // Selecting the other placement of the same picture shows the same text.
        press(*form, QPoint(10, 10));
        QCOMPARE(form->arrangePage().shownCaption(), QStringLiteral("Summer"));

        // A caption longer than a line edit's usual limit is shown and kept whole.
        const QString longCaption = QString(40000, QLatin1Char('w')) + QStringLiteral("end");
        form->Doc->recordsForSetUp().Pictures[0].Comment = longCaption;
        form->arrangePage().showSelectionCaption();
        QCOMPARE(form->arrangePage().shownCaption(), longCaption);
        QCOMPARE(form->Doc->records().Pictures[0].Comment, longCaption);
    }

    void cutCheckAndDelete()
    {
        auto form = makeForm();
        const int a = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(6, 4));
        place(*form, a, 0, 0, 1, 1);
        place(*form, a, 2, 0, 1, 1);
        press(*form, QPoint(10, 10));
        QCOMPARE(form->Doc->records().SelectedPlacement, 1);
        form->arrangePage().chooseCut(true);
        QCOMPARE(form->Doc->records().Placements.at(1).Cut, 1);

        form->action(Command::DeleteSelection)->trigger();
        QCOMPARE(form->Doc->records().Placements.size(), 1);
        QCOMPARE(form->Doc->records().Placements.at(0).Left, 2.0);
        QCOMPARE(form->Doc->records().SelectedPlacement, -1);
        QCOMPARE(form->Doc->records().PictureCount(), 1);
        QVERIFY(!form->action(Command::SizeAndPosition)->isEnabled());
    }

    void pageChangeDropsTheSelection()
    {
        auto form = makeForm();
        const int a = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        form->arrangePage().setPageCount(2);
        form->arrangePage().showPage(2);
        place(*form, a, 0, 0, 1, 1, 1);
        place(*form, a, 0, 0, 1, 1, 2);
        press(*form, QPoint(10, 10));
        QCOMPARE(form->Doc->records().SelectedPlacement, 1);
        QVERIFY(form->action(Command::DeleteSelection)->isEnabled());

        // Page 2's selection cannot be seen on page 1, so nothing may act on it.
        form->printPage().showPage(1);
        QCOMPARE(form->arrangePage().shownPage(), 1);
        QCOMPARE(form->Doc->records().SelectedPlacement, -1);
        QVERIFY(!form->action(Command::DeleteSelection)->isEnabled());
        QVERIFY(!form->action(Command::SizeAndPosition)->isEnabled());
        form->arrangePage().deleteSelection();
        QCOMPARE(form->Doc->records().Placements.size(), 2);

        // Lowering the page count moves the current page, with the same effect.
        form->arrangePage().showPage(2);
        press(*form, QPoint(10, 10));
        QCOMPARE(form->Doc->records().SelectedPlacement, 1);
        form->arrangePage().setPageCount(1);
        QCOMPARE(form->Doc->records().SelectedPlacement, -1);
    }

    void sizeInfoText()
    {
        auto form = makeForm();
        const int a = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        place(*form, a, 0.59, 0.59, 5.12, 3.94);
        form->Doc->recordsForSetUp().SelectedPlacement = 0;
        form->showTab(TMainForm::Tab::Arrange);
        form->arrangePage().showSizeInfo();
        QCOMPARE(form->statusText(),
                 QStringLiteral("( x: 0.59inch; y: 0.59inch ) ( Width: 5.12inch; Height: 3.94inch ) "));
    }

    void arrangeLaysOnlyTheCurrentPageIntoTheGrid()
    {
        auto form = makeForm();
        const int a = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), grey(8, 8));
        for (int i = 0; i < 3; ++i)
            place(*form, a, 7, 7, 1, 1, 1);
        const Placement other1 = place(*form, a, 0.3, 0.4, 1, 2, 2);
        place(*form, a, 0.3, 0.4, 1, 2, 2);
        form->OrdeneBtnClick(); // n = 5: 2 columns x 3 rows
        const double margin = 15 / MmPerInch, space = 5 / MmPerInch;
        const double cw = (8 - 2 * margin - space) / 2, ch = (11 - 2 * margin - 2 * space) / 3;
        QCOMPARE(form->Doc->records().Placements.at(0).Left, margin);
        QCOMPARE(form->Doc->records().Placements.at(1).Left, margin + cw + space);
        QCOMPARE(form->Doc->records().Placements.at(1).Top, margin);
        QCOMPARE(form->Doc->records().Placements.at(2).Left, margin);
        QCOMPARE(form->Doc->records().Placements.at(2).Top, margin + ch + space);
        QCOMPARE(form->Doc->records().Placements.at(2).Width, cw);
        QCOMPARE(form->Doc->records().Placements.at(2).Height, ch);
        QVERIFY(std::memcmp(&form->Doc->records().Placements.at(3), &other1, sizeof other1) == 0);

        // Margins wider than the page: nothing is moved.
        form->arrangePage().options().MarginEd->setValue(100);
        const Placement before = form->Doc->records().Placements.at(0);
        form->OrdeneBtnClick();
        QVERIFY(std::memcmp(&form->Doc->records().Placements.at(0), &before, sizeof before) == 0);
    }

    void addAllPicturesCascades()
    {
        auto form = makeForm();
        int last = 0;
        for (int i = 0; i < 3; ++i)
            last = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p%1.png").arg(i), grey(8, 8));
        form->action(Command::AddAllPictures)->trigger();
        QCOMPARE(form->Doc->records().Placements.size(), 3);
        const double expected[] = {0, 1.7778, 3.5556}; // 8-inch page
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(qRound(form->Doc->records().Placements.at(i).Left * 1e4), qRound(expected[i] * 1e4));
            QCOMPARE(qRound(form->Doc->records().Placements.at(i).Top * 1e4), qRound(expected[i] * 1e4));
        }
        QCOMPARE(form->Doc->records().SelectedPlacement, 2);
        QCOMPARE(form->Doc->records().Placements.at(2).PictureId, last);
    }
};

SGA_TEST(TestPlacementEditing)
#include "tst_placementediting.moc"
