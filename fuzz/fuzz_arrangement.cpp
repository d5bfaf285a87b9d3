// Any bytes as an arrangement file opened in the main window, with small
// pictures of every format beside it, then its current page drawn at the
// arrange view's and at the printer's scale.
#include "FuzzSupport.h"
#include "SeedFiles.h"

#include "app/MainUnit.h"
#include "arrange/ArrangeCanvas.h"
#include "output/PageRender.h"
#include "output/PrintSetup.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"

#include <QImage>
#include <QSpinBox>

#include <cstdint>

namespace {

// Enough of the page to reach every drawing path without paying for a whole sheet.
constexpr int MaxSide = 320;

void draw(TMainForm &form)
{
    const QSize view = form.arrangePage().canvas().ArrangeViewSize().boundedTo(QSize(MaxSide, MaxSide)).expandedTo(QSize(1, 1));
    QImage image(view, QImage::Format_RGB32);
    {
        TDC dc(&image);
        form.arrangePage().canvas().paintArrangeView(dc, QRect(QPoint(0, 0), view));
    }
    image.fill(Qt::white);
    TDC dc(&image);
    const PrintSetup setup = PrinterPageSetup(form.printer());
    RenderPage(dc, form.Doc->records(), form.Doc->currentPage(), PrintScale(setup.DpiX), form.Doc->options(), setup);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    for (const Seeds::File &f : Seeds::Pictures())
        Fuzz::WriteFile(Fuzz::ScratchFolder() + f.Name, reinterpret_cast<const std::uint8_t *>(f.Bytes.constData()),
                        std::size_t(f.Bytes.size()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = Fuzz::ScratchFolder() + QStringLiteral("input.sga");
    if (!Fuzz::WriteFile(path, data, size))
        return 0;
    // One window for the run, as one opens file after file: opening replaces
    // everything the file holds, and a window takes far longer to make than a
    // small file to open.
    static TMainForm *form = [] {
        auto *f = new TMainForm;
        f->ScreenDpiOverride = 96;
        return f;
    }();
    form->OpenFile(path);
    draw(*form);
    return 0;
}
