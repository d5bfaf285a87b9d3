#include "platform/ProgressPanel.h"

#include <QPainter>

#include <algorithm>

QRect ProgressBarRect(const QRect &panel, int percent)
{
    const int left = panel.left();
    const int right = panel.left() + panel.width(); // exclusive, as the panel's right edge
    return QRect(QPoint(left, panel.top()), QPoint(left + (right - left) * percent / 100 - 1, panel.bottom()));
}

TProgressPanel::TProgressPanel(QWidget *parent)
    : TPaintBox(parent)
{
    setFixedWidth(50);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    onPaint = [this](QPaintEvent *) { StatusBar1DrawPanel(); };
}

void TProgressPanel::StatusBar1DrawPanel()
{
    ProgressRect = rect();
    QPainter p(this);
    const QRect bar = ProgressBarRect(ProgressRect, ProgressPercent);
    if (bar.width() > 0) {
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(0, 0, 128));
        p.fillRect(bar, QColor(0, 0, 128));
    }
}

void TProgressPanel::SetProStatus(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent < ProgressPercent) {
        ProgressPercent = percent;
        if (parentWidget())
            parentWidget()->repaint(); // the bar shrinks: clear and draw anew
        repaint();
    } else {
        ProgressPercent = percent;
        // Growing: paint over the old bar without clearing, so it does not flicker.
        setAttribute(Qt::WA_OpaquePaintEvent, true);
        repaint();
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
}
