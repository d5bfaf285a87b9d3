#include "arrange/TestStripMaker.h"

#include "arrange/TestStripDialog.h"
#include "document/PageGeometry.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"

#include <QCoreApplication>

namespace {
struct TestStripMakerText {
    Q_DECLARE_TR_FUNCTIONS(TestStripMakerText)
};
} // namespace

void MakeTestStrip(SheetContext& c)
{
    const TArrangement& r = c.Doc.records();
    if (r.PictureCount() == 0) {
        Dialogs::messageBox(c.Parent, TestStripMakerText::tr("Add pictures to the collection first."),
            TestStripMakerText::tr("Test strip"), Dialogs::Icon::Information);
        return;
    }
    const int selected = !c.Selected.empty() ? c.Selected.front()
        : c.Doc.hasSelection()               ? c.Doc.selectedPictureIndex()
                                             : r.SelectedPicture;
    TestStripDialog dialog(r.Pictures, selected, c.PrinterProfile, c.Parent);
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return;
    const TestStripSettings settings = dialog.settings();
    const QSizeF printable = c.Sheet.Printable.size() / MmPerInch;
    const SheetPlan plan = TestStripPlan(settings, printable);
    if (plan.Frames.empty()) {
        Dialogs::messageBox(c.Parent, TestStripMakerText::tr("The paper is too small for a test strip."),
            TestStripMakerText::tr("Test strip"), Dialogs::Icon::Warning);
        return;
    }
    QualityFailures failures;
    const SheetPlaced placed = c.Doc.placeSheet(plan, TestStripMakerText::tr("Test strip"), c.Paper, &failures);
    if (placed.Refused != SheetRefusal::None) {
        Dialogs::messageBox(c.Parent, TestStripMakerText::tr("The arrangement has no page left for the test strip."),
            TestStripMakerText::tr("Test strip"), Dialogs::Icon::Warning);
        return;
    }
    c.reportQuality(failures);
    std::vector<KeptStripStep> kept;
    for (const TestStripStep& s : TestStripSteps(settings))
        kept.push_back({ s.Brightness, s.Contrast, s.Intent });
    SaveTestStripSteps(kept);
    c.showStatus(
        TestStripMakerText::tr("Test strip of %1 steps placed on page %2").arg(placed.Placed).arg(placed.FirstPage));
}
