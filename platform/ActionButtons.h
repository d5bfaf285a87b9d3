#pragma once
// Controls that run an action: enabled while the action is, showing its tool
// tip. Each keeps its own text (a menu entry of the same command may read
// differently).
class QAbstractButton;
class QAction;
class QWidget;
class TImageButton;

// The widget follows the action's enabled state and tool tip.
void FollowAction(QWidget *widget, QAction *action);
// Follows it, and a click triggers it.
void BindButton(QAbstractButton *button, QAction *action);
// Follows it; a press shows the pressed look, and a release over the image triggers it.
void BindImageButton(TImageButton *button, QAction *action);
