#pragma once
// Keys for a window's own commands. A key that an open popup, menu or dialog
// took (Escape closing a combo box's list, Enter choosing in it) must not also
// run a command of the window below once the popup has gone; the gate decides,
// when a key first arrives, whether it arrived for the window, and holds back
// the shortcuts of the actions it guards otherwise.
#include <QObject>
#include <QSet>

class QAction;
class QWidget;

class TKeyGate : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application for window.
    explicit TKeyGate(QWidget* window);
    ~TKeyGate() override;

    // True when the key under way arrived while window held it: no popup open,
    // no other window or dialog active.
    [[nodiscard]] bool forWindow() const { return !Taken; }

    // The action's keys run it only when they arrived for the window.
    void guard(QAction* action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool heldElsewhere(QObject* watched) const;
    QWidget* Window;
    bool Taken = false;
    int CurrentKey = 0; // the key whose decision holds until its release; 0 = none
    QSet<const QObject*> Guarded;
};
