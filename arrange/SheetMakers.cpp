#include "arrange/SheetMakers.h"

#include "arrange/ContactSheetMaker.h"
#include "arrange/OrderSheetMaker.h"
#include "arrange/PrintSheetMaker.h"
#include "arrange/TestStripMaker.h"

#include <QtGlobal>

namespace {
const SheetMaker Makers[] = {
    { "print-sheets", QT_TRANSLATE_NOOP("SheetMakers", "&Print sheets..."),
        QT_TRANSLATE_NOOP("SheetMakers", "Fills pages with frames of standard print and ID photo sizes, ready to cut"),
        MakePrintSheets },
    { "contact-sheet", QT_TRANSLATE_NOOP("SheetMakers", "&Contact sheet..."),
        QT_TRANSLATE_NOOP("SheetMakers",
            "Every picture of the collection or of a folder as a small captioned frame, in rows and columns"),
        MakeContactSheet },
    { "test-strip", QT_TRANSLATE_NOOP("SheetMakers", "&Test strip..."),
        QT_TRANSLATE_NOOP(
            "SheetMakers", "One picture in labelled steps of brightness or contrast, to find what prints best"),
        MakeTestStrip },
    { "order-sheets", QT_TRANSLATE_NOOP("SheetMakers", "&Order sheets..."),
        QT_TRANSLATE_NOOP("SheetMakers",
            "The prints of many orders (a class, a team) from a list or a CSV file, packed on the fewest sheets"),
        MakeOrderSheets },
};
} // namespace

std::span<const SheetMaker> SheetMakers() { return Makers; }

const SheetMaker *FindSheetMaker(const QString &id)
{
    for (const SheetMaker &maker : Makers)
        if (id == QLatin1String(maker.Id))
            return &maker;
    return nullptr;
}

bool SheetContext::runLong(const QString &title, int steps, const std::function<QString(int, int)> &stepText,
                           const Work &work) const
{
    if (RunLongHook)
        return RunLongHook(title, steps, stepText, work);
    work(nullptr, [](int, int) {});
    return false;
}

void SheetContext::showStatus(const QString &text) const
{
    if (ShowStatus)
        ShowStatus(text);
}

void SheetContext::reportQuality(const QualityFailures &failures) const
{
    if (ReportQuality && !failures.empty())
        ReportQuality(failures);
}
