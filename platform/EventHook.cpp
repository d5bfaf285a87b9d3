#include "platform/EventHook.h"

#include <QEvent>
#include <QWidget>

TEventHook::TEventHook(QObject *watched, Handler handler)
    : QObject(watched)
    , OnEvent(std::move(handler))
{
    watched->installEventFilter(this);
}

bool TEventHook::eventFilter(QObject *, QEvent *event) { return OnEvent && OnEvent(event); }

void WatchResize(QWidget *widget, std::function<void()> handler)
{
    new TEventHook(widget, [handler = std::move(handler)](QEvent *e) {
        if (e->type() == QEvent::Resize)
            handler();
        return false;
    });
}
