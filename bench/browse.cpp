// The thumbnail browser's walk over a folder of 40 photo-like 4000 x 3000
// JPEGs (made on first use): the first visit without a cache file, the
// revisit from the cache file (the same folder click again, and leaving the
// page and coming back), the longest gap between ticks of a 5 ms timer
// on the interface thread during the first visit, and for reference the same
// files decoded by one thread with QImageReader at 1/8 scale. Then the visit
// that finds the desktop's shared thumbnails (written by the first visit) and
// the first visit of camera JPEGs that carry thumbnails of their own.
// Usage: browse [folder]   (default: <temp>/sga-bench-browse)
#include "PhotoFolder.h"
#include "common/PhotoFixtures.h"
#include "app/MainUnit.h"
#include "arrange/ArrangeCanvas.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "browse/FolderViews.h"
#include "browse/ThumbGrid.h"
#include "browse/ThumbnailBrowser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

using PhotoFolder::Files;
using PhotoFolder::photoPath;

double referenceSeconds(const QString& folder)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Files; ++i) {
        QImageReader reader(photoPath(folder, i));
        const QSize full = reader.size();
        reader.setScaledSize(QSize((full.width() + 7) / 8, (full.height() + 7) / 8));
        QImage img;
        reader.read(&img);
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

// Runs one walk of the tree's folder to its end; the longest gap between
// timer ticks on this thread meanwhile goes to *stall (ms).
// The folder change itself (tree, file list) is timed apart into *select (ms):
// it is the click's own work, not the walk's.
double walkSeconds(TMainForm& form, const std::function<void()>& begin, double* stall, double* select = nullptr)
{
    QEventLoop loop;
    const auto ended = QObject::connect(form.collectionPage().grid().Browser, &ThumbnailBrowser::WalkEnded, &loop, &QEventLoop::quit);
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(5);
    QElapsedTimer sinceTick;
    double longest = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    QElapsedTimer clock;
    clock.start();
    ticks.start();
    begin();
    if (select)
        *select = double(clock.nsecsElapsed()) / 1e6;
    sinceTick.start();
    // A walk that is stopped and restarted ends twice.
    while (form.collectionPage().grid().Browser->Running())
        loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    ticks.stop();
    QObject::disconnect(ended);
    if (stall)
        *stall = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
    return seconds;
}

// The folder's photos again, each with a camera thumbnail of 160 x 120 in its
// EXIF block, in a folder beside it (made once, kept like the photos).
QString cameraFolder(const QString& folder)
{
    const QString camera = folder + "-exif";
    QDir().mkpath(camera);
    for (int i = 0; i < Files; ++i) {
        const QString to = photoPath(camera, i);
        if (QFile::exists(to))
            continue;
        QFile from(photoPath(folder, i));
        QImageReader reader(photoPath(folder, i));
        reader.setScaledSize(QSize(160, 120));
        QFile out(to + ".part");
        if (!from.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            return {};
        out.write(PhotoFixtures::withExifThumbnail(from.readAll(), reader.read()));
        out.close();
        QFile::rename(to + ".part", to);
    }
    return camera;
}

} // namespace

int main(int argc, char** argv)
{
    const PhotoFolder::PrivateHome home;
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : PhotoFolder::defaultFolder();
    if (!PhotoFolder::makeFolder(folder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return 1;
    }
    QFile::remove(folder + "/bnsbrwse.cbf");
    (void)referenceSeconds(folder); // files into the page cache

    TMainForm form;
    form.resize(1200, 800);
    form.show();
    walkSeconds(form, [&] { form.collectionPage().showFileList(false); }, nullptr);

    double stall = 0, select = 0;
    const double first = walkSeconds(
        form,
        [&] {
            if (!form.collectionPage().folders().setFolderPath(folder))
                std::fprintf(stderr, "cannot select %s\n", qPrintable(folder));
        },
        &stall, &select);
    const int made = form.collectionPage().grid().Thumbs().count();
    // The revisit is the same click with the cache file there: another folder
    // first, then this one again.
    const auto selectFolder = [&form](const QString& path) {
        if (!form.collectionPage().folders().setFolderPath(path))
            std::fprintf(stderr, "cannot select %s\n", qPrintable(path));
    };
    walkSeconds(form, [&] { selectFolder(home.path()); }, nullptr);
    const double revisit = walkSeconds(form, [&] { selectFolder(folder); }, nullptr);
    // Leaving the page and coming back restarts the walk as well.
    const double flip = walkSeconds(form,
        [&] {
            form.collectionPage().showFileList(true);
            form.collectionPage().showFileList(false);
        },
        nullptr);
    // The desktop's thumbnails, which the first visit wrote: the program's own
    // cache file gone, the next visit takes them instead of decoding.
    QFile::remove(folder + "/bnsbrwse.cbf");
    walkSeconds(form, [&] { selectFolder(home.path()); }, nullptr);
    const ThumbnailBrowser& browser = *form.collectionPage().grid().Browser;
    int decodesBefore = browser.DecodeCount();
    const double shared = walkSeconds(form, [&] { selectFolder(folder); }, nullptr);
    const int sharedDecodes = browser.DecodeCount() - decodesBefore;
    // Camera JPEGs with thumbnails of their own and none shared yet.
    const QString camera = cameraFolder(folder);
    QFile::remove(camera + "/bnsbrwse.cbf");
    (void)referenceSeconds(camera);
    walkSeconds(form, [&] { selectFolder(home.path()); }, nullptr);
    decodesBefore = browser.DecodeCount();
    const double exif = walkSeconds(form, [&] { selectFolder(camera); }, nullptr);
    const int exifDecodes = browser.DecodeCount() - decodesBefore;
    const double reference = referenceSeconds(folder);
    if (made != Files || form.collectionPage().grid().Thumbs().count() != Files)
        std::fprintf(stderr, "only %d and %d of %d thumbnails\n", made, form.collectionPage().grid().Thumbs().count(), Files);

    std::printf("browse_first_visit_s: %.2f s\n", first);
    std::printf("browse_revisit_s: %.3f s\n", revisit);
    std::printf("browse_page_flip_s: %.3f s\n", flip);
    std::printf("browse_max_stall_ms: %.0f ms\n", stall);
    std::printf("browse_select_folder_ms: %.0f ms\n", select);
    std::printf("scaled_decode_reference_s: %.2f s\n", reference);
    std::printf("browse_shared_thumbs_s: %.3f s\n", shared);
    std::printf("browse_shared_thumbs_ratio: %.3f x\n", shared / reference);
    std::printf("browse_exif_thumbs_s: %.3f s\n", exif);
    std::printf("browse_exif_thumbs_ratio: %.3f x\n", exif / reference);
    std::fprintf(stderr, "decodes: shared visit %d, camera visit %d\n", sharedDecodes, exifDecodes);
    std::fprintf(stderr, "ratios: first/reference %.2f, revisit/first %.3f, page flip/first %.3f\n",
        first / reference, revisit / first, flip / first);
    return 0;
}
