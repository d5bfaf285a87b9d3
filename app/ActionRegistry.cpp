#include "app/ActionRegistry.h"

#include "platform/KeyGate.h"

#include <QAction>
#include <QWidget>

QString ToolTipWithKeys(const QString &tip, const QList<QKeySequence> &keys)
{
    if (keys.isEmpty())
        return tip;
    QString text = QStringLiteral("%1 (%2)").arg(tip, keys.front().toString(QKeySequence::NativeText));
    for (qsizetype i = 1; i < keys.size(); ++i)
        text += QStringLiteral(", ") + keys[i].toString(QKeySequence::NativeText);
    return text;
}

ActionRegistry::ActionRegistry(QWidget *window, TKeyGate *gate)
    : QObject(window)
    , Window(window)
    , Gate(gate)
{
}

QAction *ActionRegistry::add(const Entry &entry)
{
    auto *a = new QAction(entry.Icon, entry.Text, this);
    a->setIconText(entry.Text); // a tool button shows it as written, mnemonic and dots included
    if (!entry.ToolTip.isEmpty())
        a->setToolTip(ToolTipWithKeys(entry.ToolTip, entry.Keys));
    if (entry.Run)
        connect(a, &QAction::triggered, this, entry.Run);
    Actions[std::size_t(entry.Id)] = a;
    Rules[std::size_t(entry.Id)] = entry.Enabled;
    placeKeys(a, entry.Keys);
    return a;
}

QAction *ActionRegistry::adopt(Command id, QAction *action, const QList<QKeySequence> &keys)
{
    Actions[std::size_t(id)] = action;
    placeKeys(action, keys);
    auto followText = [action, keys] {
        const QString tip = ToolTipWithKeys(action->text(), keys);
        if (action->toolTip() != tip)
            action->setToolTip(tip);
    };
    connect(action, &QAction::changed, this, followText);
    followText();
    return action;
}

void ActionRegistry::placeKeys(QAction *action, const QList<QKeySequence> &keys)
{
    if (keys.isEmpty())
        return;
    action->setShortcuts(keys);
    Window->addAction(action);
    Gate->guard(action);
}

void ActionRegistry::keysWhile(QWidget *where, std::initializer_list<Command> ids)
{
    for (Command id : ids) {
        QAction *a = action(id);
        Window->removeAction(a);
        where->addAction(a);
    }
}

void ActionRegistry::refresh()
{
    for (std::size_t i = 0; i < Actions.size(); ++i)
        if (Actions[i] && Rules[i])
            Actions[i]->setEnabled(Rules[i]());
}
