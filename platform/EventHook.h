#pragma once
// Hands the events of a control to a handler of the window that owns it (key
// presses of a list box, drags over it), like the paint box does for painting.
#include <QObject>

#include <functional>

class QEvent;

class TEventHook : public QObject
{
    Q_OBJECT
public:
    // The handler returns true when it consumed the event.
    using Handler = std::function<bool(QEvent *)>;
    TEventHook(QObject *watched, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler OnEvent;
};

class QWidget;
// Calls `handler` after every resize of `widget` (for scroll areas, whose
// resize their owner has no handler slot for).
void WatchResize(QWidget *widget, std::function<void()> handler);
