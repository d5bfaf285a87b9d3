#include "platform/ActionButtons.h"

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
