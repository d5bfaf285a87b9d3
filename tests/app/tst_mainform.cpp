#include "common/WindowParts.h"
#include "arrange/ArrangeView.h"
#include "arrange/ContactSheetDialog.h"
#include "arrange/Geometry.h"
#include "arrange/SheetMakers.h"
#include "document/UndoCommands.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/ImageButton.h"
#include "platform/PaintBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QLabel>
#include <QAbstractButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using FormStep = std::function<void(TMainForm &)>;
Q_DECLARE_METATYPE(FormStep)

namespace {
// The commands on the selected placement.
const Command SelectionCommands[] = {Command::AdjustTones,   Command::DeleteSelection, Command::RotateLeft,
                                     Command::RotateRight,   Command::ShowSelection,   Command::SizeAndPosition};
} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT
private slots:
    void titleRule_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");
        QTest::newRow("never saved") << QString() << "QUORVEX Snapgrid-Atlas 4.0 - [Noname.sga]";
        QTest::newRow("unix path") << "/home/u/trip.sga" << "QUORVEX Snapgrid-Atlas 4.0 - [trip.sga]";
        QTest::newRow("windows path") << "C:\\photos\\x.sga" << "QUORVEX Snapgrid-Atlas 4.0 - [x.sga]";
        QTest::newRow("drive only") << "D:y.sga" << "QUORVEX Snapgrid-Atlas 4.0 - [y.sga]";
    }
    void titleRule()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        QCOMPARE(MainTitle(fileName), title);
    }

    // The window system gets the title as the rule makes it: no application
    // display name is set for it to append.
    void noDisplayNameIsAppendedToTheTitle()
    {
        const QString testName = QCoreApplication::applicationName();
        SetApplicationNames();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("snapgrid-atlas"));
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        const QString display = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(testName);
        QCOMPARE(display, QStringLiteral("probe")); // only a default, following the name
    }

    void startsEmptyWithPlacementCommandsDisabled()
    {
        DialogRecorder rec;
        TMainForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("QUORVEX Snapgrid-Atlas 4.0 - [Noname.sga]"));
        QCOMPARE(form.Doc->records().SelectedPlacement, -1);
        QCOMPARE(form.Doc->records().PictureCount(), 0);
        QCOMPARE(form.Doc->records().Placements.Count, 0u);
        for (Command c : SelectionCommands)
            QVERIFY2(!form.action(c)->isEnabled(), qPrintable(form.action(c)->text()));
        QVERIFY(!form.arrangePage().selectionEditable());
        QCOMPARE(DibWidth(form.collectionPage().previewDib()), 320);
        QCOMPARE(DibHeight(form.collectionPage().previewDib()), 200);
        QCOMPARE(DibBitCount(form.collectionPage().previewDib()), 24);
        QCOMPARE(getpixel(form.collectionPage().previewDib(), 17, 123), 0xFFFFFFu);
        QVERIFY(ProgramFolder().endsWith(QLatin1Char('/')));
        QVERIFY(!form.arrangePage().captionTimer().isActive());
        QCOMPARE(form.arrangePage().captionTimer().interval(), 500);
        QCOMPARE(form.centralWidget()->findChild<QTabWidget *>()->count(), 4);
    }

    // The window opens within the screen, and fits a 1600 x 1000 screen at
    // scale 1.5 (1066 x 666 units, less border and title bar) at all.
    void firstSizeFitsTheScreen()
    {
        DialogRecorder rec;
        TMainForm form;
        form.show();
        const QSize least = form.minimumSizeHint();
        QVERIFY2(least.width() <= 1066 - 16 && least.height() <= 666 - 48,
                 qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
        const QSize room = form.screen()->availableGeometry().size();
        QVERIFY(form.width() <= std::max(room.width(), least.width()));
        QVERIFY(form.height() <= std::max(room.height(), least.height()));
    }

    void closingAsksOnlyWithUnsavedChanges_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("nothing to lose closes") << false << int(Dialogs::IdCancel) << true;
        QTest::newRow("Discard closes") << true << int(Dialogs::IdDiscard) << true;
        QTest::newRow("Cancel keeps it open") << true << int(Dialogs::IdCancel) << false;
    }
    void closingAsksOnlyWithUnsavedChanges()
    {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        DialogRecorder rec(answer);
        TMainForm form;
        form.show();
        if (changed)
            form.arrangePage().options().ShowGridCheck->toggle();
        QCOMPARE(form.close(), closed);
        QCOMPARE(rec.messages.size(), std::size_t(changed ? 1 : 0));
        QCOMPARE(form.isVisible(), !closed);
        if (!changed)
            return;
        const Dialogs::MessageRecord &m = rec.messages.front();
        QCOMPARE(m.text, QStringLiteral("If you quit now all data not saved will be lost!"));
        QCOMPARE(m.caption, QStringLiteral("Quit program"));
        QCOMPARE(m.icon, Dialogs::Icon::Information);
        QCOMPARE(m.buttons, Dialogs::SaveDiscardCancel);
        if (!closed) {
            form.close(); // asked again, still cancelled
            QCOMPARE(rec.messages.size(), std::size_t(2));
        }
    }

    // A key that closes an open popup belongs to the popup and deletes nothing.
    void keyClosingPopupStaysThere_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape closes the list") << int(Qt::Key_Escape);
        QTest::newRow("Enter picks an entry") << int(Qt::Key_Return);
    }
    void keyClosingPopupStaysThere()
    {
        QFETCH(int, key);
        DialogRecorder dialogs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        DIB dib;
        QVERIFY(newdib(&dib, 4, 4, 24, nullptr, 0));
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/tmp/a.bmp"), dib);
        form.UpdateListBox();
        form.showTab(TMainForm::Tab::Collection);
        form.collectionPage().folders().FilterBox->showPopup();
        QAbstractItemView *list = form.collectionPage().folders().FilterBox->view();
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key(key));
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(form.Doc->records().PictureCount(), 1);
    }

    // Keys of the arrange view act on the selection; Ctrl+Z takes back what they changed.
    void arrangeViewKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("grid");
        QTest::addColumn<double>("dx"); // inches
        QTest::addColumn<double>("dy");
        QTest::addColumn<int>("placements");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("page");
        const double step = 5 / MmPerInch, pixel = 1.0 / 96;
        QTest::newRow("Right: a grid step") << int(Qt::Key_Right) << 0 << true << step << 0.0 << 1 << 0 << 1;
        QTest::newRow("Up: a pixel, grid off") << int(Qt::Key_Up) << 0 << false << 0.0 << -pixel << 1 << 0 << 1;
        QTest::newRow("Shift+Down: ten pixels") << int(Qt::Key_Down) << int(Qt::ShiftModifier) << false << 0.0
                                                << 10 * pixel << 1 << 0 << 1;
        QTest::newRow("Delete removes") << int(Qt::Key_Delete) << 0 << true << 0.0 << 0.0 << 0 << -1 << 1;
        QTest::newRow("Backspace removes") << int(Qt::Key_Backspace) << 0 << true << 0.0 << 0.0 << 0 << -1 << 1;
        QTest::newRow("Escape drops the selection") << int(Qt::Key_Escape) << 0 << true << 0.0 << 0.0 << 1 << -1 << 1;
        // The selection stays on its page, out of sight, so it is dropped.
        QTest::newRow("Page Down turns the page") << int(Qt::Key_PageDown) << 0 << true << 0.0 << 0.0 << 1 << -1 << 2;
    }
    void arrangeViewKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, grid);
        QFETCH(double, dx);
        QFETCH(double, dy);
        QFETCH(int, placements);
        QFETCH(int, selected);
        QFETCH(int, page);
        DialogRecorder dialogs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.showTab(TMainForm::Tab::Arrange);
        form.ScreenDpiOverride = 96;
        form.arrangePage().setZoom(100);
        form.arrangePage().options().UseGridCheck->setChecked(grid);
        form.arrangePage().setPageCount(2);
        DIB dib;
        QVERIFY(newdib(&dib, 4, 4, 24, nullptr, 0));
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/tmp/a.bmp"), dib);
        const double x0 = 10 / MmPerInch, y0 = 20 / MmPerInch;
        *form.Doc->recordsForSetUp().Placements.Append() = Placement{x0, y0, 1, 1, 1, id, 0, {}, {}};
        form.Doc->selectPlacement(0);
        form.Doc->undo().reset();
        form.arrangePage().canvas().ViewBox->setFocus();

        QTest::keyClick(form.arrangePage().canvas().ViewBox, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(form.Doc->records().Placements.size(), placements);
        QCOMPARE(form.Doc->records().SelectedPlacement, selected);
        QCOMPARE(form.arrangePage().shownPage(), page);
        if (placements == 1) {
            QVERIFY(qFuzzyCompare(form.Doc->records().Placements.at(0).Left, x0 + dx));
            QVERIFY(qFuzzyCompare(form.Doc->records().Placements.at(0).Top, y0 + dy));
        }
        QTest::keyClick(form.arrangePage().canvas().ViewBox, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.Doc->records().Placements.size(), 1);
        QCOMPARE(form.Doc->records().Placements.at(0).Left, x0);
        QCOMPARE(form.Doc->records().Placements.at(0).Top, y0);
    }

    void progressBarRect_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("width");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("half of 50") << 50 << 25;
        QTest::newRow("truncates 33 of 50") << 33 << 16;
        QTest::newRow("full") << 100 << 50;
    }
    void progressBarRect()
    {
        QFETCH(int, percent);
        QFETCH(int, width);
        const QRect panel(10, 2, 50, 18);
        const QRect bar = ProgressBarRect(panel, percent);
        QCOMPARE(bar.width(), width);
        QCOMPARE(bar.left(), 10);
        QCOMPARE(bar.top(), 2);
        QCOMPARE(bar.height(), 18);
    }

    void progressGrowsAndShrinks()
    {
        DialogRecorder rec;
        TMainForm form;
        form.show();
        form.Services.showProgress(60); // as a page reports its work
        QCOMPARE(form.progressPercent(), 60);
        form.SetProStatus(10);
        QCOMPARE(form.progressPercent(), 10);
        form.SetProStatus(250); // out-of-range values are held to the bar
        QCOMPARE(form.progressPercent(), 100);
        // The panel draws the bar as far as it goes.
        TProgressPanel panel;
        panel.resize(60, 20);
        panel.SetProStatus(60);
        const QImage grown = panel.grab().toImage();
        QCOMPARE(QColor(grown.pixel(5, grown.height() / 2)), QColor(0, 0, 128));
        QVERIFY(QColor(grown.pixel(grown.width() - 3, grown.height() / 2)) != QColor(0, 0, 128));
        panel.SetProStatus(10);
        const QImage shrunk = panel.grab().toImage();
        QVERIFY(QColor(shrunk.pixel(20, shrunk.height() / 2)) != QColor(0, 0, 128));
        QCOMPARE(QColor(shrunk.pixel(2, shrunk.height() / 2)), QColor(0, 0, 128));
    }

    void wheelScrollsVisibleViewOnly_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("sort tab does nothing") << 1 << false;
        QTest::newRow("arrange photos scrolls the page view") << 2 << true;
        QTest::newRow("print tab scrolls the preview") << 3 << true;
    }
    void wheelScrollsVisibleViewOnly()
    {
        QFETCH(int, tab);
        QFETCH(bool, scrolls);
        DialogRecorder rec;
        TMainForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.showTab(TMainForm::Tab(tab));
        for (QScrollArea *a : {form.arrangePage().canvas().ScrollArea, &form.printPage().preview()}) {
            a->widget()->resize(400, 5000);
            a->verticalScrollBar()->setRange(0, 5000); // hidden tabs lay out lazily
            a->verticalScrollBar()->setValue(100);
        }
        QScrollArea *target = form.wheelTarget();
        QCOMPARE(target != nullptr, scrolls);
        QWidget *over = target ? target->viewport() : static_cast<QWidget *>(&form.sortPage());
        QWheelEvent wheel(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
        QCOMPARE(form.arrangePage().canvas().ScrollArea->verticalScrollBar()->value(), tab == 2 ? 120 : 100);
        QCOMPARE(form.printPage().preview().verticalScrollBar()->value(), tab == 3 ? 120 : 100);
    }

    // The picture strip scrolls under the wheel and ends with its last picture.
    void wheelOverTheStripScrollsIt()
    {
        DialogRecorder rec;
        TMainForm form;
        for (int i = 0; i < 40; ++i) {
            DIB dib;
            QVERIFY(newdib(&dib, 8, 6, 24, nullptr, 0));
            form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/%1.bmp").arg(i), dib);
        }
        form.Doc->touch(ArrangementDocument::Change::Collection);
        form.showTab(TMainForm::Tab::Arrange);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWidget *strip = form.arrangePage().strip().StripBox;
        QTRY_COMPARE(strip->height(), StripCellTop(40, strip->width()));
        QScrollBar *bar = form.arrangePage().strip().ScrollArea->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QWheelEvent wheel(QPointF(5, 5), strip->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(strip, &wheel);
        QVERIFY(bar->value() > 0);
    }

    // A contact sheet of the pictures selected in the collection's list places those alone.
    void contactSheetOfTheSelection()
    {
        DialogRecorder rec;
        TMainForm form;
        for (int i = 0; i < 4; ++i) {
            DIB dib;
            QVERIFY(newdib(&dib, 40, 30, 24, nullptr, 0));
            form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/%1.bmp").arg(i), dib);
        }
        form.Doc->touch(ArrangementDocument::Change::Collection);
        QCOMPARE(form.collectionPage().listedNames().size(), 4);
        form.collectionPage().selectPictures({3, 1});
        rec.handler.exec = [](QDialog *dialog) {
            auto *d = static_cast<ContactSheetDialog *>(dialog);
            if (!d->SelectedRadio->isEnabled())
                return int(QDialog::Rejected);
            d->SelectedRadio->setChecked(true);
            return int(QDialog::Accepted);
        };
        rec.install();
        form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("contact-sheet")));
        std::vector<int> placed;
        const TArrangement &r = form.Doc->records();
        for (int i = 0; i < r.Placements.size(); ++i)
            placed.push_back(r.pictureIndexById(r.Placements.at(i).PictureId));
        std::sort(placed.begin(), placed.end());
        QCOMPARE(placed, (std::vector<int>{1, 3}));
    }

    // Each command's action is enabled by its rule as the document says what
    // changed; the pages' buttons and menu entries follow the actions.
    void commandsFollowTheDocument_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<FormStep>("step");
        QTest::addColumn<bool>("enabled");
        auto placeOne = [](TMainForm &f) {
            DIB dib;
            newdib(&dib, 8, 6, 24, nullptr, 0);
            const int id = f.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.bmp"), dib);
            *f.Doc->recordsForSetUp().Placements.Append() = Placement{1, 1, 2, 2, 1, id, 0, {}, {}};
            f.Doc->touch(ArrangementDocument::Change::Collection);
        };
        auto row = [](const char *name, Command c, FormStep step, bool on) {
            QTest::newRow(name) << int(c) << step << on;
        };
        row("turning without a selection", Command::RotateLeft, placeOne, false);
        row("turning a selected placement", Command::RotateLeft, [placeOne](TMainForm &f) {
            placeOne(f);
            f.Doc->selectPlacement(0);
        }, true);
        row("selection deleted", Command::DeleteSelection, [placeOne](TMainForm &f) {
            placeOne(f);
            f.Doc->selectPlacement(0);
            f.Doc->deleteSelectedPlacement(QStringLiteral("Delete"));
        }, false);
        row("pictures to delete", Command::DeletePictures, placeOne, true);
        row("none left to delete", Command::DeletePictures, [placeOne](TMainForm &f) {
            placeOne(f);
            f.Doc->deletePictures({0}, QStringLiteral("Delete"));
        }, false);
        row("adding from the picture browser", Command::AddFiles,
            [](TMainForm &f) { f.collectionPage().showFileList(false); }, false);
        row("adding from the file list", Command::AddFiles, [](TMainForm &f) { f.collectionPage().showFileList(true); },
            true);
        row("nothing to undo", Command::Undo, [](TMainForm &) {}, false);
        row("undo after a step", Command::Undo, [](TMainForm &f) {
            ArrangementOptions o = f.Doc->options();
            o.Grid = 7;
            f.Doc->setOptions(o, QStringLiteral("Grid width"));
        }, true);
    }
    void commandsFollowTheDocument()
    {
        QFETCH(int, command);
        QFETCH(FormStep, step);
        QFETCH(bool, enabled);
        DialogRecorder rec;
        TMainForm form;
        step(form);
        QCOMPARE(form.action(Command(command))->isEnabled(), enabled);
    }

    // Made as small as the desktop lets it, the window keeps every tab's
    // controls apart and their texts whole.
    void smallestWindowCutsNothing()
    {
        DialogRecorder rec;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(300, 200);
        for (int tab = 0; tab <= int(TMainForm::Tab::Print); ++tab) {
            form.showTab(TMainForm::Tab(tab));
            QCoreApplication::processEvents();
            QStringList cut;
            for (QWidget *w : form.findChildren<QWidget *>()) {
                if (!w->isVisible() || !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)))
                    continue;
                const QSize need = w->minimumSizeHint();
                if (w->width() < need.width() || w->height() < need.height())
                    cut << QStringLiteral("%1 %2x%3 < %4x%5")
                               .arg(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                              : w->objectName())
                               .arg(w->width()).arg(w->height()).arg(need.width()).arg(need.height());
            }
            QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("tab %1: ").arg(tab) + cut.join(QStringLiteral(", "))));
        }
    }

    // Ctrl+P prints the arrangement from every tab.
    void printKeyFromEveryTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::newRow("collection") << 0;
        QTest::newRow("sort") << 1;
        QTest::newRow("arrange") << 2;
        QTest::newRow("print") << 3;
    }
    void printKeyFromEveryTab()
    {
        QFETCH(int, tab);
        DialogRecorder rec;
        int asked = 0;
        rec.handler.print = [&asked](QPrinter *) {
            ++asked;
            return false;
        };
        rec.install();
        TMainForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.showTab(TMainForm::Tab(tab));
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(asked, 1);
    }

    // A list under the mouse scrolls itself, also when its scroll area passes
    // the turn on to its scroll bar; the visible view stays where it is.
    void wheelOverAListScrollsTheList_data()
    {
        QTest::addColumn<bool>("onScrollBar");
        QTest::newRow("over the list's rows") << false;
        QTest::newRow("over the list's scroll bar") << true;
    }
    void wheelOverAListScrollsTheList()
    {
        QFETCH(bool, onScrollBar);
        DialogRecorder rec;
        TMainForm form;
        form.showTab(TMainForm::Tab::Collection);
        form.collectionPage().showFileList(false); // the browser is the wheel's view here
        auto *pictures = form.collectionPage().findChild<QListWidget *>(QStringLiteral("PictureList"));
        for (int i = 0; i < 300; ++i)
            pictures->addItem(QStringLiteral("picture %1").arg(i));
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QScrollBar *listBar = pictures->verticalScrollBar();
        QTRY_VERIFY(listBar->maximum() > 0);
        QWidget *over = onScrollBar ? static_cast<QWidget *>(listBar) : pictures->viewport();
        const QPoint at = over->rect().center();
        QWheelEvent wheel(at, over->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
        QVERIFY(listBar->value() > 0);
        QCOMPARE(form.collectionPage().grid().ScrollArea->verticalScrollBar()->value(), 0);
    }

    // The quit image closes (asking first) on a release over it, not on one
    // that slid off it; the about image shows the about box.
    void quitImageReleasedOutsideDoesNotClose()
    {
        DialogRecorder rec(Dialogs::IdDiscard);
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.arrangePage().options().ShowGridCheck->toggle(); // an unsaved change: quitting asks
        auto at = [](QEvent::Type type, QPointF p) {
            return QMouseEvent(type, p, p, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                               Qt::NoModifier);
        };
        QMouseEvent press = at(QEvent::MouseButtonPress, {5, 5});
        QMouseEvent outside = at(QEvent::MouseButtonRelease, {-4, 5});
        form.EndeBtnMouseDown(&press);
        form.EndeBtnMouseUp(&outside);
        QVERIFY(rec.messages.empty()); // no closing question: it did not close
        QVERIFY(form.isVisible());

        QMouseEvent inside = at(QEvent::MouseButtonRelease, {6, 6});
        form.EndeBtnMouseDown(&press);
        form.EndeBtnMouseUp(&inside);
        QCOMPARE(rec.messages.size(), std::size_t(1)); // a click asks the closing question
        QVERIFY(!form.isVisible());
    }

    void aboutImageShowsAboutBox()
    {
        DialogRecorder rec;
        TMainForm form;
        form.show();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, {}, {});
        form.ueberbtnMouseDown(&press);
        form.ueberbtnMouseUp(&release);
        QCOMPARE(rec.execCount, 1);
    }

    void selectionControlsFollowSelection()
    {
        DialogRecorder rec;
        TMainForm form;
        DIB d;
        QVERIFY(newdib(&d, 4, 4, 24, nullptr, 0));
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/pics/photo.jpg"), d);
        form.Doc->recordsForSetUp().Pictures[0].Comment = QStringLiteral("Beach");
        Placement *p = form.Doc->recordsForSetUp().Placements.Append();
        *p = Placement{0.59, 0.59, 5.12, 3.94, 1, id, 1, {}, {}};
        form.Doc->recordsForSetUp().SelectedPlacement = 0;
        form.Doc->touch(ArrangementDocument::Change::Selection);
        form.arrangePage().showSelectionCaption();
        for (Command c : SelectionCommands)
            QVERIFY2(form.action(c)->isEnabled(), qPrintable(form.action(c)->text()));
        QVERIFY(form.arrangePage().selectionEditable());
        QVERIFY(form.arrangePage().shownCut());
        QCOMPARE(form.arrangePage().shownCaption(), QStringLiteral("Beach"));
        QLocale::setDefault(QLocale::c());
        form.showTab(TMainForm::Tab::Arrange);
        form.arrangePage().showSizeInfo();
        QCOMPARE(form.statusText(),
                 QStringLiteral("( x: 0.59inch; y: 0.59inch ) ( Width: 5.12inch; Height: 3.94inch ) "));
        form.Doc->recordsForSetUp().SelectedPlacement = -1;
        form.Doc->touch(ArrangementDocument::Change::Selection);
        form.arrangePage().showSelectionCaption(); // nothing without a selection: the panel keeps its text
        for (Command c : SelectionCommands)
            QVERIFY2(!form.action(c)->isEnabled(), qPrintable(form.action(c)->text()));
        QVERIFY(!form.arrangePage().selectionEditable());
        QCOMPARE(form.arrangePage().shownCaption(), QStringLiteral("Beach"));
    }
};

SGA_TEST(TestMainForm)
#include "tst_mainform.moc"
