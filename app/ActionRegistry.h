#pragma once
// Every command of the window as one QAction: its text, keys, tool tip and
// icon, the handler it runs and the rule that enables it. The tool bar, the
// pages' buttons and menus and the keys all trigger these actions; their keys
// run only when they arrived for the window (the key gate), and the rules are
// asked again whenever the document says it changed.
#include "pages/Commands.h"

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QWidget;
class TKeyGate;

class ActionRegistry : public QObject
{
    Q_OBJECT
public:
    struct Entry {
        Command Id;
        QString Text;
        QString ToolTip; // what it does; its first key is added in brackets
        QList<QKeySequence> Keys = {};
        std::function<void()> Run = {};
        std::function<bool()> Enabled = {}; // unset: always
        QIcon Icon = {};
    };
    ActionRegistry(QWidget *window, TKeyGate *gate);

    QAction *add(const Entry &entry);
    // An action made elsewhere (the undo stack's, which follows its own text
    // and state) taken in with keys; its tool tip follows its text.
    QAction *adopt(Command id, QAction *action, const QList<QKeySequence> &keys);
    [[nodiscard]] QAction *action(Command id) const { return Actions[std::size_t(id)]; }
    // The keys of these commands work while `where` shows; by default anywhere in the window.
    void keysWhile(QWidget *where, std::initializer_list<Command> ids);
    // Asks every enabled rule again.
    void refresh();

private:
    void placeKeys(QAction *action, const QList<QKeySequence> &keys);
    QWidget *Window;
    TKeyGate *Gate;
    std::array<QAction *, CommandCount> Actions{};
    std::array<std::function<bool()>, CommandCount> Rules;
};

// "what it does (key)"; other keys follow after a comma.
[[nodiscard]] QString ToolTipWithKeys(const QString &tip, const QList<QKeySequence> &keys);
