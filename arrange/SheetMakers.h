#pragma once
// The kinds of sheet the arrange page offers in its "Sheets" menu: print
// sheets, contact sheets, and whatever comes next. Each is a dialog, a pure
// layout and one document operation (ArrangementDocument::placeSheet) in files
// of its own, and one line of the table below; the page builds its menu from
// the table and hands each maker the same context.
#include "arrange/SheetLayout.h"
#include "document/ArrangementDocument.h"

#include <QString>

#include <atomic>
#include <functional>
#include <span>
#include <vector>

class QWidget;
class TPrinter;

// What a sheet maker works with. The collection is read through Doc.records();
// the print sizes come from arrange/PrintSizes.
struct SheetContext {
    explicit SheetContext(ArrangementDocument &doc)
        : Doc(doc)
    {
    }
    ArrangementDocument &Doc;
    QWidget *Parent = nullptr; // the dialog's and the messages' parent
    PageGeometry Paper;        // the arrangement's page, printer pixels
    SheetArea Sheet;           // the printer's paper and its printable area, mm
    std::vector<int> Selected; // collection entries selected in the picture list, in order
    // Given the least margins of a borderless paper; nullptr leaves the printer alone.
    TPrinter *Printer = nullptr;
    bool PrinterProfile = false; // the print converts the pictures to a printer profile
    std::function<void(const QString &)> ShowStatus;
    // Tells of pictures that could not be enlarged to the minimum quality.
    std::function<void(const QualityFailures &)> ReportQuality;

    // Long work (reading files) on a worker thread while the window counts its
    // steps and offers Cancel: work(cancel, stepDone(n, total)). True when
    // cancelled. Without a hook the work runs here, uncancelled.
    using Work = std::function<void(const std::atomic<bool> *cancel, const std::function<void(int, int)> &stepDone)>;
    std::function<bool(const QString &title, int steps, const std::function<QString(int, int)> &stepText,
                       const Work &work)>
        RunLongHook;
    bool runLong(const QString &title, int steps, const std::function<QString(int, int)> &stepText,
                 const Work &work) const;
    void showStatus(const QString &text) const;
    void reportQuality(const QualityFailures &failures) const;
};

struct SheetMaker {
    const char *Id;      // stable name, for tests and scripts
    const char *Text;    // menu entry, translated in the context "SheetMakers"
    const char *ToolTip; // likewise
    void (*Make)(SheetContext &context);
};

// Every sheet maker, in menu order.
[[nodiscard]] std::span<const SheetMaker> SheetMakers();
// The maker of that id, or nullptr.
[[nodiscard]] const SheetMaker *FindSheetMaker(const QString &id);
