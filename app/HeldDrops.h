#pragma once
// Files dropped from outside while an open or add waits for its pictures. A
// file manager's drop is no user input to the wait, so it would start another
// load inside the first one: such drops are held and handed over as drops on
// the window once the load has ended.
#include <QObject>

#include <deque>
#include <functional>
#include <memory>

class QMimeData;
class QWidget;

class THeldDrops : public QObject
{
    Q_OBJECT
public:
    // Watches the drops of the application for window; busy tells when to hold.
    THeldDrops(QWidget *window, std::function<bool()> busy);
    ~THeldDrops() override;

    [[nodiscard]] int count() const { return int(Held.size()); }
    // Delivers the held drops in order while nothing is busy; a drop that
    // starts another load leaves the rest held for its end.
    void release();
    // Takes a delivered drop (a drop event cannot be sent again once its drag ended).
    std::function<void(const QMimeData *)> Deliver;
    // Told when a drop is held (for a status text).
    std::function<void()> OnHeld;
    // Holds a drop from outside for the window while busy; true when held.
    bool hold(QObject *watched, QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return hold(watched, event); }

private:
    QWidget *Window;
    std::function<bool()> Busy;
    std::deque<std::unique_ptr<QMimeData>> Held;
    bool Releasing = false;
};
