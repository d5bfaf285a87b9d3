#include "common/WindowParts.h"
#include "arrange/ArrangeView.h"
#include "arrange/ContactSheetDialog.h"
#include "arrange/Geometry.h"
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
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

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
        for (QWidget *w : {static_cast<QWidget *>(form.ArrangeTab->HellKonBtn), static_cast<QWidget *>(form.ArrangeTab->DelitBtn),
                           static_cast<QWidget *>(form.ArrangeTab->RotLeftBtn), static_cast<QWidget *>(form.ArrangeTab->RotRightBtn),
                           static_cast<QWidget *>(form.ArrangeTab->FreeText), static_cast<QWidget *>(form.ArrangeTab->ShowBigBtn),
                           static_cast<QWidget *>(form.ArrangeTab->ChangePosSizeBtn), static_cast<QWidget *>(form.ArrangeTab->CutCheck)})
            QVERIFY2(!w->isEnabled(), qPrintable(w->metaObject()->className()));
        QCOMPARE(DibWidth(form.CollectionTab->PreviewDib), 320);
        QCOMPARE(DibHeight(form.CollectionTab->PreviewDib), 200);
        QCOMPARE(DibBitCount(form.CollectionTab->PreviewDib), 24);
        QCOMPARE(getpixel(form.CollectionTab->PreviewDib, 17, 123), 0xFFFFFFu);
        QVERIFY(ProgramFolder().endsWith(QLatin1Char('/')));
        QVERIFY(!form.ArrangeTab->Timer1->isActive());
        QCOMPARE(form.ArrangeTab->Timer1->interval(), 500);
        QCOMPARE(form.PageControl2->count(), 4);
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
            form.ArrangeTab->Opts->ShowGridCheck->toggle();
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
        form.Doc->records().appendPicture(QStringLiteral("/tmp/a.bmp"), dib);
        form.UpdateListBox();
        form.PageControl2->setCurrentWidget(form.CollectionTab);
        form.CollectionTab->Folders->FilterComboBox1->showPopup();
        QAbstractItemView *list = form.CollectionTab->Folders->FilterComboBox1->view();
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
        form.PageControl2->setCurrentWidget(form.ArrangeTab);
        form.ScreenDpiOverride = 96;
        form.ArrangeTab->ZoomEd->setValue(100);
        form.ArrangeTab->Opts->UseGridCheck->setChecked(grid);
        form.ArrangeTab->PageCountED->setValue(2);
        DIB dib;
        QVERIFY(newdib(&dib, 4, 4, 24, nullptr, 0));
        const int id = form.Doc->records().appendPicture(QStringLiteral("/tmp/a.bmp"), dib);
        const double x0 = 10 / MmPerInch, y0 = 20 / MmPerInch;
        *form.Doc->records().Placements.Append() = Placement{x0, y0, 1, 1, 1, id, 0, {}, {}};
        form.Doc->selectPlacement(0);
        form.Doc->undo().reset();
        form.ArrangeTab->View->PaintBox2->setFocus();

        QTest::keyClick(form.ArrangeTab->View->PaintBox2, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(form.Doc->records().Placements.size(), placements);
        QCOMPARE(form.Doc->records().SelectedPlacement, selected);
        QCOMPARE(form.ArrangeTab->APageEd->value(), page);
        if (placements == 1) {
            QVERIFY(qFuzzyCompare(form.Doc->records().Placements.at(0).Left, x0 + dx));
            QVERIFY(qFuzzyCompare(form.Doc->records().Placements.at(0).Top, y0 + dy));
        }
        QTest::keyClick(form.ArrangeTab->View->PaintBox2, Qt::Key_Z, Qt::ControlModifier);
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
        QCOMPARE(form.ProgressPanel->ProgressPercent, 60);
        QImage grown = form.ProgressPanel->grab().toImage();
        QCOMPARE(QColor(grown.pixel(5, grown.height() / 2)), QColor(0, 0, 128));
        QVERIFY(QColor(grown.pixel(grown.width() - 3, grown.height() / 2)) != QColor(0, 0, 128));
        form.SetProStatus(10);
        QCOMPARE(form.ProgressPanel->ProgressPercent, 10);
        QImage shrunk = form.ProgressPanel->grab().toImage();
        QVERIFY(QColor(shrunk.pixel(20, shrunk.height() / 2)) != QColor(0, 0, 128));
        QCOMPARE(QColor(shrunk.pixel(2, shrunk.height() / 2)), QColor(0, 0, 128));
        form.SetProStatus(250); // out-of-range values are held to the bar
        QCOMPARE(form.ProgressPanel->ProgressPercent, 100);
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
        form.PageControl2->setCurrentIndex(tab);
        for (QScrollArea *a : {form.ArrangeTab->View->ScrollBox2, form.PrintTab->ScrollBox3}) {
            a->widget()->resize(400, 5000);
            a->verticalScrollBar()->setRange(0, 5000); // hidden tabs lay out lazily
            a->verticalScrollBar()->setValue(100);
        }
        QScrollArea *target = form.wheelTarget();
        QCOMPARE(target != nullptr, scrolls);
        QWidget *over = target ? target->viewport() : static_cast<QWidget *>(form.SortTab->SortNameBtn);
        QWheelEvent wheel(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
        QCOMPARE(form.ArrangeTab->View->ScrollBox2->verticalScrollBar()->value(), tab == 2 ? 120 : 100);
        QCOMPARE(form.PrintTab->ScrollBox3->verticalScrollBar()->value(), tab == 3 ? 120 : 100);
    }

    // The picture strip scrolls under the wheel and ends with its last picture.
    void wheelOverTheStripScrollsIt()
    {
        DialogRecorder rec;
        TMainForm form;
        for (int i = 0; i < 40; ++i) {
            DIB dib;
            QVERIFY(newdib(&dib, 8, 6, 24, nullptr, 0));
            form.Doc->records().appendPicture(QStringLiteral("/p/%1.bmp").arg(i), dib);
        }
        form.Doc->touch(ArrangementDocument::Change::Collection);
        form.PageControl2->setCurrentWidget(form.ArrangeTab);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWidget *strip = form.ArrangeTab->Strip->PaintBox1;
        QTRY_COMPARE(strip->height(), StripCellTop(40, strip->width()));
        QScrollBar *bar = form.ArrangeTab->Strip->ScrollBox1->verticalScrollBar();
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
            form.Doc->records().appendPicture(QStringLiteral("/p/%1.bmp").arg(i), dib);
        }
        form.Doc->touch(ArrangementDocument::Change::Collection);
        QListWidget *list = form.CollectionTab->ImageList;
        QCOMPARE(list->count(), 4);
        list->clearSelection();
        list->item(3)->setSelected(true);
        list->item(1)->setSelected(true);
        rec.handler.exec = [](QDialog *dialog) {
            auto *d = static_cast<ContactSheetDialog *>(dialog);
            if (!d->SelectedRadio->isEnabled())
                return int(QDialog::Rejected);
            d->SelectedRadio->setChecked(true);
            return int(QDialog::Accepted);
        };
        rec.install();
        form.ArrangeTab->ContactSheetBtnClick();
        std::vector<int> placed;
        const TArrangement &r = form.Doc->records();
        for (int i = 0; i < r.Placements.size(); ++i)
            placed.push_back(r.pictureIndexById(r.Placements.at(i).PictureId));
        std::sort(placed.begin(), placed.end());
        QCOMPARE(placed, (std::vector<int>{1, 3}));
    }

    // Ctrl+P prints only from the print tab.
    void printKeyOnlyOnThePrintTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::newRow("collection") << 0;
        QTest::newRow("sort") << 1;
        QTest::newRow("arrange") << 2;
        QTest::newRow("print") << 3;
    }
    void printKeyOnlyOnThePrintTab()
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
        form.PageControl2->setCurrentIndex(tab);
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(asked, tab == 3 ? 1 : 0);
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
        form.PageControl2->setCurrentWidget(form.CollectionTab);
        form.CollectionTab->PageControl3->setCurrentWidget(form.CollectionTab->Grid); // the browser is the wheel's view here
        for (int i = 0; i < 300; ++i)
            form.CollectionTab->ImageList->addItem(QStringLiteral("picture %1").arg(i));
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QScrollBar *listBar = form.CollectionTab->ImageList->verticalScrollBar();
        QTRY_VERIFY(listBar->maximum() > 0);
        QWidget *over = onScrollBar ? static_cast<QWidget *>(listBar) : form.CollectionTab->ImageList->viewport();
        const QPoint at = over->rect().center();
        QWheelEvent wheel(at, over->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
        QVERIFY(listBar->value() > 0);
        QCOMPARE(form.CollectionTab->Grid->ScrollBox4->verticalScrollBar()->value(), 0);
    }

    void quitImageReleasedOutsideDoesNotClose()
    {
        DialogRecorder rec(Dialogs::IdDiscard);
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ArrangeTab->Opts->ShowGridCheck->toggle(); // an unsaved change: quitting asks
        QTest::mousePress(form.EndeBtn, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(form.EndeBtn->Pressed);
        QVERIFY(form.EndeBtnDown->isVisible());
        QMouseEvent move(QEvent::MouseMove, QPointF(-4, 5), form.EndeBtn->mapToGlobal(QPointF(-4, 5)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.EndeBtn, &move);
        QVERIFY(!form.EndeBtnDown->isVisible()); // outside: normal look again
        QTest::mouseRelease(form.EndeBtn, Qt::LeftButton, {}, QPoint(-4, 5));
        QVERIFY(!form.EndeBtn->Pressed);
        QVERIFY(rec.messages.empty()); // no closing question: it did not close
        QVERIFY(form.isVisible());

        QTest::mousePress(form.EndeBtn, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(form.EndeBtn, Qt::LeftButton, {}, QPoint(6, 6));
        QCOMPARE(rec.messages.size(), std::size_t(1)); // a click asks the closing question
        QVERIFY(!form.isVisible());
    }

    void aboutImageShowsAboutBox()
    {
        DialogRecorder rec;
        TMainForm form;
        form.show();
        QTest::mousePress(form.ueberbtn, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(form.ueberBtn2->isVisible());
        QTest::mouseRelease(form.ueberbtn, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(rec.execCount, 1);
        QVERIFY(!form.ueberBtn2->isVisible());
    }

    void selectionControlsFollowSelection()
    {
        DialogRecorder rec;
        TMainForm form;
        DIB d;
        QVERIFY(newdib(&d, 4, 4, 24, nullptr, 0));
        const int id = form.Doc->records().appendPicture(QStringLiteral("/pics/photo.jpg"), d);
        form.Doc->records().Pictures[0].Comment = QStringLiteral("Beach");
        Placement *p = form.Doc->records().Placements.Append();
        *p = Placement{0.59, 0.59, 5.12, 3.94, 1, id, 1, {}, {}};
        form.Doc->records().SelectedPlacement = 0;
        form.ArrangeTab->UpdateSelectionControls();
        form.ArrangeTab->ChangeFreeText();
        QVERIFY(form.ArrangeTab->CutCheck->isEnabled());
        QVERIFY(form.ArrangeTab->CutCheck->isChecked());
        QCOMPARE(form.ArrangeTab->FreeText->text(), QStringLiteral("Beach"));
        QLocale::setDefault(QLocale::c());
        form.PageControl2->setCurrentWidget(form.ArrangeTab);
        form.ArrangeTab->ShowSizeInfo();
        QCOMPARE(form.StatusText->text(),
                 QStringLiteral("( x: 0.59inch; y: 0.59inch ) ( Width: 5.12inch; Height: 3.94inch ) "));
        form.Doc->records().SelectedPlacement = -1;
        form.ArrangeTab->UpdateSelectionControls();
        form.ArrangeTab->ChangeFreeText(); // nothing without a selection: the panel keeps its text
        QVERIFY(!form.ArrangeTab->CutCheck->isEnabled());
        QCOMPARE(form.ArrangeTab->FreeText->text(), QStringLiteral("Beach"));
    }
};

SGA_TEST(TestMainForm)
#include "tst_mainform.moc"
