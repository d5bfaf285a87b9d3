#pragma once
// Files dropped from outside while an open or add waits for its pictures. A
// file manager's drop is no user input to the wait, so it would start another
// load inside the first one: such drops are held and handed to the control
// they were dropped on once the load has ended.
#include <QObject>
#include <QPointF>
#include <QPointer>

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
    // Told when a drop is held (for a status text).
    std::function<void()> OnHeld;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Drop {
        QPointer<QWidget> Target;
        QPointF Position;
        Qt::DropActions Actions;
        Qt::MouseButtons Buttons;
        Qt::KeyboardModifiers Modifiers;
        std::unique_ptr<QMimeData> Mime;
    };
    QWidget *Window;
    std::function<bool()> Busy;
    std::deque<Drop> Held;
    bool Releasing = false;
};
