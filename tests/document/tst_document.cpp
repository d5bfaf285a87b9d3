#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"

#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <functional>

using DocStep = std::function<void(ArrangementDocument &)>;
Q_DECLARE_METATYPE(DocStep)
using C = ArrangementDocument::Change;

namespace {
DIB grey(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    std::memset(d.Bits, 128, d.Info->biSizeImage);
    return d;
}

// 8 x 11 inches at 600 dpi, seen at 96 dpi and 100 %.
PageGeometry paper() { return {4800, 6600, 600, 600, 96, 100}; }

// A sheet of one frame per entry of `sheets`, each showing `picture`.
SheetPlan framesOn(std::vector<int> sheets, int picture = 0, bool turned = false)
{
    SheetPlan plan;
    for (int sheet : sheets)
        plan.Frames.push_back(SheetPlanFrame{picture, turned, 0.5, 0.5, 2, 3, sheet, true, {}, {}});
    return plan;
}

ArrangementOptions withGrid(const ArrangementDocument &doc, double mm)
{
    ArrangementOptions o = doc.options();
    o.Grid = mm;
    return o;
}
} // namespace

// Each operation is one undo step (or none) and tells once what it changed.
class TestArrangementDocument : public QObject
{
    Q_OBJECT
private slots:
    void operationsTellExactlyWhatChanged_data()
    {
        QTest::addColumn<DocStep>("step");
        QTest::addColumn<int>("changes");
        QTest::addColumn<int>("undoSteps");
        auto row = [](const char *name, DocStep step, ArrangementDocument::Changes what, int steps) {
            QTest::newRow(name) << step << int(what) << steps;
        };
        row("option edited", [](auto &d) { d.setOptions(withGrid(d, 7), "Grid width"); }, C::Options, 1);
        row("option edited to its value", [](auto &d) { d.setOptions(d.options(), "Grid width"); }, {}, 0);
        row("option beyond its edit's range held", [](auto &d) { d.setOptions(withGrid(d, 1e9), "Grid"); }, C::Options,
            1);
        row("settings restored", [](auto &d) { d.resetOptions(withGrid(d, 9)); }, C::Options, 0);
        row("page count", [](auto &d) { d.setPageCount(3); }, C::Pages, 0);
        row("page away from the selection", [](auto &d) { d.setCurrentPage(2); }, C::Pages | C::Selection, 0);
        row("picture added", [](auto &d) {
            const auto s = d.step("Add picture");
            d.addDecodedPicture("/p/c.bmp", DecodedPicture{grey(5, 5), RecipeOfDib(grey(1, 1)), false, {}});
        }, C::Collection | C::Pictures, 1);
        row("picture that gave no pixels", [](auto &d) { d.addPictureFiles({"/nowhere/x.png"}, "Add"); }, {}, 0);
        row("picture deleted", [](auto &d) { d.deletePictures({0}, "Delete pictures"); },
            C::Collection | C::Pictures | C::Placements | C::Selection, 1);
        row("pictures swapped", [](auto &d) { d.swapPictures(0, 1, "Move downward"); }, C::Collection, 1);
        row("strip picture chosen", [](auto &d) { d.selectPicture(1); }, C::Selection, 0);
        row("picture placed", [](auto &d) { d.placePicture(1, 1, 1, paper(), nullptr); },
            C::Placements | C::Selection, 1);
        // Brought to the front, but no undo step: selecting is no change of its own.
        row("placement behind selected", [](auto &d) { d.selectPlacement(0); }, C::Selection | C::Placements, 0);
        row("selection cleared", [](auto &d) { d.clearSelection(); }, C::Selection, 0);
        row("placement deleted", [](auto &d) { d.deleteSelectedPlacement("Delete"); }, C::Placements | C::Selection,
            1);
        row("frame typed", [](auto &d) {
            Placement p = d.records().Placements.at(1);
            p.Left = 3;
            d.setSelectedFrame(p, "Size and position");
        }, C::Placements, 1);
        row("cut", [](auto &d) { d.setSelectedCut(true, "Cut"); }, C::Placements, 1);
        row("caption typed", [](auto &d) { d.setSelectedCaption("Beach", "Caption"); }, C::Captions, 1);
        row("dragged", [](auto &d) {
            d.beginDrag();
            Placement p = d.records().Placements.at(1);
            p.Top = 4;
            d.dragTo(p);
            d.endDrag("Move picture", paper(), nullptr);
        }, C::Placements, 1);
        row("frames laid out", [](auto &d) {
            Placement p = d.records().Placements.at(0);
            p.Width = 3;
            d.setFrames({{0, p}}, "Arrange automatically", paper(), nullptr);
        }, C::Placements, 1);
        row("turned", [](auto &d) { d.turnSelectedPicture(true, "Rotate to the left"); }, C::Pictures, 1);
        row("sheet placed", [](auto &d) { d.placeSheet(framesOn({0, 1}), "Print sheet", paper(), nullptr); },
            C::Placements, 1);
        // The frames turn the picture: no entry is added to the collection.
        row("sheet of turned frames", [](auto &d) { d.placeSheet(framesOn({0, 0}, 1, true), "Print sheet", paper(), nullptr); },
            C::Placements, 1);
        row("sheet of a picture not in the collection",
            [](auto &d) { d.placeSheet(framesOn({0}, 7), "Print sheet", paper(), nullptr); }, {}, 0);
        row("cells with headers on a fresh page", [](auto &d) {
            SheetPlan plan = framesOn({0});
            plan.Frames[0].Caption.Lines = QStringList{"a.bmp"};
            plan.Headers[0].Lines = QStringList{"Holiday"};
            plan.FreshPage = plan.ShowFirstPage = true;
            d.placeSheet(plan, "Contact sheet", paper(), nullptr);
        }, C::Placements | C::Pages | C::Selection, 1);
        row("stand-in picture", [](auto &d) {
            const auto s = d.step("Contact sheet");
            d.addStandInPicture("/p/broken.jpg", grey(4, 3));
        }, C::Collection | C::Pictures, 1);
        row("new arrangement", [](auto &d) { d.reset(); },
            C::Collection | C::Pictures | C::Placements | C::Selection, 0);
    }
    void operationsTellExactlyWhatChanged()
    {
        QFETCH(DocStep, step);
        QFETCH(int, changes);
        QFETCH(int, undoSteps);
        ArrangementDocument doc;
        ArrangementOptions o = doc.options();
        o.EnhanceQual = false;
        doc.resetOptions(o);
        doc.setPageCount(2);
        TArrangement &r = doc.recordsForSetUp();
        const int a = r.appendPicture("/p/a.bmp", grey(8, 6));
        const int b = r.appendPicture("/p/b.bmp", grey(6, 8));
        *r.Placements.Append() = Placement{1, 1, 2, 2, 1, a, 0, {}, {}};
        *r.Placements.Append() = Placement{2, 2, 2, 2, 1, b, 0, {}, {}};
        r.SelectedPlacement = 1;
        doc.undo().reset();

        QSignalSpy told(&doc, &ArrangementDocument::changed);
        step(doc);
        QCOMPARE(told.size(), changes ? 1 : 0);
        if (changes)
            QCOMPARE(int(told.at(0).at(0).value<ArrangementDocument::Changes>()), changes);
        QCOMPARE(doc.undoStack()->count(), undoSteps);
        QCOMPARE(doc.isModified(), undoSteps > 0);
        if (undoSteps == 0)
            return;
        // Undo tells everything once, and gives back the bytes the file would hold.
        doc.undoStack()->undo();
        QCOMPARE(told.size(), 2);
        QCOMPARE(told.at(1).at(0).value<ArrangementDocument::Changes>(), ArrangementDocument::Everything);
        QVERIFY(!doc.isModified());
    }

