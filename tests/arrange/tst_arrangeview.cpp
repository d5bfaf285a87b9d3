#include "common/WindowParts.h"
#include "arrange/ArrangeView.h"
#include "arrange/Geometry.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/ColorBox.h"
#include "platform/DeviceContext.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <limits>
#include <memory>

namespace {
constexpr QRgb Grey = 0xFF808080;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;

// A 24-bit picture whose columns [0, left) are red, [right, width) blue and the
// rest green, so the drawn part of a cut shows which columns were taken.
DIB bandedPicture(int width, int height, int left, int right)
{
    DIB d;
    newdib(&d, width, height, 24, nullptr, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setpixel(d, x, y, x < left ? RGB(255, 0, 0) : x >= right ? RGB(0, 0, 255) : RGB(0, 255, 0));
    return d;
}

Placement *place(TMainForm &form, int pictureId, double left, double top, double width, double height, int page = 1,
                 bool cut = false)
{
    Placement *p = form.Doc->recordsForSetUp().Placements.Append();
    p->PictureId = pictureId;
    p->Left = left;
    p->Top = top;
    p->Width = width;
    p->Height = height;
    p->Page = page;
    p->Cut = cut ? 1 : 0;
    return p;
}

// Paints the form's arrange view onto a grey image of the given size.
QImage paintView(TMainForm &form, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Grey);
    {
        TDC dc(&image);
        form.arrangePage().canvas().paintArrangeView(dc, image.rect());
    }
    return image;
}

std::unique_ptr<TMainForm> makeForm(int zoom)
{
    auto form = std::make_unique<TMainForm>();
    form->printer().setFixedPage(4800, 6600, 600, 600);
    form->ScreenDpiOverride = 96;
    form->arrangePage().setZoom(zoom);
    return form;
}

QString describe(const QImage &image, QPoint p)
{
    return QStringLiteral("pixel (%1, %2) is #%3").arg(p.x()).arg(p.y()).arg(image.pixel(p) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}
} // namespace

class TestArrangeView : public QObject
{
    Q_OBJECT
private slots:

    void whitePageOfTheComputedSize()
    {
        auto form = makeForm(25);
        const QImage image = paintView(*form, QSize(300, 300));
        QCOMPARE(image.pixel(0, 0), White);
        QCOMPARE(image.pixel(191, 263), White);
        QCOMPARE(image.pixel(192, 0), Grey);
        QCOMPARE(image.pixel(0, 264), Grey);
    }

    void viewResizesBeforePainting()
    {
        auto form = makeForm(25);
        QVERIFY(!form->arrangePage().canvas().syncArrangeViewSize());
        QCOMPARE(form->arrangePage().canvas().ViewBox->size(), QSize(192, 264));
        QVERIFY(form->arrangePage().canvas().syncArrangeViewSize());
        form->arrangePage().setZoom(100); // resized at once to keep the view's point
        QCOMPARE(form->arrangePage().canvas().ViewBox->size(), QSize(768, 1056));
    }

    // A paint box of no size gets no paint event: showing the window must size both.
    void shownWindowSizesTheViews()
    {
        auto form = makeForm(25);
        form->showTab(TMainForm::Tab::Arrange);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_COMPARE(form->arrangePage().canvas().ViewBox->size(), QSize(192, 264));
        QTRY_COMPARE(form->arrangePage().strip().StripBox->height(), 1);
        QCOMPARE(form->arrangePage().strip().StripBox->width(), form->arrangePage().strip().ScrollArea->viewport()->width());
        form->arrangePage().setZoom(50);
        QTRY_COMPARE(form->arrangePage().canvas().ViewBox->size(), QSize(384, 528));
    }

