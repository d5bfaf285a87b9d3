// Shows camera turns and file drops: grabdrop OUTDIR
// Writes photos whose EXIF orientation says 1, 3, 6 and 8 (each stored so that
// the turn makes it upright), drops them as a file manager would on the arrange
// view and on "Pictures", and saves pictures of the window, the browser and
// the "Options" page.
#include "app/Translations.h"
#include "app/MainUnit.h"
#include "arrange/ArrangeCanvas.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "browse/FolderViews.h"
#include "browse/ThumbGrid.h"
#include "browse/ThumbnailBrowser.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"
#include "tests/common/PhotoFixtures.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QTabWidget>
#include <QThread>
#include <QTransform>
#include <QUrl>

namespace {
QImage uprightPhoto(int n)
{
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(QColor(120, 170, 220));
    QPainter p(&img);
    p.fillRect(0, 140, 300, 60, QColor(90, 150, 80));
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("Sans"), 28, QFont::Bold));
    p.drawText(QRect(0, 10, 300, 60), Qt::AlignCenter, QStringLiteral("UP %1").arg(n));
    return img;
}

void settle(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

void drop(QWidget *target, QPoint at, const QStringList &files)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &f : files)
        urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    Dialogs::Handler answerOk;
    answerOk.message = [](const Dialogs::MessageRecord &) { return int(Dialogs::IdOk); };
    Dialogs::setHandler(answerOk);
    const QString out = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")).absolutePath();
    const QString photos = out + QStringLiteral("/photos");
    QDir().mkpath(photos);
    // Stored as the camera held it: turning by the orientation makes it upright.
    const struct {
        int orientation;
        int storedTurn; // degrees clockwise from upright
    } shots[] = {{1, 0}, {3, 180}, {6, 270}, {8, 90}};
    QStringList files;
    for (const auto &s : shots) {
        const QImage stored = uprightPhoto(s.orientation).transformed(QTransform().rotate(s.storedTurn));
        const QString name = photos + QStringLiteral("/cam%1.jpg").arg(s.orientation);
        QFile f(name);
        if (f.open(QIODevice::WriteOnly))
            f.write(PhotoFixtures::jpegWithOrientation(stored, s.orientation));
        files << name;
    }

    TMainForm form;
    form.show();
    settle(300);
    form.showTab(TMainForm::Tab::Arrange);
    settle(300);
    drop(form.arrangePage().canvas().ViewBox, QPoint(60, 60), files.mid(0, 2));
    drop(form.arrangePage().canvas().ViewBox, QPoint(60, 420), files.mid(2, 2));
    settle(300);
    form.grab().save(out + QStringLiteral("/drop-arrange.png"));
    form.showTab(TMainForm::Tab::Collection);
    settle(200);
    drop(form.collectionPage().findChild<QListWidget *>(QStringLiteral("PictureList"))->viewport(), QPoint(10, 10), files);
    settle(200);
    form.collectionPage().folders().setFolderPath(photos);
    settle(3000);
    form.grab().save(out + QStringLiteral("/drop-pictures.png"));
    form.showTab(TMainForm::Tab::Arrange);
    form.arrangePage().findChild<QTabWidget *>()->setCurrentWidget(form.arrangePage().options().OptionsTab);
    settle(200);
    form.grab().save(out + QStringLiteral("/options.png"));
    form.close();
    return 0;
}
