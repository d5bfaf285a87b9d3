// Controls bound to actions, image buttons, and the key gate in front of the
// actions' keys.
#include "common/TestRegistry.h"
#include "platform/ActionButtons.h"
#include "platform/ImageButton.h"
#include "platform/KeyGate.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using Change = std::function<void(QAction &)>;
Q_DECLARE_METATYPE(Change)

class TestActionControls : public QObject
{
    Q_OBJECT
private slots:
    // A bound button follows its action's state and tip from then on, and a
    // click runs it only while it is enabled.
    void boundButtonFollowsItsAction_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("tip");
        QTest::newRow("as made") << Change([](QAction &) {}) << true << "Turns it";
        QTest::newRow("disabled later") << Change([](QAction &a) { a.setEnabled(false); }) << false << "Turns it";
        QTest::newRow("new tip") << Change([](QAction &a) { a.setToolTip("Turns it again"); }) << true
                                 << "Turns it again";
    }
    void boundButtonFollowsItsAction()
    {
        QFETCH(Change, change);
        QFETCH(bool, enabled);
        QFETCH(QString, tip);
        QAction action(QStringLiteral("&Turn"));
        action.setToolTip(QStringLiteral("Turns it"));
        QPushButton button(QStringLiteral("Turn to the left..."));
        BindButton(&button, &action);
        change(action);
        QSignalSpy ran(&action, &QAction::triggered);
        button.click();
        QCOMPARE(button.isEnabled(), enabled);
        QCOMPARE(button.toolTip(), tip);
        QCOMPARE(button.text(), QStringLiteral("Turn to the left...")); // its own text stays
        QCOMPARE(ran.size(), enabled ? 1 : 0);
    }

    // An image button clicks on a release over the image only; its pressed
    // look shows while the mouse is held over it.
    void imageButtonClicksOnlyOverItself_data()
    {
        QTest::addColumn<QPoint>("moveTo");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<bool>("pressedLookAfterMove");
        QTest::addColumn<bool>("click");
        QTest::newRow("released over it") << QPoint(6, 6) << QPoint(6, 6) << true << true;
        QTest::newRow("slid off and released outside") << QPoint(-4, 5) << QPoint(-4, 5) << false << false;
        QTest::newRow("slid off and back") << QPoint(-4, 5) << QPoint(7, 7) << false << true;
    }
    void imageButtonClicksOnlyOverItself()
    {
        QFETCH(QPoint, moveTo);
        QFETCH(QPoint, releaseAt);
        QFETCH(bool, pressedLookAfterMove);
        QFETCH(bool, click);
        QWidget window;
        QPixmap art(20, 20);
        art.fill(Qt::blue);
        auto *button = new TImageButton(art, &window);
        auto *look = new TImageButton(art, &window);
        button->setPressedLook(look);
        window.show();
        auto event = [](QEvent::Type type, QPoint p) {
            return QMouseEvent(type, QPointF(p), QPointF(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        };
        button->press();
        QVERIFY(look->isVisible());
        const QMouseEvent move = event(QEvent::MouseMove, moveTo);
        button->track(&move);
        QCOMPARE(look->isVisible(), pressedLookAfterMove);
        const QMouseEvent release = event(QEvent::MouseButtonRelease, releaseAt);
        QCOMPARE(button->release(&release), click);
        QVERIFY(!look->isVisible());
        QVERIFY(!button->Pressed);
    }

    // A guarded action's key runs it only when the key arrived for the window:
    // not when a popup, a dialog or another window took it first, and the
    // decision holds until that key is released.
    void gateHoldsBackKeysTakenElsewhere_data()
    {
        QTest::addColumn<int>("takenBy"); // 0 the window, 1 another window, 2 a modal dialog
        QTest::addColumn<int>("runs");
        QTest::newRow("key for the window") << 0 << 1;
        QTest::newRow("key of another window") << 1 << 0;
        QTest::newRow("key while a dialog is open") << 2 << 0;
    }
    void gateHoldsBackKeysTakenElsewhere()
    {
        QFETCH(int, takenBy);
        QFETCH(int, runs);
        QWidget window;
        TKeyGate gate(&window);
        QAction action(&window);
        action.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        window.addAction(&action);
        gate.guard(&action);
        QWidget other;
        QDialog dialog(&window);
        QObject *receiver = takenBy == 1 ? static_cast<QObject *>(&other) : &window;
        if (takenBy == 2) {
            dialog.setModal(true);
            dialog.show();
            QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
        }
        QSignalSpy ran(&action, &QAction::triggered);
        QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_K, Qt::ControlModifier);
        QCoreApplication::sendEvent(receiver, &override);
        dialog.hide(); // gone before the key reaches the action: the decision holds
        QShortcutEvent shortcut(action.shortcut(), 0, false);
        QCoreApplication::sendEvent(&action, &shortcut);
        QCOMPARE(ran.size(), runs);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_K, Qt::ControlModifier);
        QCoreApplication::sendEvent(receiver, &release);
        // The next key is decided afresh.
        QCoreApplication::sendEvent(&window, &override);
        QCoreApplication::sendEvent(&action, &shortcut);
        QCOMPARE(ran.size(), runs + 1);
    }
};

SGA_TEST(TestActionControls)
#include "tst_actioncontrols.moc"