    // Zooming keeps the selection in view rather than jumping to the top-left.
    void zoomKeepsTheSelectionInView()
    {
        auto form = makeForm(50);
        DIB dib;
        QVERIFY(newdib(&dib, 8, 8, 24, nullptr, 0));
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.bmp"), dib);
        *form->Doc->recordsForSetUp().Placements.Append() = Placement{6, 9, 1, 1, 1, id, 0, {}, {}};
        form->Doc->selectPlacement(0);
        form->showTab(TMainForm::Tab::Arrange);
        form->resize(900, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->arrangePage().setZoom(200);
        QScrollArea *area = form->arrangePage().canvas().ScrollArea;
        const QPoint centre(Geometry::ToView(6.5, 200, 96), Geometry::ToView(9.5, 200, 96));
        const QRect shown(QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()),
                          area->viewport()->size());
        QVERIFY2(shown.contains(centre), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())));
    }

    void gridDots_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("dot");
        // 5 mm at 96 dpi and zoom 100 is 18.897... pixels: dots at 0, 18, 37, 56, ...
        QTest::newRow("page corner") << QPoint(0, 0) << true;
        QTest::newRow("first column, first row") << QPoint(18, 0) << true;
        QTest::newRow("second step truncated") << QPoint(37, 56) << true;
        QTest::newRow("between dots") << QPoint(19, 0) << false;
        QTest::newRow("rounding would put it here") << QPoint(38, 0) << false;
        // 40 steps fit the 8-inch width: the last column is at trunc(40 * 18.897...) = 755.
        QTest::newRow("last column") << QPoint(755, 0) << true;
        QTest::newRow("beyond the last column") << QPoint(767, 0) << false;
    }
    void gridDots()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, dot);
        auto form = makeForm(100);
        form->arrangePage().options().ShowGridCheck->setChecked(true);
        const QImage image = paintView(*form, QSize(768, 1056));
        QVERIFY2((image.pixel(at) == Black) == dot, qPrintable(describe(image, at)));
        QVERIFY(image.pixel(at) == Black || image.pixel(at) == White);
    }

    void gridDotsOnlyInsideClip()
    {
        auto form = makeForm(100);
        form->arrangePage().options().ShowGridCheck->setChecked(true);
        QImage image(768, 1056, QImage::Format_RGB32);
        image.fill(Grey);
        {
            TDC dc(&image);
            form->arrangePage().canvas().paintArrangeView(dc, QRect(30, 30, 100, 100));
        }
        QCOMPARE(image.pixel(37, 37), Black);
        QCOMPARE(image.pixel(18, 18), White);
    }

    // Frame: 0.5, 0.25 inch, 1 x 1 inch = (48, 24) 96 x 96 pixels at zoom 100.
    // The 400 x 300 picture is red in columns 0..49, blue in 350..399.
    void placementFittedAndCut_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("fit: left band at the frame's corner") << false << QPoint(48, 24) << Red;
        QTest::newRow("fit: right band at the frame's right edge") << false << QPoint(143, 24) << Blue;
        QTest::newRow("fit: middle") << false << QPoint(96, 60) << Green;
        QTest::newRow("fit: last picture row") << false << QPoint(96, 95) << Green;
        QTest::newRow("fit: lower quarter of the frame stays white") << false << QPoint(96, 96) << White;
        QTest::newRow("cut: bands cut away on the left") << true << QPoint(48, 24) << Green;
        QTest::newRow("cut: bands cut away on the right") << true << QPoint(143, 119) << Green;
        QTest::newRow("cut: outside the frame") << true << QPoint(144, 60) << White;
    }
    void placementFittedAndCut()
    {
        QFETCH(bool, cut);
        QFETCH(QPoint, at);
        QFETCH(QRgb, colour);
        auto form = makeForm(100);
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/pics/bands.png"), bandedPicture(400, 300, 50, 350));
        place(*form, id, 0.5, 0.25, 1.0, 1.0, 1, cut);
        const QImage image = paintView(*form, QSize(768, 1056));
        QVERIFY2(image.pixel(at) == colour, qPrintable(describe(image, at)));
    }

    void laterPlacementDrawnOver()
    {
        auto form = makeForm(100);
        const int red = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/r.png"), bandedPicture(96, 96, 96, 96));
        const int blue = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/b.png"), bandedPicture(96, 96, 0, 0));
        place(*form, red, 0, 0, 1, 1);
        place(*form, blue, 0.5, 0.5, 1, 1);
        const QImage image = paintView(*form, QSize(768, 1056));
        QCOMPARE(image.pixel(20, 20), Red);
        QCOMPARE(image.pixel(60, 60), Blue);
        QCOMPARE(image.pixel(140, 140), Blue);
    }

    void selectionMarks_data()
    {
        QTest::addColumn<bool>("dragging");
        QTest::newRow("idle: outline and handles") << false;
        QTest::newRow("dragging: inverting outline only") << true;
    }
    void selectionMarks()
    {
        QFETCH(bool, dragging);
        auto form = makeForm(100);
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/g.png"), bandedPicture(96, 96, 0, 96));
        place(*form, id, 0.5, 0.25, 1.0, 1.0);
        form->Doc->recordsForSetUp().SelectedPlacement = 0;
        form->arrangePage().canvas().Dragging = dragging ? 1 : 0;
        const QImage image = paintView(*form, QSize(768, 1056));

        // Frame (48, 24, 96, 96): the outline runs over the picture's edge pixels.
        const QRgb outline = dragging ? 0xFFFF00FF : Black; // green inverted by the not-xor pen
        QCOMPARE(image.pixel(70, 24), outline);
        QCOMPARE(image.pixel(143, 70), outline);
        QCOMPARE(image.pixel(70, 119), outline);
        QCOMPARE(image.pixel(70, 60), Green);

        const std::array<QPoint, 8> handles = {QPoint(48, 24),  QPoint(144, 24), QPoint(48, 120), QPoint(144, 120),
                                               QPoint(96, 24),  QPoint(96, 120), QPoint(48, 72),  QPoint(144, 72)};
        QCOMPARE(SelectionHandlePoints(48, 24, 96, 96), handles);
        for (const QPoint &h : handles) {
            // Each square covers h - 3 up to h + 2 in both directions.
            for (const QPoint &corner : {h + QPoint(-3, -3), h + QPoint(2, 2), h + QPoint(2, -3), h + QPoint(-3, 2)}) {
                if (dragging)
                    QVERIFY2(image.pixel(corner) != Black, qPrintable(describe(image, corner)));
                else
                    QVERIFY2(image.pixel(corner) == Black, qPrintable(describe(image, corner)));
            }
            if (!dragging)
                QVERIFY2(image.pixel(h + QPoint(-4, -4)) != Black, qPrintable(describe(image, h + QPoint(-4, -4))));
        }
    }

    void placementOnAnotherPage_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::newRow("not selected") << false;
        QTest::newRow("selected, still neither drawn nor marked") << true;
    }
    void placementOnAnotherPage()
    {
        QFETCH(bool, selected);
        auto form = makeForm(100);
        form->arrangePage().setPageCount(2);
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/g.png"), bandedPicture(96, 96, 0, 96));
        place(*form, id, 0.5, 0.25, 1.0, 1.0, 2);
        form->Doc->recordsForSetUp().SelectedPlacement = selected ? 0 : -1;
        QImage image = paintView(*form, QSize(768, 1056));
        QCOMPARE(image.pixel(70, 60), White);
        QCOMPARE(image.pixel(48, 24), White);
        QCOMPARE(image.pixel(45, 21), White);
        form->arrangePage().showPage(2);
        image = paintView(*form, QSize(768, 1056));
        QCOMPARE(image.pixel(70, 60), Green);
    }

    // "Choose font" opens the font dialog on the caption font; the choice is what
    // every drawing of the page uses, a cancel changes nothing.
    void chooseFontChangesTheCaptionFont()
    {
        auto form = makeForm(100);
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/g.png"), bandedPicture(192, 96, 0, 192));
        form->Doc->recordsForSetUp().Pictures[0].Comment = QStringLiteral("H");
        place(*form, id, 0, 0, 2.0, 1.0);
        form->arrangePage().options().BackgroundBox->setSelected(std::int32_t(RGB(255, 0, 0)));
        auto captionRows = [&] {
            const QImage image = paintView(*form, QSize(768, 1056));
            int rows = 0;
            for (int y = 0; y < 96; ++y)
                rows += image.pixel(96, y) == Red ? 1 : 0;
            return rows;
        };
        const int before = captionRows();

        DialogRecorder recorder;
        QFont offered;
        bool accept = false;
        recorder.handler.font = [&](QFont *font, QColor *color) {
            offered = *font;
            if (accept) {
                *font = QFont(QStringLiteral("DejaVu Serif"), 30, QFont::Bold);
                *color = QColor(0, 0, 255);
            }
            return accept;
        };
        recorder.install();
        form->arrangePage().options().FontBtn->click();
        QCOMPARE(offered.family(), QStringLiteral("Arial"));
        QCOMPARE(offered.pointSize(), 11);
        QCOMPARE(form->Doc->options().Font.Name, QStringLiteral("Arial"));

        accept = true;
        form->arrangePage().options().FontBtn->click();
        QCOMPARE(form->Doc->options().Font.Name, QStringLiteral("DejaVu Serif"));
        QCOMPARE(form->Doc->options().Font.Size, 30);
        QCOMPARE(form->Doc->options().Font.Style, std::uint8_t(1));
        QCOMPARE(form->Doc->options().Font.Color, std::int32_t(RGB(0, 0, 255)));
        QCOMPARE(form->Doc->options().Font.Name, QStringLiteral("DejaVu Serif"));
        const int after = captionRows();
        QVERIFY2(after > 2 * before, qPrintable(QStringLiteral("caption rows: %1, then %2").arg(before).arg(after)));
    }

    // Stored values at the ends of a double (or of an int, for the font size) must
    // not wrap any arithmetic: whatever lies out of range is simply not drawn.
    void absurdStoredValuesDrawNothingOutOfRange_data()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const double big = std::numeric_limits<double>::max();
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("points");
        QTest::newRow("left +inf") << inf << 0.5 << 1.0 << 1.0 << 11;
        QTest::newRow("left and width at the largest double") << big << 0.5 << big << 1.0 << 11;
        QTest::newRow("left -inf, width +inf") << -inf << 0.5 << inf << 1.0 << 11;
        QTest::newRow("top -largest, height +largest") << 0.5 << -big << 1.0 << big << 11;
        QTest::newRow("NaN everywhere") << qQNaN() << qQNaN() << qQNaN() << qQNaN() << 11;
        QTest::newRow("font of the lowest int size") << 0.5 << 0.5 << 1.0 << 1.0 << std::numeric_limits<int>::min();
        QTest::newRow("font of the highest int size") << 0.5 << 0.5 << 1.0 << 1.0 << std::numeric_limits<int>::max();
    }
    void absurdStoredValuesDrawNothingOutOfRange()
    {
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, points);
        auto form = makeForm(100);
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/g.png"), bandedPicture(96, 96, 0, 96));
        form->Doc->recordsForSetUp().Pictures[0].Comment = QStringLiteral("caption");
        place(*form, id, left, top, width, height);
        form->Doc->recordsForSetUp().SelectedPlacement = 0;
        ArrangementOptions o = form->Doc->options();
        o.Font.Size = points;
        form->Doc->resetOptions(o);
        for (int dragging : {0, 1}) {
            form->arrangePage().canvas().Dragging = dragging;
            const QImage image = paintView(*form, QSize(200, 200));
            QCOMPARE(image.pixel(199, 199), White);
        }
        form->arrangePage().canvas().Dragging = 0;
    }

    void zeroSizedFramesDoNotFail()
    {
        auto form = makeForm(10);
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/g.png"), bandedPicture(400, 300, 0, 400));
        place(*form, id, 0.1, 0.1, 0.001, 0.5, 1, true);
        place(*form, id, 0.1, 0.1, 0.5, 0.001, 1, true);
        place(*form, id, 0.1, 0.1, 0.0, 0.0, 1, false);
        place(*form, id, 0.1, 0.1, -1.0, -1.0, 1, true);
        form->Doc->recordsForSetUp().SelectedPlacement = 3;
        const QImage image = paintView(*form, QSize(100, 100));
        QCOMPARE(image.pixel(50, 50), White);
    }
};
SGA_TEST(TestArrangeView)