    // Where a sheet's frames land: on the current page and after it, or from
    // the first unused page; the page count grows to hold them; a sheet that
    // would run past the last page changes nothing.
    void sheetPages_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("fresh");
        QTest::addColumn<std::vector<int>>("sheets");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<std::vector<int>>("used"); // pages holding a frame beside 1 and 2
        QTest::newRow("fresh: the first free pages, before a used one")
            << 1 << true << std::vector<int> { 0, 1 } << 3 << 4 << 5 << std::vector<int> { 5 };
        QTest::newRow("fresh: past a gap too small")
            << 1 << true << std::vector<int> { 0, 1 } << 5 << 6 << 6 << std::vector<int> { 4 };
        QTest::newRow("from the current page on")
            << 2 << false << std::vector<int> { 0, 1, 1 } << 2 << 3 << 4 << std::vector<int> {};
        QTest::newRow("pages added") << 3 << false << std::vector<int> { 0, 3 } << 3 << 6 << 6 << std::vector<int> {};
        QTest::newRow("fresh: after the used pages")
            << 1 << true << std::vector<int> { 0, 2 } << 3 << 5 << 5 << std::vector<int> {};
        QTest::newRow("fresh: the current page is empty")
            << 4 << true << std::vector<int> { 0 } << 4 << 4 << 4 << std::vector<int> {};
        QTest::newRow("onto the last page")
            << 4 << false << std::vector<int> { 996 } << 4 << 1000 << 1000 << std::vector<int> {};
        QTest::newRow("past the last page")
            << 4 << false << std::vector<int> { 997 } << 0 << 0 << 4 << std::vector<int> {};
        QTest::newRow("a sheet before the first")
            << 4 << false << std::vector<int> { -1 } << 0 << 0 << 4 << std::vector<int> {};
    }
    void sheetPages()
    {
        QFETCH(int, current);
        QFETCH(bool, fresh);
        QFETCH(std::vector<int>, sheets);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, pageCount);
        QFETCH(std::vector<int>, used);
        ArrangementDocument doc;
        TArrangement &r = doc.recordsForSetUp();
        const int a = r.appendPicture("/p/a.bmp", grey(8, 6));
        *r.Placements.Append() = Placement{1, 1, 2, 2, 1, a, 0, {}, {}};
        *r.Placements.Append() = Placement{1, 1, 2, 2, 2, a, 0, {}, {}};
        for (int page : used)
            *r.Placements.Append() = Placement { 1, 1, 2, 2, page, a, 0, {}, {} };
        doc.setPageCount(std::max(4, used.empty() ? 0 : used.back()));
        doc.setCurrentPage(current);
        doc.undo().reset();
        SheetPlan plan = framesOn(sheets);
        plan.FreshPage = fresh;
        const SheetPlaced placed = doc.placeSheet(plan, "Sheet", paper(), nullptr);
        QCOMPARE(placed.Refused == SheetRefusal::None, first > 0);
        QCOMPARE(doc.pageCount(), pageCount);
        QCOMPARE(doc.undoStack()->count(), first > 0 ? 1 : 0);
        if (first == 0)
            return;
        QCOMPARE(placed.FirstPage, first);
        QCOMPARE(placed.LastPage, last);
        QCOMPARE(doc.records().Placements.at(2 + int(used.size())).Page, first + sheets.front());
    }
};
SGA_TEST(TestArrangementDocument)

#include "tst_document.moc"
