#include "platform/WMUser.h"

#include <QCoreApplication>
#include <QThread>

void SendWMUser(QObject *receiver, long long wParam, long long lParam)
{
    if (!receiver)
        return;
    if (receiver->thread() == QThread::currentThread()) {
        WMUserEvent event(wParam, lParam);
        QCoreApplication::sendEvent(receiver, &event);
    } else {
        PostWMUser(receiver, wParam, lParam);
    }
}

void PostWMUser(QObject *receiver, long long wParam, long long lParam)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new WMUserEvent(wParam, lParam));
}