class TestPictureStrip : public QObject
{
    Q_OBJECT
private slots:
    void thumbRect_data()
    {
        QTest::addColumn<int>("pw");
        QTest::addColumn<int>("ph");
        QTest::addColumn<QRect>("expected");
        // W = 100: thumbnails fit a 96-pixel square, centred, one pixel right and down.
        QTest::newRow("landscape 400x300") << 400 << 300 << QRect(3, 15, 96, 72);
        QTest::newRow("portrait 300x400") << 300 << 400 << QRect(15, 3, 72, 96);
        QTest::newRow("square") << 50 << 50 << QRect(3, 3, 96, 96);
        QTest::newRow("odd remainder") << 97 << 33 << QRect(3, 35, 96, 32);
        QTest::newRow("too flat to show") << 10000 << 1 << QRect();
        QTest::newRow("no pixels") << 0 << 0 << QRect();
    }
    void thumbRect()
    {
        QFETCH(int, pw);
        QFETCH(int, ph);
        QFETCH(QRect, expected);
        QCOMPARE(StripThumbRect(100, 0, pw, ph), expected);
        if (!expected.isNull())
            QCOMPARE(StripThumbRect(100, StripCellTop(2, 100), pw, ph), expected.translated(0, 204));
    }

    void cellVisibility_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<bool>("visible");
        // W = 100, 150 visible rows.
        QTest::newRow("first cell, unscrolled") << 0 << 0 << true;
        QTest::newRow("starts on the last visible row") << 149 << 0 << true;
        QTest::newRow("starts just below") << 150 << 0 << false;
        QTest::newRow("ends on the scroll position") << 0 << 100 << false;
        QTest::newRow("ends one row into view") << 1 << 100 << true;
    }
    void cellVisibility()
    {
        QFETCH(int, top);
        QFETCH(int, scroll);
        QFETCH(bool, visible);
        QCOMPARE(StripCellVisible(top, 100, scroll, 150), visible);
    }

    void emptyStripIsOnePixelHigh()
    {
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        for (int i = 0; i < 3 && !form.arrangePage().strip().syncStripSize(); ++i) {
        }
        QVERIFY(form.arrangePage().strip().syncStripSize());
        QCOMPARE(form.arrangePage().strip().StripBox->height(), 1);
        QCOMPARE(form.arrangePage().strip().StripBox->width(), form.arrangePage().strip().ScrollArea->viewport()->width());
    }

    void paintsVisibleCells()
    {
        TArrangement doc;
        for (int i = 0; i < 3; ++i)
            doc.appendPicture(QStringLiteral("/p%1.png").arg(i), bandedPicture(400, 300, 0, 400));
        doc.SelectedPicture = 1;
        QImage image(100, 306, QImage::Format_RGB32);
        image.fill(Grey);
        {
            TDC dc(&image);
            PaintPictureStrip(dc, doc, 100, 0, 150);
        }
        // Cell 0: thumbnail (3, 15) 96 x 72, the rest of the cell untouched.
        QCOMPARE(image.pixel(3, 15), Green);
        QCOMPARE(image.pixel(98, 86), Green);
        QCOMPARE(image.pixel(2, 15), Grey);
        QCOMPARE(image.pixel(50, 87), Grey);
        // Cell 1 at 102, selected: black-edged blue rectangle over the cell and its gap.
        QCOMPARE(image.pixel(0, 102), Black);
        QCOMPARE(image.pixel(99, 203), Black);
        QCOMPARE(image.pixel(1, 103), Blue);
        QCOMPARE(image.pixel(50, 202), Blue);
        QCOMPARE(image.pixel(50, 150), Green);
        // Cell 2 at 204 lies below the visible rows: skipped.
        QCOMPARE(image.pixel(50, 250), Grey);
    }
};
SGA_TEST(TestPictureStrip)

#include "tst_arrangeview.moc"
