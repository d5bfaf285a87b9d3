#include "arrange/OrderSheetMaker.h"

#include "arrange/OrderSheet.h"
#include "arrange/OrderSheetDialog.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"

#include <QCoreApplication>

namespace {
struct OrderSheetMakerText {
    Q_DECLARE_TR_FUNCTIONS(OrderSheetMakerText)
};

std::vector<PrintSize> AllPrintSizes()
{
    std::vector<PrintSize> sizes = BuiltInPrintSizes();
    const UserPresets own = LoadUserPrintSizes(UserPrintSizeFolder());
    sizes.insert(sizes.end(), own.Sizes.begin(), own.Sizes.end());
    return sizes;
}
} // namespace

void MakeOrderSheets(SheetContext &c)
{
    const QString caption = OrderSheetMakerText::tr("Order sheets");
    const TArrangement &r = c.Doc.records();
    const int selected = !c.Selected.empty() ? c.Selected.front()
        : c.Doc.hasSelection()               ? c.Doc.selectedPictureIndex()
                                             : r.SelectedPicture;
    OrderSheetDialog dialog(r.Pictures, selected, c.Sheet, AllPrintSizes(), c.Parent);
    // The list kept in the arrangement comes back to be changed and printed again.
    dialog.setLines(r.Orders);
    const PrintSheetSettings kept = LoadPrintSheetSettings();
    dialog.setSpacing(SheetSpacing{kept.Margin, kept.Gap});
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return;
    QualityFailures failures;
    const OrderPlacement placed
        = PlaceOrders(c.Doc, dialog.lines(), c.Sheet, dialog.spacing(), c.Paper, caption, &failures);
    if (!placed.Unread.isEmpty())
        Dialogs::messageBox(c.Parent,
            OrderSheetMakerText::tr("These pictures could not be read; their rows were left out:")
                + QStringLiteral("\n\n") + placed.Unread.join(QLatin1Char('\n')),
            caption, Dialogs::Icon::Warning);
    if (!placed.Error.isEmpty()) {
        Dialogs::messageBox(c.Parent, placed.Error, caption, Dialogs::Icon::Warning);
        return;
    }
    c.reportQuality(failures);
    c.showStatus(OrderSheetMakerText::tr("%1 prints placed on %2 sheets (pages %3 to %4)")
                     .arg(placed.Placed.Placed)
                     .arg(placed.Sheets)
                     .arg(placed.Placed.FirstPage)
                     .arg(placed.Placed.LastPage));
}
