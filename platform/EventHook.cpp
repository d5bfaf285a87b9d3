#include "platform/EventHook.h"

TEventHook::TEventHook(QObject *watched, Handler handler)
    : QObject(watched)
    , OnEvent(std::move(handler))
{
    watched->installEventFilter(this);
}

bool TEventHook::eventFilter(QObject *, QEvent *event) { return OnEvent && OnEvent(event); }
