#include "platform/ActionButtons.h"

#include "platform/ImageButton.h"

#include <QAbstractButton>
#include <QAction>

void FollowAction(QWidget *widget, QAction *action)
{
    auto show = [widget, action] {
        widget->setEnabled(action->isEnabled());
        widget->setToolTip(action->toolTip());
    };
    show();
    QObject::connect(action, &QAction::changed, widget, show);
}

void BindButton(QAbstractButton *button, QAction *action)
{
    FollowAction(button, action);
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

void BindImageButton(TImageButton *button, QAction *action)
{
    FollowAction(button, action);
    button->onMouseDown = [button](QMouseEvent *) { button->press(); };
    button->onMouseMove = [button](QMouseEvent *e) { button->track(e); };
    button->onMouseUp = [button, action](QMouseEvent *e) {
        if (button->release(e))
            action->trigger();
    };
}
