// Makes the pages of one arrangement with one paper preset the way the window
// does, for comparing with the command line's and the print queue's:
// presetpaths OUTDIR PRESET PICTURE... writes OUTDIR/x.sga (the pictures side
// by side on one page) and OUTDIR/window.pdf (saved from the print tab with
// the preset chosen).
#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "output/PrintJob.h"
#include "pages/PrintPage.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SetApplicationNames(); // the program's settings and presets
    if (argc < 4) {
        std::fprintf(stderr, "presetpaths OUTDIR PRESET PICTURE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString preset = QString::fromLocal8Bit(argv[2]);
    QStringList pictures;
    for (int i = 3; i < argc; ++i)
        pictures << QString::fromLocal8Bit(argv[i]);
    Dialogs::Handler answers;
    answers.message = [](const Dialogs::MessageRecord& m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return int(Dialogs::IdYes);
    };
    answers.saveFile = [&out](const QString&) { return out.filePath(QStringLiteral("window.pdf")); };
    Dialogs::setHandler(answers);

    TMainForm form;
    RestorePrinterSettings(form.printer());
    form.printPage().choosePreset(preset);
    form.Doc->addPictureFiles(pictures, QStringLiteral("Add"));
    for (int i = 0; i < form.Doc->records().PictureCount(); ++i) {
        Placement* p = form.Doc->recordsForSetUp().Placements.Append();
        *p = Placement { 0.3 + 3.9 * (i % 2), 0.3 + 2.9 * (i / 2), 3.6, 2.7, 1,
            form.Doc->records().Pictures[std::size_t(i)].PictureId, 0, {}, {} };
    }
    if (!form.Doc->save(out.filePath(QStringLiteral("x.sga"))))
        return 1;
    form.printPage().saveAsImage();
    return QFileInfo::exists(out.filePath(QStringLiteral("window.pdf"))) ? 0 : 1;
}
