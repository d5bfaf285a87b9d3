#include "platform/KeyGate.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TKeyGate::TKeyGate(QWidget* window)
    : QObject(window)
    , Window(window)
{
    qApp->installEventFilter(this);
}

TKeyGate::~TKeyGate() { qApp->removeEventFilter(this); }

void TKeyGate::guard(QAction* action)
{
    Guarded.insert(action);
    connect(action, &QObject::destroyed, this, [this, action] { Guarded.remove(action); });
}

bool TKeyGate::heldElsewhere(QObject* watched) const
{
    if (QApplication::activePopupWidget())
        return true;
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != Window)
        return true;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget && widget->window() != Window;
}

bool TKeyGate::eventFilter(QObject* watched, QEvent* event)
{
    // A key is first offered as a shortcut override, then pressed, each passed
    // up the widget chain; the popup may close on the way. The decision taken
    // at the first sight holds until that key is released.
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != CurrentKey) {
            CurrentKey = key;
            Taken = heldElsewhere(watched);
        }
        break;
    }
    case QEvent::Shortcut:
        // The key of a guarded action: held back when a popup, menu or dialog took it.
        return Taken && Guarded.contains(watched);
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == CurrentKey && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            CurrentKey = 0;
        break;
    case QEvent::ApplicationDeactivate:
        CurrentKey = 0; // its release goes elsewhere
        break;
    default:
        break;
    }
    return false;
}
