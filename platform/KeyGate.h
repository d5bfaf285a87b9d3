#pragma once
// Keys for a window's own commands. A key that an open popup, menu or dialog
// took (Escape closing a combo box's list, Enter choosing in it) must not also
// run a command of the window below once the popup has gone; the gate decides,
// when a key first arrives, whether it arrived for the window.
#include <QKeySequence>
#include <QObject>

#include <functional>

class QShortcut;
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

    // A shortcut active while parent is visible in the window; handler runs
    // only for keys that arrived for the window.
    QShortcut* add(QWidget* parent, const QKeySequence& keys, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool heldElsewhere(QObject* watched) const;
    QWidget* Window;
    bool Taken = false;
    int CurrentKey = 0; // the key whose decision holds until its release; 0 = none
};
