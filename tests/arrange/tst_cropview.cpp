#include "common/WindowParts.h"
#include "arrange/ArrangeCanvas.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/FrameView.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include <cstring>
#include <memory>

namespace {
// Zoom 100 at 96 dpi; a 400 x 300 picture cut into a 2-inch square at (1, 1),
// view pixels 96..288.
std::unique_ptr<TMainForm> croppedForm()
{
    auto form = std::make_unique<TMainForm>();
    form->printer().setFixedPage(4800, 6600, 600, 600);
    form->ScreenDpiOverride = 96;
    form->arrangePage().setZoom(100);
    form->arrangePage().options().EnhanceQualCheck->setChecked(false);
    DIB d;
    newdib(&d, 400, 300, 24, nullptr, 0);
    std::memset(d.Bits, 90, d.Info->biSizeImage);
    const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/a.png"), d);
    Placement *p = form->Doc->recordsForSetUp().Placements.Append();
    p->PictureId = id;
    p->Left = 1;
    p->Top = 1;
    p->Width = 2;
    p->Height = 2;
    p->Page = 1;
    p->Cut = 1;
    form->Doc->selectPlacement(0);
    return form;
}

void mouse(TMainForm &form, QEvent::Type type, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    TPaintBox *box = form.arrangePage().canvas().ViewBox;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, box->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  mods);
    QCoreApplication::sendEvent(box, &e);
}

void wheel(TMainForm &form, QPoint at, int delta)
{
    TPaintBox *box = form.arrangePage().canvas().ViewBox;
    QWheelEvent e(at, box->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QCoreApplication::sendEvent(box, &e);
}

const Placement &placed(TMainForm &form) { return form.Doc->records().Placements.at(0); }
} // namespace

class TestCropView : public QObject
{
    Q_OBJECT
private slots:

    // The picture follows the mouse inside its frame, held inside the picture,
    // as one undo step; a plain drag outside crop mode still moves the frame.
    void pictureFollowsTheMouse_data()
    {
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("cropMode");
        QTest::addColumn<int>("dx");
        QTest::addColumn<double>("centreX"); // 0: no view chosen
        QTest::newRow("Ctrl+drag to the right") << true << false << 30 << (200 - 30 / 192.0 * 300) / 400;
        QTest::newRow("drag in crop mode, held at the edge") << false << true << -400 << 250 / 400.0;
        QTest::newRow("plain drag moves the frame") << false << false << 30 << 0.0;
    }
    void pictureFollowsTheMouse()
    {
        QFETCH(bool, ctrl);
        QFETCH(bool, cropMode);
        QFETCH(int, dx);
        QFETCH(double, centreX);
        auto form = croppedForm();
        ArrangeCanvas *view = &form->arrangePage().canvas();
        if (cropMode) {
            view->doubleClick(150, 150);
            QVERIFY(view->Cropping);
            QVERIFY(form->statusText().contains(QStringLiteral("wheel")));
        }
        const int steps = form->Doc->undoStack()->count();
        const Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        mouse(*form, QEvent::MouseButtonPress, QPoint(150, 150), mods);
        mouse(*form, QEvent::MouseMove, QPoint(150 + dx / 2, 150), mods);
        if (centreX > 0)
            QCOMPARE(view->ViewBox->cursor().shape(), Qt::ClosedHandCursor);
        mouse(*form, QEvent::MouseMove, QPoint(150 + dx, 150), mods);
        mouse(*form, QEvent::MouseButtonRelease, QPoint(150 + dx, 150), mods);
        QCOMPARE(form->Doc->undoStack()->count(), steps + 1);
        if (centreX > 0) {
            QVERIFY(std::abs(placed(*form).View.CentreX - centreX) < 1e-9);
            QCOMPARE(placed(*form).Left, 1.0);
        } else {
            QVERIFY(!placed(*form).View.chosen());
            QVERIFY(placed(*form).Left > 1.0);
        }
        form->Doc->undoStack()->undo();
        QVERIFY(!placed(*form).View.chosen());
        QCOMPARE(placed(*form).Left, 1.0);
    }

    // The wheel zooms only in crop mode, about the mouse; Esc ends the mode.
    void wheelZoomsInCropMode()
    {
        auto form = croppedForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->showTab(TMainForm::Tab::Arrange);
        ArrangeCanvas *view = &form->arrangePage().canvas();
        view->ViewBox->setFocus();
        wheel(*form, QPoint(150, 150), 120);
        QVERIFY(!placed(*form).View.chosen());
        view->doubleClick(150, 150);
        const int steps = form->Doc->undoStack()->count();
        wheel(*form, QPoint(150, 150), 120);
        wheel(*form, QPoint(150, 150), 120);
        QVERIFY(std::abs(placed(*form).View.Zoom - 1.21) < 1e-9);
        QCOMPARE(form->Doc->undoStack()->count(), steps + 1); // turns of one wheel merge
        QVERIFY(form->statusText().contains(QStringLiteral("121")));
        QTest::keyClick(view->ViewBox, Qt::Key_Escape);
        QVERIFY(!view->Cropping);
        QVERIFY(form->Doc->hasSelection());
    }
};

SGA_TEST(TestCropView)
#include "tst_cropview.moc"
