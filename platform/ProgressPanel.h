#pragma once
// The status bar's progress panel: a navy bar from the left edge over the
// panel's height, as long as the percentage says.
#include "platform/PaintBox.h"

#include <QRect>

// The filled part of the progress panel for a percentage (0..100).
[[nodiscard]] QRect ProgressBarRect(const QRect &panel, int percent);

class TProgressPanel : public TPaintBox
{
    Q_OBJECT
public:
    explicit TProgressPanel(QWidget *parent = nullptr);

    int ProgressPercent = 0;
    QRect ProgressRect; // the panel's rectangle from its last paint

    // A smaller value repaints the whole status bar (the bar shrinks); a
    // larger or equal one paints over the old bar at once, without clearing.
    void SetProStatus(int percent);
    void StatusBar1DrawPanel();
};
