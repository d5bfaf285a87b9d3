// Saves a picture of the main window on each tab: grabtabs OUTDIR [FOLDER]
// With a folder, browser.png shows the "Picture browser" page filled from it.
// Pictures given on the command line are added to the collection and placed
// on page 1, so the views have something to show.
#include "app/Translations.h"
#include "app/MainUnit.h"
#include "arrange/ArrangeCanvas.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "browse/FolderViews.h"
#include "browse/ThumbGrid.h"
#include "browse/ThumbnailBrowser.h"
#include "picture/Dib.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <cstring>

namespace {
// A 24-bit picture of a colour ramp, standing in where no file is given.
DIB rampPicture(int w, int h, int seed)
{
    DIB d;
    if (!newdib(&d, w, h, 24, nullptr, 0))
        return d;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, std::uint32_t((x * 255 / w + seed * 60) & 255) | (std::uint32_t(y * 255 / h) << 8) |
                                  (std::uint32_t((seed * 90 + 40) & 255) << 16));
    return d;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    // Answer every box (the closing question on quit) without a window.
    Dialogs::Handler answerOk;
    answerOk.message = [](const Dialogs::MessageRecord &) { return int(Dialogs::IdOk); };
    Dialogs::setHandler(answerOk);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    TMainForm form;
    for (int i = 0; i < 3; ++i) {
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/pictures/sample%1.jpg").arg(i + 1),
                                          rampPicture(400 - 100 * i, 300, i));
        Placement *p = form.Doc->recordsForSetUp().Placements.Append();
        *p = Placement{0.6 + 2.9 * i, 0.6 + 0.5 * i, 2.6, 2.0, 1, id, std::uint8_t(i % 2), {}, {}};
    }
    form.Doc->recordsForSetUp().Pictures[1].Comment = QStringLiteral("Caption text");
    form.Doc->recordsForSetUp().SelectedPlacement = 2;
    form.Doc->touch(ArrangementDocument::Everything);
    form.resize(1400, 900);
    form.show();
    QTimer::singleShot(500, [&] {
        for (int tab = 0; tab <= int(TMainForm::Tab::Print); ++tab) {
            form.showTab(TMainForm::Tab(tab));
            // Views size themselves in their first paint and draw in the next.
            for (int i = 0; i < 6; ++i) {
                QApplication::processEvents();
                QThread::msleep(30);
            }
            form.grab().toImage().save(QStringLiteral("%1/tab%2.png").arg(out).arg(tab));
        }
        if (argc > 2) {
            form.showTab(TMainForm::Tab::Collection);
            form.collectionPage().showFileList(false);
            form.collectionPage().folders().setFolderPath(QString::fromLocal8Bit(argv[2]));
            // The screen as it is (not repainted for the grab) while the walk runs.
            bool caught = false;
            for (int i = 0; i < 3000 && (form.collectionPage().grid().Browser->Running() || i < 6); ++i) {
                QApplication::processEvents();
                QThread::msleep(10);
                if (!caught && form.collectionPage().grid().Thumbs().count() >= 12) {
                    caught = true;
                    form.screen()->grabWindow(form.winId()).save(QStringLiteral("%1/browser-walking.png").arg(out));
                }
            }
            form.screen()->grabWindow(form.winId()).save(QStringLiteral("%1/browser-walked.png").arg(out));
            form.collectionPage().grid().Selection = 2;
            form.collectionPage().grid().GridBox->repaint();
            form.grab().toImage().save(QStringLiteral("%1/browser.png").arg(out));
        }
        app.quit();
    });
    return app.exec();
}
