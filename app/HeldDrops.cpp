#include "app/HeldDrops.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

THeldDrops::THeldDrops(QWidget *window, std::function<bool()> busy)
    : QObject(window)
    , Window(window)
    , Busy(std::move(busy))
{
    qApp->installEventFilter(this);
}

THeldDrops::~THeldDrops() { qApp->removeEventFilter(this); }

bool THeldDrops::hold(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Drop || !Busy || !Busy())
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    auto *drop = static_cast<QDropEvent *>(event);
    // Drags inside the window cannot start while a load waits; only outside ones count.
    if (!target || target->window() != Window || drop->source() || !drop->mimeData())
        return false;
    auto copy = std::make_unique<QMimeData>();
    const QMimeData *mime = drop->mimeData();
    for (const QString &format : mime->formats())
        copy->setData(format, mime->data(format));
    Held.push_back(std::move(copy));
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (OnHeld)
        OnHeld();
    return true;
}

void THeldDrops::release()
{
    if (Releasing)
        return;
    Releasing = true;
    while (!Held.empty() && !(Busy && Busy())) {
        const std::unique_ptr<QMimeData> next = std::move(Held.front());
        Held.pop_front();
        if (Deliver)
            Deliver(next.get());
    }
    Releasing = false;
}
