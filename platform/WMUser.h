#pragma once
// The WM_USER window message: a custom event sent or posted to the main window.
#include <QEvent>

class QObject;

class WMUserEvent : public QEvent
{
public:
    static constexpr QEvent::Type EventType = QEvent::Type(QEvent::User + 0x400);
    WMUserEvent(long long wParam, long long lParam)
        : QEvent(EventType)
        , WParam(wParam)
        , LParam(lParam)
    {
    }
    long long WParam;
    long long LParam;
};

// SendMessage: delivered at once on the receiver's (interface) thread.
void SendWMUser(QObject *receiver, long long wParam, long long lParam = 0);
// PostMessage: queued, safe from any thread.
void PostWMUser(QObject *receiver, long long wParam, long long lParam = 0);
